#pragma once
// The desktop program's windows and their lifecycle: the title window (main window), the help
// and value display windows, and the cab window of the current run. Owns the program-wide
// state and the media services. chooseRun() is the hand-off from the title window: status
// line, creation of a new cab window, showing it modally, and the return to the title when it
// closes. UI thread only.
#include <QObject>
#include <filesystem>
#include <memory>

#include "frame/data_folder.h"
#include "frontend/help_window_qt.h"
#include "frontend/media_set_qt.h"
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
  // The route editor over the data folder: `routeFile`, or the folder's only route file, or
  // the one the user picks from the folder's route files. Null when none was opened.
  RouteEditor* openEditor(const std::string& routeFile = {});

  TitleWindow& title() { return *m_title; }
  HelpWindow& help() { return *m_help; }
  ValueDisplayWindow& values() { return *m_values; }
  CabWindow* cab() const { return m_cab.get(); }
  RouteEditor* editor() const { return m_editor.get(); }
  AppState& state() { return m_state; }
  MediaSet& media() { return m_media; }
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

  DataFolder m_folder;
  ShellHooks m_hooks;
  MediaSet m_media;
  AppState m_state;
  std::unique_ptr<TitleWindow> m_title;
  std::unique_ptr<HelpWindow> m_help;
  std::unique_ptr<ValueDisplayWindow> m_values;
  std::unique_ptr<CabWindow> m_cab;
  std::unique_ptr<RouteEditor> m_editor;
  int m_cabsCreated = 0;
};

}  // namespace velmoria
