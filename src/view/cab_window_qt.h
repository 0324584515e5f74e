#pragma once
// The cab window (TForm1): the track video, the cab panel, the main menu and the two run
// timers. It turns Qt events into the Run's handlers and draws the Run's display model; it
// never changes vehicle state itself. One window per run: the desktop application creates it,
// runs create() (the creation phases, reporting on the title window's status line), shows it,
// and is told by closed() when the driver has left it. UI thread only.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "frame/data_folder.h"
#include "frontend/media_set_qt.h"
#include "frontend/shell_hooks_qt.h"
#include "input/key_events_qt.h"
#include "media/qt/qt_image_loader.h"
#include "media/qt/qt_serial_port.h"
#include "run/app_state.h"
#include "run/run.h"
#include "view/cab_panel_qt.h"
#include "view/frame_cache_qt.h"
#include "view/video_view_qt.h"

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

  // The two timers' work (also called directly by the tests).
  void MMTimer1Timer();
  void Timer1Timer();
  // A key typed into this window or forwarded from the value display or help window.
  void handleKey(QKeyEvent* event);
  // Redraws the panel and the value display from the model.
  void refresh();

  void videoSwitched(bool toBranch) override;

 Q_SIGNALS:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildMenus();
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
  QWidget* m_surface = nullptr;
  std::unique_ptr<CabPanel> m_panel;
  VideoView* m_video = nullptr;
  std::unique_ptr<FrameCache> m_cache;
  std::unique_ptr<VideoSource> m_coreVideo;
  std::unique_ptr<Run> m_run;
  QtSerialPort m_ComPort1;
  QTimer m_MMTimer1, m_Timer1, m_idle;
  WheelSteps m_wheel;
  bool m_closing = false;
  bool m_created = false;
  bool m_switchHold = false;

  QAction *m_start1 = nullptr, *m_menu_d1 = nullptr, *m_menu_d2 = nullptr, *m_D1 = nullptr,
          *m_S1 = nullptr, *m_COM11 = nullptr, *m_COM21 = nullptr, *m_COM31 = nullptr,
          *m_Setup1 = nullptr, *m_Connect1 = nullptr;
  QMenu *m_GoTo1 = nullptr, *m_Show1 = nullptr, *m_Controller1 = nullptr;
  QMenu* m_view = nullptr;  // the View menu: the language of the program's texts
};

}  // namespace velmoria
