// velmoria: the desktop program. Runs from its data folder (the current folder, or --data).
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "desktop/runtime_dir.h"
#include "frontend/desktop_app_qt.h"
#include "frontend/display_settings_qt.h"
#include "frontend/fonts_qt.h"
#include "run/run.h"
#include "run/trace.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmoria [--data DIR] [--trace FILE] [--zoom 1|2|3|fit] [--fullscreen]\n"
    "  --data DIR    the data folder (default: the current folder; it holds korvelan.dat)\n"
    "  --trace FILE  write the per-tick trace of every run to FILE\n"
    "  --zoom Z      draw the cab at 1, 2 or 3 times its 640 x 440, or fitted to the window\n"
    "  --fullscreen  the cab window covers the screen\n"
    "                (both for this session; the View menu's choice is remembered in\n"
    "                 $XDG_CONFIG_HOME/Velmoria/velmoria.conf)\n"
    "  --help        show this text\n"
    "  --version     show the version\n";

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data = std::filesystem::current_path();
  std::string trace;
  std::optional<velmoria::Zoom> zoom;
  bool fullscreen = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("velmoria %s\n", VELMORIA_VERSION);
      return 0;
    } else if (arg == "--data" && i + 1 < argc) {
      data = std::filesystem::absolute(argv[++i]);
    } else if (arg == "--trace" && i + 1 < argc) {
      trace = argv[++i];
    } else if (arg == "--zoom" && i + 1 < argc) {
      zoom = velmoria::parseZoom(argv[++i]);
      if (!zoom) {
        std::fprintf(stderr, "velmoria: --zoom takes 1, 2, 3 or fit, not %s\n%s", argv[i], kUsage);
        return 2;
      }
    } else if (arg == "--fullscreen") {
      fullscreen = true;
    } else {
      std::fprintf(stderr, "velmoria: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }

  velmoria::ensureRuntimeDir(velmoria::defaultRuntimeDir());
  // Qt scales by the screen's own device pixel ratio, fractions included; the cab draws its
  // text, needles and pictures at the resulting resolution.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication application(argc, argv);
  QApplication::setApplicationName("Velmoria");
  QApplication::setApplicationVersion(VELMORIA_VERSION);
  QApplication::setWindowIcon(QIcon(":/velmoria/velmoria.svg"));
  velmoria::installFontSubstitutes();

  velmoria::DesktopApp app(data, velmoria::ShellHooks::system(), velmoria::MediaSet::system());
  // The display choice: the one remembered, or this session's from the command line.
  QSettings settings("Velmoria", "velmoria");
  velmoria::DisplayOptions display = velmoria::readDisplayOptions(settings);
  if (zoom) {
    display.zoom = *zoom;
    display.fullscreen = false;
  }
  if (fullscreen) display.fullscreen = true;
  app.setDisplay(display, [&settings](const velmoria::DisplayOptions& chosen) {
    velmoria::writeDisplayOptions(settings, chosen);
  });
  // --trace: the same per-tick rows velmoria-drive writes, one header for every run.
  std::ofstream traceFile;
  std::unique_ptr<velmoria::TraceWriter> writer;
  if (!trace.empty()) {
    traceFile.open(trace, std::ios::binary | std::ios::trunc);
    if (!traceFile) {
      std::fprintf(stderr, "velmoria: cannot write %s\n", trace.c_str());
      return 2;
    }
    writer = std::make_unique<velmoria::TraceWriter>(traceFile);
    writer->writeHeader();
    app.afterTick = [&](const velmoria::Run& run) {
      writer->writeRow(run, static_cast<int64_t>(run.observe().tickCount) * 100);
      traceFile.flush();
    };
  }
  QObject::connect(&app, &velmoria::DesktopApp::ended, &application, &QCoreApplication::quit,
                   Qt::QueuedConnection);
  app.start();
  return application.exec();
}
