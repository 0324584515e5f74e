// velmoria: the desktop program. Runs from its data folder (the current folder, or --data).
#include <QApplication>
#include <QDir>
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
#include "frontend/fonts_qt.h"
#include "run/run.h"
#include "run/trace.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmoria [--data DIR] [--trace FILE]\n"
    "       velmoria --edit DIR [--route FILE]\n"
    "  --data DIR    the data folder (default: the current folder; it holds korvelan.dat)\n"
    "  --trace FILE  write the per-tick trace of every run to FILE\n"
    "  --edit DIR    open the route editor on a route file of the data folder DIR\n"
    "  --route FILE  the route file to edit (default: the folder's only one, or a choice)\n"
    "  --help        show this text\n"
    "  --version     show the version\n";

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path data = std::filesystem::current_path();
  std::string trace;
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
  QApplication application(argc, argv);
  QApplication::setApplicationName("Velmoria");
  QApplication::setApplicationVersion(VELMORIA_VERSION);
  QApplication::setWindowIcon(QIcon(":/velmoria/velmoria.svg"));
  velmoria::installFontSubstitutes();

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
