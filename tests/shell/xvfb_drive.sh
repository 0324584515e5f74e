#!/usr/bin/env bash
# Starts the desktop program under Xvfb, picks run 1 with a real mouse click, starts it from
# the menu, drives with real key presses and wheel clicks, and checks the --trace file.
# Usage: xvfb_drive.sh VELMORIA_BINARY TEST_DATA_FOLDER    (exit 77: tools missing, skipped)
set -euo pipefail
binary=$1
fixtures=$2
for tool in xdotool Xvfb python3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cp -r "$fixtures" "$work/data"
data=$work/data
# Run 1 is train_201.dat on line_rapid1.dat: the fixture vehicle and route under those names.
cp "$data/train_test.dat" "$data/train_201.dat"
cp "$data/line_test.dat" "$data/line_rapid1.dat"
printf 'Help\r\nkeys\r\n' > "$data/operation.dat"
mkdir -p "$data/image/title"
# A title picture: the program reports a missing one with a message box.
if command -v convert >/dev/null; then
  convert -size 640x480 xc:navy "$data/image/title/01.jpg"
elif command -v ffmpeg >/dev/null; then
  ffmpeg -loglevel error -f lavfi -i color=c=navy:s=640x480 -frames:v 1 "$data/image/title/01.jpg"
else
  echo "skipped: no tool to make a JPEG"; exit 77
fi

cat > "$work/drive.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
binary=$1; data=$2; trace=$3
export XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
# The run history and the settings stay in the test's own folder.
export XDG_DATA_HOME=$XDG_RUNTIME_DIR/data XDG_CONFIG_HOME=$XDG_RUNTIME_DIR/config
# The program's texts in Japanese, as the checks below expect, whatever the machine's locale or
# a language chosen in a View menu there (C.UTF-8 is always installed and names no language).
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
"$binary" --data "$data" --trace "$trace" >"$data/../velmoria.log" 2>&1 &
pid=$!
fail() { echo "FAIL: $*"; kill "$pid" 2>/dev/null; exit 1; }
window_at() {  # waits for a visible window of the given size; prints X Y
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --name Velmoria 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      if [ "$WIDTH" = "$1" ] && [ "$HEIGHT" = "$2" ]; then echo "$X $Y $w"; return 0; fi
    done
    sleep 0.1
  done
  return 1
}
read -r x y w < <(window_at 320 240) || fail "no movie-sized title window"
xdotool mousemove $((x + 100)) $((y + 100)) click 1      # end the opening movie
read -r x y w < <(window_at 640 480) || fail "the title window did not grow"
sleep 1.5                                                # the buttons appear one per 100 ms
xdotool mousemove $((x + 340 + 65)) $((y + 292 + 18)) click 1   # run 1
cab=""
for _ in $(seq 100); do
  for c in $(xdotool search --onlyvisible --name Velmoria 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$c")"
    if [ "$WIDTH" = 640 ] && [ "$HEIGHT" -gt 440 ] && [ "$HEIGHT" -lt 480 ]; then
      cab=$c; break 2
    fi
  done
  sleep 0.1
done
[ -n "$cab" ] || fail "no cab window"
eval "$(xdotool getwindowgeometry --shell "$cab")"
menu=$((HEIGHT - 440))
xdotool mousemove $((X + 100)) $((Y + menu + 100)) click 1       # focus the cab
xdotool mousemove $((X + 25)) $((Y + menu / 2)) click 1          # the Start menu item
sleep 0.5
xdotool key alt+m; sleep 0.5; xdotool key Return                 # Move: the first station
sleep 0.5                                                         # (doors shut, ready to go)
for _ in $(seq 8); do xdotool key 8; sleep 0.05; done             # EB to released
sleep 16                                                          # the brakes let go, doors shut
xdotool key 8 key 8 key 8                                         # P3
xdotool mousemove $((X + 200)) $((Y + menu + 300)) click 5        # wheel toward: P4
sleep 8
kill "$pid"
wait "$pid" 2>/dev/null
exit 0
INNER
chmod +x "$work/drive.sh"
"$(dirname "$0")/with_xvfb.sh" 1024x768x24 "$work/drive.sh" "$binary" "$data" "$work/trace.csv" ||
  { cat "$work/velmoria.log"; exit 1; }

[ -s "$work/trace.csv" ] || { echo "FAIL: no trace written"; cat "$work/velmoria.log"; exit 1; }
# The last row: the train is moving under power, past its starting frame.
python3 - "$work/trace.csv" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], encoding="utf-8")))
assert rows, "the trace has no rows"
last = rows[-1]
speed, frame = float(last["speed"]), int(last["frame"])
print(f"{len(rows)} ticks; last: speed {speed} km/h, frame {frame}, power label {last['PowerLabel']}")
assert last["PowerLabel"] == "P4", last["PowerLabel"]
assert int(last["power"]) == 4, last["power"]
assert speed > 3.0, speed
assert frame > 200, frame
PY
