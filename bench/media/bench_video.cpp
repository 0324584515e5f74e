// The track video's frame source: sequential decoding of 3 000 frames (480 x 240, to 32-bit
// pixels) for MJPEG, MPEG-4 part 2 and H.264, and random access to single frames of an MPEG-4
// video with 15-frame GOPs and of the demo line's main video (median, 99th percentile and worst
// case as counters).
// The videos are made with the ffmpeg command line on first use in $VELMORIA_BENCH_VIDEOS
// (default /tmp/velmoria-bench-videos); bench/compare_ffmpeg.sh runs ffmpeg on the same files.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <time.h>

#include "media/ffmpeg/ffmpeg_video_source.h"

namespace {

// CPU seconds of this thread or of the whole process: on a shared, loaded machine these tell
// the decoding cost where wall-clock time tells the scheduler's mood.
double cpuSeconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return double(t.tv_sec) + t.tv_nsec * 1e-9;
}

constexpr int kFrames = 3000;

struct Clip {
  const char* name;
  const char* codec;
};

const std::map<std::string, std::string> kClips = {
    {"mjpeg", "-c:v mjpeg -q:v 3"},
    {"mpeg4", "-c:v mpeg4 -q:v 4 -g 15 -bf 2"},
    {"h264", "-c:v libx264 -preset fast -crf 23 -pix_fmt yuv420p"},
};

std::filesystem::path videoFolder() {
  const char* dir = std::getenv("VELMORIA_BENCH_VIDEOS");
  return dir && *dir ? dir : "/tmp/velmoria-bench-videos";
}

// The clip's path, made first when missing: 3 000 frames of a moving test picture.
std::filesystem::path clip(const std::string& name) {
  const auto dir = videoFolder();
  const auto file = dir / (name + ".avi");
  if (!std::filesystem::exists(file)) {
    std::filesystem::create_directories(dir);
    const std::string command =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc2=size=480x240:rate=30 -frames:v " +
        std::to_string(kFrames) + " " + kClips.at(name) + " " + file.string() + ".tmp.avi && mv " +
        file.string() + ".tmp.avi " + file.string();
    if (std::system(command.c_str()) != 0) return {};
  }
  return file;
}

void sequential(benchmark::State& state, const std::string& name) {
  const auto file = clip(name);
  const int threads = static_cast<int>(state.range(0));
  velmoria::VideoFrame frame;
  const double cpuStart = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  for (auto _ : state) {
    velmoria::FfmpegVideoSource source(threads);
    if (!source.open(file)) {
      state.SkipWithError("cannot open the clip (is ffmpeg installed?)");
      return;
    }
    for (int i = 0; i < kFrames; ++i) {
      source.decode(i, frame);
      benchmark::DoNotOptimize(frame.pixels.data());
    }
    if (source.seekCount() != 0) state.SkipWithError("sequential decoding sought");
  }
  const double cpu = cpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart;
  state.counters["cpu_us_per_frame"] = 1e6 * cpu / (double(state.iterations()) * kFrames);
  state.SetItemsProcessed(state.iterations() * kFrames);
  state.counters["fps"] =
      benchmark::Counter(double(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}

void BM_Sequential_MJPEG(benchmark::State& state) {
  sequential(state, "mjpeg");
}
void BM_Sequential_MPEG4(benchmark::State& state) {
  sequential(state, "mpeg4");
}
void BM_Sequential_H264(benchmark::State& state) {
  sequential(state, "h264");
}
// Argument: decoder threads (0 = one per core, as the ffmpeg command line uses).
BENCHMARK(BM_Sequential_MJPEG)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sequential_MPEG4)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Sequential_H264)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void randomAccess(benchmark::State& state, const std::filesystem::path& file) {
  velmoria::FfmpegVideoSource source(static_cast<int>(state.range(0)));
  if (!source.open(file)) {
    state.SkipWithError("cannot open the clip (is ffmpeg installed?)");
    return;
  }
  std::mt19937 random(42);
  std::uniform_int_distribution<int> any(0, source.frameCount() - 1);
  velmoria::VideoFrame frame;
  std::vector<double> ms, cpuMs;
  for (auto _ : state) {
    const int index = any(random);
    const double cpuStart = cpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    const auto start = std::chrono::steady_clock::now();
    source.decode(index, frame);
    const auto end = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(end - start).count();
    cpuMs.push_back(1000 * (cpuSeconds(CLOCK_THREAD_CPUTIME_ID) - cpuStart));
    state.SetIterationTime(seconds);
    ms.push_back(seconds * 1000);
  }
  auto percentile = [](std::vector<double>& v, int p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[std::min(v.size() - 1, v.size() * p / 100)];
  };
  state.counters["p50_ms"] = percentile(ms, 50);
  state.counters["p99_ms"] = percentile(ms, 99);
  state.counters["max_ms"] = percentile(ms, 100);
  // The decoding thread's own CPU time (meaningful for one decoder thread).
  state.counters["cpu_p50_ms"] = percentile(cpuMs, 50);
  state.counters["cpu_p99_ms"] = percentile(cpuMs, 99);
}

void BM_RandomAccess_MPEG4(benchmark::State& state) {
  randomAccess(state, clip("mpeg4"));
}
BENCHMARK(BM_RandomAccess_MPEG4)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMillisecond);

// The demo line's main video as the generator wrote it ($VELMORIA_DEMO, default ./demo).
void BM_RandomAccess_DemoLine(benchmark::State& state) {
  const char* dir = std::getenv("VELMORIA_DEMO");
  const std::filesystem::path file =
      std::filesystem::path(dir && *dir ? dir : "demo") / "move" / "tavo.avi";
  if (!std::filesystem::exists(file)) {
    state.SkipWithError("no demo line: run scripts/demo or set VELMORIA_DEMO");
    return;
  }
  randomAccess(state, file);
}
BENCHMARK(BM_RandomAccess_DemoLine)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
