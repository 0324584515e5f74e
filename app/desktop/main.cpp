// velmoria: the desktop program. Runs from its data folder (the current folder, or --data).
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "desktop/runtime_dir.h"
#include "frontend/desktop_app_qt.h"
#include "frontend/fonts_qt.h"
#include "run/run.h"
#include "run/trace.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmoria [--data DIR] [--trace FILE]\n"
    "  --data DIR    the data folder (default: the current folder; it holds korvelan.dat)\n"
    "  --trace FILE  write the per-tick trace of every run to FILE\n"
    "  --help        show this text\n"
    "  --version     show the version\n";

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data = std::filesystem::current_path();
  std::string trace;
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
    } else {
      std::fprintf(stderr, "velmoria: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    }
  }

  velmoria::ensureRuntimeDir(velmoria::defaultRuntimeDir());
  QApplication application(argc, argv);
  QApplication::setApplicationName("Velmoria");
  QApplication::setApplicationVersion(VELMORIA_VERSION);
  // The shell is a static library: its resources (the icon) are linked in only when named.
  Q_INIT_RESOURCE(shell);
  QApplication::setWindowIcon(QIcon(":/velmoria/velmoria.svg"));
  velmoria::installFontSubstitutes();

  velmoria::DesktopApp app(data, velmoria::ShellHooks::system(), velmoria::MediaSet::system());
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
