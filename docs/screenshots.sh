#!/usr/bin/env bash
# Takes the demo line's screenshots in docs/: the title window, a station stop, a signal, a
# tunnel and the branch switch, then the cab at 2x and fullscreen (SHOTS=zoom takes only
# those two). Runs the desktop program under Xvfb on a generated demo folder, picks the run
# with a real mouse click, jumps to a station from the Move menu, drives with the keyboard and
# waits, from the --trace file, for the frame it wants before taking each picture.
#   docs/screenshots.sh [VELMORIA_BINARY] [DEMO_DIR] [OUT_DIR]
# Defaults: build/release/app/desktop/velmoria, demo/, docs/. Needs xvfb-run, xdotool,
# ImageMagick's import, and openbox for the fullscreen picture.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
binary=$(realpath "${1:-$top/build/release/app/desktop/velmoria}")
demo=$(realpath "${2:-$top/demo}")
out=$(realpath "${3:-$top/docs}")
for tool in xvfb-run xdotool import python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
[ -f "$demo/korvelan.dat" ] || { echo "no demo folder at $demo (run scripts/demo)" >&2; exit 1; }

# One drive: RUN (1-6) STATION (its place in the Move menu, from 0; the menu lists the stations
# the run stops at, the terminus left out) and then pairs of
# FRAME NAME: when the train passes FRAME, the cab window is saved as OUT/NAME.png. A FRAME of
# 0 takes the picture while the train still stands at the station.
cat > /tmp/velmoria-shots.sh <<'INNER'
#!/usr/bin/env bash
set -uo pipefail
binary=$1 demo=$2 out=$3 run=$4 station=$5
shift 5
export XDG_RUNTIME_DIR=$(mktemp -d); chmod 700 "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME=$(mktemp -d)  # no display choice remembered from another session
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
trace=$(mktemp)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
wm=""
if [ "${WM:-}" = openbox ]; then
  openbox >/dev/null 2>&1 &
  wm=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id #' && break
    sleep 0.1
  done
fi
# shellcheck disable=SC2086  # VIEW holds the display options, word by word
"$binary" --data "$demo" --trace "$trace" ${VIEW:-} >/dev/null 2>&1 &
pid=$!
fail() { echo "FAIL: $*" >&2; kill "$pid" ${wm:+"$wm"} 2>/dev/null; exit 1; }
window() {  # TEST: waits for a window whose WIDTH and HEIGHT pass the test; sets X Y WINDOW
  for _ in $(seq 300); do
    for w in $(xdotool search --onlyvisible --name Velmoria 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      eval "$1" && return 0
    done
    sleep 0.1
  done
  return 1
}
frame() {  # the frame of the last row of the trace (0 while there is none)
  python3 - "$trace" <<'PY'
import sys
lines = open(sys.argv[1], encoding="utf-8", errors="replace").read().splitlines()
rows = [l for l in lines[1:] if l.count(",") == lines[0].count(",")] if lines else []
print(rows[-1].split(",")[lines[0].split(",").index("frame")] if rows else 0)
PY
}
window 'true' || fail "no opening movie"
movie_w=$WIDTH
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
window '[ "$WIDTH" -ge $((2 * movie_w)) ]' || fail "no title window"
title=$WINDOW
# The title window is drawn at the zoom's scale: its design positions times WIDTH / 640.
scale=$(python3 -c "print($WIDTH / 640)")
at() { python3 -c "print(round($1 + $2 * $scale))"; }
sleep 1.5
[ -z "${TITLE:-}" ] || import -window "$WINDOW" "$out/$TITLE.png"
if [ "$run" -le 3 ]; then bx=340; else bx=480; fi
tops=(292 337 382)
xdotool mousemove "$(at "$X" $((bx + 65)))" "$(at "$Y" $((${tops[$(((run - 1) % 3))]} + 18)))" click 1
window '[ "$w" != "$title" ] && [ "$WIDTH" -ge 640 ]' || fail "no cab window"
cab=$WINDOW
xdotool mousemove $((X + 100)) $((Y + 150)) click 1             # focus the cab
xdotool mousemove $((X + 25)) $((Y + 11)) click 1               # Start, in the menu bar
sleep 1
xdotool key alt+m; sleep 0.5
for _ in $(seq "$station"); do xdotool key Down; sleep 0.05; done
xdotool key Return; sleep 3
released=""
while [ $# -ge 2 ]; do
  want=$1 name=$2
  shift 2
  if [ "$want" -gt 0 ] && [ -z "$released" ]; then
    for _ in $(seq 12); do xdotool key 8; sleep 0.05; done         # brakes off, then power
    released=1
    sleep 12
    for _ in $(seq 4); do xdotool key 8; sleep 0.1; done
  fi
  for _ in $(seq 3000); do
    [ "$(frame)" -ge "$want" ] && break
    sleep 0.1
  done
  [ "$(frame)" -ge "$want" ] || fail "the train did not reach frame $want"
  sleep 0.3
  if [ -n "${ROOT:-}" ]; then import -window root "$out/$name.png"; else import -window "$cab" "$out/$name.png"; fi
  echo "$name.png at frame $(frame)"
done
kill "$pid"
wait "$pid" 2>/dev/null
[ -z "$wm" ] || kill "$wm" 2>/dev/null
rm -f "$trace"
exit 0
INNER
chmod +x /tmp/velmoria-shots.sh
shoot() { TITLE=${TITLE:-} xvfb-run -a -s "-screen 0 ${SCREEN:-1024x768}x24" /tmp/velmoria-shots.sh "$binary" "$demo" "$out" "$@"; }
if [ "${SHOTS:-all}" != zoom ]; then
  # Run 3, the daytime rapid: the stop at 錦野 with its starting signal ahead, the signal close
  # by, then the tunnel beyond it.
  TITLE=demo-title shoot 3 4 0 demo-station 24560 demo-signal 25800 demo-tunnel
  # Run 5, the special rapid: from 椿 onto the branch, which leaves the main line at frame 41300.
  shoot 5 4 41420 demo-branch
fi
# The cab at twice its size and fullscreen on a 1920 x 1080 screen (with openbox, which gives
# fullscreen windows the whole screen), smooth motion on: leaving 錦野 in run 3.
VIEW="--zoom 2" SCREEN=1920x1080 shoot 3 4 24560 demo-zoom2
VIEW="--fullscreen" SCREEN=1920x1080 ROOT=1 WM=openbox shoot 3 4 25300 demo-fullscreen
