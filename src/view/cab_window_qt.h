#pragma once
// The cab window (TForm1): the track video, the cab panel, the main menu and the two run
// timers. It turns Qt events into the Run's handlers and draws the Run's display model; it
// never changes vehicle state itself. One window per run: the desktop application creates it,
// runs create() (the creation phases, reporting on the title window's status line), shows it,
// and is told by closed() when the driver has left it. UI thread only.
#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "controls/bindings.h"
#include "controls/pad_driver.h"
#include "frame/data_folder.h"
#include "frontend/media_set_qt.h"
#include "frontend/shell_hooks_qt.h"
#include "input/key_events_qt.h"
#include "media/qt/qt_image_loader.h"
#include "media/qt/qt_serial_port.h"
#include "run/app_state.h"
#include "run/run.h"
#include "view/cab_panel_qt.h"
#include "view/cab_replay_qt.h"
#include "view/cab_watcher.h"
#include "view/frame_cache_qt.h"
#include "view/video_view_qt.h"
#include "view/zoom_qt.h"

namespace velmoria {

class ValueDisplayWindow;
class HelpWindow;

struct CabContext {
  AppState& app;
  const DataFolder& folder;
  MediaSet& media;
  const ShellHooks& hooks;
  std::function<void(const QString&)> status;  // the title window's status line
  ValueDisplayWindow* values = nullptr;
  HelpWindow* help = nullptr;
  // Called after every 100 ms tick (the trace of --trace).
  std::function<void(const Run&)> afterTick;
  // How large the cab is drawn, and who remembers a choice made in the View menu.
  DisplayOptions display;
  std::function<void(const DisplayOptions&)> displayChosen;
  // Told of every input, step and tick (the run report, the record, the ghost); may be null.
  CabWatcher* watcher = nullptr;
  // A stored run to play back instead of a drive; null for a drive.
  const CabReplayPlan* replay = nullptr;
  // The driver's keys and pad bindings (the Controls dialog changes and saves them); null:
  // every key as it always was and no pad.
  controls::Bindings* bindings = nullptr;
};

// The cab window's central widget: black, with the cab's surface centred in it; it asks for
// the size the zoom level gives the cab.
class CabLetterbox : public QWidget {
 public:
  explicit CabLetterbox(QWidget* parent) : QWidget(parent) {}
  void setWanted(QSize size) {
    m_wanted = size;
    updateGeometry();
  }
  QSize sizeHint() const override { return m_wanted; }
  QSize minimumSizeHint() const override { return kCabDesign / 2; }

 private:
  QSize m_wanted = kCabDesign;
};

class CabWindow : public QMainWindow, public RunHost {
  Q_OBJECT
 public:
  explicit CabWindow(CabContext context);
  ~CabWindow() override;

  // The creation phases. A data error shows its message and ends the process (the hooks).
  void create();

  Run* run() const { return m_run.get(); }
  CabPanel& panel() { return *m_panel; }
  VideoView* video() const { return m_video; }
  QMenu* stationMenu() const { return m_GoTo1; }
  QAction* action(const QString& name) const;
  QTimer& mmTimer() { return m_MMTimer1; }
  QTimer& timer1() { return m_Timer1; }
  QTimer& idleTimer() { return m_idle; }
  // The 640 x 440 client area of the design, drawn at scale() and centred in the window.
  QWidget* surface() const { return m_surface; }
  double scale() const { return m_scale; }
  const DisplayOptions& display() const { return m_display; }
  // The component at a point of the 640 x 440 layout, as a click there finds it at the scale
  // shown now (nullptr where only the black background is).
  QWidget* componentAt(QPoint designPoint) const;
  // Shows the window as the display options say: the zoom level's size centred on the
  // screen, maximised for "fit", or fullscreen.
  void showCab();
  // The TS master controller's port; closed until Connect1Click opens it.
  QtSerialPort& ComPort1() { return m_ComPort1; }

