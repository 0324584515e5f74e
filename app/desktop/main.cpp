// velmoria: the desktop program. Opens a line: --data DIR, the current folder when it holds
// korvelan.dat, else the lines installed in the XDG data folders (a chooser when there are
// several, the demo line offered when there are none).
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "desktop/install_paths.h"
#include "desktop/runtime_dir.h"
#include "frontend/desktop_app_qt.h"
#include "frontend/fonts_qt.h"
#include "frontend/language_qt.h"
#include "frontend/line_start_qt.h"
#include "run/run.h"
#include "run/trace.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmoria [--data DIR] [--trace FILE]\n"
    "  --data DIR    the data folder, which holds korvelan.dat (default: the current folder\n"
    "                when it holds one, else the lines in $XDG_DATA_HOME/velmoria/lines\n"
    "                and $XDG_DATA_DIRS/velmoria/lines)\n"
    "  --trace FILE  write the per-tick trace of every run to FILE\n"
    "  --help        show this text\n"
    "  --version     show the version\n";

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::filesystem::path> data;
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
  // The icon lives in the shell library's resources, which a static library's link drops
  // unless something asks for them by name.
  Q_INIT_RESOURCE(shell);
  QApplication::setWindowIcon(QIcon(":/velmoria/velmoria.svg"));
  velmoria::installFontSubstitutes();
  // Before any window exists, so that every text is built in the chosen language.
  if (!velmoria::applyLanguage(
          velmoria::languageFor(velmoria::rememberedLanguageChoice(), QLocale::system())))
    std::fprintf(stderr,
                 "velmoria: the English translation cannot be loaded; texts stay Japanese\n");
  // The program ends with its title window or the line chooser (DesktopApp::ended,
  // LineStart::onQuit), not whenever no window happens to be shown, as between the demo offer
  // and its progress dialog.
  QApplication::setQuitOnLastWindowClosed(false);

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
  }

  const velmoria::ShellHooks hooks = velmoria::ShellHooks::system();
  velmoria::LineStartOptions options;
  options.data = data;
  options.current = std::filesystem::current_path();
  if (const auto generator =
          velmoria::findDemoGenerator(QCoreApplication::applicationDirPath().toStdString()))
    options.generator.program = QString::fromStdString(generator->string());
  velmoria::LineStart start(std::move(options), hooks);

  std::unique_ptr<velmoria::DesktopApp> app;
  start.onReady = [&](const std::filesystem::path& folder) {
    app = std::make_unique<velmoria::DesktopApp>(folder, hooks, velmoria::MediaSet::system());
    if (writer) {
      app->afterTick = [&](const velmoria::Run& run) {
        writer->writeRow(run, static_cast<int64_t>(run.observe().tickCount) * 100);
        traceFile.flush();
      };
    }
    QObject::connect(app.get(), &velmoria::DesktopApp::ended, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    app->start();
  };
  start.onQuit = [&] { QTimer::singleShot(0, &application, &QCoreApplication::quit); };
  // In the event loop, so that the chooser, the offer and the progress dialog run in it.
  QTimer::singleShot(0, &application, [&] { start.begin(); });
  const int status = application.exec();
  app.reset();  // the cab window stops its timers and decoder before the media go
  return status;
}
