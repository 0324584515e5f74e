// The desktop program's own figures, measured on its windows (offscreen) with the real media
// backends over the test data folder and a generated track video:
//  - RunButtonToReady: from the run button to the Ready state (all creation phases);
//  - RunningAtRecordedSpeed: process CPU time while the train follows the recorded speed, and
//    the pictures drawn per second (VELMORIA_BENCH_SECONDS, default 60);
//  - FourTimesRecordedSpeed: the frame position moved at 4 x 30 frames a second; counts the
//    passes where a due picture was not decoded yet and the longest idle pass on the UI thread.
// Needs the ffmpeg command to make the video (the benchmark is skipped without it).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "frontend/desktop_app_qt.h"
#include "frontend/fonts_qt.h"
#include "support/state_access.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;

constexpr int kVideoFrames = 6000;

// A copy of the test data folder with a generated MPEG-4 track video (made once per run).
const fs::path& benchData() {
  static const fs::path dir = [] {
    const fs::path d = fs::temp_directory_path() / ("velmoria-bench-" + std::to_string(getpid()));
    fs::remove_all(d);
    fs::copy(VELMORIA_TEST_DATA, d, fs::copy_options::recursive);
    fs::create_directories(d / "move");
    const std::string cmd =
        "ffmpeg -loglevel error -y -f lavfi -i testsrc2=s=480x240:r=30 -frames:v " +
        std::to_string(kVideoFrames) + " -c:v mpeg4 -q:v 5 -g 15 '" +
        (d / "move" / "line_test.avi").string() + "'";
    if (std::system(cmd.c_str()) != 0) fs::remove(d / "move" / "line_test.avi");
    return d;
  }();
  return dir;
}

bool haveVideo() {
  return fs::exists(benchData() / "move" / "line_test.avi");
}

ShellHooks quietHooks() {
  ShellHooks hooks;
  hooks.message = [](QWidget*, const QString& text) {
    std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
  };
  hooks.exit = [](int code) { throw ProcessEnded(code); };
  hooks.openDocument = [](const QString&) { return true; };
  return hooks;
}

// Runs the event loop for a while without spinning (the CPU figure must be the program's).
void pump(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void RunButtonToReady(benchmark::State& state) {
  DesktopApp app(benchData(), quietHooks(), MediaSet::system());
  app.start();
  app.title().aviclick();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    app.chooseRun("train_test.dat", "line_test.dat");
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    state.PauseTiming();
    app.cab()->BackClick();
    pump(10);
    state.ResumeTiming();
  }
}
BENCHMARK(RunButtonToReady)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void RunningAtRecordedSpeed(benchmark::State& state) {
  if (!haveVideo()) {
    state.SkipWithError("no ffmpeg to make the track video");
    return;
  }
  const char* env = std::getenv("VELMORIA_BENCH_SECONDS");
  const int seconds = env ? std::atoi(env) : 60;
  for (auto _ : state) {
    DesktopApp app(benchData(), quietHooks(), MediaSet::system());
    app.start();
    app.title().aviclick();
    app.chooseRun("train_test.dat", "line_test.dat");
    CabWindow& cab = *app.cab();
    cab.start1Click();
    cab.run()->keydowns(VirtualKey::F1, true);  // follow the recorded speed
    pump(1000);                                 // settle: decoder primed
    const int pictures = cab.video()->pictureCount();
    const int frame = cab.run()->observe().frame;
    const double cpu = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    pump(seconds * 1000);
    const double elapsed = wall.elapsed() / 1000.0;
    state.counters["cpu_percent"] = 100.0 * (cpuSeconds() - cpu) / elapsed;
    state.counters["pictures_per_s"] = (cab.video()->pictureCount() - pictures) / elapsed;
    state.counters["frames_per_s"] = (cab.run()->observe().frame - frame) / elapsed;
    state.counters["misses"] = cab.video()->misses();
  }
}
BENCHMARK(RunningAtRecordedSpeed)->Unit(benchmark::kSecond)->Iterations(1);

void FourTimesRecordedSpeed(benchmark::State& state) {
  if (!haveVideo()) {
    state.SkipWithError("no ffmpeg to make the track video");
    return;
  }
  for (auto _ : state) {
    DesktopApp app(benchData(), quietHooks(), MediaSet::system());
    app.start();
    app.title().aviclick();
    app.chooseRun("train_test.dat", "line_test.dat");
    CabWindow& cab = *app.cab();
    cab.start1Click();  // the train stands in EB: only this loop moves the frame position
    cab.idleTimer().stop();
    Run& run = *cab.run();
    const int start = run.observe().frame;
    const int misses = cab.video()->misses();
    const int pictures = cab.video()->pictureCount();
    QElapsedTimer wall;
    wall.start();
    double longestMs = 0;
    int updates = 0, lastFrame = start;
    while (wall.elapsed() < 10000) {
      int32_t& frame = poke(run).pos.frame;
      frame = start + static_cast<int>(wall.elapsed() * 120 / 1000);
      if (frame >= kVideoFrames) break;
      const auto t0 = std::chrono::steady_clock::now();
      cab.video()->appIdle();
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
      longestMs = std::max(longestMs, ms);
      if (cab.video()->lastDrawnFrame != lastFrame) {
        lastFrame = cab.video()->lastDrawnFrame;
        ++updates;
      }
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      usleep(4000);
    }
    const double elapsed = wall.elapsed() / 1000.0;
    state.counters["missed_updates"] = cab.video()->misses() - misses;
    state.counters["longest_idle_pass_ms"] = longestMs;
    state.counters["pictures_per_s"] = (cab.video()->pictureCount() - pictures) / elapsed;
    state.counters["frames_passed_per_s"] = (run.observe().frame - start) / elapsed;
    state.counters["updates"] = updates;
  }
}
BENCHMARK(FourTimesRecordedSpeed)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace velmoria

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);
  QApplication app(argc, argv);
  velmoria::installFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::filesystem::remove_all(velmoria::benchData());
  return 0;
}
