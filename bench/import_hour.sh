#!/usr/bin/env bash
# velmoria-import on an hour of a camera's 1080p video with its GPS track, timed against the
# video's hour: once keeping the camera's file (--no-reencode) and once re-encoding it to short
# GOPs (--reencode). Prints wall and CPU time of each import, the ratio to 3600 s and the load
# average before and after.
#   bench/import_hour.sh [BUILD_DIR]       (BUILD_DIR defaults to build/bench)
#   bench/import_hour.sh --fixture-only    (only makes the video and the track)
# The fixture is made once, with the ffmpeg command line, in
# ${VELMORIA_BENCH_VIDEOS:-/tmp/velmoria-bench-videos}:
#  - camera1080_hour.mp4: 1920x1080, 30 fps, H.264 High profile with CABAC, keyframes 250
#    frames apart, three B-frames, about 15 Mbit/s, an AAC sound track, the recording's start in
#    the container's creation_time, as an action camera writes it. The picture is ffmpeg's
#    moving testsrc2 under mild noise, so that the decoder has texture to work through. Encoding
#    a whole hour of it takes over an hour on two cores, so a segment of
#    VELMORIA_BENCH_SEGMENT_SECONDS (default 120; 3600 makes the hour in one piece) is encoded
#    and the hour is put together from copies of it without re-encoding: the decoder's work
#    per frame is the same, the picture repeats.
#  - camera1080_hour.gpx: GPX 1.1, a fix a second with time and ele from a minute before the
#    first frame to half a minute after the last, on the video's clock: a train ride of about
#    70 km on a gently curving line (seven runs up to 95 km/h, six intermediate stops of 30 to
#    60 s, the terminus reached before the end), with a receiver's metre-level noise.
# The imports write to $VELMORIA_BENCH_VIDEOS/hour-keep and hour-reencode (the route is named
# "tavo", so that the demo line's runs drive it); the vehicle comes from VELMORIA_DEMO, or from
# a quick demo folder made once with the build's velmoria-demo-gen.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fixture_only=0
if [ "${1:-}" = --fixture-only ]; then fixture_only=1; shift; fi
build=${1:-$top/build/bench}
videos=${VELMORIA_BENCH_VIDEOS:-/tmp/velmoria-bench-videos}
segment=${VELMORIA_BENCH_SEGMENT_SECONDS:-120}
hour=3600
start_utc=2024-05-18T05:41:00Z   # the recording's start: creation_time and the track's clock
video=$videos/camera1080_hour.mp4
track=$videos/camera1080_hour.gpx
mkdir -p "$videos"

load() { cut -d' ' -f1-3 /proc/loadavg; }

make_video() {
  [ -s "$video" ] && return
  (( hour % segment == 0 )) || { echo "VELMORIA_BENCH_SEGMENT_SECONDS must divide 3600" >&2; exit 2; }
  local seg=$videos/camera1080_seg${segment}s.mp4
  if [ ! -s "$seg" ]; then
    echo "making a ${segment} s 1080p camera segment (libx264; minutes on two cores) ..."
    nice -n 5 ffmpeg -nostdin -v error -y \
      -f lavfi -i "testsrc2=size=1920x1080:rate=30" \
      -f lavfi -i "sine=frequency=220:sample_rate=48000" \
      -vf "noise=alls=6:allf=t" -t "$segment" \
      -c:v libx264 -profile:v high -preset veryfast -b:v 15M -maxrate 20M -bufsize 30M \
      -g 250 -keyint_min 250 -sc_threshold 0 -bf 3 -pix_fmt yuv420p \
      -c:a aac -b:a 128k -ac 2 "$seg.tmp.mp4"
    mv "$seg.tmp.mp4" "$seg"
  fi
  echo "putting the hour together from $((hour / segment)) copies ..."
  local list=$videos/camera1080_hour.txt
  : >"$list"
  for ((i = 0; i < hour / segment; ++i)); do echo "file '$seg'" >>"$list"; done
  nice -n 5 ffmpeg -nostdin -v error -y -f concat -safe 0 -i "$list" -c copy \
    -metadata creation_time="$start_utc" -movflags +faststart "$video.tmp.mp4"
  rm -f "$list"
  mv "$video.tmp.mp4" "$video"
}

