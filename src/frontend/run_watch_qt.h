#pragma once
// What the desktop program keeps of a run besides driving it: it watches the cab window
// (CabWatcher) for the live run report, the input record and the ghost caption, and at the
// end (the train standing at the terminus, or Back once the train has moved) hands over the
// report to be shown. A live run is then stored in the run history as its record replays: the
// record is driven again without a window, exactly as velmoria-drive would drive it, and that
// trace and report are kept with the record, so that a replay, velmoria-drive and the stored
// files always agree; whether the replay matched the live drive to the byte is kept with them.
// A replay is watched the same way and compared with the stored trace. One per cab window;
// the desktop application owns it. UI thread.
#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>

#include "frame/data_folder.h"
#include "frontend/media_set_qt.h"
#include "replay/input_recorder.h"
#include "report/ghost.h"
#include "report/record_replay.h"
#include "report/report_builder.h"
#include "run/trace.h"
#include "view/cab_watcher.h"

namespace velmoria {

class RunWatch : public QObject, public CabWatcher {
  Q_OBJECT
 public:
  struct Setup {
    // Where a finished run is stored; nullopt: the history is off and nothing is written.
    std::optional<std::filesystem::path> history;
    // Where the ghost comes from (the history folder, read even when storing is off).
    std::optional<std::filesystem::path> ghostsFrom;
    // A replay of a stored run: its trace's hash, to compare with.
    bool replay = false;
    std::optional<uint64_t> storedTrace;
  };
  RunWatch(const DataFolder& folder, MediaSet& media, Setup setup);
  ~RunWatch() override;

  // The report to show, with the ghost's samples and a status line.
  std::function<void(const report::RunReport&, const std::vector<report::ChartSample>& ghost,
                     const QString& status)>
      onReport;
  // Later news for the report shown (where the run was stored).
  std::function<void(const QString&)> onStatus;
  // The cab's ghost caption.
  std::function<void(const QString&)> onGhost;

  bool finished() const { return m_finished; }
  const std::optional<std::filesystem::path>& storedIn() const { return m_stored; }
  // The record so far, in velmoria-drive's script format.
  std::string record() const;

  // CabWatcher
  Joystick* joystick(Joystick* device) override;
  void created(const Run& run, const AppState& app, const Clock* replayClock) override;
  void input(const replay::ScriptCommand& c) override;
  void controllerKind(int kind) override;
  void stepped() override;
  void ticked(const Run& run) override;
  void videoSwitched() override;
  void replayEnded(const Run& run) override;
  void closing(const Run& run) override;

 private:
  class RecordingJoystick;
  int64_t wallMs() const;
  void finish();
  void store();

  const DataFolder& m_folder;
  MediaSet& m_media;
  Setup m_setup;
  const AppState* m_app = nullptr;
  const Clock* m_replayClock = nullptr;
  std::string m_vehicle, m_route;
  std::unique_ptr<RecordingJoystick> m_joystick;
  std::optional<replay::InputRecorder> m_recorder;
  std::optional<report::ReportBuilder> m_report;
  // The trace as driven: kept for the history (a drive's record may replay to a slightly
  // different run when the cab's timers ran out of their order; what is stored is what was
  // driven), and summed for the comparison with a replay.
  std::ostringstream m_liveTrace;
  report::HashingStream m_traceHash{&m_liveTrace};
  std::optional<report::RunReport> m_liveReport;  // the report shown at the end
  std::optional<TraceWriter> m_trace;
  std::unique_ptr<report::Ghost> m_ghost;
  std::vector<report::ChartSample> m_ghostSamples;
  double m_ghostScore = 0;
  bool m_moved = false;
  bool m_finished = false;
  int64_t m_ticks = 0;
  std::optional<std::filesystem::path> m_stored;
};

// The caption: how far ahead of the best run (positive) or behind it the train is.
QString ghostCaption(double aheadM, double bestScore);

}  // namespace velmoria
