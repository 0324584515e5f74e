// The desktop program's own figures, measured on its windows with the real media backends
// (offscreen by default; QT_QPA_PLATFORM=xcb under xvfb-run for a real X server):
//  - RunButtonToReady: from the run button to the Ready state (all creation phases);
//  - Driving/ZOOM/BLEND/SPEED: process CPU time (UI thread and the decoding worker) while the
//    train drives for VELMORIA_BENCH_SECONDS (default 60) with the cab at ZOOM times its size,
//    smooth motion on or off, at SPEED percent of the recorded speed (100: a new frame every step),
//    and the pictures drawn per second;
//  - FourTimesRecordedSpeed: the frame position moved at 4 x 30 frames a second; counts the
//    passes where a due picture was not decoded yet and the longest idle pass on the UI thread;
//  - KeyToNotchIndicator: from a key press in the cab window's event queue to the end of the
//    repaint that shows the changed brake notch (the window's back buffer handed to the
//    window system), 200 presses at random moments while the train drives at 2x with smooth
//    motion; median, 99th percentile and largest.
// The track: VELMORIA_DEMO=DIR drives run 1 of a generated demo line (velmoria-demo-gen) or of
// a folder velmoria-import wrote with --name tavo (a 1080p camera ride); without it, the test data
// folder with an MPEG-4 video made by the ffmpeg command.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

#include "frontend/desktop_app_qt.h"
#include "frontend/fonts_qt.h"
#include "support/state_access.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;

constexpr int kVideoFrames = 6000;

const char* demoFolder() {
  const char* demo = std::getenv("VELMORIA_DEMO");
  return demo && *demo ? demo : nullptr;
}