  // Event handlers of the window's design.
  void start1Click();
  void BackClick() { close(); }
  void menu_d1Click();
  void menu_d2Click();
  void StationClick(int index);
  void S1Click();
  void D1Click();
  void controllerClick(int kind);  // COM11Click, COM21Click, COM31Click
  void Setup1Click();
  void Connect1Click();
  // The View menu: zoom levels, fullscreen and smooth motion (display only).
  void setZoom(Zoom zoom);
  void zoomInClick();
  void zoomOutClick();
  void setFullscreen(bool on);
  void setSmoothMotion(bool on);
  // The Controls dialog (the Controller menu's last item).
  void controlsClick();
  // One key of the keyboard or the pad, to the watcher and the run.
  void press(const PostedKey& key);

  // The two timers' work (also called directly by the tests).
  void MMTimer1Timer();
  void Timer1Timer();
  // The game pad, read every 100 ms from the end of creation to the closing, paused or not,
  // like the keyboard; its buttons and handle moves are the keys of the run's handlers.
  void padTick();
  QTimer& padTimer() { return m_padTimer; }
  // A key typed into this window or forwarded from the value display or help window.
  void handleKey(QKeyEvent* event);
  // Redraws the panel and the value display from the model.
  void refresh();

  void videoSwitched(bool toBranch) override;

  // The small caption over the video that says where the best run is; empty hides it.
  void setGhostCaption(const QString& text);
  QLabel* ghostCaption() const { return m_ghost; }
  bool isClosing() const { return m_closing; }
  // The replay of a stored run, when this window plays one.
  CabReplay* replay() const { return m_replay.get(); }

 Q_SIGNALS:
  void closed();
  // The cab is drawn at a new scale (the zoom or the window's size changed).
  void scaleChanged(double scale);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class CabReplay;
  void tell(const replay::ScriptCommand& c);
  void replayTicked();
  void buildMenus();
  void buildViewMenu();
  // Centres the cab in the window at the largest scale that fits.
  void layoutCab();
  // Resizes the window to the zoom level's size, within the screen.
  void sizeForZoom();
  void showFitted();
  void rememberDisplay();
  double zoomBase() const;
  void applyMenuCaptions();
  void fillStationMenu();
  void FormActivate();
  void afterInput();
  void fail(const QString& text);
  void COMOpened();
  void COMClosed();
  void RxChar(const QByteArray& chunk);
  std::filesystem::path dataPath(const std::string& windowsName) const;

  CabContext m_ctx;
  QtImageLoader m_pictures;
  CabLetterbox* m_letterbox = nullptr;
  QWidget* m_surface = nullptr;
  DisplayOptions m_display;
  double m_scale = 1.0;
  std::unique_ptr<CabPanel> m_panel;
  VideoView* m_video = nullptr;
  std::unique_ptr<FrameCache> m_cache;
  std::unique_ptr<VideoSource> m_coreVideo;
  std::unique_ptr<Run> m_run;
  QtSerialPort m_ComPort1;
  QTimer m_MMTimer1, m_Timer1, m_idle, m_padTimer;
  controls::PadDriver m_padDriver;
  WheelSteps m_wheel;
  bool m_closing = false;
  bool m_created = false;
  bool m_switchHold = false;
  std::unique_ptr<CabReplay> m_replay;
  QLabel* m_ghost = nullptr;

  QAction *m_start1 = nullptr, *m_menu_d1 = nullptr, *m_menu_d2 = nullptr, *m_D1 = nullptr,
          *m_S1 = nullptr, *m_COM11 = nullptr, *m_COM21 = nullptr, *m_COM31 = nullptr,
          *m_Setup1 = nullptr, *m_Connect1 = nullptr, *m_Controls1 = nullptr;
  QMenu *m_GoTo1 = nullptr, *m_Show1 = nullptr, *m_Controller1 = nullptr, *m_view = nullptr;
  QAction *m_zoomIn = nullptr, *m_zoomOut = nullptr, *m_zoom1 = nullptr, *m_zoom2 = nullptr,
          *m_zoom3 = nullptr, *m_zoomFit = nullptr, *m_fullscreen = nullptr,
          *m_smoothMotion = nullptr;
};

}  // namespace velmoria
