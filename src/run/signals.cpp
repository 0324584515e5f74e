// Signal aspects, the signal display and the train protection of the cab.
#include "run/signals.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmoria {

namespace {

constexpr int kNone = kNoSignal;

constexpr int kDisplayIndex[6][5] = {
    {0, 1, 1, 1, 2},    {3, 3, 4, 4, 4},      {6, 6, 7, 7, 8},
    {9, 9, 10, 11, 12}, {13, 14, 15, 15, 16}, {17, 18, 19, 20, 21},
};

bool inWindow(int32_t frame, int32_t mark, int32_t last) {
  const int64_t d = static_cast<int64_t>(frame) - mark;
  return d >= 1 && d <= last;
}

void hideCabSignalLamps(CabDisplay& d) {
  d.Lamp_G = d.Lamp_YG = d.Lamp_Y = d.Lamp_YY = d.Lamp_R = false;
}

}  // namespace

int displayIndexFor(int kind, int level) {
  return kDisplayIndex[std::clamp(kind, 0, 5)][std::clamp(level, 0, 4)];
}

long double brakingDistance(long double v, long double vt, long double decel) {
  if (!(decel > 0)) {
    if (v > vt) return std::numeric_limits<long double>::infinity();
    if (v < vt) return -std::numeric_limits<long double>::infinity();
    return 0;
  }
  return (v - vt) / decel * ((vt + v) / 2 / 3.6L);
}

void Signals::init() {
  const size_t n = m_route.SignalTable.size();
  m_state = SignalState{};
  m_state.level.assign(n, 4);
  m_state.displayIndex.assign(n, 0);
}

void Signals::clearSignalShown() {
  m_state.shownIndex = kNone;
  m_state.lastDrawnIndex = kNone;
  m_state.shownNumber = kNone;
}

void Signals::blockAspects(long double preceding) {
  const auto& table = m_route.SignalTable;
  SignalState& st = m_state;
  auto& level = st.level;
  const size_t n = table.size();
  std::fill(level.begin(), level.end(), 4);
  if (preceding == 0) return;
  const auto& nextBlock = m_index.nextBlock;
  for (const uint32_t i : m_index.blocks.at(preceding)) {
    if (table[i].kind == 0 || !(preceding > table[i].signalFrame)) continue;
    // The block behind the last block signal runs to the end of the line.
    const size_t next = nextBlock[i];
    if (next < n && !(preceding < table[next].signalFrame)) continue;
    level[i] = 0;
    int given = 0;
    for (size_t k = i; k-- > 0 && given < 4;) {
      if (table[k].kind == 0) continue;
      level[k] = ++given;
    }
  }
}

void Signals::fixedAspects(int32_t clockTicks) {
  const auto& table = m_route.SignalTable;
  for (const uint32_t i : m_index.fixedSignals) {
    const SignalEntry& s = table[i];
    if ((s.mode == 1 && clockTicks < s.fixedUntil) || s.mode == 2) m_state.level[i] = s.fixedLevel;
  }
}

void Signals::signalDisplay(int32_t frame) {
  const Vehicle& v = m_vehicle;
  const Route& r = m_route;
  SignalState& st = m_state;
  CabDisplay& d = m_display;
  const int pictures = static_cast<int>(m_images.SignalImageList.size());
  for (const uint32_t i : m_index.signals.at(int64_t{frame})) {
    const SignalEntry& s = r.SignalTable[i];
    if (s.viewFrame <= frame && frame < s.signalFrame) {
      st.displayIndex[i] = displayIndexFor(s.kind, st.level[i]);
      st.shownIndex = st.displayIndex[i];
      st.inView = static_cast<int>(i);
      if (st.shownIndex != st.lastDrawnIndex) {
        if (v.ATS_Type == 0 || v.ATS_Type == 1) {
          d.SignalImage.picture = -1;
          if (s.kind < 6) {
            if (st.shownIndex < pictures) d.SignalImage.picture = st.shownIndex;
            d.SignalLabel.visible = true;
          }
          st.lastDrawnIndex = st.shownIndex;
          st.shownNumber = s.number;
          d.SignalLabel.text = s.label;
        } else if (v.ATS_Type == 2) {
          m_channels.startOnce(v.Sound_Atc);
          d.SignalLabel.visible = false;
          d.SignalLabel.text = s.label;
          st.lastDrawnIndex = st.shownIndex;
          st.shownNumber = s.number;
          hideCabSignalLamps(d);
          switch (colourGroup(st.shownIndex)) {
            case ColourGroup::G:
              d.Lamp_G = true;
              break;
            case ColourGroup::YG:
              d.Lamp_YG = true;
              break;
            case ColourGroup::Y:
              d.Lamp_Y = true;
              break;
            case ColourGroup::YY:
              d.Lamp_YY = true;
              break;
            case ColourGroup::R:
              d.Lamp_R = true;
              break;
            case ColourGroup::None:
              break;
          }
        }
      }
    }
    if (inWindow(frame, s.warningFrame, 9) && v.ATS_Type == 0 && v.ATS_Alert == 0 && s.kind >= 1) {
      const int shown = st.displayIndex[i];
      if (shown == 0 || colourGroup(shown) == ColourGroup::R) st.checkSpeed = 998;
    }
    if (inWindow(frame, s.checkFrame, 29)) {
      if (v.ATS_Alert == 0) st.checkSpeed = kNone;
      const ColourGroup g = colourGroup(st.shownIndex);
      if (g == ColourGroup::R) st.checkSpeed = 0;
      if (v.ATS_Alert == 1) {
        if (g == ColourGroup::YY) st.checkSpeed = r.Speed_YY;
        if (g == ColourGroup::Y) st.checkSpeed = r.Speed_Y;
        if (g == ColourGroup::YG) st.checkSpeed = r.Speed_YG;
        if (g == ColourGroup::G) st.checkSpeed = kNone;
      }
      clearSignalShown();
    }
    if (inWindow(frame, s.signalFrame, 9)) {
      st.confirmation = false;
      d.SignalImage.picture = -1;
      d.SignalLabel.text.clear();
      clearSignalShown();
      st.inView = kNone;
    }
  }
}

