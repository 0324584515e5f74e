#include "frontend/desktop_app_qt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>
#include <fstream>

#include "frontend/window_placement_qt.h"
#include "report/history.h"

#include "controls/binding_labels_qt.h"
#include "controls/bindings_store_qt.h"

namespace velmoria {

DesktopApp::DesktopApp(std::filesystem::path dataFolder, ShellHooks hooks, MediaSet media)
    : m_folder(std::move(dataFolder)), m_hooks(std::move(hooks)), m_media(std::move(media)) {}

DesktopApp::~DesktopApp() {
  // The cab window goes first: it stops its timers and decoder before the media go.
  m_cab.reset();
  m_editor.reset();
}

void DesktopApp::start() {
  m_title = std::make_unique<TitleWindow>(
      m_state, m_folder, m_hooks, m_media.makeVideo,
      MovieMedia{m_media.sound.get(), m_media.readSoundTrack, m_media.clock.get()});
  m_title->onRun = [this](const std::string& v, const std::string& r) { chooseRun(v, r); };
  m_title->onQuit = [this] { quit(); };
  m_title->setScale(titleScale());
  m_title->onRecords = [this] { showRecords(); };
  m_title->onEdit = [this] { openEditor(); };
  m_title->create();
  m_title->show();

  m_help = std::make_unique<HelpWindow>();
  if (!m_help->load(m_folder.resolve("operation.dat")))
    m_hooks.message(m_help.get(), tr("operation.dat を読み込めません"));
  m_help->setForward([this](QKeyEvent* e) { forwardKey(e); });
  m_bindings = controls::loadBindings();
  m_help->showBindings(controls::bindingsText(m_bindings));

  m_values = std::make_unique<ValueDisplayWindow>();
  m_values->setForward([this](QKeyEvent* e) { forwardKey(e); });
}

void DesktopApp::quit() {
  m_editor.reset();
  // The help window and the value display live as long as the program: left on screen they
  // would keep it running after the title window has gone.
  m_cab.reset();
  if (m_help) m_help->hide();
  if (m_values) m_values->hide();
  if (m_report) m_report->hide();
  if (m_records) m_records->hide();
  Q_EMIT ended();
}

void DesktopApp::forwardKey(QKeyEvent* event) {
  if (m_cab) m_cab->handleKey(event);
}

void DesktopApp::chooseRun(const std::string& vehicleFile, const std::string& routeFile) {
  m_state.vehicleFile = vehicleFile;
  m_state.routeFile = routeFile;
  RunWatch::Setup setup;
  setup.history = historyToWrite();
  setup.ghostsFrom = report::historyFolder();
  openCab(m_state, std::make_unique<RunWatch>(m_folder, m_media, setup), nullptr);
}

bool DesktopApp::replayRun(const StoredRun& run, int speed) {
  std::ifstream in(run.folder / report::kRecordFile, std::ios::binary);
  auto parsed = replay::parseScript(in);
  if (!in.eof() || !parsed.script) {
    m_hooks.message(m_title.get(), tr("この運転の操作の記録を読み込めません: %1")
                                       .arg(QString::fromStdString(run.folder.string())));
    return false;
  }
  m_replayPlan = std::make_unique<CabReplayPlan>(CabReplayPlan{std::move(*parsed.script), speed});
  // A fresh program state, as velmoria-drive starts with: the record sets what it needs.
  m_replayState = AppState{};
  m_replayState.vehicleFile = run.report.vehicle;
  m_replayState.routeFile = run.report.route;
  RunWatch::Setup setup;
  setup.replay = true;
  setup.storedTrace = fileHash(run.folder / report::kTraceFile);
  setup.ghostsFrom = report::historyFolder();
  openCab(m_replayState, std::make_unique<RunWatch>(m_folder, m_media, setup), m_replayPlan.get());
  return true;
}

void DesktopApp::openCab(AppState& app, std::unique_ptr<RunWatch> watch,
                         const CabReplayPlan* replay) {
  m_title->showStatusLine(true);
  m_title->setStatus(tr("Formを作成しています"));

  // Each run gets a fresh cab window; the one of the previous run is released here, before
  // the watcher it told.
  m_cab.reset();
  m_watch = std::move(watch);
  m_watch->onReport = [this](const report::RunReport& r,
                             const std::vector<report::ChartSample>& ghost,
                             const QString& status) { showReport(r, ghost, status); };
  m_watch->onStatus = [this](const QString& status) {
    if (m_report) m_report->setStatus(status);
  };
  m_watch->onGhost = [this](const QString& text) {
    if (m_cab) m_cab->setGhostCaption(text);
  };
  CabContext context{app, m_folder, m_media, m_hooks, {}, m_values.get(), m_help.get(), {}, {}, {}};
  context.watcher = m_watch.get();
  context.replay = replay;
  context.bindings = &m_bindings;
  context.status = [this](const QString& text) { m_title->setStatus(text); };
  context.afterTick = [this](const Run& run) {
    if (afterTick) afterTick(run);
  };
  context.display = m_display;
  context.displayChosen = [this](const DisplayOptions& display) {
    m_display = display;
    if (m_remember) m_remember(display);
  };
  m_cab = std::make_unique<CabWindow>(std::move(context));
  ++m_cabsCreated;
  connect(m_cab.get(), &CabWindow::closed, this, &DesktopApp::returnToTitle, Qt::QueuedConnection);
  connect(m_cab.get(), &CabWindow::scaleChanged, this, &DesktopApp::scaleAuxiliaryWindows);
  m_cab->create();

  // The value display opens beside the cab of the current run (the help window is shown by the
  // cab itself).
  m_values->setAnchor(m_cab.get());

  m_title->hide();
  m_cab->setWindowModality(Qt::ApplicationModal);
  // Centred on the screen (without a window manager nobody else would place it), at the size
  // of the zoom level, maximised or fullscreen.
  m_cab->showCab();
  scaleAuxiliaryWindows(m_cab->scale());  // also when this cab opens at the scale of none before
  m_cab->activateWindow();
  m_cab->setFocus();
}

void DesktopApp::setDisplay(DisplayOptions display,
                            std::function<void(const DisplayOptions&)> remember) {
  m_display = display;
  m_remember = std::move(remember);
}

double DesktopApp::titleScale() const {
  if (m_display.zoom == Zoom::One && !m_display.fullscreen) return 1.0;
  // The title window with its status line, as large as the cab's level or the screen allow.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double room = screen ? fitScale(screen->availableGeometry().size(), QSize(640, 498)) : 1;
  const double wanted = m_display.zoom == Zoom::Fit || m_display.fullscreen
                            ? room
                            : static_cast<double>(m_display.zoom);
  return std::max(1.0, std::min(wanted, room));
}

void DesktopApp::scaleAuxiliaryWindows(double scale) {
  m_values->setScale(scale);
  m_help->setScale(scale);
}

RouteEditor* DesktopApp::openEditor(const std::string& routeFile) {
  std::string route = routeFile;
  if (route.empty()) {
    const auto routes = edit::routeFilesIn(m_folder.root());
    if (routes.empty()) {
      m_hooks.message(m_title.get(), tr("路線ファイルがありません"));
      return nullptr;
    }
    route = routes.front();
    if (routes.size() > 1) {
      QStringList names;
      for (const auto& r : routes) names << QString::fromStdString(r);
      bool ok = false;
      const QString chosen = QInputDialog::getItem(m_title.get(), tr("Velmoria 路線エディタ"),
                                                   tr("路線ファイル"), names, 0, false, &ok);
      if (!ok) return nullptr;
      route = chosen.toStdString();
    }
  }
  // One editor at a time: a new choice replaces it (it asks first about unsaved edits).
  if (m_editor && !m_editor->close()) return m_editor.get();
  m_editor = std::make_unique<RouteEditor>(m_folder.root(), m_hooks, m_media.makeVideo);
  if (!m_editor->open(route)) {
    m_editor.reset();
    return nullptr;
  }
  m_editor->confirmDiscard = [this] {
    return QMessageBox::question(m_editor.get(), tr("Velmoria 路線エディタ"),
                                 tr("保存していない変更を捨ててエディタを閉じますか？")) ==
           QMessageBox::Yes;
  };
  m_editor->show();
  m_editor->raise();
  m_editor->activateWindow();
  return m_editor.get();
}

void DesktopApp::returnToTitle() {
  if (m_cab) m_cab->hide();
  m_title->setScale(titleScale());
  m_title->hideLoading();
  m_title->showStatusLine(false);
  m_title->setE233(false);
  m_title->show();
  m_title->setE233(false);
  if (m_reportPending && m_report) {
    m_reportPending = false;
    presentBeside(m_report.get(), m_title.get(), Align::Top);
  }
  Q_EMIT cabClosed();
}

void DesktopApp::showReport(const report::RunReport& r, std::vector<report::ChartSample> ghost,
                            const QString& status) {
  if (!m_report) m_report = std::make_unique<ReportWindow>();
  m_report->setReport(r, std::move(ghost), status);
  // At the terminus the cab window stays; on Back it is going, and the report waits for the
  // title window.
  if (m_cab && m_cab->isVisible() && !m_cab->isClosing()) {
    presentBeside(m_report.get(), m_cab.get(), Align::Top);
  } else if (m_title->isVisible()) {
    presentBeside(m_report.get(), m_title.get(), Align::Top);
  } else {
    m_reportPending = true;
  }
}

void DesktopApp::showRecords() {
  if (!m_records) {
    m_records = std::make_unique<RecordsWindow>();
    m_records->onReport = [this](const StoredRun& run) {
      const HistoryListing& history = m_records->history();
      const StoredRun* best = bestRun(history, run.report.vehicle, run.report.route);
      const QString where = QString::fromStdString(run.folder.string());
      const QString status =
          run.stored.replayExact && !*run.stored.replayExact
              ? tr("%1 に記録しました (再生すると、運転したときとは少し違う運転になりました)")
                    .arg(where)
              : tr("%1 に記録しました").arg(where);
      showReport(run.report,
                 best && best != &run ? best->report.samples : std::vector<report::ChartSample>{},
                 status);
    };
    m_records->onReplay = [this](const StoredRun& run, int speed) {
      const StoredRun copy = run;  // the listing goes when the window reloads
      m_records->hide();
      replayRun(copy, speed);
    };
  }
  m_records->reload(report::historyFolder());
  presentBeside(m_records.get(), m_title.get(), Align::Top);
}

}  // namespace velmoria
