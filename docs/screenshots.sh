#!/usr/bin/env bash
# Takes the demo line's screenshots in docs/: the title window, a station stop, a signal, a
# tunnel and the branch switch. Runs the desktop program under Xvfb on a generated demo folder, picks the run
# with a real mouse click, jumps to a station from the Move menu, drives with the keyboard and
# waits, from the --trace file, for the frame it wants before taking each picture.
#   docs/screenshots.sh [VELMORIA_BINARY] [DEMO_DIR] [OUT_DIR]
# Defaults: build/release/app/desktop/velmoria, demo/, docs/. Needs xvfb-run, xdotool and
# ImageMagick's import.
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
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
trace=$(mktemp)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
"$binary" --data "$demo" --trace "$trace" >/dev/null 2>&1 &
pid=$!
fail() { echo "FAIL: $*" >&2; kill "$pid" 2>/dev/null; exit 1; }
window() {  # WIDTH MIN_HEIGHT MAX_HEIGHT: waits for such a window; sets X Y WIDTH HEIGHT WINDOW
  for _ in $(seq 300); do
    for w in $(xdotool search --onlyvisible --name Velmoria 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$w")"
      [ "$WIDTH" = "$1" ] && [ "$HEIGHT" -ge "$2" ] && [ "$HEIGHT" -le "$3" ] && return 0
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
window 320 240 240 || fail "no opening movie"
xdotool mousemove $((X + 100)) $((Y + 100)) click 1
window 640 480 520 || fail "no title window"
sleep 1.5
[ -z "${TITLE:-}" ] || import -window "$WINDOW" "$out/$TITLE.png"
if [ "$run" -le 3 ]; then bx=340; else bx=480; fi
tops=(292 337 382)
xdotool mousemove $((X + bx + 65)) $((Y + ${tops[$(((run - 1) % 3))]} + 18)) click 1
window 640 441 479 || fail "no cab window"
cab=$WINDOW
menu=$((HEIGHT - 440))
xdotool mousemove $((X + 100)) $((Y + menu + 100)) click 1
xdotool mousemove $((X + 25)) $((Y + menu / 2)) click 1            # Start
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
  import -window "$cab" "$out/$name.png"
  echo "$name.png at frame $(frame)"
done
kill "$pid"
wait "$pid" 2>/dev/null
rm -f "$trace"
exit 0
INNER
chmod +x /tmp/velmoria-shots.sh
shoot() { TITLE=${TITLE:-} xvfb-run -a -s "-screen 0 1024x768x24" /tmp/velmoria-shots.sh "$binary" "$demo" "$out" "$@"; }
# Run 3, the daytime rapid: the stop at 錦野 with its starting signal ahead, the signal close
# by, then the tunnel beyond it.
TITLE=demo-title shoot 3 4 0 demo-station 24560 demo-signal 25800 demo-tunnel
# Run 5, the special rapid: from 椿 onto the branch, which leaves the main line at frame 41300.
shoot 5 4 41420 demo-branch
