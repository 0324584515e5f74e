#!/bin/sh
# Builds the fuzz preset and runs each data-file fuzzer for SECONDS (default 300), two at a time,
# seeded with the fixture files. Findings land in build/fuzz/findings/<format>/.
#   tests/fuzz/run_fuzzers.sh [SECONDS] [FORMAT...]
set -eu
cd "$(dirname "$0")/../.."
seconds=${1:-300}
[ $# -gt 0 ] && shift
formats=${*:-"vehicle route strings controller_codes drive"}
cmake --preset fuzz >/dev/null
# Only the fuzz targets: the rest of the tree is not the fuzzers' business.
targets=""
for f in $formats; do targets="$targets fuzz_$f"; done
cmake --build --preset fuzz -j2 --target $targets
out=build/fuzz/findings
run() {
  format=$1 seeds=$2 dict=$3
  mkdir -p "$out/$format/corpus" "$out/$format/seeds"
  cp $seeds "$out/$format/seeds/"
  set -- -max_total_time="$seconds" -artifact_prefix="$out/$format/" -max_len=65536 -timeout=60
  [ -n "$dict" ] && set -- "$@" -dict="$dict"
  build/fuzz/tests/fuzz/fuzz_"$format" "$@" "$out/$format/corpus" "$out/$format/seeds" \
    >"$out/$format/log.txt" 2>&1 || echo "fuzz_$format: FOUND A PROBLEM, see $out/$format/log.txt"
  grep -E "^Done|stat::number_of_executed_units" "$out/$format/log.txt" | tail -1 | sed "s/^/fuzz_$format: /"
}
pids=""
for f in $formats; do
  case $f in
    vehicle) run vehicle "tests/data/train_*.dat" tests/fuzz/vehicle.dict & ;;
    route) run route "tests/data/line_*.dat" tests/fuzz/route.dict & ;;
    strings) run strings tests/data/korvelan.dat tests/fuzz/strings.dict & ;;
    controller_codes) run controller_codes tests/data/mascon.dat "" & ;;
    drive)
      # Its inputs start with a byte that picks the file: 0 the vehicle, 1 the route.
      src=build/fuzz/drive-seeds
      mkdir -p "$src"
      for v in tests/data/train_*.dat; do
        { printf '\000'; cat "$v"; } >"$src/$(basename "$v")"
      done
      { printf '\001'; cat tests/data/line_test.dat; } >"$src/line_test.dat"
      run drive "$src/*" "" &
      ;;
  esac
  pids="$pids $!"
  # Two at a time: the machine has two cores.
  if [ "$(echo $pids | wc -w)" -ge 2 ]; then wait $pids; pids=""; fi
done
wait $pids 2>/dev/null || true
