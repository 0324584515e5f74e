#pragma once
// The route editor: a route file of a data folder over its track video. The video steps frame
// by frame (arrow keys, Page Up/Down, the wheel over the picture, the slider, the frame box);
// the timeline under it shows the entries around the current frame. An entry of the chosen
// table is added, moved or deleted at the current frame, its fields changed in the form; every
// edit goes on the undo stack. Save writes the route file through the route writer, which reads
// it back with the core's reader before replacing the file. Test drive runs
// `velmoria-drive --autopilot --until-terminus` on the route as it stands in a child process
// and shows how it ended. UI thread; the editor owns its document and its video source.
#include <QMainWindow>
#include <QProcess>
#include <QUndoStack>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "frontend/report_window_qt.h"
#include "frontend/route_timeline_qt.h"
#include "frontend/shell_hooks_qt.h"
#include "media/video_source.h"
#include "route_edit/drive_outcome.h"
#include "route_edit/route_document.h"

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSlider;
class QSpinBox;
class QPushButton;

namespace velmoria {

class EditorVideo;

class RouteEditor : public QMainWindow {
  Q_OBJECT
 public:
  RouteEditor(std::filesystem::path folder, const ShellHooks& hooks,
              std::function<std::unique_ptr<VideoSource>()> makeVideo, QWidget* parent = nullptr);
  ~RouteEditor() override;

  // Reads the route and opens its video. A route that does not read is shown by the hooks'
  // message and leaves the editor as it was (false).
  bool open(const std::string& routeFile);

  void setFrame(int frame);
  int frame() const { return m_frame; }
  int frameCount() const { return m_frameCount; }
  void setTable(edit::Table table);
  edit::Table table() const { return m_table; }
  void selectEntry(std::optional<size_t> index);
  std::optional<size_t> selectedEntry() const { return m_selected; }

  // The edits, as the buttons make them.
  void addEntry();
  void moveEntry();
  void deleteEntry();
  // The form's field `field` of the selected entry, as typed; false (and the reason in the
  // status bar) when it is refused.
  bool setField(size_t field, const QString& text);
  bool save();
  // Starts the test drive; its outcome arrives with driveFinished.
  bool startTestDrive();
  bool testDriveRunning() const;
  const std::optional<edit::DriveOutcome>& lastDrive() const { return m_lastDrive; }
  // The run report of the last test drive (velmoria-drive --report); null before one, or
  // when the drive wrote none.
  ReportWindow* driveReport() const { return m_report.get(); }
  void setVehicle(const QString& file);

  const edit::RouteDocument& document() const { return m_doc; }
  QUndoStack& undoStack() { return m_undo; }
  RouteTimeline* timeline() const { return m_timeline; }
  QSlider* slider() const { return m_slider; }
  QLineEdit* fieldEdit(size_t field) const;
  const std::filesystem::path& routePath() const { return m_routePath; }
  // The picture on screen is that of this frame (-1: none decoded).
  int shownFrame() const;

  // The velmoria-drive to run: $VELMORIA_DRIVE, else beside this program (installed, or in the
  // build tree's app/drive), else on the PATH.
  static QString driveProgram();
  // An edit as the undo menu names it ("信号を追加"), in the reader's language.
  static QString undoText(const edit::Edit& edit);
  // A test drive's outcome in a few lines: the terminus, the time, the stops and the message.
  static QString describeDrive(const edit::DriveOutcome& outcome);

  // Asked when the window closes with unsaved edits: true to close (after saving or not).
  std::function<bool()> confirmDiscard;

 Q_SIGNALS:
  void driveFinished();
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class EntryCommand;
  void push(const edit::Edit& edit);
  void refresh(edit::Table table, std::optional<size_t> select);
  void fillList();
  void fillForm();
  void driveEnded(int exitCode, QProcess::ExitStatus status);
  void updateTitle();
  void buildWidgets();

  std::filesystem::path m_folder;
  const ShellHooks& m_hooks;
  std::function<std::unique_ptr<VideoSource>()> m_makeVideo;
  edit::RouteDocument m_doc;
  std::string m_routeFile;
  std::filesystem::path m_routePath;
  QUndoStack m_undo;
  int m_frame = 0;
  int m_frameCount = 1;
  edit::Table m_table = edit::Table::Station;
  std::optional<size_t> m_selected;

  EditorVideo* m_video = nullptr;
  RouteTimeline* m_timeline = nullptr;
  QSlider* m_slider = nullptr;
  QSpinBox* m_frameBox = nullptr;
  QLabel* m_position = nullptr;
  QComboBox* m_tableBox = nullptr;
  QComboBox* m_vehicleBox = nullptr;
  QListWidget* m_list = nullptr;
  QWidget* m_formArea = nullptr;
  QFormLayout* m_form = nullptr;
  std::vector<QLineEdit*> m_fields;
  QPlainTextEdit* m_driveText = nullptr;
  QPushButton* m_driveButton = nullptr;
  QProcess* m_drive = nullptr;
  std::filesystem::path m_driveRoute, m_driveReport;
  std::unique_ptr<ReportWindow> m_report;
  std::optional<edit::DriveOutcome> m_lastDrive;
  bool m_filling = false;
};

}  // namespace velmoria