void Signals::cabSignalBrake(Fixed speed, HandleModel& handle) {
  const Route& r = m_route;
  SignalState& st = m_state;
  const long double v = speed.ld();
  const ColourGroup g = colourGroup(st.shownIndex);
  bool over = false;
  switch (g) {
    case ColourGroup::YY:
      over = v > r.Speed_YY;
      break;
    case ColourGroup::Y:
      over = v > r.Speed_Y;
      break;
    case ColourGroup::YG:
      over = v > r.Speed_YG;
      break;
    default:
      over = v > r.Speed_G;
      break;
  }
  if (g == ColourGroup::R && v >= 0) over = true;
  if (over && handle.state().brakeStep > 1 - m_vehicle.Brake) {
    handle.setProtectionBrake(true);
    handle.raisePowerAndBrakePending();
    handle.masconupdate();
    st.cabSignalBrake = true;
  } else if (!over && st.cabSignalBrake) {
    handle.setProtectionBrake(false);
    handle.raisePowerAndBrakePending();
    handle.masconupdate();
    st.cabSignalBrake = false;
  }
}

void Signals::alarmTrainStop(Fixed speed, HandleModel& handle) {
  const Vehicle& v = m_vehicle;
  const Route& r = m_route;
  SignalState& st = m_state;
  const HandleState& h = handle.state();
  CabDisplay& d = m_display;
  Channels& ch = m_channels;

  if (h.brakeStep != -v.Brake && !st.confirmation) {
    bool start = false;
    if (v.ATS_Alert == 1) start = speed.ld() > st.checkSpeed + 5;
    if (v.ATS_Alert == 0) start = st.checkSpeed == 998 || st.checkSpeed == 0;
    if (start) {
      st.alarm = true;
      st.acknowledged = false;
    }
  }
  if (st.alarm && !ch.playing(v.Sound_Ats1)) {
    st.savedCheckSpeed = st.checkSpeed;
    ch.stop(v.Sound_Ats1);
    ch.stop(v.Sound_Ats2);
    ch.startLooped(v.Sound_Ats1);
    d.Lamp_Ats = true;
    d.Lamp_YG = d.Lamp_Y = d.Lamp_YY = false;
    if (st.checkSpeed == 0) {
      handle.setAtsEmergency(true);
      handle.masconupdate();
    }
  }
  if (st.acknowledged && !ch.playing(v.Sound_Ats2)) {
    ch.stop(v.Sound_Ats1);
    if (v.ATS_Cnt == 0) ch.startLooped(v.Sound_Ats2);
    if (v.ATS_Cnt == 1) ch.startOnce(v.Sound_Ats2);
    st.acknowledged = false;
    d.Lamp_Ats = false;
    if (st.savedCheckSpeed == r.Speed_Y) d.Lamp_Y = true;
    if (st.savedCheckSpeed == r.Speed_YG) d.Lamp_YG = true;
  }
  if (!st.alarm) {
    // Each speed-check lamp lights alone and re-arms the alarm.
    const auto only = [&](bool& lamp) {
      d.Lamp_Ats = d.Lamp_YG = d.Lamp_Y = d.Lamp_YY = false;
      lamp = true;
      st.confirmation = false;
    };
    if (!d.Lamp_YY && st.checkSpeed == r.Speed_YY) only(d.Lamp_YY);
    if (!d.Lamp_Y && st.checkSpeed == r.Speed_Y) only(d.Lamp_Y);
    if (!d.Lamp_YG && st.checkSpeed == r.Speed_YG) only(d.Lamp_YG);
    if (st.checkSpeed == kNone) {
      d.Lamp_Ats = d.Lamp_YG = d.Lamp_Y = d.Lamp_YY = false;
      st.confirmation = false;
    }
  }
  if (st.alarm) {
    ++st.alarmCounter;
    if (st.alarmCounter > 10 * v.ATS_Time) {
      if (!h.atsEmergency) ch.startOnce(v.Sound_EB);
      handle.setAtsEmergency(true);
      handle.masconupdate();
      st.alarmCounter = 0;
    }
  }
}

