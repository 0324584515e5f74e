#include "view/cab_window_qt.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QWheelEvent>

#include "controls/binding_labels_qt.h"
#include "controls/bindings_store_qt.h"
#include "controls/controls_dialog_qt.h"
#include "frontend/core_texts_qt.h"
#include "frontend/help_window_qt.h"
#include "frontend/value_display_qt.h"
#include "media/qt/qt_serial_settings_dialog.h"
#include "view/language_menu_qt.h"

namespace velmoria {

namespace {
QString qs(const std::string& s) {
  return QString::fromStdString(s);
}
}  // namespace

CabWindow::CabWindow(CabContext context) : m_ctx(std::move(context)), m_display(m_ctx.display) {
  setWindowTitle("Velmoria");
  m_letterbox = new CabLetterbox(this);
  m_letterbox->setObjectName("letterbox");
  QPalette palette = m_letterbox->palette();
  palette.setColor(QPalette::Window, Qt::black);
  m_letterbox->setPalette(palette);
  m_letterbox->setAutoFillBackground(true);
  m_letterbox->installEventFilter(this);
  setCentralWidget(m_letterbox);
  m_surface = new QWidget(m_letterbox);
  m_surface->setObjectName("client");
  m_surface->setGeometry(QRect(QPoint(0, 0), kCabDesign));
  m_surface->setAutoFillBackground(true);
  m_surface->setPalette(palette);
  m_video = new VideoView(m_surface);
  m_video->setBlending(m_display.smoothMotion);
  m_panel = std::make_unique<CabPanel>(m_surface, m_pictures, m_ctx.folder,
                                       [this](const QString& text) { fail(text); });
  m_panel->buildDesignTime();
  if (m_ctx.replay)
    m_replay =
        std::make_unique<CabReplay>(*this, *m_ctx.replay, *m_ctx.media.sound, *m_ctx.media.clock);
  connect(m_panel->back(), &PanelImage::clicked, this, &CabWindow::BackClick);
  buildMenus();
  setFocusPolicy(Qt::StrongFocus);

  m_MMTimer1.setTimerType(Qt::PreciseTimer);
  m_MMTimer1.setInterval(33);
  connect(&m_MMTimer1, &QTimer::timeout, this, &CabWindow::MMTimer1Timer);
  m_Timer1.setTimerType(Qt::PreciseTimer);
  m_Timer1.setInterval(100);
  connect(&m_Timer1, &QTimer::timeout, this, &CabWindow::Timer1Timer);
  // The idle-time drawing: a short poll stands in for the message loop's idle passes; the
  // 33 ms rule inside appIdle keeps the picture rate.
  m_idle.setTimerType(Qt::PreciseTimer);
  m_idle.setInterval(4);
  connect(&m_idle, &QTimer::timeout, m_video, &VideoView::appIdle);
  m_padTimer.setInterval(100);
  connect(&m_padTimer, &QTimer::timeout, this, &CabWindow::padTick);

  connect(&m_ComPort1, &QtSerialPort::opened, this, &CabWindow::COMOpened);
  connect(&m_ComPort1, &QtSerialPort::closed, this, &CabWindow::COMClosed);
  connect(&m_ComPort1, &QtSerialPort::chunkReceived, this, &CabWindow::RxChar);
}

CabWindow::~CabWindow() {
  m_replay.reset();
  m_padTimer.stop();
  m_idle.stop();
  m_MMTimer1.stop();
  m_Timer1.stop();
}

void CabWindow::fail(const QString& text) {
  m_ctx.hooks.fail(this, text);
}

std::filesystem::path CabWindow::dataPath(const std::string& windowsName) const {
  return m_ctx.folder.resolve(windowsName);
}

QAction* CabWindow::action(const QString& name) const {
  return findChild<QAction*>(name);
}

void CabWindow::buildMenus() {
  QMenuBar* bar = menuBar();
  const auto item = [this](QWidget* owner, const QString& name, const QString& caption) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    owner->addAction(a);
    return a;
  };
  m_start1 = item(bar, "start1", tr("Start"));
  connect(m_start1, &QAction::triggered, this, &CabWindow::start1Click);
  m_GoTo1 = bar->addMenu(tr("Move"));
  m_GoTo1->setObjectName("GoTo1");
  m_Show1 = bar->addMenu(tr("Display"));
  m_Show1->setObjectName("Show1");
  m_menu_d1 = item(m_Show1, "menu_d1", tr("操作説明(&H)"));
  connect(m_menu_d1, &QAction::triggered, this, &CabWindow::menu_d1Click);
  m_menu_d2 = item(m_Show1, "menu_d2", tr("再描画(&R)"));
  connect(m_menu_d2, &QAction::triggered, this, &CabWindow::menu_d2Click);
  m_D1 = item(m_Show1, "D1", tr("解説モード(&D)"));
  m_D1->setCheckable(true);
  m_D1->setEnabled(false);
  connect(m_D1, &QAction::triggered, this, &CabWindow::D1Click);
  m_S1 = item(m_Show1, "S1", tr("音声初期化(&S)"));
  connect(m_S1, &QAction::triggered, this, &CabWindow::S1Click);
  m_Controller1 = bar->addMenu(tr("Controller(&C)"));
  m_Controller1->setObjectName("Controller1");
  m_COM11 = item(m_Controller1, "COM11", tr("標準/TSマスコン(&N)"));
  m_COM21 = item(m_Controller1, "COM21", tr("Windows用電車でGO! コントローラ(&U)"));
  m_COM31 = item(m_Controller1, "COM31", tr("PS用電車でGO! コントローラ(&M)"));
  int kind = 0;
  for (QAction* a : {m_COM11, m_COM21, m_COM31}) {
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, kind] { controllerClick(kind); });
    ++kind;
  }
  m_COM11->setChecked(true);
  m_Controller1->addSeparator()->setObjectName("N1");
  m_Setup1 = item(m_Controller1, "Setup1", tr("TSマスコン（設定）(&P)"));
  connect(m_Setup1, &QAction::triggered, this, &CabWindow::Setup1Click);
  m_Connect1 = item(m_Controller1, "Connect1", tr("TSマスコン（接続）(&C)"));
  connect(m_Connect1, &QAction::triggered, this, &CabWindow::Connect1Click);
  m_Controller1->addSeparator();
  m_Controls1 = item(m_Controller1, "Controls1", tr("操作の割り当て(&K)..."));
  connect(m_Controls1, &QAction::triggered, this, &CabWindow::controlsClick);
  buildViewMenu();
  m_view->addSeparator();
  fillLanguageMenu(m_view, [this](const QString& text) { m_ctx.hooks.message(this, text); });
}

