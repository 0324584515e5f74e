// A camera's long-GOP video in the track video's frame source, before and after velmoria-import
// re-encodes it: random access to single frames (the station jump, the branch switch; median,
// 99th percentile and worst case as counters) and decoding ahead of the train (frames in order
// with one decoder thread, as the desktop program's frame cache does), at 1080p. The camera
// file is H.264 with a keyframe every 250 frames and B-frames, 20 s at 30 fps, made with the
// ffmpeg command line on first use in $VELMORIA_BENCH_VIDEOS (default
// /tmp/velmoria-bench-videos); the short-GOP copy is made by the import's own re-encoder, and
// BM_Reencode times it against the video's duration (bench/long_gop.sh runs it before the
// short-GOP benchmarks, so that the copy is made once).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "media/ffmpeg/ffmpeg_video_source.h"
#ifdef VELMORIA_BENCH_HAS_IMPORT
#include "reencode.h"
#endif

namespace {

namespace fs = std::filesystem;

constexpr int kSeconds = 20, kFps = 30;

fs::path videoFolder() {
  const char* dir = std::getenv("VELMORIA_BENCH_VIDEOS");
  return dir && *dir ? dir : "/tmp/velmoria-bench-videos";
}

// A moving test picture with noise over it (so that the encoder cannot skip most of each
// picture, as it cannot on a real camera's), keyframes 250 frames apart, three B-frames.
fs::path cameraFile() {
  const fs::path file = videoFolder() / "camera1080_gop250_20s.mp4";
  if (!fs::exists(file)) {
    fs::create_directories(file.parent_path());
    const std::string command =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=30 -vf "
        "noise=alls=12:allf=t -frames:v " +
        std::to_string(kSeconds * kFps) +
        " -c:v libx264 -preset veryfast -crf 23 -g 250 -keyint_min 250 -sc_threshold 0 -bf 3 "
        "-pix_fmt yuv420p " +
        file.string() + ".tmp.mp4 && mv " + file.string() + ".tmp.mp4 " + file.string();
    if (std::system(command.c_str()) != 0) return {};
  }
  return file;
}

fs::path shortGopFile() {
  const fs::path file = videoFolder() / "camera1080_gop15_20s.mp4";
#ifdef VELMORIA_BENCH_HAS_IMPORT
  if (!fs::exists(file)) {
    const fs::path in = cameraFile();
    if (in.empty()) return {};
    velmoria::import::reencodeShortGop(in, file);
  }
#endif
  return fs::exists(file) ? file : fs::path{};
}

// VELMORIA_BENCH_CAMERA and VELMORIA_BENCH_SHORT_GOP name other files to measure instead, a
// camera's own 30 fps file and its re-encoded copy (bench/import_hour.sh's hour before and
// after velmoria-import --reencode, say); the re-encoding benchmark keeps to the 20 s clip.
fs::path clip(int which) {
  const char* given =
      std::getenv(which == 0 ? "VELMORIA_BENCH_CAMERA" : "VELMORIA_BENCH_SHORT_GOP");
  if (given && *given) return fs::exists(given) ? fs::path(given) : fs::path{};
  return which == 0 ? cameraFile() : shortGopFile();
}

double percentile(std::vector<double> v, int p) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[std::min(v.size() - 1, v.size() * p / 100)];
}

// Argument: 0 the camera's file, 1 the re-encoded one.
void BM_RandomAccess_Camera1080(benchmark::State& state) {
  const fs::path file = clip(static_cast<int>(state.range(0)));
  velmoria::FfmpegVideoSource source(1);
  if (file.empty() || !source.open(file)) {
    state.SkipWithError("cannot make or open the clip (ffmpeg with libx264 installed?)");
    return;
  }
  std::mt19937 random(42);
  std::uniform_int_distribution<int> any(0, source.frameCount() - 1);
  velmoria::VideoFrame frame;
  std::vector<double> ms;
  for (auto _ : state) {
    const int index = any(random);
    const auto start = std::chrono::steady_clock::now();
    source.decode(index, frame);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    ms.push_back(seconds * 1000);
  }
  state.counters["p50_ms"] = percentile(ms, 50);
  state.counters["p99_ms"] = percentile(ms, 99);
  state.counters["max_ms"] = percentile(ms, 100);
}
BENCHMARK(BM_RandomAccess_Camera1080)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// Ten seconds in order from a random place, as the frame cache decodes ahead of a moving train.
void BM_Ahead_Camera1080(benchmark::State& state) {
  const fs::path file = clip(static_cast<int>(state.range(0)));
  velmoria::FfmpegVideoSource source(1);
  if (file.empty() || !source.open(file)) {
    state.SkipWithError("cannot make or open the clip (ffmpeg with libx264 installed?)");
    return;
  }
  std::mt19937 random(7);
  const int run = 10 * kFps;
  std::uniform_int_distribution<int> any(0, source.frameCount() - run - 1);
  velmoria::VideoFrame frame;
  int64_t frames = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const int first = any(random);
    source.decode(first, frame);  // the jump there is not part of decoding ahead
    state.ResumeTiming();
    for (int i = first + 1; i <= first + run; ++i) {
      source.decode(i, frame);
      benchmark::DoNotOptimize(frame.pixels.data());
    }
    frames += run;
  }
  state.counters["fps"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
  state.counters["x_realtime"] =
      benchmark::Counter(double(frames) / kFps, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Ahead_Camera1080)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#ifdef VELMORIA_BENCH_HAS_IMPORT
// The re-encoding itself, every core: x_realtime above 1 is faster than the video plays.
void BM_Reencode_Camera1080(benchmark::State& state) {
  const fs::path in = cameraFile();
  if (in.empty()) {
    state.SkipWithError("cannot make the clip (ffmpeg with libx264 installed?)");
    return;
  }
  // The copy the short-GOP benchmarks read afterwards.
  const fs::path out = videoFolder() / "camera1080_gop15_20s.mp4";
  for (auto _ : state) velmoria::import::reencodeShortGop(in, out);
  state.counters["x_realtime"] =
      benchmark::Counter(double(state.iterations()) * kSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reencode_Camera1080)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
#endif

}  // namespace

BENCHMARK_MAIN();
