#include "autopilot.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "run/run.h"

namespace velmoria::drive {

namespace {

constexpr int64_t kVigilanceMs = 45000;     // well inside the device's 60 s
constexpr long double kAcceptShortCm = 90;  // a stop this close needs no creeping
constexpr long double kAimShortCm = 10;     // aim a hand's breadth short of the mark
constexpr long double kSlackCm = 15;        // room that lets the autopilot ease the brake
constexpr int64_t kMinimumStopMs = 10000;   // at a stop without doors
constexpr int32_t kLimitMargin = 3;         // km/h kept below every limit
// A train still moving this far past the mark it brakes for has a brake that cannot stop it.
constexpr long double kGiveUpOverrunCm = 20000;
// No line has two stops this far apart in time: a drive that takes longer is going nowhere.
constexpr int64_t kGiveUpMs = 2LL * 3600 * 1000;
// Full service weaker than this (km/h/s, at 30 km/h) cannot stop a train at a mark or before a
// limit in any reasonable distance: the autopilot declines such a train at once.
constexpr long double kWeakestServiceBrake = 0.3L;

}  // namespace

Autopilot::Autopilot(Run& run, const SoundDevice* sound)
    : m_run(run), m_sound(sound), m_line(run.route()), m_brake(run.vehicle()) {
  look();
  const int32_t frame = seen().frame;
  for (int j : m_line.stops()) {
    const auto& st = run.route().StationTable[static_cast<size_t>(j)];
    if (st.zoneStart <= frame && frame <= st.stopFrame) m_station = j;
  }
  m_nextStop = nextStopAfter(m_station);
  m_doorsOpened = seen().doorOpen;
  m_gaveUp = m_brake.deceleration(m_brake.levels(), 30) < kWeakestServiceBrake;
}

// --- Observation -------------------------------------------------------------------------

void Autopilot::look() {
  m_seen.emplace(m_run.observe());
}

long double Autopilot::speed() const {
  return std::fabs(seen().speed.ld());
}
long double Autopilot::distanceCm() const {
  return seen().distanceCm;
}

bool Autopilot::doorsClosed() const {
  return !seen().doorOpen && seen().display.Lamp_Door;
}

int Autopilot::currentLevel() const {
  if (seen().vehicle.BrakeType == 0) {
    const long double eb = std::max<int32_t>(1, seen().vehicle.EBPress);
    return static_cast<int>(std::lround(seen().bcKpa.ld() / eb * m_brake.levels()));
  }
  const int step = -seen().brakeStep;
  return std::clamp(step, 0, m_brake.levels());
}

int Autopilot::nextStopAfter(int station) const {
  const int32_t frame = seen().frame;
  for (int j : m_line.stops()) {
    if (station >= 0 ? j > station
                     : seen().route.StationTable[static_cast<size_t>(j)].stopFrame >= frame)
      return j;
  }
  return -1;
}

// --- The drive -----------------------------------------------------------------------------

void Autopilot::act(int64_t nowMs) {
  m_nowMs = nowMs;
  look();
  if (m_gaveUp) {
    if (m_log)
      *m_log << nowMs << " autopilot: the brake is too weak to stop this train; giving up\n";
    return;
  }
  if (seen().terminus) m_phase = Phase::Terminus;
  answerTrainStop();
  switch (m_phase) {
    case Phase::Dwell:
      dwell(nowMs);
      break;
    case Phase::Running:
      running(nowMs);
      break;
    case Phase::Stopping:
      stopping(nowMs);
      break;
    case Phase::Terminus:
      setBrakeLevel(m_brake.levels());
      break;
  }
  keepVigilant(nowMs);
  checkProgress(nowMs);
}

void Autopilot::checkProgress(int64_t nowMs) {
  if (m_phase != Phase::Running && m_phase != Phase::Stopping) return;
  const bool overran = m_nextStop >= 0 && speed() > 0 &&
                       distanceCm() - m_line.stopMarkCm(m_nextStop) > kGiveUpOverrunCm;
  if (!overran && nowMs - m_departedMs <= kGiveUpMs) return;
  m_gaveUp = true;
  if (m_log) *m_log << nowMs << " autopilot: cannot bring the train to its next stop; giving up\n";
}

void Autopilot::answerTrainStop() {
  // The bell rings with the lamp lit: brake, then acknowledge. Never the reset.
  if (!seen().display.Lamp_Ats || seen().atsEmergency) return;
  if (seen().brakeStep >= 0) setBrakeLevel(std::max(2, currentLevel()));
  press(' ');
  if (m_log) *m_log << m_nowMs << " autopilot: train stop acknowledged\n";
}

void Autopilot::dwell(int64_t nowMs) {
  setBrakeLevel(m_brake.levels());
  if (!doorsClosed()) m_doorsOpened = true;
  const auto& table = seen().route.StationTable;
  const StationEntry* st = m_station >= 0 ? &table[static_cast<size_t>(m_station)] : nullptr;

  // On a one-man line the driver works the doors.
  if (seen().route.OneMan == 1 && nowMs - m_doorCommandMs > 3000) {
    const int32_t clock = seen().clockTicks;
    if (st && st->type == 0 && !m_doorsOpened && seen().speed.raw == 0) {
      press('d');
      m_doorCommandMs = nowMs;
    } else if (seen().doorOpen && seen().doorsClosing) {
      // A closing is already under way.
    } else if (seen().doorOpen && (!st || (st->closeTime != kTerminusTime &&
                                           clock > st->closeTime + 15 && !melodyPlaying(*st)))) {
      press('d');
      m_doorCommandMs = nowMs;
    }
  }

  if (!readyToDepart()) return;
  if (m_log) *m_log << nowMs << " autopilot: departing\n";
  m_phase = Phase::Running;
  m_departedMs = nowMs;
  m_nextStop = nextStopAfter(m_station);
  m_station = -1;
  m_braking = m_powering = false;
  running(nowMs);
}

bool Autopilot::melodyPlaying(const StationEntry& st) const {
  return m_sound && m_sound->isPlaying(seen().routeChannelBase + st.departureSound);
}

bool Autopilot::readyToDepart() const {
  if (!doorsClosed()) return false;
  const int32_t clock = seen().clockTicks;
  if (m_station >= 0) {
    const auto& st = seen().route.StationTable[static_cast<size_t>(m_station)];
    if (st.closeTime == kTerminusTime) return false;
    if (clock <= st.departureTime) return false;
    if (st.type == 0 && !m_doorsOpened && clock <= st.closeTime + 900) return false;
    // Without doors to watch, the driver waits out the timetable, the melody and a short
    // minimum stop.
    if (st.type == 2 && (clock <= std::max(st.departureTime, st.closeTime) + 15 ||
                         melodyPlaying(st) || m_nowMs - m_arrivedMs < kMinimumStopMs))
      return false;
  }
  return signalAspect() != Aspect::R;
}

void Autopilot::running(int64_t) {
  trackPassedSignal();
  const long double v = speed();
  if (m_nextStop >= 0) {
    const long double toMark = m_line.stopMarkCm(m_nextStop) - distanceCm();
    const long double reaction = v / 3.6L * 100 * 0.3L + 50;
    const int plan = planningLevel();
    // Far from the mark there is nothing to predict: even a slowly filling brake stops the
    // train within twice the plain braking distance plus five seconds of running.
    const long double a = std::max<long double>(m_brake.deceleration(plan, v), 0.1L);
    const long double bound = 2 * v * v / (7.2L * a) * 100 + v / 3.6L * 100 * 5 + 5000;
    if (toMark < bound &&
        m_brake.stopDistanceCm(brakeState(), plan, toMark + 1e5L) + reaction >= toMark) {
      beginStop();
      return;
    }
  }
  long double need = 0;
  const long double vt = targetSpeed(need);
  if (vt < 3 && v < 1) {  // standing at a stop signal
    setBrakeLevel(m_brake.levels());
    m_braking = true;
    m_powering = false;
    return;
  }
  if (v > vt + 1.5L || (m_braking && v > vt - 1)) {
    int level = 2;
    if (need > 0) {
      level = m_brake.levels();
      for (int k = 1; k <= m_brake.levels(); ++k) {
        if (m_brake.deceleration(k, v) >= need * 1.2L) {
          level = k;
          break;
        }
      }
    }
    setBrakeLevel(std::max(level, m_braking ? std::min(currentLevel(), level + 1) : 1));
    m_braking = true;
    m_powering = false;
  } else if (v < vt - 4 || (m_powering && v < vt - 1.5L)) {
    const int top = std::max<int32_t>(1, seen().vehicle.Power);
    setPower(vt - v > 10 ? top : std::max(1, top / 2 + top % 2));
    m_powering = true;
    m_braking = false;
  } else {
    setNeutral();
    m_powering = m_braking = false;
  }
}

int Autopilot::planningLevel() const {
  return std::max(1, static_cast<int>(std::ceil(m_brake.levels() * 0.55)));
}

BrakeState Autopilot::brakeState() const {
  BrakeState s;
  s.speedKmh = speed();
  s.bcKpa = seen().bcKpa.ld();
  s.effectiveLevel = currentLevel();
  s.gradient = seen().gradient.ld();
  return s;
}

Aspect Autopilot::signalAspect() const {
  const auto& d = seen().display;
  if (seen().vehicle.ATS_Type == 2) {  // cab signalling: the lamps
    if (d.Lamp_R) return Aspect::R;
    if (d.Lamp_YY) return Aspect::YY;
    if (d.Lamp_Y) return Aspect::Y;
    if (d.Lamp_YG) return Aspect::YG;
    if (d.Lamp_G) return Aspect::G;
    return Aspect::None;
  }
  if (m_line.signalInView(seen().frame) < 0 || d.SignalImage.picture < 0) return Aspect::None;
  return aspectOf(d.SignalImage.picture);
}

int32_t Autopilot::aspectSpeed(Aspect a) const {
  const auto& r = seen().route;
  switch (a) {
    case Aspect::R:
      return 0;
    case Aspect::YY:
      return r.Speed_YY;
    case Aspect::Y:
      return r.Speed_Y;
    case Aspect::YG:
      return r.Speed_YG;
    case Aspect::G:
      return seen().vehicle.ATS_Type == 2 ? r.Speed_G : 0;
    default:
      return 0;
  }
}

void Autopilot::trackPassedSignal() {
  const int inView = m_line.signalInView(seen().frame);
  if (inView >= 0) {
    m_lastSignal = inView;
    m_lastAspect = signalAspect();
    return;
  }
  if (m_lastSignal >= 0) {
    // Passed it: its aspect holds until the next signal.
    const Aspect a = m_lastAspect;
    m_aspectLimit = a == Aspect::R ? 0 : aspectSpeed(a);
    m_lastSignal = -1;
  }
}

long double Autopilot::targetSpeed(long double& brakeNeed) const {
  const long double v = speed();
  const long double x = distanceCm();
  const int32_t frame = seen().frame;
  long double vt = seen().vehicle.MaxSpeed > 0 ? seen().vehicle.MaxSpeed - kLimitMargin : 120;
  brakeNeed = 0;
  const long double aPlan = 0.5L * m_brake.deceleration(m_brake.levels(), 30);
  const long double reaction = v / 3.6L * 100 * 2.5L + 1000;  // cm run while the brake bites
  const auto curve = [&](long double startCm, int32_t limit) {
    const long double vl = std::max<long double>(limit - kLimitMargin, 0);
    const long double d = std::max<long double>(startCm - x - reaction, 0) / 100;  // m
    const long double allowed = std::sqrt(vl * vl + 7.2L * aPlan * d);
    if (allowed < vt) {
      vt = allowed;
      brakeNeed =
          d > 0 ? (v * v - vl * vl) / (7.2L * d) : m_brake.deceleration(m_brake.levels(), v);
    }
  };
  for (const auto& lim : m_line.limits()) {
    if (lim.startFrame <= frame && frame <= lim.endFrame) {
      vt = std::min<long double>(vt, lim.speed - kLimitMargin);
    } else if (lim.startCm > x && lim.startCm - x < 5e5L) {
      curve(lim.startCm, lim.speed);
    }
  }
  if (m_aspectLimit > 0) vt = std::min<long double>(vt, m_aspectLimit - kLimitMargin);
  const int j = m_line.signalInView(frame);
  const Aspect a = signalAspect();
  if (seen().vehicle.ATS_Type == 2) {
    if (a == Aspect::R)
      vt = 0;
    else if (a != Aspect::None)
      vt = std::min<long double>(vt, aspectSpeed(a) - kLimitMargin);
  } else if (j >= 0 && a != Aspect::None && a != Aspect::G) {
    const auto& sig = seen().route.SignalTable[static_cast<size_t>(j)];
    if (a == Aspect::R) {
      // Stop short of the signal and of its train-stop check point.
      const int32_t at = std::min(sig.signalFrame, sig.checkFrame);
      curve(m_line.distances().at(at) - 2000, 0);
    } else {
      curve(m_line.distances().at(sig.signalFrame), aspectSpeed(a));
    }
  }
  return std::max<long double>(vt, 0);
}

void Autopilot::beginStop() {
  if (m_log) *m_log << m_nowMs << " autopilot: braking for station " << m_nextStop << '\n';
  m_phase = Phase::Stopping;
  m_creeping = false;
  m_stopLevel = planningLevel();
  setBrakeLevel(m_stopLevel);
}

void Autopilot::stopping(int64_t) {
  trackPassedSignal();
  const long double toMark = m_line.stopMarkCm(m_nextStop) - distanceCm();
  const long double v = speed();
  if (seen().speed.raw == 0) {
    if (toMark > kAcceptShortCm) {
      m_creeping = true;
      setPower(1);
      return;
    }
    arriveAt(m_nextStop);
    return;
  }
  if (m_creeping) {
    const long double a = 0.3L * m_brake.deceleration(m_brake.levels(), 10);
    const long double vCreep =
        std::clamp(std::sqrt(7.2L * a * std::max<long double>(toMark, 0) / 100), 2.5L, 15.0L);
    BrakeState s = brakeState();
    if (v < vCreep && m_brake.stopDistanceCm(s, 1, toMark + 1e4L) < toMark - 50) {
      setPower(1);
      return;
    }
    m_creeping = false;
    m_stopLevel = 0;
  }
  m_stopLevel = chooseStopLevel(toMark);
  setBrakeLevel(m_stopLevel);
}

int Autopilot::chooseStopLevel(long double toMarkCm) const {
  BrakeState s = brakeState();
  const int levels = m_brake.levels();
  s.effectiveLevel = std::clamp(m_stopLevel, 0, levels);
  const long double aim = toMarkCm - kAimShortCm;
  const long double cap = toMarkCm + 1e4L;
  std::vector<long double> memo(static_cast<size_t>(levels) + 1, -1);
  const auto predicted = [&](int k) {
    long double& m = memo[static_cast<size_t>(k)];
    if (m < 0) m = m_brake.stopDistanceCm(s, k, cap);
    return m;
  };
  if (m_log && m_verbose) {
    *m_log << m_nowMs << " v=" << double(s.speedKmh) << " bc=" << double(s.bcKpa)
           << " to=" << double(toMarkCm) << " level=" << s.effectiveLevel << " predicted:";
    for (int k = 0; k <= levels; ++k) *m_log << ' ' << double(predicted(k));
    *m_log << '\n';
  }
  // The lightest step that still stops at the mark (stronger steps stop sooner, so a binary
  // search finds it)...
  int lo = 0, hi = levels;
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (predicted(mid) <= aim)
      hi = mid;
    else
      lo = mid + 1;
  }
  const int lightest = lo;
  const long double atLightest = predicted(lightest);
  // ...and while it would stop well short, the next lighter one for a moment: the cylinder is
  // slow, so alternating between the two lays the train on the mark.
  if (lightest > 0 && atLightest < aim - kSlackCm) return lightest - 1;
  return lightest;
}