void CabWindow::applyMenuCaptions() {
  const Strings& s = m_run ? m_run->data().strings : Strings{};
  if (s.Start) m_start1->setText(qs(*s.Start));
  if (s.Move) m_GoTo1->setTitle(qs(*s.Move));
  if (s.Display) {
    m_Show1->setTitle(qs((*s.Display)[0]));
    m_menu_d1->setText(qs((*s.Display)[1]));
    m_menu_d2->setText(qs((*s.Display)[2]));
  }
  if (s.Control) m_Controller1->setTitle(qs(*s.Control));
}

void CabWindow::fillStationMenu() {
  const Route& route = m_run->route();
  for (int index : route.stationMenu) {
    auto* a = new QAction(qs(route.StationTable[static_cast<size_t>(index)].name), this);
    a->setObjectName(QString("Sta%1").arg(index));
    connect(a, &QAction::triggered, this, [this, index] { StationClick(index); });
    m_GoTo1->addAction(a);
  }
}

void CabWindow::tell(const replay::ScriptCommand& c) {
  if (m_ctx.watcher) m_ctx.watcher->input(c);
}

void CabWindow::start1Click() {
  if (!m_run) return;
  if (m_replay) {
    m_replay->togglePause();
    return;
  }
  replay::ScriptCommand c;
  c.kind = replay::CommandKind::Start;
  tell(c);
  m_run->start1Click();
  // While a video switch waits, its end starts the timers if the run is still running.
  if (m_run->running() && !m_switchHold) {
    m_MMTimer1.start();
    m_Timer1.start();
  } else {
    m_MMTimer1.stop();
    m_Timer1.stop();
  }
  --m_video->lastDrawnFrame;  // the next idle pass draws the current frame again
  refresh();
}

void CabWindow::menu_d1Click() {
  if (m_ctx.help) m_ctx.help->present(this);
}

void CabWindow::menu_d2Click() {
  m_video->redraw();
}

void CabWindow::StationClick(int index) {
  if (!m_run || m_replay) return;
  replay::ScriptCommand c;
  c.kind = replay::CommandKind::Station;
  c.station = index;
  tell(c);
  m_run->StationClick(index);
  refresh();
}

void CabWindow::S1Click() {
  if (!m_run || m_replay) return;
  replay::ScriptCommand c;
  c.kind = replay::CommandKind::Voice;
  tell(c);
  m_run->S1Click();
}