void Signals::acknowledge(int32_t roundedSpeed, const HandleState& handle) {
  SignalState& st = m_state;
  const int chime = m_vehicle.Sound_Ats2;
  if (st.checkSpeed == 998 && roundedSpeed == 0 && m_channels.playing(chime))
    m_channels.stop(chime);
  if (st.checkSpeed != 998 && m_channels.playing(chime)) m_channels.stop(chime);
  if (st.acknowledged) {
    st.acknowledged = false;
    st.alarm = false;
  } else if (st.alarm && handle.brakeStep < 0 && !handle.atsEmergency) {
    st.alarm = false;
    st.acknowledged = true;
    st.alarmCounter = 0;
    st.confirmation = true;
  }
}

void Signals::resetOperation(int32_t roundedSpeed, HandleModel& handle) {
  if (handle.state().brakeStep != -m_vehicle.Brake || roundedSpeed != 0) return;
  handle.resetAfterTrainStop();
  m_channels.stop(m_vehicle.Sound_Ats1);
  m_channels.stop(m_vehicle.Sound_Ats2);
  m_state.alarm = false;
  m_state.acknowledged = false;
  m_state.alarmCounter = 0;
  m_state.confirmation = true;
}

void Signals::speedCheckAlarm() {
  m_state.alarm = true;
  m_state.acknowledged = false;
}

void Signals::stationJump(int32_t frame) {
  m_state.lastDrawnIndex = 1000;
  for (const SignalEntry& sig : m_route.SignalTable)
    if (sig.viewFrame < frame && frame < sig.signalFrame) return;
  m_display.SignalImage.picture = -1;
  m_display.SignalLabel.text.clear();
  m_state.shownIndex = m_state.lastDrawnIndex = m_state.shownNumber = m_state.inView = kNone;
}

void Signals::closeRun() {
  m_state.patternState = 0;
  m_state.previousPatternState = 0;
}

void Signals::patternControl(long double x, Fixed trainSpeed, HandleModel& handle) {
  SignalState& st = m_state;
  const HandleState& h = handle.state();
  const auto& signalTable = m_route.SignalTable;

  // Out-of-range targets only reset the search, so the first target taken is the one that counts.
  int32_t speed = kNone;
  long double distance = 0;
  for (const uint32_t i : m_index.patternTargets.at(x)) {
    const PatternTarget& t = m_index.patternTargetList[i];
    const long double ahead = t.distance - x;
    if (!(ahead > 0) || ahead >= 60000) continue;
    bool taken = t.speed != 0;
    if (t.speed == 0 && t.signal >= 0 && static_cast<size_t>(t.signal) < signalTable.size())
      taken = signalTable[t.signal].kind != 0 && st.level[t.signal] == 0;
    if (taken) {
      speed = t.speed;
      distance = ahead;
      break;
    }
  }
  st.targetSpeed = speed;
  st.targetDistance = distance;

  int32_t vt = st.targetSpeed;
  if (vt >= 1) vt += 5;
  const long double v = trainSpeed.ld();
  const long double a = m_vehicle.BrakeRate.ld();
  const long double metres = st.targetDistance / 100;
  int state = st.patternState;
  if (v > vt) {
    if (brakingDistance(v, vt, 0.8L * a) > metres - 10) {
      state = 2;
    } else if (!h.protectionBrake) {
      state = brakingDistance(v + 5, vt, 0.8L * a) > metres - 50 ? 1 : 0;
    }
  }
  if (static_cast<int32_t>(trainSpeed.rounded()) < vt) state = 0;
  st.patternState = state;

  if (state == st.previousPatternState) return;
  CabDisplay& d = m_display;
  m_channels.startOnce(m_vehicle.Sound_Atc);
  if (state == 1) {
    d.Lamp_Atsp1 = true;
    d.Lamp_Atsp2 = false;
  } else if (state == 2) {
    handle.setProtectionBrake(true);
    d.Lamp_Atsp1 = d.Lamp_Atsp2 = true;
  } else {
    handle.setProtectionBrake(false);
    d.Lamp_Atsp1 = d.Lamp_Atsp2 = false;
  }
  st.previousPatternState = state;
  handle.masconupdate();
}

}  // namespace velmoria
