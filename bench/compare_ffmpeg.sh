#!/usr/bin/env bash
# Sets the frame source's sequential decoding beside the ffmpeg command line on the same
# 480 x 240, 3 000-frame AVIs (MJPEG, MPEG-4 part 2, H.264), both converting to 32-bit pixels:
#   ffmpeg -benchmark -i FILE -pix_fmt bgra -f rawvideo -y /dev/null
# and prints our frames per second as a share of ffmpeg's. Also runs the random-access figure.
#   bench/compare_ffmpeg.sh [BUILD_DIR]     (BUILD_DIR defaults to build/bench)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$top/build/bench}
bench=$build/bench/media/bench_video
[ -x "$bench" ] || { echo "build the bench preset first: cmake --preset bench && cmake --build --preset bench" >&2; exit 2; }
export VELMORIA_BENCH_VIDEOS=${VELMORIA_BENCH_VIDEOS:-/tmp/velmoria-bench-videos}

# Ours (this also makes the clips on first use). Threads 0 = one per core, like ffmpeg.
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$bench" --benchmark_filter='Sequential_.*/0|RandomAccess' --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true --benchmark_format=json > "$json"

printf '%-6s %12s %12s %8s\n' codec ours_fps ffmpeg_fps share
for codec in MJPEG MPEG4 H264; do
  file=$VELMORIA_BENCH_VIDEOS/$(echo "$codec" | tr 'A-Z' 'a-z').avi
  frames=$(ffprobe -v error -select_streams v -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$file")
  best=0
  for run in 1 2 3; do
    rtime=$(ffmpeg -nostdin -benchmark -i "$file" -pix_fmt bgra -f rawvideo -y /dev/null 2>&1 |
      sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p')
    best=$(awk -v b="$best" -v f="$frames" -v t="$rtime" 'BEGIN { r = f / t; print (r > b ? r : b) }')
  done
  ours=$(python3 -c "
import json, sys
d = json.load(open('$json'))
for b in d['benchmarks']:
    if b['name'].startswith('BM_Sequential_$codec/0') and b.get('aggregate_name') == 'median':
        print('%.0f' % b['fps'])")
  share=$(awk -v o="$ours" -v f="$best" 'BEGIN { printf "%.0f%%", 100 * o / f }')
  printf '%-6s %12s %12.0f %8s\n' "$codec" "$ours" "$best" "$share"
done
python3 -c "
import json
d = json.load(open('$json'))
for b in d['benchmarks']:
    if b['name'].startswith('BM_RandomAccess') and b.get('aggregate_name') == 'median':
        print('%s: p50 %.2f ms, p99 %.2f ms, max %.2f ms' % (b['run_name'], b['p50_ms'], b['p99_ms'], b['max_ms']))"