void CabWindow::D1Click() {
  if (!m_run) return;
  m_run->D1Click();
  m_D1->setChecked(m_run->commentaryMode());
}

void CabWindow::controllerClick(int kind) {
  if (m_replay && m_created) return;  // the record says which controller the run had
  if (m_run && m_ctx.watcher) m_ctx.watcher->controllerKind(kind);
  m_ctx.app.controllerKind = kind;
  m_COM11->setChecked(kind == 0);
  m_COM21->setChecked(kind == 1);
  m_COM31->setChecked(kind == 2);
}

void CabWindow::Setup1Click() {
  QtSerialSettingsDialog dialog(m_ComPort1.settings(), this);
  if (dialog.exec() == QDialog::Accepted) m_ComPort1.setSettings(dialog.settings());
}

void CabWindow::Connect1Click() {
  if (m_ComPort1.isOpen()) {
    m_ComPort1.close();
    return;
  }
  if (!m_ComPort1.open())
    m_ctx.hooks.message(this, m_ComPort1.portName() + ": " + m_ComPort1.errorString());
}

void CabWindow::controlsClick() {
  if (!m_ctx.bindings) return;
  controls::ControlsDialog dialog(*m_ctx.bindings, this);
  if (dialog.exec() != QDialog::Accepted || dialog.bindings() == *m_ctx.bindings) return;
  *m_ctx.bindings = dialog.bindings();
  // The pad's present state is where the new bindings start from, not a movement.
  m_padDriver.forget();
  if (m_ctx.help) m_ctx.help->showBindings(controls::bindingsText(*m_ctx.bindings));
  if (!controls::saveBindings(*m_ctx.bindings))
    m_ctx.hooks.message(this,
                        tr("操作の割り当てを保存できません: %1").arg(controls::bindingsFile()));
}

void CabWindow::COMOpened() {
  m_ctx.hooks.message(this, tr("Connect to controller."));
}

void CabWindow::COMClosed() {
  m_ctx.hooks.message(this, tr("Disconnect from controller."));
}

void CabWindow::RxChar(const QByteArray& chunk) {
  if (!m_run || m_replay) return;
  if (!chunk.isEmpty()) {
    replay::ScriptCommand c;
    c.kind = replay::CommandKind::Serial;
    c.text = chunk.toStdString();
    tell(c);
  }
  m_run->RxChar(chunk.toStdString());
  afterInput();
}

void CabWindow::MMTimer1Timer() {
  if (!m_run) return;
  m_run->MMTimer1Timer();
  m_video->stepped();
  if (m_ctx.watcher) m_ctx.watcher->stepped();
}

void CabWindow::Timer1Timer() {
  if (!m_run) return;
  m_run->Timer1Timer();
  m_run->drainPostedKeys();
  refresh();
  if (m_ctx.afterTick) m_ctx.afterTick(*m_run);
  if (m_ctx.watcher) m_ctx.watcher->ticked(*m_run);
}

void CabWindow::replayTicked() {
  refresh();
  if (m_ctx.afterTick) m_ctx.afterTick(*m_run);
  if (m_ctx.watcher) m_ctx.watcher->ticked(*m_run);
}

void CabWindow::setGhostCaption(const QString& text) {
  if (!m_ghost) {
    if (text.isEmpty()) return;
    m_ghost = new QLabel(m_surface);
    m_ghost->setObjectName("ghost");
    m_ghost->setStyleSheet(
        "QLabel { color: white; background: rgba(0, 0, 0, 140); padding: 1px 4px; "
        "font-size: 11px; }");
    m_ghost->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ghost->move(6, 6);
  }
  if (m_ghost->text() != text) {
    m_ghost->setText(text);
    m_ghost->adjustSize();
  }
  m_ghost->setVisible(!text.isEmpty());
  m_ghost->raise();
}

void CabWindow::padTick() {
  Gamepad* pad = m_ctx.media.gamepad.get();
  if (!m_run || m_closing || m_replay || !pad || !m_ctx.bindings) return;
  pad->leaveFirstJoystick(m_ctx.app.controllerKind != 0);
  const auto pressKey = [this](const PostedKey& key) { press(key); };
  if (m_padDriver.poll(pad->poll(), *m_ctx.bindings, *m_run, pressKey)) afterInput();
}

void CabWindow::refresh() {
  if (!m_run) return;
  const CabDisplay& model = m_run->display();
  m_panel->draw(model);
  if (!model.start1Caption.empty()) {
    const QString start = coreText(model.start1Caption);
    if (m_start1->text() != start) m_start1->setText(start);
  }
  const QString caption = coreText(model.caption);
  if (windowTitle() != caption) setWindowTitle(caption);
  if (m_ctx.values) m_ctx.values->draw(model.values);
}

