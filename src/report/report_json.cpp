#include "report/report_json.h"

#include <cstdio>

#include "report/json_writer.h"

namespace velmoria::report {

std::string clockText(int32_t ticks) {
  const int64_t s = ticks < 0 ? 0 : ticks / 30;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return buf;
}

namespace {

void marks(JsonWriter& w, const char* name, const std::vector<ChartMark>& list) {
  w.key(name);
  w.beginArray();
  for (const auto& m : list) {
    w.beginObject();
    w.key("name");
    w.value(m.label);
    w.key("distance_m");
    w.value(m.distanceM, 1);
    w.endObject();
  }
  w.endArray();
}

void points(JsonWriter& w, const char* name, const std::vector<ChartPoint>& list) {
  w.key(name);
  w.beginArray();
  for (const auto& p : list) w.numberRow({p.distanceM, p.kmh}, 1);
  w.endArray();
}

}  // namespace

std::string reportJson(const RunReport& r, const StoredFacts* stored) {
  JsonWriter w;
  w.beginObject();
  w.key("format");
  w.value("velmoria-run-report");
  w.key("version");
  w.value(1);
  w.key("vehicle");
  w.value(r.vehicle);
  w.key("route");
  w.value(r.route);
  w.key("line");
  w.value(r.line);
  w.key("terminus");
  w.value(r.terminus);
  w.key("end_ms");
  w.value(r.endMs);
  w.key("start_clock");
  w.value(clockText(r.startClock));
  w.key("end_clock");
  w.value(clockText(r.endClock));
  w.key("start_m");
  w.value(r.startM, 1);
  w.key("end_m");
  w.value(r.endM, 1);

  w.key("score");
  w.value(r.score, 1);
  w.key("score_breakdown");
  w.beginArray();
  for (const auto& i : r.breakdown) {
    w.beginObject();
    w.key("rule");
    w.value(i.rule);
    w.key("what");
    w.value(i.what);
    w.key("points");
    w.value(i.points, 2);
    if (i.of >= 0) {
      w.key("of");
      w.value(i.of);
    }
    w.endObject();
  }
  w.endArray();

  w.key("stations");
  w.beginArray();
  for (const auto& s : r.stations) {
    w.beginObject();
    w.key("name");
    w.value(s.name);
    w.key("index");
    w.value(s.station);
    w.key("stop_error_cm");
    w.value(s.stopErrorCm, 1);
    w.key("arrival_late_s");
    w.value(s.arrivalLateS, 1);
    w.key("arrival_clock");
    w.value(clockText(s.arrivalTicks));
    w.key("timetable_clock");
    w.value(clockText(s.timetableTicks));
    w.key("doors_opened");
    w.value(s.doorsOpened);
    w.key("doors_closed");
    w.value(s.doorsClosed);
    w.key("brake_movements_last_100m");
    w.value(s.brakeMovements);
    w.endObject();
  }
  w.endArray();

  w.key("missed_stops");
  w.beginArray();
  for (const auto& m : r.missed) {
    w.beginObject();
    w.key("name");
    w.value(m.name);
    w.key("index");
    w.value(m.station);
    w.key("distance_m");
    w.value(m.distanceM, 1);
    w.endObject();
  }
  w.endArray();

  w.key("events");
  w.beginArray();
  for (const auto& e : r.events) {
    w.beginObject();
    w.key("kind");
    w.value(eventKindName(e.kind));
    w.key("distance_m");
    w.value(e.distanceM, 1);
    w.key("clock");
    w.value(clockText(e.clockTicks));
    if (e.kind == EventKind::Overspeed) {
      w.key("excess_kmh");
      w.value(e.excessKmh, 1);
      w.key("duration_s");
      w.value(e.durationS, 1);
      w.key("limit_kmh");
      w.value(e.limitKmh);
      w.key("limit");
      w.value(limitSourceName(e.limit));
    }
    if (e.kind == EventKind::TrainStopAlarm) {
      w.key("cause");
      w.value(alarmCauseName(e.cause));
    }
    if (e.kind == EventKind::ProtectionEmergency) {
      w.key("brake");
      w.value(e.serviceBrake ? "service" : "emergency");
    }
    if (e.kind == EventKind::SignalPassedAtStop) {
      w.key("signal");
      w.value(e.signal);
    }
    w.endObject();
  }
  w.endArray();

  w.key("train_stop_warnings");
  w.value(r.trainStopWarnings);

  w.key("comfort");
  w.beginObject();
  w.key("max_jerk_mps3");
  w.value(r.comfort.maxJerk, 2);
  w.key("max_jerk_at_m");
  w.value(r.comfort.maxJerkAtM, 1);
  w.endObject();

  w.key("chart");
  w.beginObject();
  w.key("power_notches");
  w.value(r.chart.powerNotches);
  w.key("brake_steps");
  w.value(r.chart.brakeSteps);
  points(w, "limit", r.chart.limit);
  points(w, "recorded", r.chart.recorded);
  marks(w, "stations", r.chart.stations);
  marks(w, "signals", r.chart.signals);
  w.endObject();

  w.key("samples");
  w.beginObject();
  w.key("every_ticks");
  w.value(r.sampleTicks);
  w.key("columns");
  w.beginArray();
  for (const char* c : {"clock_s", "distance_m", "speed_kmh", "notch", "brake"}) w.value(c);
  w.endArray();
  w.key("rows");
  w.beginArray();
  for (const auto& s : r.samples)
    w.numberRow({s.clockS, s.distanceM, s.speedKmh, double(s.notch), double(s.brake)}, 1);
  w.endArray();
  w.endObject();

  if (stored) {
    w.key("stored");
    w.beginObject();
    w.key("source");
    w.value(stored->source);
    w.key("date");
    w.value(stored->date);
    w.key("data_folder");
    w.value(stored->dataFolder);
    if (stored->replayExact) {
      w.key("replay_exact");
      w.value(*stored->replayExact);
    }
    w.endObject();
  }
  w.endObject();
  return w.text();
}

}  // namespace velmoria::report
