#!/usr/bin/env bash
# The desktop program fullscreen on a 1920 x 1080 X server (openbox as the window manager):
# the cab window covers the screen, the cab stands centred between black bars, the train
# drives (checked in the --trace file), and F11 leaves fullscreen and is remembered in
# $XDG_CONFIG_HOME/Velmoria/velmoria.conf. Then, without a window manager to maximise it,
# --zoom fit gives the cab window the whole screen.
# Usage: xvfb_fullscreen.sh VELMORIA_BINARY TEST_DATA_FOLDER    (exit 77: tools missing)
set -euo pipefail
binary=$1
fixtures=$2
for tool in Xvfb xdotool xwininfo xprop openbox convert python3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done

work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
cp -r "$fixtures" "$work/data"
data=$work/data
cp "$data/train_test.dat" "$data/train_201.dat"
cp "$data/line_test.dat" "$data/line_rapid1.dat"
printf 'Help\r\nkeys\r\n' >"$data/operation.dat"
mkdir -p "$data/image/title" "$work/config-fullscreen" "$work/config-fit"
convert -size 640x480 xc:navy "$data/image/title/01.jpg"

cat >"$work/session.sh" <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
binary=$1 data=$2 work=$3 mode=$4
export XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME=$work/config-$mode
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
for _ in $(seq 150); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
[ "$screen_w x $screen_h" = "1920 x 1080" ] || { echo "FAIL: screen $screen_w x $screen_h"; exit 1; }
wm=""
view=--zoom\ fit
if [ "$mode" = fullscreen ]; then
  view=--fullscreen
  openbox >"$work/openbox.log" 2>&1 &
  wm=$!
  for _ in $(seq 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id #' && break
    sleep 0.1
  done
fi
# shellcheck disable=SC2086  # the display option and its value, word by word
"$binary" --data "$data" $view --trace "$work/trace-$mode.csv" >"$work/velmoria.log" 2>&1 &
pid=$!
fail() { echo "FAIL: $*"; xwininfo -root -tree | grep -E '"Velmoria' || true; kill "$pid" $wm 2>/dev/null; exit 1; }
# X Y W H of a window's client area on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /^ *Width:/{w=$2} /^ *Height:/{h=$2} END{print x, y, w, h}'
}
# Waits up to $2 seconds (default 15) for a visible Velmoria window whose size passes the test
# "$1" (W and H set); prints its id.
wait_window() {
  for _ in $(seq $((${2:-15} * 10))); do
    for w in $(xdotool search --onlyvisible --name Velmoria 2>/dev/null); do
      read -r X Y W H < <(geometry "$w")
      if eval "$1"; then echo "$w"; return 0; fi
    done
    sleep 0.1
  done
  return 1
}
# The title window is as large as the screen lets it be (its movie window a half of it).
movie=$(wait_window '[ "$W" -lt 1000 ]') || fail "no opening movie"
read -r X Y W H < <(geometry "$movie")
xdotool mousemove $((X + W / 2)) $((Y + H / 2)) click 1
title=$(wait_window '[ "$W" -ge 1000 ]') || fail "the title window did not grow"
click_at() { xdotool mousemove "$(python3 -c "print(round($X + $1 * $scale))")" \
  "$(python3 -c "print(round($Y + $2 * $scale))")" click 1; }
# Run 1, at the title's scale. The window manager may still be placing the grown window, so
# its place is read just before the click, and the click is tried again while no cab covers
# the screen.
cab=
for _ in 1 2 3 4 5; do
  sleep 1.5
  xwininfo -id "$title" | grep -q IsViewable || { cab=$(wait_window '[ "$W" = 1920 ] && [ "$H" = 1080 ]' 60); break; }
  read -r X Y W H < <(geometry "$title")
  scale=$(python3 -c "print($W / 640)")
  click_at $((340 + 65)) $((292 + 18))
  cab=$(wait_window '[ "$W" = 1920 ] && [ "$H" = 1080 ]' 20) && break
done
if [ "$mode" = fit ]; then
  [ -n "$cab" ] || fail "the fitted cab window is not the screen's size"
  read -r X Y W H < <(geometry "$cab")
  [ "$X $Y" = "0 0" ] || fail "the fitted cab window stands at $X $Y"
  echo "fitted cab window without a window manager: $W x $H at $X $Y"
  kill "$pid"
  wait "$pid" 2>/dev/null
  exit 0
fi
[ -n "$cab" ] || fail "the cab window is not fullscreen"
read -r X Y W H < <(geometry "$cab")
[ "$X $Y" = "0 0" ] || fail "the fullscreen cab window stands at $X $Y"
echo "cab window: $W x $H at $X $Y"
xdotool mousemove 960 700 click 1                              # focus the cab
xdotool mousemove 25 10 click 1                                # the Start menu item
sleep 0.5
xdotool key alt+m; sleep 0.5; xdotool key Return               # Move: the first station
sleep 0.5
for _ in $(seq 8); do xdotool key 8; sleep 0.05; done           # EB to released
sleep 16
xdotool key 8 key 8 key 8                                       # P3
xdotool mousemove 1200 900 click 5                             # wheel toward: P4
sleep 6
import -window root "$work/screen.png"
xdotool key F11                                                 # leave fullscreen
sleep 1.5
read -r X Y W H < <(geometry "$cab")
echo "after F11: $W x $H"
[ "$W" -lt 1920 ] || fail "F11 did not leave fullscreen"
kill "$pid"
wait "$pid" 2>/dev/null
kill $wm 2>/dev/null
exit 0
INNER
chmod +x "$work/session.sh"
"$(dirname "$0")/with_xvfb.sh" 1920x1080x24 "$work/session.sh" "$binary" "$data" "$work" fullscreen ||
  { cat "$work/velmoria.log"; exit 1; }

# The cab fills the screen's height between black bars: the bars are black, the panel is not.
pixel() { convert "$work/screen.png" -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" \
  -crop "1x1+$1+$2" info:; }
[ "$(pixel 40 540)" = "0,0,0" ] || { echo "FAIL: the left bar is $(pixel 40 540)"; exit 1; }
[ "$(pixel 1880 540)" = "0,0,0" ] || { echo "FAIL: the right bar is $(pixel 1880 540)"; exit 1; }
[ "$(pixel 400 1000)" != "0,0,0" ] || { echo "FAIL: no panel at the bottom of the screen"; exit 1; }
grep -q 'fullscreen=false' "$work/config-fullscreen/Velmoria/velmoria.conf" ||
  { echo "FAIL: leaving fullscreen was not remembered"; cat "$work/config-fullscreen/Velmoria/velmoria.conf"; exit 1; }

[ -s "$work/trace-fullscreen.csv" ] || { echo "FAIL: no trace written"; cat "$work/velmoria.log"; exit 1; }
python3 - "$work/trace-fullscreen.csv" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], encoding="utf-8")))
assert rows, "the trace has no rows"
last = rows[-1]
speed, frame = float(last["speed"]), int(last["frame"])
print(f"{len(rows)} ticks; last: speed {speed} km/h, frame {frame}, power label {last['PowerLabel']}")
assert last["PowerLabel"] == "P4", last["PowerLabel"]
assert speed > 3.0, speed
assert frame > 200, frame
PY

# Fit to window on a desktop without a window manager: nobody honours the maximise request, so
# the program gives the window the screen's free area itself.
"$(dirname "$0")/with_xvfb.sh" 1920x1080x24 "$work/session.sh" "$binary" "$data" "$work" fit ||
  { cat "$work/velmoria.log"; exit 1; }
