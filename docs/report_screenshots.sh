#!/usr/bin/env bash
# Takes the run report's screenshots in docs/: a real drive of the fixture line (tests/data)
# in the desktop program under Xvfb and openbox. A mouse click picks the run and starts it,
# the Move menu puts the train at 南台, and a driver in Python works the keys (xdotool) from
# what the --trace file shows: power, coasting, the train stop's acknowledgement, the braking
# curve into 東雲. Back (a click) brings the report window; its chart is saved as PNG and SVG
# through its own buttons and the file dialog; then the Records window from the title window.
#   docs/report_screenshots.sh [VELMORIA_BINARY] [OUT_DIR]
# Defaults: build/release/app/desktop/velmoria (else build/asan), docs/. Needs xvfb-run,
# openbox, xdotool, ImageMagick and python3. The history goes to a folder of its own.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
default=$top/build/release/app/desktop/velmoria
[ -x "$default" ] || default=$top/build/asan/app/desktop/velmoria
binary=$(realpath "${1:-$default}")
out=$(realpath "${2:-$top/docs}")
for tool in xvfb-run openbox xdotool import convert python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cp -r "$top/tests/data" "$work/data"
data=$work/data
# Run 1 is train_201.dat on line_rapid1.dat: the fixture vehicle and route under those names.
cp "$data/train_test.dat" "$data/train_201.dat"
cp "$data/line_test.dat" "$data/line_rapid1.dat"
printf 'Help\r\nkeys\r\n' > "$data/operation.dat"
mkdir -p "$data/image/title"
convert -size 640x480 gradient:navy-black "$data/image/title/01.jpg"

cat > "$work/drive.py" <<'PY'
# The driver: reads the last row of the trace, presses keys with xdotool.
import csv, io, math, subprocess, sys, time
trace, stop_cm = sys.argv[1], float(sys.argv[2])

def row():
    text = open(trace, encoding="utf-8", errors="replace").read()
    lines = text.splitlines()
    if len(lines) < 2:
        return None
    rows = list(csv.DictReader(io.StringIO("\n".join([lines[0]] + lines[-3:-1]))))
    return rows[-1] if rows else None

def key(*keys):
    for k in keys:
        subprocess.run(["xdotool", "key", k])
        time.sleep(0.06)

def wait_for(test, seconds):
    end = time.time() + seconds
    while time.time() < end:
        r = row()
        if r and test(r):
            return r
        time.sleep(0.1)
    sys.exit("the drive did not get there")

# The starting signal shows stop until 10:03:48 (clock ticks 1086840).
wait_for(lambda r: int(r["clock"]) > 1086840 + 60, 60)
key("5")                        # brakes off
time.sleep(2)
key("8", "8", "8", "8")         # P4
notch, brake, last = 4, 0, 0.0
while True:
    r = row()
    v = float(r["speed"]); d = stop_cm - float(r["distance_cm"])
    now = time.time()
    if r["alarm"] == "1" and r["ats_emergency"] == "0":
        # The train stop warns: a brake step, acknowledge, and back to where we were.
        key("2", "space")
        if brake == 0:
            key("8")
        last = now
    elif d < 0.4 * 100 or (v == 0 and d < 20000 and brake > 0):
        key(*["2"] * 8)         # stopped, or at the mark: hold it
        break
    elif now - last > 0.5:
        # Braking curve into the stop at 0.52 m/s², and a steady 52 to 58 km/h before it.
        curve = math.sqrt(max(0.0, 2 * 0.52 * (d / 100 - 1.5))) * 3.6
        if curve < 60 or brake > 0:
            if notch and v > curve - 1:
                key("5"); notch = 0
            if v > curve + 1.5 and brake < 6:
                key("2"); brake += 1
            elif v < curve - 2.5 and brake > 0:
                key("8"); brake -= 1
            elif v < curve - 4 and brake == 0 and not notch and d > 300:
                key("8"); notch = 1     # too slow to reach the mark: creep up to it in P1
        elif v > 58 and notch:
            key("5"); notch = 0
        elif v < 52 and not notch:
            key("8", "8", "8"); notch = 3
        elif now - last > 15:
            key("8" if notch else "5")  # any key keeps the vigilance device quiet
        else:
            time.sleep(0.1)
            continue
        last = now
    time.sleep(0.1)
wait_for(lambda r: float(r["speed"]) == 0, 60)
PY

