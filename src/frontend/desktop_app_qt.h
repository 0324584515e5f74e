#pragma once
// The desktop program's windows and their lifecycle: the title window (main window), the help
// and value display windows, the cab window of the current run, the run report and the
// Records window. Owns the program-wide state and the media services. chooseRun() is the
// hand-off from the title window: status line, creation of a new cab window with the watcher
// of its run (report, record, ghost), showing it modally, and the return to the title when it
// closes; replayRun() opens a cab window that plays a stored run back. UI thread.
#include <QObject>
#include <filesystem>
#include <memory>

#include "controls/bindings.h"
#include "frame/data_folder.h"
#include "frontend/help_window_qt.h"
#include "frontend/media_set_qt.h"
#include "frontend/records_window_qt.h"
#include "frontend/report_window_qt.h"
#include "frontend/run_watch_qt.h"
#include "frontend/route_editor_qt.h"
#include "frontend/shell_hooks_qt.h"
#include "frontend/title_window_qt.h"
#include "frontend/value_display_qt.h"
#include "run/app_state.h"
#include "view/cab_window_qt.h"

namespace velmoria {

class DesktopApp : public QObject {
  Q_OBJECT
 public:
  DesktopApp(std::filesystem::path dataFolder, ShellHooks hooks, MediaSet media);
  ~DesktopApp() override;

  // Program start: the title window (its creation checks the folder and starts the movie),
  // then the help window (reads operation.dat), then the value display window.
  void start();
  void chooseRun(const std::string& vehicleFile, const std::string& routeFile);
  // How large the windows are drawn, and who remembers a choice made in the cab's View menu
  // (nobody: the choice lasts for the session). Set before start().
  void setDisplay(DisplayOptions display, std::function<void(const DisplayOptions&)> remember);
  const DisplayOptions& display() const { return m_display; }
  // The title window's scale for the display options on its screen.
  double titleScale() const;
  // Plays a stored run back in a new cab window at 1x or 4x; false (with a message) when its
  // record cannot be read.
  bool replayRun(const StoredRun& run, int speed);
  void showRecords();
  // The route editor over the data folder: `routeFile`, or the folder's only route file, or
  // the one the user picks from the folder's route files. Null when none was opened.
  RouteEditor* openEditor(const std::string& routeFile = {});

  TitleWindow& title() { return *m_title; }
  HelpWindow& help() { return *m_help; }
  ValueDisplayWindow& values() { return *m_values; }
  CabWindow* cab() const { return m_cab.get(); }
  RunWatch* watch() const { return m_watch.get(); }
  ReportWindow* reportWindow() const { return m_report.get(); }
  RecordsWindow* recordsWindow() const { return m_records.get(); }
  RouteEditor* editor() const { return m_editor.get(); }
  AppState& state() { return m_state; }
  MediaSet& media() { return m_media; }
  // The driver's keys and pad bindings, read at start, shared by every run.
  controls::Bindings& bindings() { return m_bindings; }
  int cabWindowsCreated() const { return m_cabsCreated; }

  // Called after every run-loop tick of every run (the --trace writer).
  std::function<void(const Run&)> afterTick;

 Q_SIGNALS:
  void cabClosed();
  // Quit: the title window has closed, the cab window is released and the help window and the
  // value display are hidden. The program's event loop ends on it.
  void ended();

 private:
  void quit();
  void forwardKey(QKeyEvent* event);
  void returnToTitle();
  void scaleAuxiliaryWindows(double scale);
  void openCab(AppState& app, std::unique_ptr<RunWatch> watch, const CabReplayPlan* replay);
  void showReport(const report::RunReport& report, std::vector<report::ChartSample> ghost,
                  const QString& status);

  DataFolder m_folder;
  ShellHooks m_hooks;
  MediaSet m_media;
  AppState m_state;
  controls::Bindings m_bindings = controls::Bindings::defaults();
  std::unique_ptr<TitleWindow> m_title;
  std::unique_ptr<HelpWindow> m_help;
  std::unique_ptr<ValueDisplayWindow> m_values;
  std::unique_ptr<RunWatch> m_watch;  // outlives the cab window that tells it
  std::unique_ptr<CabWindow> m_cab;
  std::unique_ptr<ReportWindow> m_report;
  bool m_reportPending = false;  // shown once the title window is back
  std::unique_ptr<RecordsWindow> m_records;
  AppState m_replayState;  // a replay's own: it must not change the program's
  std::unique_ptr<CabReplayPlan> m_replayPlan;
  std::unique_ptr<RouteEditor> m_editor;
  int m_cabsCreated = 0;
  DisplayOptions m_display;
  std::function<void(const DisplayOptions&)> m_remember;
};

}  // namespace velmoria
