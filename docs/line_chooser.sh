#!/usr/bin/env bash
# Takes docs/line-chooser.png: the desktop program under Xvfb (with openbox) with two lines
# installed, the demo line in the user's data folder and the test line (tests/data) in a
# system data folder, so that it opens the line chooser.
#   docs/line_chooser.sh [VELMORIA_BINARY] [DEMO_DIR] [OUT_FILE]
# Defaults: build/release/app/desktop/velmoria, demo/, docs/line-chooser.png. Needs xvfb-run,
# openbox, xdotool and ImageMagick's import.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
binary=$(realpath "${1:-$top/build/release/app/desktop/velmoria}")
demo=$(realpath "${2:-$top/demo}")
out=$(realpath -m "${3:-$top/docs/line-chooser.png}")
for tool in xvfb-run openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
[ -f "$demo/korvelan.dat" ] || { echo "no demo line at $demo (run scripts/demo)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A home of its own, laid out as a driver's would be.
mkdir -p "$work/driver/.local/share/velmoria/lines" "$work/system/velmoria/lines" "$work/empty"
ln -s "$demo" "$work/driver/.local/share/velmoria/lines/demo"
ln -s "$top/tests/data" "$work/system/velmoria/lines/test-line"

cat >"$work/shot.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
binary=$1 work=$2 out=$3
export XDG_RUNTIME_DIR=$work/runtime; mkdir -m 700 "$XDG_RUNTIME_DIR"
export HOME=$work/driver XDG_DATA_DIRS=$work/system
unset XDG_DATA_HOME
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
sleep 1
(cd "$work/empty" && "$binary") >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do
  id=$(xdotool search --onlyvisible --name '路線の選択' 2>/dev/null | head -1) && [ -n "$id" ] && break
  sleep 0.1
done
[ -n "${id:-}" ] || { echo "no line chooser" >&2; kill "$pid"; exit 1; }
sleep 1.5
import -window "$id" -frame "$out"
kill "$pid"
INNER
chmod +x "$work/shot.sh"
xvfb-run -a -s "-screen 0 1280x800x24" "$work/shot.sh" "$binary" "$work" "$out"
echo "written: $out"