make_track() {
  [ -s "$track" ] && return
  echo "writing the GPS track ..."
  local t0
  t0=$(date -u -d "$start_utc" +%s)
  awk -v t0="$t0" -v hour="$hour" '
    function gauss(  u, v) { u = rand(); if (u < 1e-12) u = 1e-12; v = rand();
                             return sqrt(-2 * log(u)) * cos(6.283185307179586 * v) }
    function iso(t) { return strftime("%Y-%m-%dT%H:%M:%SZ", t, 1) }
    # Speed at video second t: standing, or a run of T seconds from rest to rest, accelerating
    # at 0.55 m/s2 to its top speed, braking at 0.7 m/s2.
    function speed(t,   i, tau, v) {
      for (i = 1; i <= legs; ++i) {
        if (t < depart[i]) return 0
        if (t < depart[i] + run[i]) {
          tau = t - depart[i]; v = top[i]
          if (0.55 * tau < v) v = 0.55 * tau
          if (0.7 * (run[i] - tau) < v) v = 0.7 * (run[i] - tau)
          return v
        }
      }
      return 0
    }
    BEGIN {
      srand(2024)
      # Runs: seconds, top speed (m/s), then the stand before the next.
      n = split("420 25.0 35  480 26.4 45  390 23.6 30  510 26.4 60  450 25.0 40  420 24.0 50  400 25.8 0", p, " ")
      legs = n / 3; t = 40
      for (i = 1; i <= legs; ++i) {
        depart[i] = t; run[i] = p[3 * i - 2]; top[i] = p[3 * i - 1]; t += run[i] + p[3 * i]
      }
      print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      print "<gpx version=\"1.1\" creator=\"velmoria bench/import_hour.sh\" xmlns=\"http://www.topografix.com/GPX/1/1\">"
      printf "  <metadata><name>one hour of a cab ride (benchmark fixture)</name><time>%s</time></metadata>\n", iso(t0 - 60)
      print "  <trk>\n    <name>bench line</name>\n    <trkseg>"
      lat0 = 35.3606; lon0 = 136.9147; R = 6371000; deg = 57.29577951308232
      x = 0; y = 0; s = 0; dt = 0.05
      # Gauss-Markov wander (sigma, tau) plus white noise, as a receiver under a clear sky.
      an = exp(-1 / 120); bn = 0.3 * sqrt(1 - an * an); ah = exp(-1 / 240); bh = 1.5 * sqrt(1 - ah * ah)
      wn = 0; we = 0; wh = 0
      for (sec = -60; sec <= hour + 30; ++sec) {
        if (sec > -60)
          for (k = 0; k < 1 / dt - 0.5; ++k) {
            tm = sec - 1 + (k + 0.5) * dt
            ds = speed(tm) * dt
            head = 0.9 + 0.35 * sin(s / 4000) + 0.2 * sin(s / 1700 + 1)
            x += ds * cos(head); y += ds * sin(head); s += ds
          }
        wn = an * wn + bn * gauss(); we = an * we + bn * gauss(); wh = ah * wh + bh * gauss()
        north = y + wn + 0.5 * gauss(); east = x + we + 0.5 * gauss()
        ele = 20 + 15 * sin(s / 3000) + 8 * sin(s / 1100 + 2) + wh + 1.2 * gauss()
        lat = lat0 + north / R * deg; lon = lon0 + east / (R * cos(lat0 / deg)) * deg
        printf "      <trkpt lat=\"%.8f\" lon=\"%.8f\"><ele>%.1f</ele><time>%s</time></trkpt>\n", lat, lon, ele, iso(t0 + sec)
      }
      print "    </trkseg>\n  </trk>\n</gpx>"
      printf "%.1f km in %d runs\n", s / 1000, legs > "/dev/stderr"
    }' >"$track.tmp"
  mv "$track.tmp" "$track"
}

make_video
make_track
[ "$fixture_only" = 1 ] && exit 0

import=$build/app/import/velmoria-import
[ -x "$import" ] || { echo "build velmoria-import first: cmake --build $build --target velmoria-import" >&2; exit 2; }
vehicles=${VELMORIA_DEMO:-}
if [ -z "$vehicles" ]; then
  vehicles=$videos/demo-quick
  if [ ! -e "$vehicles/.complete" ]; then
    gen=$build/tools/demo/velmoria-demo-gen
    [ -x "$gen" ] || { echo "no VELMORIA_DEMO and no $gen to make one" >&2; exit 2; }
    echo "making a quick demo folder for the vehicle ..."
    nice -n 5 "$gen" --quick --out "$vehicles" >/dev/null
  fi
fi

echo "video: $(ffprobe -v error -select_streams v:0 -show_entries stream=width,height,codec_name,profile,bit_rate,has_b_frames -of csv=p=0 "$video")," \
  "$(du -m "$video" | cut -f1) MB"
echo "track: $(grep -c '<trkpt' "$track") fixes"

one() {  # label, then velmoria-import's own options
  local label=$1; shift
  local out=$videos/hour-$label
  rm -rf "$out"
  echo
  echo "== velmoria-import $* (load average before: $(load))"
  local log=$videos/hour-$label.time
  nice -n 5 /usr/bin/time -v -o "$log" "$import" --video "$video" --track "$track" --name tavo \
    --out "$out" --vehicle-from "$vehicles" "$@" </dev/null
  local wall user sys
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, a, ":"); s = 0
           for (i = 1; i <= n; ++i) s = s * 60 + a[i]; print s }' "$log")
  user=$(awk -F': ' '/User time/ { print $2 }' "$log")
  sys=$(awk -F': ' '/System time/ { print $2 }' "$log")
  awk -v w="$wall" -v u="$user" -v s="$sys" -v h="$hour" 'BEGIN {
    printf "wall %.1f s, CPU %.1f s (user %.1f, system %.1f; %.2f cores)\n", w, u + s, u, s, (u + s) / w
    printf "wall / video: %.4f (%.1f times faster than real time)\n", w / h, h / w }'
  echo "peak memory: $(awk -F': ' '/Maximum resident/ { printf "%d MB", $2 / 1024 }' "$log")"
  echo "load average after: $(load)"
}

one keep --no-reencode
one reencode --reencode
