#include "frontend/run_watch_qt.h"

#include <QTimer>
#include <cmath>
#include <ctime>
#include <sstream>

#include "frame/startup_error.h"
#include "frontend/core_texts_qt.h"
#include "frontend/run_history_qt.h"
#include "report/history.h"
#include "report/json_writer.h"
#include "report/report_json.h"
#include "run/run.h"

namespace velmoria {

// The controller the run polls, read through so that the record learns what it said.
class RunWatch::RecordingJoystick : public Joystick {
 public:
  RecordingJoystick(Joystick* device, std::function<void(const JoystickState&)> seen)
      : m_device(device), m_seen(std::move(seen)) {}
  JoystickState poll() override {
    const JoystickState s = m_device ? m_device->poll() : JoystickState{};
    m_seen(s);
    return s;
  }

 private:
  Joystick* m_device;
  std::function<void(const JoystickState&)> m_seen;
};

QString ghostCaption(double aheadM, double bestScore) {
  const QString score = QString::fromStdString(report::formatNumber(bestScore, 1));
  const long metres = std::lround(std::fabs(aheadM));
  if (metres == 0) return RunWatch::tr("最高記録の運転と並んでいます (%1)").arg(score);
  return (aheadM > 0 ? RunWatch::tr("最高記録の運転より %1 m 先 (%2)")
                     : RunWatch::tr("最高記録の運転より %1 m 後ろ (%2)"))
      .arg(QString::number(metres), score);
}

RunWatch::RunWatch(const DataFolder& folder, MediaSet& media, Setup setup)
    : m_folder(folder), m_media(media), m_setup(std::move(setup)) {}

RunWatch::~RunWatch() = default;

int64_t RunWatch::wallMs() const {
  return m_media.clock ? m_media.clock->nowMs() : 0;
}

Joystick* RunWatch::joystick(Joystick* device) {
  m_joystick = std::make_unique<RecordingJoystick>(device, [this](const JoystickState& s) {
    if (m_recorder && m_app) m_recorder->usb(m_app->controllerKind, s, wallMs());
  });
  return m_joystick.get();
}

void RunWatch::created(const Run& run, const AppState& app, const Clock* replayClock) {
  m_app = &app;
  m_replayClock = replayClock;
  m_vehicle = app.vehicleFile;
  m_route = app.routeFile;
  if (!m_setup.replay) m_recorder.emplace(app);
  m_report.emplace(run.observe());
  m_trace.emplace(m_traceHash);
  m_trace->writeHeader();
  if (m_setup.ghostsFrom) {
    const HistoryListing history = readHistory(*m_setup.ghostsFrom);
    if (const StoredRun* best = bestRun(history, m_vehicle, m_route)) {
      m_ghostSamples = best->report.samples;
      m_ghostScore = best->report.score;
      m_ghost = std::make_unique<report::Ghost>(m_ghostSamples);
    }
  }
}

void RunWatch::input(const replay::ScriptCommand& c) {
  if (m_recorder && !m_finished) m_recorder->input(c, wallMs());
  if (m_report && c.kind == replay::CommandKind::Station) m_report->noteJump();
}

void RunWatch::controllerKind(int kind) {
  if (m_recorder && !m_finished) m_recorder->controllerKind(kind, wallMs());
}

void RunWatch::stepped() {
  if (m_recorder) m_recorder->step();
}

void RunWatch::videoSwitched() {
  if (m_recorder) m_recorder->videoSwitched();
}

void RunWatch::ticked(const Run& run) {
  if (!m_report) return;
  if (m_recorder) m_recorder->tick();
  if (m_finished) return;
  // The trace's time is the record's: what velmoria-drive gives the same tick.
  const int64_t t = m_replayClock ? m_replayClock->nowMs() : m_recorder->lastTickMs();
  m_trace->writeRow(run, t);
  const RunObservation seen = run.observe();
  m_report->observe(seen, t);
  ++m_ticks;
  if (seen.speed.raw != 0) m_moved = true;
  if (m_ghost && onGhost) {
    if (const auto at = m_ghost->distanceAt(seen.clockTicks / 30.0))
      onGhost(ghostCaption(static_cast<double>(seen.distanceCm / 100) - *at, m_ghostScore));
  }
  if (seen.terminus && seen.speed.raw == 0) finish();
}

void RunWatch::replayEnded(const Run&) {
  if (!m_finished && m_report) finish();
}

void RunWatch::closing(const Run&) {
  if (!m_finished && m_report && m_moved) finish();
}

std::string RunWatch::record() const {
  if (!m_recorder) return {};
  return m_recorder->script("Velmoria input record: " + m_vehicle + " on " + m_route +
                            "\ndata folder " + m_folder.root().string() +
                            "\nreplay: velmoria-drive --data DIR --vehicle " + m_vehicle +
                            " --route " + m_route + " --script THIS_FILE");
}

void RunWatch::finish() {
  m_finished = true;
  const report::RunReport live = m_report->report();
  m_liveReport = live;
  QString status;
  if (m_setup.replay) {
    if (m_setup.storedTrace && *m_setup.storedTrace == m_traceHash.hash())
      status =
          tr("再生しました: 記録した運転と1バイトも違わず同じです (%1 ティック)。").arg(m_ticks);
    else if (m_setup.storedTrace)
      status = tr("再生しました: 記録した運転とは違う運転になりました。");
  } else if (m_setup.history) {
    status = tr("運転を記録しています…");
  }
  if (onReport) onReport(live, m_ghostSamples, status);
  if (m_recorder) {
    // The record ends where the drive ended.
    replay::ScriptCommand quit;
    quit.kind = replay::CommandKind::Quit;
    m_recorder->input(quit, wallMs());
  }
  if (!m_setup.replay && m_setup.history)
    QTimer::singleShot(0, this, [this] { store(); });  // once the report is on screen
}

void RunWatch::store() {
  const auto say = [this](const QString& text) {
    if (onStatus) onStatus(text);
  };
  const std::string script = record();
  std::istringstream in(script);
  auto parsed = replay::parseScript(in);
  if (!parsed.script) {
    say(tr("運転を記録できませんでした: 操作の記録を読み戻せません。"));
    return;
  }
  const std::time_t now = std::time(nullptr);
  report::RunFolderWriter writer(*m_setup.history, report::runFolderName(now, m_vehicle, m_route));
  if (!writer.ok()) {
    say(tr("運転を記録できませんでした: %1").arg(QString::fromStdString(writer.error())));
    return;
  }
  try {
    // The record is driven again only to learn whether it replays the drive exactly; the
    // history keeps the drive itself, as its report was shown.
    const auto replayed =
        report::replayRecord(m_folder.root().string(), m_vehicle, m_route, m_media.makeVideo(),
                             m_media.settings.get(), std::move(*parsed.script), nullptr);
    writer.trace() << m_liveTrace.str();
    report::StoredFacts facts;
    facts.source = "desktop";
    char date[32];
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    facts.date = date;
    facts.dataFolder = m_folder.root().string();
    const bool exact = m_recorder->exact() && replayed.traceHash == m_traceHash.hash();
    facts.replayExact = exact;
    const auto folder = writer.finish(report::reportJson(*m_liveReport, &facts), script);
    if (!folder) {
      say(tr("運転を記録できませんでした: %1").arg(QString::fromStdString(writer.error())));
      return;
    }
    m_stored = folder;
    const QString where = QString::fromStdString(folder->string());
    // Its record replays to a slightly different run: say so, and why when that is known.
    if (exact)
      say(tr("%1 に記録しました").arg(where));
    else if (m_recorder->exact())
      say(tr("%1 に記録しました (操作の記録を再生すると少し違う運転になります)").arg(where));
    else
      say(tr("%1 に記録しました (操作の記録を再生すると少し違う運転になります: %2)")
              .arg(where, QString::fromStdString(m_recorder->whyNotExact())));
  } catch (const StartupError& e) {
    say(tr("運転を記録できませんでした: %1").arg(coreError(e.what())));
  } catch (const std::exception& e) {
    say(tr("運転を記録できませんでした: %1").arg(QString::fromStdString(e.what())));
  }
}

}  // namespace velmoria
