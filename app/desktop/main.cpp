// velmoria: the desktop program. Opens a line: --data DIR, the current folder when it holds
// korvelan.dat, else the lines installed in the XDG data folders (a chooser when there are
// several, the demo line offered when there are none).
#include <QApplication>
#include <QDir>
#include <QSettings>
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
#include "frontend/display_settings_qt.h"
#include "frontend/fonts_qt.h"
#include "frontend/language_qt.h"
#include "frontend/line_start_qt.h"
#include "run/run.h"
#include "run/trace.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmoria [--data DIR] [--trace FILE] [--zoom 1|2|3|fit] [--fullscreen]\n"
    "       velmoria --edit DIR [--route FILE]\n"
    "  --data DIR    the data folder, which holds korvelan.dat (default: the current folder\n"
    "                when it holds one, else the lines in $XDG_DATA_HOME/velmoria/lines\n"
    "                and $XDG_DATA_DIRS/velmoria/lines)\n"
    "  --trace FILE  write the per-tick trace of every run to FILE\n"
    "  --zoom Z      draw the cab at 1, 2 or 3 times its 640 x 440, or fitted to the window\n"
    "  --fullscreen  the cab window covers the screen\n"
    "                (both for this session; the View menu's choice is remembered in\n"
    "                 $XDG_CONFIG_HOME/Velmoria/velmoria.conf)\n"
    "  --edit DIR    open the route editor on a route file of the data folder DIR\n"
    "  --route FILE  the route file to edit (default: the folder's only one, or a choice)\n"
    "  --help        show this text\n"
    "  --version     show the version\n";

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::filesystem::path> data;
  std::string trace;
  std::optional<velmoria::Zoom> zoom;
  bool fullscreen = false;
  std::optional<std::filesystem::path> editFolder;
  std::string editRoute;
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
    } else if (arg == "--edit" && i + 1 < argc) {
      editFolder = std::filesystem::absolute(argv[++i]);
    } else if (arg == "--route" && i + 1 < argc) {
      editRoute = argv[++i];
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

  // The display choice: the one remembered, or this session's from the command line.
  QSettings settings("Velmoria", "velmoria");
  velmoria::DisplayOptions display = velmoria::readDisplayOptions(settings);
  if (zoom) {
    display.zoom = *zoom;
    display.fullscreen = false;
  }
  if (fullscreen) display.fullscreen = true;
  if (!editRoute.empty() && !editFolder) {
    std::fprintf(stderr, "velmoria: --route goes with --edit DIR\n%s", kUsage);
    return 2;
  }
  if (editFolder) {
    // The editor alone: no title window, no movie; the program ends with the editor.
    velmoria::DesktopApp app(*editFolder, velmoria::ShellHooks::system(),
                             velmoria::MediaSet::system());
    velmoria::RouteEditor* editor = app.openEditor(editRoute);
    if (!editor) return 2;
    QObject::connect(editor, &velmoria::RouteEditor::closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return application.exec();
  }

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
    app->setDisplay(display, [&settings](const velmoria::DisplayOptions& chosen) {
      velmoria::writeDisplayOptions(settings, chosen);
    });
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