// A copy of the test data folder with a generated MPEG-4 track video (made once per run).
const fs::path& fixtureData() {
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

fs::path benchData() {
  return demoFolder() ? fs::absolute(demoFolder()) : fixtureData();
}

// Run 1 of a demo folder plays move/tavo with the first of the extensions the run tries: the
// generated line has tavo.avi, a folder velmoria-import wrote with --name tavo (as
// bench/import_hour.sh does) the camera's tavo.mp4 or its re-encoded copy.
bool haveVideo() {
  if (!demoFolder()) return fs::exists(fixtureData() / "move" / "line_test.avi");
  for (const char* ext : {".avi", ".mp4", ".mkv", ".webm"})
    if (fs::exists(benchData() / "move" / (std::string("tavo") + ext))) return true;
  return false;
}

void chooseBenchRun(DesktopApp& app) {
  if (demoFolder())
    app.chooseRun("train_201.dat", "line_rapid1.dat");
  else
    app.chooseRun("train_test.dat", "line_test.dat");
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

int benchSeconds() {
  const char* env = std::getenv("VELMORIA_BENCH_SECONDS");
  return env ? std::max(1, std::atoi(env)) : 60;
}

double loadAverage() {
  double load[1] = {0};
  return getloadavg(load, 1) == 1 ? load[0] : -1;
}

// The cab window of a started run, drawn `zoom` times its size, the train driving at
// `percent` of the recorded speed (held there after every tick).
struct Drive {
  DesktopApp app{benchData(), quietHooks(), MediaSet::system()};
  CabWindow* cab = nullptr;

  Drive(int zoom, bool blend, int percent) {
    app.setDisplay({Zoom::One, false, blend}, {});
    app.start();
    app.title().aviclick();
    chooseBenchRun(app);
    cab = app.cab();
    // The window at the level's size whatever the screen (offscreen screens are small).
    const int menu = cab->height() - cab->centralWidget()->height();
    cab->resize(640 * zoom, 440 * zoom + menu);
    pump(50);
    cab->start1Click();
    // Held after every tick rather than by the follow key, which left run 1 of the demo line
    // standing at its first station.
    app.afterTick = [this, percent](const Run& run) {
      const int recorded = run.observe().recordedSpeed;
      poke(*cab->run()).train.speed = Fixed::fromInt(std::max(1, recorded * percent / 100));
    };
    pump(1500);  // settle: decoder primed
  }
};

void RunButtonToReady(benchmark::State& state) {
  DesktopApp app(benchData(), quietHooks(), MediaSet::system());
  app.start();
  app.title().aviclick();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    chooseBenchRun(app);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    state.PauseTiming();
    app.cab()->BackClick();
    pump(10);
    state.ResumeTiming();
  }
}
BENCHMARK(RunButtonToReady)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void Driving(benchmark::State& state) {
  if (!haveVideo()) {
    state.SkipWithError("no track video (no ffmpeg, or VELMORIA_DEMO without move/tavo.*)");
    return;
  }
  const int zoom = static_cast<int>(state.range(0));
  const bool blend = state.range(1) != 0;
  const int percent = static_cast<int>(state.range(2));
  for (auto _ : state) {
    Drive drive(zoom, blend, percent);
    CabWindow& cab = *drive.cab;
    const int pictures = cab.video()->pictureCount();
    const int frame = cab.run()->observe().frame;
    const int misses = cab.video()->misses();
    const double cpu = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    pump(benchSeconds() * 1000);
    const double elapsed = wall.elapsed() / 1000.0;
    state.counters["cpu_percent"] = 100.0 * (cpuSeconds() - cpu) / elapsed;
    state.counters["pictures_per_s"] = (cab.video()->pictureCount() - pictures) / elapsed;
    state.counters["frames_per_s"] = (cab.run()->observe().frame - frame) / elapsed;
    state.counters["misses"] = cab.video()->misses() - misses;
    state.counters["scale"] = cab.scale();
    state.counters["load"] = loadAverage();
  }
}
// 1x without smooth motion at the recorded speed (the figure of before); 1x and 2x
// with it at half the recorded speed, where every picture is a blend.
BENCHMARK(Driving)
    ->ArgNames({"zoom", "blend", "speed"})
    ->Args({1, 0, 100})
    ->Args({1, 0, 50})
    ->Args({1, 1, 50})
    ->Args({2, 1, 50})
    ->Args({2, 1, 100})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

void FourTimesRecordedSpeed(benchmark::State& state) {
  if (!haveVideo()) {
    state.SkipWithError("no track video");
    return;
  }
  for (auto _ : state) {
    DesktopApp app(benchData(), quietHooks(), MediaSet::system());
    app.setDisplay({Zoom::One, false, false}, {});
    app.start();
    app.title().aviclick();
    chooseBenchRun(app);
    CabWindow& cab = *app.cab();
    cab.start1Click();  // the train stands in EB: only this loop moves the frame position
    cab.idleTimer().stop();
    // A first pass tells the worker where the train stands; then it decodes ahead from there.
    cab.video()->appIdle();
    pump(500);
    Run& run = *cab.run();
    const int start = run.observe().frame;
    const int misses = cab.video()->misses();
    const int pictures = cab.video()->pictureCount();
    QElapsedTimer wall;
    wall.start();
    double longestMs = 0;
    int updates = 0, lastFrame = start;
    const int end = cab.video()->cache()->frameCount();
    while (wall.elapsed() < 10000) {
      int32_t& frame = poke(run).pos.frame;
      frame = start + static_cast<int>(wall.elapsed() * 120 / 1000);
      if (frame >= std::min(end, start + kVideoFrames)) break;
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

// Catches the end of the repaint of one widget: the event loop's next turn comes after the
// window's back buffer has been flushed to the window system.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void KeyToNotchIndicator(benchmark::State& state) {
  if (!haveVideo()) {
    state.SkipWithError("no track video");
    return;
  }
  for (auto _ : state) {
    Drive drive(2, true, 50);
    CabWindow& cab = *drive.cab;
    QWidget* indicator = cab.panel().component("BrakeLabel");
    QWidget* picture = cab.panel().component("Lamp_B");
    PaintWatch watchLabel(indicator), watchPicture(picture);
    std::mt19937 random(16);
    std::vector<double> ms;
    const auto press = [&](char key) {
      watchLabel.painted = watchPicture.painted = false;
      const auto t0 = std::chrono::steady_clock::now();
      const int qtKey = key == '8' ? Qt::Key_8 : Qt::Key_2;
      QCoreApplication::postEvent(
          &cab, new QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier, QString(QChar(key))));
      QElapsedTimer limit;
      limit.start();
      // The flush of the back buffer ends the event whose repaint painted the indicator: the
      // loop returns from it with the new notch handed to the window system.
      while (!(watchLabel.painted && watchPicture.painted) && limit.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    };
    press('8');  // B8 (EB) to B7 and B6: from here '2' and '8' move between B7 and B6
    press('8');
    ms.clear();
    for (int i = 0; i < 200; ++i) {
      pump(std::uniform_int_distribution<int>(20, 120)(random));
      press(i % 2 == 0 ? '2' : '8');
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.back();
    state.counters["load"] = loadAverage();
  }
}
BENCHMARK(KeyToNotchIndicator)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
}  // namespace velmoria

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("ALSOFT_DRIVERS", "null", 0);
  QApplication app(argc, argv);
  velmoria::installFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (!velmoria::demoFolder()) std::filesystem::remove_all(velmoria::fixtureData());
  return 0;
}
