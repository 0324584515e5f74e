// Signal aspects, the signal display and the train protection of the cab.
#include "run/signals.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "run/run.h"
#include "sound/channel_ops.h"

namespace velmoria {

namespace {

constexpr int kNone = 999;

constexpr int kDisplayIndex[6][5] = {
    {0, 1, 1, 1, 2},    {3, 3, 4, 4, 4},      {6, 6, 7, 7, 8},
    {9, 9, 10, 11, 12}, {13, 14, 15, 15, 16}, {17, 18, 19, 20, 21},
};

bool inWindow(int32_t frame, int32_t mark, int32_t last) {
  const int64_t d = static_cast<int64_t>(frame) - mark;
  return d >= 1 && d <= last;
}

void clearSignalShown(Run& run) {
  run.signals.shownIndex = kNone;
  run.signals.lastDrawnIndex = kNone;
  run.signals.shownNumber = kNone;
}

void hideCabSignalLamps(CabDisplay& d) {
  d.Lamp_G = d.Lamp_YG = d.Lamp_Y = d.Lamp_YY = d.Lamp_R = false;
}

}  // namespace

AspectGroup aspectGroup(int index) {
  switch (index) {
    case 0:
    case 3:
    case 6:
    case 9:
    case 13:
    case 17:
      return AspectGroup::R;
    case 14:
    case 18:
      return AspectGroup::YY;
    case 4:
    case 7:
    case 10:
    case 15:
    case 19:
      return AspectGroup::Y;
    case 11:
    case 20:
      return AspectGroup::YG;
    case 2:
    case 5:
    case 8:
    case 12:
    case 16:
    case 21:
      return AspectGroup::G;
    default:
      return AspectGroup::None;
  }
}

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

void Run::initSignals() {
  const size_t n = route.SignalTable.size();
  signals = SignalState{};
  signals.level.assign(n, 4);
  signals.displayIndex.assign(n, 0);
  signals.vigilanceFitted = vehicle.EB == 1;
}

void blockAspects(Run& run) {
  const auto& table = run.route.SignalTable;
  SignalState& st = run.signals;
  auto& level = st.level;
  const size_t n = table.size();
  std::fill(level.begin(), level.end(), 4);
  const long double preceding = run.pos.precedingFrame;
  if (preceding == 0) return;
  const auto& nextBlock = run.index.nextBlock;
  for (const uint32_t i : run.index.blocks.at(preceding)) {
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

void fixedAspects(Run& run) {
  const auto& table = run.route.SignalTable;
  for (const uint32_t i : run.index.fixedSignals) {
    const SignalEntry& s = table[i];
    if ((s.mode == 1 && run.pos.clockTicks < s.fixedUntil) || s.mode == 2)
      run.signals.level[i] = s.fixedLevel;
  }
}

void signalDisplay(Run& run) {
  const Vehicle& v = run.vehicle;
  const Route& r = run.route;
  SignalState& st = run.signals;
  CabDisplay& d = run.display;
  const int32_t frame = run.pos.frame;
  const int pictures = static_cast<int>(run.data.images.SignalImageList.size());
  for (const uint32_t i : run.index.signals.at(int64_t{frame})) {
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
          run.startOnce(v.Sound_Atc);
          d.SignalLabel.visible = false;
          d.SignalLabel.text = s.label;
          st.lastDrawnIndex = st.shownIndex;
          st.shownNumber = s.number;
          hideCabSignalLamps(d);
          switch (aspectGroup(st.shownIndex)) {
            case AspectGroup::G:
              d.Lamp_G = true;
              break;
            case AspectGroup::YG:
              d.Lamp_YG = true;
              break;
            case AspectGroup::Y:
              d.Lamp_Y = true;
              break;
            case AspectGroup::YY:
              d.Lamp_YY = true;
              break;
            case AspectGroup::R:
              d.Lamp_R = true;
              break;
            case AspectGroup::None:
              break;
          }
        }
      }
    }
    if (inWindow(frame, s.warningFrame, 9) && v.ATS_Type == 0 && v.ATS_Alert == 0 && s.kind >= 1) {
      const int shown = st.displayIndex[i];
      if (shown == 0 || aspectGroup(shown) == AspectGroup::R) st.checkSpeed = 998;
    }
    if (inWindow(frame, s.checkFrame, 29)) {
      if (v.ATS_Alert == 0) st.checkSpeed = kNone;
      const AspectGroup g = aspectGroup(st.shownIndex);
      if (g == AspectGroup::R) st.checkSpeed = 0;
      if (v.ATS_Alert == 1) {
        if (g == AspectGroup::YY) st.checkSpeed = r.Speed_YY;
        if (g == AspectGroup::Y) st.checkSpeed = r.Speed_Y;
        if (g == AspectGroup::YG) st.checkSpeed = r.Speed_YG;
        if (g == AspectGroup::G) st.checkSpeed = kNone;
      }
      clearSignalShown(run);
    }
    if (inWindow(frame, s.signalFrame, 9)) {
      st.confirmation = false;
      d.SignalImage.picture = -1;
      d.SignalLabel.text.clear();
      clearSignalShown(run);
      st.inView = kNone;
    }
  }
}