void Autopilot::arriveAt(int station) {
  if (m_log) {
    *m_log << m_nowMs << " autopilot: stopped at station " << station << ", "
           << static_cast<double>((m_line.stopMarkCm(station) - distanceCm()) / 100)
           << " m short of the mark\n";
  }
  m_phase = Phase::Dwell;
  m_station = station;
  m_arrivedMs = m_nowMs;
  m_doorsOpened = !doorsClosed();  // they may open as the speed rounds to 0
  m_creeping = false;
  setBrakeLevel(m_brake.levels());
}

void Autopilot::keepVigilant(int64_t nowMs) {
  if (speed() <= 1 || nowMs - m_lastHandleMs < kVigilanceMs) return;
  // A notch down and back up: the delays copy the handle only when they expire, so the train
  // never feels it.
  const int64_t index = handleIndex();
  const int64_t lowest = -2 * (int64_t{seen().vehicle.Brake} - 1);
  if (index > lowest) {
    press('2');
    press('8');
  } else {
    press('8');
    press('2');
  }
}

// --- Controls ------------------------------------------------------------------------------

int64_t Autopilot::handleIndex() const {
  const RunObservation& h = seen();
  if (h.powerNotch > 0) return 2 * int64_t{h.powerNotch};
  if (h.hold) return -1;
  return 2 * int64_t{h.brakeStep};
}

