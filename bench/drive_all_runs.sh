#!/usr/bin/env bash
# Drives all eight runs of the demo line with velmoria-drive's autopilot and prints a summary
# line per run (virtual time, stops, stop errors, emergency brakes, overspeeds, wall time).
#   bench/drive_all_runs.sh [DEMO_DIR] [BUILD_DIR]
# DEMO_DIR defaults to ./demo (made by scripts/demo), BUILD_DIR to build/release.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
demo=${1:-$top/demo}
build=${2:-$top/build/release}
drive="$build/app/drive/velmoria-drive"
gen="$build/tools/demo/velmoria-demo-gen"
if [ ! -x "$drive" ]; then
  echo "velmoria-drive is not built: cmake --build --preset release" >&2
  exit 1
fi
if [ ! -f "$demo/.complete" ]; then
  "$gen" --out "$demo"
fi
runs=(
  "train_201.dat line_rapid1.dat"
  "train_201.dat line_rapid2.dat"
  "train_E233.dat line_rapid2_E233.dat"
  "train_201.dat line_rapid3.dat"
  "train_E233.dat line_rapid3_E233.dat"
  "train_183.dat line_exp4.dat"
  "train_201.dat line_rapid5.dat"
  "train_201.dat line_local6.dat"
)
status=0
for r in "${runs[@]}"; do
  set -- $r
  start=$(date +%s.%N)
  if out=$("$drive" --data "$demo" --vehicle "$1" --route "$2" --autopilot --until-terminus 2>&1); then rc=0; else rc=$?; fi
  wall=$(echo "$(date +%s.%N) - $start" | bc)
  printf '%-22s %-16s exit %d  wall %6.1fs\n' "$2" "$1" "$rc" "$wall"
  echo "$out" | grep -v '^[0-9]* autopilot:' | sed 's/^/    /' | tail -n 8
  [ "$rc" -eq 0 ] || status=1
done
exit $status
