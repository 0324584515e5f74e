#include "frontend/run_history_qt.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

#include "report/history.h"

namespace velmoria {

namespace fs = std::filesystem;
using namespace report;

namespace {

constexpr qint64 kLargestReport = 64 * 1024 * 1024;  // far beyond any day's drive

std::string str(const QJsonObject& o, const char* key) {
  return o.value(key).toString().toStdString();
}

int32_t clockTicks(const QJsonValue& v) {
  const QStringList parts = v.toString().split(':');
  if (parts.size() != 3) return 0;
  return (parts[0].toInt() * 3600 + parts[1].toInt() * 60 + parts[2].toInt()) * 30;
}

std::vector<ChartPoint> points(const QJsonValue& v) {
  std::vector<ChartPoint> out;
  for (const auto& p : v.toArray()) {
    const QJsonArray a = p.toArray();
    if (a.size() >= 2) out.push_back({a[0].toDouble(), a[1].toDouble()});
  }
  return out;
}

std::vector<ChartMark> marks(const QJsonValue& v) {
  std::vector<ChartMark> out;
  for (const auto& m : v.toArray()) {
    const QJsonObject o = m.toObject();
    out.push_back({o.value("distance_m").toDouble(), str(o, "name")});
  }
  return out;
}

RunReport fromJson(const QJsonObject& j) {
  RunReport r;
  r.vehicle = str(j, "vehicle");
  r.route = str(j, "route");
  r.line = str(j, "line");
  r.terminus = j.value("terminus").toBool();
  r.endMs = static_cast<int64_t>(j.value("end_ms").toDouble());
  r.startClock = clockTicks(j.value("start_clock"));
  r.endClock = clockTicks(j.value("end_clock"));
  r.startM = j.value("start_m").toDouble();
  r.endM = j.value("end_m").toDouble();
  r.score = j.value("score").toDouble();
  for (const auto& v : j.value("score_breakdown").toArray()) {
    const QJsonObject o = v.toObject();
    r.breakdown.push_back(
        {str(o, "rule"), str(o, "what"), o.value("points").toDouble(), o.value("of").toInt(-1)});
  }
  for (const auto& v : j.value("stations").toArray()) {
    const QJsonObject o = v.toObject();
    StationStopReport s;
    s.name = str(o, "name");
    s.station = o.value("index").toInt(-1);
    s.stopErrorCm = o.value("stop_error_cm").toDouble();
    s.arrivalLateS = o.value("arrival_late_s").toDouble();
    s.arrivalTicks = clockTicks(o.value("arrival_clock"));
    s.timetableTicks = clockTicks(o.value("timetable_clock"));
    s.doorsOpened = o.value("doors_opened").toBool();
    s.doorsClosed = o.value("doors_closed").toBool();
    s.brakeMovements = o.value("brake_movements_last_100m").toInt();
    r.stations.push_back(s);
  }
  for (const auto& v : j.value("missed_stops").toArray()) {
    const QJsonObject o = v.toObject();
    r.missed.push_back(
        {o.value("index").toInt(-1), str(o, "name"), o.value("distance_m").toDouble()});
  }
  for (const auto& v : j.value("events").toArray()) {
    const QJsonObject o = v.toObject();
    RunEvent e;
    if (!eventKindFromName(str(o, "kind"), e.kind)) continue;  // a kind of a later version
    e.distanceM = o.value("distance_m").toDouble();
    e.clockTicks = clockTicks(o.value("clock"));
    e.excessKmh = o.value("excess_kmh").toDouble();
    e.durationS = o.value("duration_s").toDouble();
    e.limitKmh = o.value("limit_kmh").toInt();
    limitSourceFromName(str(o, "limit"), e.limit);
    e.serviceBrake = str(o, "brake") == "service";
    alarmCauseFromName(str(o, "cause"), e.cause);
    e.signal = str(o, "signal");
    r.events.push_back(e);
  }
  r.trainStopWarnings = j.value("train_stop_warnings").toInt();
  const QJsonObject comfort = j.value("comfort").toObject();
  r.comfort.maxJerk = comfort.value("max_jerk_mps3").toDouble();
  r.comfort.maxJerkAtM = comfort.value("max_jerk_at_m").toDouble();
  const QJsonObject chart = j.value("chart").toObject();
  r.chart.powerNotches = chart.value("power_notches").toInt();
  r.chart.brakeSteps = chart.value("brake_steps").toInt();
  r.chart.limit = points(chart.value("limit"));
  r.chart.recorded = points(chart.value("recorded"));
  r.chart.stations = marks(chart.value("stations"));
  r.chart.signals = marks(chart.value("signals"));
  const QJsonObject samples = j.value("samples").toObject();
  r.sampleTicks = std::max(1, samples.value("every_ticks").toInt(1));
  for (const auto& v : samples.value("rows").toArray()) {
    const QJsonArray a = v.toArray();
    if (a.size() < 5) continue;
    r.samples.push_back(
        {a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toInt(), a[4].toInt()});
  }
  return r;
}

QString name(const fs::path& p) {
  return QString::fromStdString(p.filename().string());
}

}  // namespace

std::optional<RunReport> readReportFile(const fs::path& file, QString* why, StoredFacts* stored) {
  const auto fail = [&](const QString& text) -> std::optional<RunReport> {
    if (why) *why = text;
    return std::nullopt;
  };
  QFile f(QString::fromStdString(file.string()));
  if (!f.open(QIODevice::ReadOnly))
    return fail(
        QCoreApplication::translate("velmoria::RunHistory", "%1を読み込めません").arg(name(file)));
  if (f.size() > kLargestReport)
    return fail(
        QCoreApplication::translate("velmoria::RunHistory", "%1は運転レポートとしては大きすぎます")
            .arg(name(file)));
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
  if (doc.isNull())
    return fail(QCoreApplication::translate("velmoria::RunHistory", "%1はJSONではありません: %2")
                    .arg(name(file), error.errorString()));
  const QJsonObject j = doc.object();
  if (j.value("format").toString() != "velmoria-run-report" || j.value("version").toInt() != 1 ||
      !j.value("score").isDouble())
    return fail(QCoreApplication::translate("velmoria::RunHistory",
                                            "%1はVelmoriaの運転レポートではありません")
                    .arg(name(file)));
  if (stored) {
    const QJsonObject s = j.value("stored").toObject();
    stored->source = str(s, "source");
    stored->date = str(s, "date");
    stored->dataFolder = str(s, "data_folder");
    if (s.contains("replay_exact")) stored->replayExact = s.value("replay_exact").toBool();
  }
  return fromJson(j);
}

HistoryListing readHistory(const fs::path& runs) {
  HistoryListing listing;
  std::error_code ec;
  if (!fs::is_directory(runs, ec)) return listing;
  std::vector<fs::path> entries;
  for (fs::directory_iterator it(runs, ec), end; !ec && it != end; it.increment(ec))
    entries.push_back(it->path());
  std::sort(entries.begin(), entries.end());
  for (const auto& entry : entries) {
    const auto skip = [&](const QString& why) {
      listing.skipped << name(entry) + ": " + why;
      std::fprintf(stderr, "velmoria: run history: skipped %s: %s\n", entry.string().c_str(),
                   why.toUtf8().constData());
    };
    if (name(entry).startsWith('.')) {
      skip(QCoreApplication::translate("velmoria::RunHistory",
                                       "書き込み中か、書き込みが途中で終わった運転"));
      continue;
    }
    if (!fs::is_directory(entry, ec)) {
      skip(QCoreApplication::translate("velmoria::RunHistory", "運転のフォルダではありません"));
      continue;
    }
    StoredRun run;
    run.folder = entry;
    QString why;
    auto report = readReportFile(entry / kReportFile, &why, &run.stored);
    if (!report) {
      skip(fs::exists(entry / kReportFile, ec)
               ? why
               : QCoreApplication::translate("velmoria::RunHistory", "report.jsonがありません"));
      continue;
    }
    run.report = std::move(*report);
    run.hasRecord = fs::is_regular_file(entry / kRecordFile, ec);
    listing.runs.push_back(std::move(run));
  }
  return listing;
}

const StoredRun* bestRun(const HistoryListing& history, const std::string& vehicle,
                         const std::string& route) {
  const StoredRun* best = nullptr;
  for (const auto& run : history.runs) {
    if (!run.report.terminus || run.report.vehicle != vehicle || run.report.route != route)
      continue;
    if (!best || run.report.score > best->report.score) best = &run;
  }
  return best;
}

std::optional<uint64_t> fileHash(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  uint64_t h = 14695981039346656037ull;
  char buf[65536];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i)
      h = (h ^ static_cast<unsigned char>(buf[i])) * 1099511628211ull;
    if (!in) break;
  }
  return h;
}

namespace {
// ~/.config/Velmoria/velmoria.conf (under XDG_CONFIG_HOME when it is set).
std::unique_ptr<QSettings> programSettings() {
  return std::make_unique<QSettings>("Velmoria", "velmoria");
}
}  // namespace

bool historyEnabled() {
  return programSettings()->value("history/keep", true).toBool();
}

void setHistoryEnabled(bool on) {
  const auto s = programSettings();
  s->setValue("history/keep", on);
  s->sync();
}

std::optional<fs::path> historyToWrite() {
  if (!historyEnabled()) return std::nullopt;
  return historyFolder();
}

}  // namespace velmoria
