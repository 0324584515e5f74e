#include "frontend/desktop_app_qt.h"

#include <QApplication>
#include <QScreen>

namespace velmoria {

DesktopApp::DesktopApp(std::filesystem::path dataFolder, ShellHooks hooks, MediaSet media)
    : m_folder(std::move(dataFolder)), m_hooks(std::move(hooks)), m_media(std::move(media)) {}

DesktopApp::~DesktopApp() {
  // The cab window goes first: it stops its timers and decoder before the media go.
  m_cab.reset();
}

void DesktopApp::start() {
  m_title = std::make_unique<TitleWindow>(
      m_state, m_folder, m_hooks, m_media.makeVideo,
      MovieMedia{m_media.sound.get(), m_media.readSoundTrack, m_media.clock.get()});
  m_title->onRun = [this](const std::string& v, const std::string& r) { chooseRun(v, r); };
  m_title->onQuit = [this] { quit(); };
  m_title->create();
  m_title->show();

  m_help = std::make_unique<HelpWindow>();
  if (!m_help->load(m_folder.resolve("operation.dat")))
    m_hooks.message(m_help.get(), tr("operation.dat を読み込めません"));
  m_help->setForward([this](QKeyEvent* e) { forwardKey(e); });

  m_values = std::make_unique<ValueDisplayWindow>();
  m_values->setForward([this](QKeyEvent* e) { forwardKey(e); });
}

void DesktopApp::quit() {
  // The help window and the value display live as long as the program: left on screen they
  // would keep it running after the title window has gone.
  m_cab.reset();
  if (m_help) m_help->hide();
  if (m_values) m_values->hide();
  Q_EMIT ended();
}

void DesktopApp::forwardKey(QKeyEvent* event) {
  if (m_cab) m_cab->handleKey(event);
}

void DesktopApp::chooseRun(const std::string& vehicleFile, const std::string& routeFile) {
  m_state.vehicleFile = vehicleFile;
  m_state.routeFile = routeFile;
  m_title->showStatusLine(true);
  m_title->setStatus(tr("Formを作成しています"));

  // Each run gets a fresh cab window; the one of the previous run is released here.
  m_cab.reset();
  CabContext context{m_state, m_folder, m_media, m_hooks, {}, m_values.get(), m_help.get(), {}};
  context.status = [this](const QString& text) { m_title->setStatus(text); };
  context.afterTick = [this](const Run& run) {
    if (afterTick) afterTick(run);
  };
  m_cab = std::make_unique<CabWindow>(std::move(context));
  ++m_cabsCreated;
  connect(m_cab.get(), &CabWindow::closed, this, &DesktopApp::returnToTitle, Qt::QueuedConnection);
  m_cab->create();

  // The value display opens beside the cab of the current run (the help window is shown by the
  // cab itself).
  m_values->setAnchor(m_cab.get());

  m_title->hide();
  m_cab->setWindowModality(Qt::ApplicationModal);
  // Centred on the screen: without a window manager nobody else would place it.
  m_cab->adjustSize();
  if (const QScreen* screen = m_title->screen())
    m_cab->move(screen->availableGeometry().center() - m_cab->rect().center());
  m_cab->show();
  m_cab->activateWindow();
  m_cab->setFocus();
}

void DesktopApp::returnToTitle() {
  if (m_cab) m_cab->hide();
  m_title->hideLoading();
  m_title->showStatusLine(false);
  m_title->setE233(false);
  m_title->show();
  m_title->setE233(false);
  Q_EMIT cabClosed();
}

}  // namespace velmoria
