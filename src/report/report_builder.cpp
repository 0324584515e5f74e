#include "report/report_builder.h"

#include <algorithm>
#include <cmath>

#include "report/score.h"
#include "route/signal_colours.h"
#include "vehicle/route_distances.h"

namespace velmoria::report {

namespace {

constexpr double kTickS = 0.1;
constexpr long double kLast100mCm = 10000;
constexpr int64_t kOneMovementMs = 1000;  // steps one way closer than this are one movement
constexpr size_t kComfortTicks = 10;      // the acceleration is taken over a second
constexpr int kNoSignalShown = 999;       // the signal state's "none"
constexpr int kRecordedPointsPerSegment = 8;

bool usable(const SpeedUnitEntry& s) {
  return s.endFrame > s.startFrame;
}

}  // namespace

long double frameDistanceCm(const Route& route, int32_t frame) {
  const auto& segs = route.SpeedUnitTable;
  long double before = 0;
  for (size_t i = 0; i < segs.size(); ++i) {
    if (!usable(segs[i])) continue;
    if (segs[i].startFrame <= frame && frame < segs[i].endFrame)
      return distanceInSegment(segs, i, frame);
    if (segs[i].endFrame <= frame) before = std::max(before, segs[i].endDistance);
  }
  return before;
}

ChartLine chartLineOf(const Vehicle& vehicle, const Route& route) {
  ChartLine line;
  line.brakeSteps = vehicle.Brake;
  line.powerNotches = vehicle.Power;
  for (const auto& st : route.StationTable) {
    // Passing stations have no stopping mark of their own: the middle of their zone.
    const long double cm =
        st.type == 1
            ? frameDistanceCm(route, static_cast<int32_t>(
                                         (static_cast<int64_t>(st.zoneStart) + st.stopFrame) / 2))
            : st.distance;
    line.stations.push_back({static_cast<double>(cm / 100), st.name});
  }
  for (const auto& sig : route.SignalTable)
    line.signals.push_back(
        {static_cast<double>(frameDistanceCm(route, sig.signalFrame) / 100), sig.label});

  const auto& segs = route.SpeedUnitTable;
  long double lineEndCm = 0;
  for (size_t i = 0; i < segs.size(); ++i) {
    const auto& s = segs[i];
    if (!usable(s)) continue;
    // The filmed speed is linear in frames, not in distance: a few points a segment.
    for (int k = 0; k <= kRecordedPointsPerSegment; ++k) {
      const long double f = s.startFrame + (static_cast<long double>(s.endFrame) - s.startFrame) *
                                               k / kRecordedPointsPerSegment;
      const long double kmh = s.startSpeed + (static_cast<long double>(s.endSpeed) - s.startSpeed) *
                                                 k / kRecordedPointsPerSegment;
      line.recorded.push_back(
          {static_cast<double>(distanceInSegment(segs, i, f) / 100), static_cast<double>(kmh)});
    }
    lineEndCm = std::max(lineEndCm, s.endDistance);
  }

  // The limit in force along the line, as steps: the vehicle's maximum, lowered by every
  // section that covers a stretch.
  struct Section {
    long double from, to;
    int32_t kmh;
  };
  std::vector<Section> sections;
  std::vector<long double> edges{0, lineEndCm};
  for (const auto& e : route.SpeedLimitTable) {
    if (e.limit <= 0) continue;
    const Section s{frameDistanceCm(route, e.startFrame), frameDistanceCm(route, e.endFrame),
                    e.limit};
    if (s.to <= s.from) continue;
    sections.push_back(s);
    edges.push_back(s.from);
    edges.push_back(s.to);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  const int32_t base = std::max<int32_t>(vehicle.MaxSpeed, 0);
  for (size_t k = 0; k + 1 < edges.size(); ++k) {
    const long double mid = (edges[k] + edges[k + 1]) / 2;
    int32_t kmh = base;
    for (const auto& s : sections)
      if (s.from <= mid && mid < s.to) kmh = kmh == 0 ? s.kmh : std::min(kmh, s.kmh);
    if (line.limit.empty() || line.limit.back().kmh != kmh)
      line.limit.push_back({static_cast<double>(edges[k] / 100), static_cast<double>(kmh)});
  }
  if (!line.limit.empty())
    line.limit.push_back({static_cast<double>(edges.back() / 100), line.limit.back().kmh});
  return line;
}

ReportBuilder::ReportBuilder(const RunObservation& b) : m_meter(b) {
  m_r.vehicle = b.vehicle.fileName;
  m_r.route = b.route.fileName;
  m_r.line = b.route.LineName;
  m_r.startClock = m_r.endClock = b.clockTicks;
  m_r.startM = m_r.endM = static_cast<double>(b.distanceCm / 100);
  m_r.chart = chartLineOf(b.vehicle, b.route);
  m_origin = originStation(b);
  m_frame = b.frame;
  m_alarm = b.trainStopAlarm;
  m_atsEmergency = b.atsEmergency;
  m_protectionBrake = b.protectionBrake;
  m_driverEmergency = b.brakeStep <= -b.vehicle.Brake;
  m_brakeStep = b.brakeStep;
  m_shown.assign(b.route.SignalTable.size(), kNoSignalShown);
  m_speeds.push_back(static_cast<double>(b.speed.ld()) / 3.6);
}

void ReportBuilder::noteJump() {
  m_meter.noteJump();
  m_jumped = true;
}

int ReportBuilder::originStation(const RunObservation& run) const {
  const auto& table = run.route.StationTable;
  for (size_t j = 0; j < table.size(); ++j) {
    const auto& st = table[j];
    if (st.type != 1 && st.zoneStart <= run.frame && run.frame <= st.stopFrame)
      return static_cast<int>(j);
  }
  return -1;
}

void ReportBuilder::observe(const RunObservation& run, int64_t tMs) {
  m_meter.observe(run);
  if (m_jumped) {
    // Nothing was passed on the way: the train was put there.
    m_jumped = false;
    m_origin = originStation(run);
    m_frame = run.frame;
    m_brakeMoves.clear();
    m_standing.reset();
    m_overspeed.reset();
    m_speeds.clear();
    if (!m_moved) {
      // Put there before it ever moved: the drive starts at that station.
      m_r.startClock = run.clockTicks;
      m_r.startM = static_cast<double>(run.distanceCm / 100);
      m_r.samples.clear();
    }
  }
  if (run.speed.raw != 0) m_moved = true;
  // A report taken while a warning rings shows it; the next tick may still take it back.
  const double v = static_cast<double>(run.speed.ld());
  const double kmh = std::fabs(v);
  stations(run, tMs);
  missedStops(run);
  protection(run);
  overspeed(run, kmh);
  signalsPassed(run);
  comfort(run, v);
  sample(run, kmh);
  m_frame = run.frame;
  m_r.endMs = tMs;
  m_r.endClock = run.clockTicks;
  m_r.endM = static_cast<double>(run.distanceCm / 100);
  if (run.terminus && run.speed.raw == 0) m_r.terminus = true;
  ++m_ticks;
}

void ReportBuilder::stations(const RunObservation& run, int64_t tMs) {
  if (run.brakeStep != m_brakeStep) {
    const int direction = run.brakeStep < m_brakeStep ? 1 : -1;
    if (!m_brakeMoves.empty() && m_brakeMoves.back().direction == direction &&
        tMs - m_brakeMoves.back().lastMs <= kOneMovementMs)
      m_brakeMoves.back().lastMs = tMs;
    else
      m_brakeMoves.push_back(BrakeMove{run.distanceCm, tMs, direction});
    m_brakeStep = run.brakeStep;
  }
  while (m_brakeMoves.size() > 1 && m_brakeMoves.front().distanceCm < run.distanceCm - kLast100mCm)
    m_brakeMoves.pop_front();
  const auto movesBefore = [&] {
    return static_cast<int>(std::count_if(
        m_brakeMoves.begin(), m_brakeMoves.end(),
        [&](const BrakeMove& m) { return m.distanceCm >= run.distanceCm - kLast100mCm; }));
  };

  const auto& stops = m_meter.stops();
  const auto& table = run.route.StationTable;
  for (; m_stopsSeen < stops.size(); ++m_stopsSeen) {
    const StationStop& stop = stops[m_stopsSeen];
    const StationEntry& st = table[static_cast<size_t>(stop.station)];
    StationStopReport s;
    s.station = stop.station;
    s.name = stop.name;
    s.stopErrorCm = stop.errorM * 100;
    s.arrivalTicks = run.clockTicks;
    s.timetableTicks = st.departureTime;
    s.arrivalLateS = (static_cast<double>(run.clockTicks) - st.departureTime) / 30;
    s.doorsOpened = run.doorOpen;
    s.brakeMovements = movesBefore();
    m_r.stations.push_back(s);
    m_standing = m_r.stations.size() - 1;
  }
  // Creeping up to the mark: the meter keeps the last standstill's error.
  if (!stops.empty() && !m_r.stations.empty() &&
      m_r.stations.back().stopErrorCm != stops.back().errorM * 100) {
    m_r.stations.back().stopErrorCm = stops.back().errorM * 100;
    m_r.stations.back().brakeMovements = movesBefore();
    m_standing = m_r.stations.size() - 1;
  }
  if (m_standing) {
    StationStopReport& s = m_r.stations[*m_standing];
    if (run.doorOpen)
      s.doorsOpened = true;
    else if (s.doorsOpened)
      s.doorsClosed = true;
    const auto rounded = run.speed.rounded();
    if (rounded >= kRunningKmh || rounded <= -kRunningKmh) m_standing.reset();
  }
}

void ReportBuilder::missedStops(const RunObservation& run) {
  if (run.frame <= m_frame) return;
  const auto& table = run.route.StationTable;
  for (size_t j = 0; j < table.size(); ++j) {
    const StationEntry& st = table[j];
    if (st.type == 1 || !(m_frame <= st.stopFrame && st.stopFrame < run.frame)) continue;
    const int index = static_cast<int>(j);
    if (index == m_origin) continue;
    const auto here = [&](const auto& entry) { return entry.station == index; };
    if (std::any_of(m_r.stations.begin(), m_r.stations.end(), here) ||
        std::any_of(m_r.missed.begin(), m_r.missed.end(), here))
      continue;
    m_r.missed.push_back(MissedStop{index, st.name, static_cast<double>(st.distance / 100)});
  }
}

RunEvent ReportBuilder::eventHere(EventKind kind, const RunObservation& run) const {
  RunEvent e;
  e.kind = kind;
  e.distanceM = static_cast<double>(run.distanceCm / 100);
  e.clockTicks = run.clockTicks;
  return e;
}

AlarmCause ReportBuilder::alarmCause(const RunObservation& run) const {
  const auto speed = std::abs(run.speed.rounded());
  for (const auto& check : run.route.SpeedCheckTable) {
    const int64_t past = static_cast<int64_t>(run.frame) - check.frame;
    if (past >= 1 && past <= 9 && speed > check.speed) return AlarmCause::SpeedCheck;
  }
  if (run.checkSpeed == 0) return AlarmCause::StopSignal;
  if (run.checkSpeed == 998) return AlarmCause::Warning;
  return AlarmCause::CheckSpeed;
}

void ReportBuilder::protection(const RunObservation& run) {
  if (run.trainStopAlarm && !m_alarm) {
    RunEvent e = eventHere(EventKind::TrainStopAlarm, run);
    e.cause = alarmCause(run);
    m_r.events.push_back(e);
    // The warning of a stop signal ahead is answered by acknowledging it: only one that runs
    // into the emergency brake is the driver's fault. It stays listed until it is answered.
    if (e.cause == AlarmCause::Warning) m_warning = m_r.events.size() - 1;
  }
  if (run.atsEmergency && !m_atsEmergency) {
    m_warning.reset();
    m_r.events.push_back(eventHere(EventKind::ProtectionEmergency, run));
  }
  if (m_warning && !run.trainStopAlarm) {
    ++m_r.trainStopWarnings;
    m_r.events.erase(m_r.events.begin() + static_cast<std::ptrdiff_t>(*m_warning));
    if (m_overspeed && *m_overspeed > *m_warning) --*m_overspeed;
    m_warning.reset();
  }
  if (run.protectionBrake && !m_protectionBrake) {
    RunEvent e = eventHere(EventKind::ProtectionEmergency, run);
    e.serviceBrake = true;
    m_r.events.push_back(e);
  }
  // The driver's own emergency brake counts while the train moves; at a standstill it is the
  // way to reset the train stop.
  const bool eb = run.brakeStep <= -run.vehicle.Brake;
  if (eb && !m_driverEmergency && !run.atsEmergency && run.speed.raw != 0)
    m_r.events.push_back(eventHere(EventKind::DriverEmergency, run));
  m_alarm = run.trainStopAlarm;
  m_atsEmergency = run.atsEmergency;
  m_protectionBrake = run.protectionBrake;
  m_driverEmergency = eb;
}

ReportBuilder::Limit ReportBuilder::limitAt(const RunObservation& run) const {
  Limit l;
  const Vehicle& v = run.vehicle;
  const Route& r = run.route;
  if (v.MaxSpeed > 0) l = {v.MaxSpeed, LimitSource::VehicleMax};
  const auto lower = [&](int32_t kmh, LimitSource source) {
    if (kmh > 0 && (l.kmh == 0 || kmh < l.kmh)) l = {kmh, source};
  };
  for (const auto& e : r.SpeedLimitTable)
    if (e.startFrame < run.frame && run.frame < e.endFrame) lower(e.limit, LimitSource::SpeedLimit);
  // The train protection's speed: the train stop's check speed where it enforces one, the
  // cab signal's speed under cab signalling.
  if (v.ATS_Type == 0 && v.ATS_Alert == 1 && run.checkSpeed > 0 && run.checkSpeed < 998)
    lower(run.checkSpeed, LimitSource::CheckSpeed);
  if (v.ATS_Type == 2) {
    switch (colourGroup(run.signalShown)) {
      case ColourGroup::YY:
        lower(r.Speed_YY, LimitSource::CheckSpeed);
        break;
      case ColourGroup::Y:
        lower(r.Speed_Y, LimitSource::CheckSpeed);
        break;
      case ColourGroup::YG:
        lower(r.Speed_YG, LimitSource::CheckSpeed);
        break;
      case ColourGroup::R:  // the protection stops the train: its brake is the event
        break;
      default:
        lower(r.Speed_G, LimitSource::CheckSpeed);
    }
  }
  return l;
}

void ReportBuilder::overspeed(const RunObservation& run, double kmh) {
  const Limit l = limitAt(run);
  const auto rounded = std::abs(run.speed.rounded());
  if (l.kmh <= 0 || rounded <= l.kmh) {
    m_overspeed.reset();
    return;
  }
  const double excess = kmh - l.kmh;
  if (!m_overspeed) {
    RunEvent e = eventHere(EventKind::Overspeed, run);
    e.excessKmh = excess;
    e.limitKmh = l.kmh;
    e.limit = l.source;
    m_r.events.push_back(e);
    m_overspeed = m_r.events.size() - 1;
  }
  RunEvent& e = m_r.events[*m_overspeed];
  e.durationS = std::round((e.durationS + kTickS) * 10) / 10;
  if (excess > e.excessKmh) {
    e.excessKmh = excess;
    e.limitKmh = l.kmh;
    e.limit = l.source;
  }
}

void ReportBuilder::signalsPassed(const RunObservation& run) {
  const auto& sigs = run.route.SignalTable;
  if (run.signalInView >= 0 && static_cast<size_t>(run.signalInView) < sigs.size() &&
      run.signalShown != kNoSignalShown)
    m_shown[static_cast<size_t>(run.signalInView)] = run.signalShown;
  if (run.frame <= m_frame) return;
  for (size_t i = 0; i < sigs.size(); ++i) {
    const int32_t at = sigs[i].signalFrame;
    if (!(m_frame < at && at <= run.frame)) continue;
    // Only a signal the driver saw showing stop: one never in view has no aspect to go by.
    if (m_shown[i] != kNoSignalShown && colourGroup(m_shown[i]) == ColourGroup::R) {
      RunEvent e = eventHere(EventKind::SignalPassedAtStop, run);
      e.signal = sigs[i].label;
      m_r.events.push_back(e);
    }
    m_shown[i] = kNoSignalShown;
  }
}

void ReportBuilder::comfort(const RunObservation& run, double v) {
  m_speeds.push_back(v / 3.6);
  if (m_speeds.size() > 2 * kComfortTicks + 1) m_speeds.pop_front();
  if (m_speeds.size() < 2 * kComfortTicks + 1) return;
  const double seconds = kComfortTicks * kTickS;
  const double before = (m_speeds[kComfortTicks] - m_speeds[0]) / seconds;
  const double now = (m_speeds[2 * kComfortTicks] - m_speeds[kComfortTicks]) / seconds;
  const double jerk = std::fabs(now - before) / seconds;
  if (jerk > m_r.comfort.maxJerk) {
    m_r.comfort.maxJerk = jerk;
    m_r.comfort.maxJerkAtM = static_cast<double>(run.distanceCm / 100);
  }
}

void ReportBuilder::sample(const RunObservation& run, double kmh) {
  if (m_ticks % m_r.sampleTicks != 0) return;
  m_r.samples.push_back(ChartSample{run.clockTicks / 30.0,
                                    static_cast<double>(run.distanceCm / 100), kmh, run.powerNotch,
                                    -run.brakeStep});
  if (m_r.samples.size() < kMaxSamples) return;
  // Full: every other sample goes, and samples come half as often from now on.
  size_t kept = 0;
  for (size_t i = 0; i < m_r.samples.size(); i += 2) m_r.samples[kept++] = m_r.samples[i];
  m_r.samples.resize(kept);
  m_r.sampleTicks *= 2;
}

RunReport ReportBuilder::report() const {
  RunReport r = m_r;
  scoreReport(r);
  return r;
}

}  // namespace velmoria::report
