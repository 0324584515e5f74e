#!/usr/bin/env bash
# A camera's long-GOP 1080p H.264 video in the track video's frame source: random access and
# decoding ahead, before and after velmoria-import's re-encoding, and the re-encoding's speed.
#   bench/long_gop.sh [BUILD_DIR]     (BUILD_DIR defaults to build/bench)
# VELMORIA_BENCH_CAMERA=FILE and VELMORIA_BENCH_SHORT_GOP=FILE measure random access and decoding
# ahead on other files instead of the 20 s clip and its copy (the re-encoding is still timed on
# the clip), e.g. bench/import_hour.sh's hour and the copy its --reencode import wrote.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build/bench}
bench=$build/bench/media/bench_long_gop
[ -x "$bench" ] || { echo "build bench_long_gop first: cmake --build --preset bench --target bench_long_gop" >&2; exit 2; }
export VELMORIA_BENCH_VIDEOS=${VELMORIA_BENCH_VIDEOS:-/tmp/velmoria-bench-videos}
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
"$bench" --benchmark_filter='Camera1080/0/'
"$bench" --benchmark_filter='Reencode'
"$bench" --benchmark_filter='Camera1080/1/'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