void cabSignalBrake(Run& run) {
  const Route& r = run.route;
  SignalState& st = run.signals;
  const long double v = run.train.speed.ld();
  const AspectGroup g = aspectGroup(st.shownIndex);
  bool over = false;
  switch (g) {
    case AspectGroup::YY:
      over = v > r.Speed_YY;
      break;
    case AspectGroup::Y:
      over = v > r.Speed_Y;
      break;
    case AspectGroup::YG:
      over = v > r.Speed_YG;
      break;
    default:
      over = v > r.Speed_G;
      break;
  }
  if (g == AspectGroup::R && v >= 0) over = true;
  HandleState& h = run.handle;
  if (over && h.brakeStep > 1 - run.vehicle.Brake) {
    h.protectionBrake = true;
    h.powerPending = h.brakePending = true;
    run.masconupdate();
    st.cabSignalBrake = true;
  } else if (!over && st.cabSignalBrake) {
    h.protectionBrake = false;
    h.powerPending = h.brakePending = true;
    run.masconupdate();
    st.cabSignalBrake = false;
  }
}

void alarmTrainStop(Run& run) {
  const Vehicle& v = run.vehicle;
  const Route& r = run.route;
  SignalState& st = run.signals;
  HandleState& h = run.handle;
  CabDisplay& d = run.display;

  if (h.brakeStep != -v.Brake && !st.confirmation) {
    bool start = false;
    if (v.ATS_Alert == 1) start = run.train.speed.ld() > st.checkSpeed + 5;
    if (v.ATS_Alert == 0) start = st.checkSpeed == 998 || st.checkSpeed == 0;
    if (start) {
      st.alarm = true;
      st.acknowledged = false;
    }
  }
  if (st.alarm && !channelPlaying(run, v.Sound_Ats1)) {
    st.savedCheckSpeed = st.checkSpeed;
    stopChannel(run, v.Sound_Ats1);
    stopChannel(run, v.Sound_Ats2);
    run.startLooped(v.Sound_Ats1);
    d.Lamp_Ats = true;
    d.Lamp_YG = d.Lamp_Y = d.Lamp_YY = false;
    if (st.checkSpeed == 0) {
      h.atsEmergency = true;
      run.masconupdate();
    }
  }
  if (st.acknowledged && !channelPlaying(run, v.Sound_Ats2)) {
    stopChannel(run, v.Sound_Ats1);
    if (v.ATS_Cnt == 0) run.startLooped(v.Sound_Ats2);
    if (v.ATS_Cnt == 1) run.startOnce(v.Sound_Ats2);
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
      if (!h.atsEmergency) run.startOnce(v.Sound_EB);
      h.atsEmergency = true;
      run.masconupdate();
      st.alarmCounter = 0;
    }
  }
}

void Run::acknowledge() {
  SignalState& st = signals;
  const int chime = vehicle.Sound_Ats2;
  if (st.checkSpeed == 998 && roundedSpeed() == 0 && channelPlaying(*this, chime))
    stopChannel(*this, chime);
  if (st.checkSpeed != 998 && channelPlaying(*this, chime)) stopChannel(*this, chime);
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

void Run::resetOperation() {
  if (handle.brakeStep != -vehicle.Brake || roundedSpeed() != 0) return;
  handle.atsEmergency = false;
  handle.protectionBrake = false;
  stopChannel(*this, vehicle.Sound_Ats1);
  stopChannel(*this, vehicle.Sound_Ats2);
  signals.alarm = false;
  signals.acknowledged = false;
  signals.alarmCounter = 0;
  signals.confirmation = true;
  handle.gearPosition = 0;
}

void patternControl(Run& run) {
  SignalState& st = run.signals;
  HandleState& h = run.handle;
  const auto& signalTable = run.route.SignalTable;

  // Out-of-range targets only reset the search, so the first target taken is the one that counts.
  const long double x = run.pos.distance;
  int32_t speed = kNone;
  long double distance = 0;
  for (const uint32_t i : run.index.patternTargets.at(x)) {
    const PatternTarget& t = run.pos.patternTargets[i];
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
  const long double v = run.train.speed.ld();
  const long double a = run.vehicle.BrakeRate.ld();
  const long double metres = st.targetDistance / 100;
  int state = st.patternState;
  if (v > vt) {
    if (brakingDistance(v, vt, 0.8L * a) > metres - 10) {
      state = 2;
    } else if (!h.protectionBrake) {
      state = brakingDistance(v + 5, vt, 0.8L * a) > metres - 50 ? 1 : 0;
    }
  }
  if (run.roundedSpeed() < vt) state = 0;
  st.patternState = state;

  if (state == st.previousPatternState) return;
  CabDisplay& d = run.display;
  run.startOnce(run.vehicle.Sound_Atc);
  if (state == 1) {
    d.Lamp_Atsp1 = true;
    d.Lamp_Atsp2 = false;
  } else if (state == 2) {
    h.protectionBrake = true;
    d.Lamp_Atsp1 = d.Lamp_Atsp2 = true;
  } else {
    h.protectionBrake = false;
    d.Lamp_Atsp1 = d.Lamp_Atsp2 = false;
  }
  st.previousPatternState = state;
  run.masconupdate();
}

void vigilanceDevice(Run& run) {
  SignalState& st = run.signals;
  if (run.app.followMode) st.vigilanceFitted = false;
  if (st.vigilanceFitted && run.train.speed.ld() > 1) ++st.vigilanceCounter;
  const int ring = run.vehicle.Sound_EBring;
  if (st.vigilanceCounter > 600) {
    if (!channelPlaying(run, ring)) run.startOnce(ring);
    run.display.Lamp_EB = true;
  }
  if (st.vigilanceCounter > 650) {
    stopChannel(run, ring);
    st.vigilanceCounter = 0;
    run.handle.atsEmergency = true;
    run.masconupdate();
    run.handle.powerPending = run.handle.brakePending = true;
  }
}

}  // namespace velmoria
