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

# The machine may be shared: ours and ffmpeg run alternately, three times each, and the best
# run of each counts. Threads 0 = one decoder thread per core, as ffmpeg uses.
# bench_video makes each clip the first time one of its benchmarks runs: run each codec once
# (which also warms the caches) before ffprobe and ffmpeg read the files.
for codec in MJPEG MPEG4 H264; do
  "$bench" --benchmark_filter="Sequential_$codec/0" > /dev/null
  file=$VELMORIA_BENCH_VIDEOS/$(echo "$codec" | tr 'A-Z' 'a-z').avi
  [ -s "$file" ] || { echo "could not make $file (is ffmpeg installed?)" >&2; exit 1; }
done
json=$(mktemp -d)
trap 'rm -rf "$json"' EXIT
printf '%-6s %12s %12s %8s %16s %16s\n' codec ours_fps ffmpeg_fps share ours_cpu_us/f ffmpeg_cpu_us/f
for codec in MJPEG MPEG4 H264; do
  file=$VELMORIA_BENCH_VIDEOS/$(echo "$codec" | tr 'A-Z' 'a-z').avi
  frames=$(ffprobe -v error -select_streams v -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$file")
  best=0 bestcpu=0 ours=0 ourscpu=0
  for run in 1 2 3; do
    "$bench" --benchmark_filter="Sequential_$codec/0" --benchmark_format=json > "$json/$run.json"
    read -r fps cpu < <(python3 -c "
import json
b = json.load(open('$json/$run.json'))['benchmarks'][0]
print('%.1f %.1f' % (b['fps'], b['cpu_us_per_frame']))")
    ours=$(awk -v a="$ours" -v b="$fps" 'BEGIN { print (b > a ? b : a) }')
    ourscpu=$(awk -v a="$ourscpu" -v b="$cpu" 'BEGIN { print (a == 0 || b < a ? b : a) }')
    line=$(ffmpeg -nostdin -benchmark -i "$file" -pix_fmt bgra -f rawvideo -y /dev/null 2>&1 | grep rtime=)
    rtime=$(echo "$line" | sed -n 's/.*rtime=\([0-9.]*\)s.*/\1/p')
    cputime=$(echo "$line" | sed -n 's/.*utime=\([0-9.]*\)s stime=\([0-9.]*\)s.*/\1 \2/p' | awk '{ print $1 + $2 }')
    best=$(awk -v b="$best" -v f="$frames" -v t="$rtime" 'BEGIN { r = f / t; print (r > b ? r : b) }')
    bestcpu=$(awk -v b="$bestcpu" -v f="$frames" -v t="$cputime" 'BEGIN { c = 1e6 * t / f; print (b == 0 || c < b ? c : b) }')
  done
  share=$(awk -v o="$ours" -v f="$best" 'BEGIN { printf "%.0f%%", 100 * o / f }')
  printf '%-6s %12.0f %12.0f %8s %16.0f %16.0f\n' "$codec" "$ours" "$best" "$share" "$ourscpu" "$bestcpu"
done
"$bench" --benchmark_filter='RandomAccess' --benchmark_format=json > "$json/random.json"
python3 -c "
import json
for b in json.load(open('$json/random.json'))['benchmarks']:
    if b.get('error_occurred'):  # the demo line's video without VELMORIA_DEMO
        print('%s: skipped (%s)' % (b['name'], b.get('error_message', '')))
        continue
    print('%s: p50 %.2f ms, p99 %.2f ms, max %.2f ms; decoding thread CPU p50 %.2f ms, p99 %.2f ms'
          % (b['name'], b['p50_ms'], b['p99_ms'], b['max_ms'], b['cpu_p50_ms'], b['cpu_p99_ms']))"