void Autopilot::moveHandleTo(int64_t target) {
  for (int i = 0; i < 64; ++i) {
    const int64_t index = handleIndex();
    if (index == target) return;
    press(index < target ? '8' : '2');
    if (handleIndex() == index) return;  // at the end of its travel
  }
}

void Autopilot::setPower(int notch) {
  moveHandleTo(2 * int64_t{std::clamp<int32_t>(notch, 0, std::max(0, seen().vehicle.Power))});
}

void Autopilot::setBrakeLevel(int level) {
  level = std::clamp(level, 0, m_brake.levels());
  if (seen().vehicle.BrakeType != 0) {
    moveHandleTo(-2 * int64_t{level});
    return;
  }
  // Three-position brake: apply until the cylinder reaches the level's pressure, then lap.
  const long double target = m_brake.bcTarget(level);
  const long double bc = seen().bcKpa.ld();
  int position = -2;  // lap
  if (level == 0)
    position = 0;
  else if (bc + 10 < target)
    position = -3;
  else if (bc > target + 15)
    position = 0;
  moveHandleTo(2 * position);
}

void Autopilot::press(char key) {
  if (seen().keySwap) {
    if (key == '8')
      key = '2';
    else if (key == '2')
      key = '8';
  }
  if (m_onPress) m_onPress(key);
  m_run.AsciiDown(key);
  look();
  m_lastHandleMs = m_nowMs;
}

}  // namespace velmoria::drive