void CabWindow::afterInput() {
  if (!m_run) return;
  m_run->drainPostedKeys();
  refresh();
}

void CabWindow::handleKey(QKeyEvent* event) {
  if (!m_run || m_closing || m_replay) return;
  if (m_ctx.bindings) {
    // A key the driver has moved to another action, or whose action has moved away.
    const controls::KeyRoute route = controls::routeKey(*m_ctx.bindings, controls::keyName(*event));
    if (route.kind == controls::KeyRoute::Kind::Dropped) return;
    if (route.kind == controls::KeyRoute::Kind::Replaced) {
      press(route.key);
      afterInput();
      return;
    }
  }
  const TranslatedKey key = translateKey(*event);
  if (key.key) press(PostedKey{true, 0, *key.key, key.shiftOnly});
  if (key.character) press(PostedKey{false, *key.character, VirtualKey::Enter, false});
  afterInput();
}

// Every key the driver's keyboard or pad gives the run, told to the watcher first so that the
// record replays it.
void CabWindow::press(const PostedKey& key) {
  replay::ScriptCommand c;
  if (key.isVirtual) {
    c.kind = replay::CommandKind::VKey;
    c.vkey = key.key;
    c.shift = key.shift;
    tell(c);
    m_run->keydowns(key.key, key.shift);
  } else {
    c.kind = replay::CommandKind::Key;
    c.key = key.ch;
    tell(c);
    m_run->AsciiDown(key.ch);
  }
}

void CabWindow::keyPressEvent(QKeyEvent* event) {
  handleKey(event);
}

void CabWindow::wheelEvent(QWheelEvent* event) {
  if (!m_run || m_closing || m_replay) return;
  const int steps = m_wheel.add(*event);
  replay::ScriptCommand c;
  c.kind = replay::CommandKind::Wheel;
  c.wheelUp = false;
  for (int i = 0; i < -steps; ++i) {
    tell(c);
    m_run->WheelD();
  }
  c.wheelUp = true;
  for (int i = 0; i < steps; ++i) {
    tell(c);
    m_run->WheelU();
  }
  if (steps != 0) afterInput();
  event->accept();
}

void CabWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
  if (event->type() == QEvent::WindowStateChange && m_fullscreen)
    m_fullscreen->setChecked(isFullScreen());  // also when the window manager changed it
}

void CabWindow::FormActivate() {
  if (!m_run || m_run->running() || !m_created) return;
  m_video->showStill(QtImageLoader::readImage(dataPath(m_run->route().StafStill)));
}

void CabWindow::videoSwitched(bool) {
  // The drive waits a second while the other video opens: no 33 ms step runs against a
  // half-open video, the run loop does not count on, and the idle drawing leaves the loading
  // picture on screen until the wait is over.
  if (m_ctx.watcher) m_ctx.watcher->videoSwitched();
  m_MMTimer1.stop();
  m_Timer1.stop();
  m_idle.stop();
  m_video->showStill(QtImageLoader::readImage(dataPath("image\\loading.bmp")));
  if (m_run) m_cache->open(m_run->observe().videoFile);
  if (m_replay) {  // the replay's own schedule holds for the second
    m_replay->videoSwitched();
    return;
  }
  m_switchHold = true;
  QTimer::singleShot(1000, this, [this] {
    m_switchHold = false;
    if (m_closing) return;
    --m_video->lastDrawnFrame;
    m_idle.start();
    if (m_run && m_run->running()) {
      m_MMTimer1.start();
      m_Timer1.start();
      Timer1Timer();  // the tick that fell due during the wait runs once, now
    }
  });
}

void CabWindow::closeEvent(QCloseEvent* event) {
  if (m_closing) {
    event->accept();
    return;
  }
  m_closing = true;
  if (m_run && m_ctx.watcher) m_ctx.watcher->closing(*m_run);
  if (m_replay) m_replay->timer().stop();
  m_padTimer.stop();
  m_idle.stop();
  m_MMTimer1.stop();
  m_Timer1.stop();
  m_ComPort1.close();
  if (m_run) m_run->closeRun();
  if (!m_ctx.media.sound->reinitialise()) {
    m_ctx.hooks.message(this, tr("DirectSoundを初期化できませんでした。"));
    fail(tr("安全のため一旦終了いたします。"));
  }
  event->accept();
  Q_EMIT closed();
}

}  // namespace velmoria