cat > "$work/session.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
binary=$1 data=$2 work=$3 out=$4
export XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/share XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
sleep 1
trace=$work/trace.csv
"$binary" --data "$data" --trace "$trace" >"$work/velmoria.log" 2>&1 &
pid=$!
fail() { echo "FAIL: $*" >&2; cat "$work/velmoria.log" >&2; kill "$pid" 2>/dev/null; exit 1; }
# X Y WIDTH HEIGHT of a window's inside, and TOP LEFT of openbox's frame around it. From
# xwininfo: xdotool's geometry counts the frame's title bar twice under a window manager,
# which put every click 20 pixels low.
geom() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "X=" $4}
    /Absolute upper-left Y/ {print "Y=" $4} /  Width:/ {print "WIDTH=" $2}
    /  Height:/ {print "HEIGHT=" $2}')"
  local extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
  LEFT=${extents%%,*} TOP=$(echo "$extents" | cut -d, -f3)
  [ -n "$LEFT" ] && [ -n "$TOP" ] || { LEFT=0 TOP=0; }
}
window() {  # NAME WIDTH: waits for a visible window of that name (and width); sets X Y ...
  for _ in $(seq 300); do
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      geom "$w"
      if [ -z "${2:-}" ] || [ "$WIDTH" = "$2" ]; then WINDOW=$w; return 0; fi
    done
    sleep 0.1
  done
  return 1
}
shot() {  # WINDOW FILE: the window with its frame, from the screen
  geom "$1"
  import -window root -crop "$((WIDTH + 2 * LEFT))x$((HEIGHT + TOP + LEFT))+$((X - LEFT))+$((Y - TOP))" \
    +repage "$2"
}
window Velmoria 320 || fail "no opening movie"
xdotool mousemove $((X + 100)) $((Y + 100)) click 1
window Velmoria 640 || fail "no title window"
title=$WINDOW
sleep 1.5
geom "$title"
tx=$X ty=$Y
xdotool mousemove $((tx + 340 + 65)) $((ty + 292 + 18)) click 1      # run 1
sleep 2
cab=""
for _ in $(seq 100); do
  for c in $(xdotool search --onlyvisible --name "ヴェルモリア|Velmoria" 2>/dev/null); do
    geom "$c"
    if [ "$WIDTH" = 640 ] && [ "$HEIGHT" -gt 440 ] && [ "$HEIGHT" -lt 480 ]; then cab=$c; break 2; fi
  done
  sleep 0.1
done
[ -n "$cab" ] || fail "no cab window"
geom "$cab"
cx=$X cy=$Y menu=$((HEIGHT - 440))
xdotool mousemove $((cx + 100)) $((cy + menu + 100)) click 1          # focus the cab
xdotool mousemove $((cx + 25)) $((cy + menu / 2)) click 1             # Start
sleep 1
xdotool key alt+m; sleep 0.5; xdotool key Down; sleep 0.2; xdotool key Return   # Move: 南台
sleep 1
python3 "$work/drive.py" "$trace" 529680 || fail "the driver gave up"
sleep 2
import -window root "$work/stopped.png"
# Back: the cab's close path, by the close button of openbox's frame (no Back picture shows
# at its place on the cab under this set-up).
geom "$cab"
xdotool mousemove $((X + WIDTH - 11)) $((Y - TOP / 2)) click 1
window "Run report" || { import -window root "$work/no-report.png"; fail "no report window"; }
report=$WINDOW
sleep 2
shot "$report" "$out/report-window.png"
# The chart through the window's own buttons and the file dialog.
for kind in png svg; do
  geom "$report"
  if [ "$kind" = png ]; then bx=80; else bx=240; fi
  xdotool mousemove $((X + bx)) $((Y + HEIGHT - 22)) click 1
  sleep 2
  xdotool type --delay 20 "$work/report-chart.$kind"
  import -window root "$work/dialog-$kind.png"
  xdotool key Return
  sleep 2
done
cp "$work/report-chart.png" "$out/report-chart.png"
cp "$work/report-chart.svg" "$out/report-chart.svg"
geom "$report"
xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 22)) click 1     # Close
sleep 1
window Velmoria 640 || fail "the title window did not come back"
xdotool mousemove $((X + 431 + 31)) $((Y + 445 + 9)) click 1           # Records
window Records || { import -window root "$work/no-records.png"; fail "no Records window"; }
sleep 1.5
shot "$WINDOW" "$out/records-window.png"
kill "$pid"
wait "$pid" 2>/dev/null
ls -l "$work/share/velmoria/runs"/*/
exit 0
INNER
chmod +x "$work/session.sh"
xvfb-run -a -s "-screen 0 1600x1000x24" "$work/session.sh" "$binary" "$data" "$work" "$out"
