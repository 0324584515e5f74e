// Stations, doors, the stopping point and the timetable clock.
#include "run/stations.h"

#include <algorithm>
#include <numbers>

#include "frame/common_util.h"

namespace velmoria {

const char* const kTerminusCaption = "終点に到着しました。Backボタンで戻ってください。";

namespace {

std::string twoDigits(int64_t n) {
  std::string s = std::to_string(n);
  return s.size() == 1 ? "0" + s : s;
}

}  // namespace

void drawPicture(PictureView& view, int picture, size_t listSize) {
  view.picture = picture >= 0 && static_cast<size_t>(picture) < listSize ? picture : -1;
}

void blink(bool& visible, int32_t tickCount) {
  if (tickCount % 5 == 0 && tickCount % 10 != 0) visible = false;
  if (tickCount % 10 == 0) visible = true;
}

void Stations::init() {
  const size_t n = m_route.StationTable.size();
  m_state = StationState{};
  m_state.atStation.assign(n, 0);
  m_state.departureSoundMark.assign(n, 0);
  m_state.doorsClosedMark.assign(n, 0);
  m_state.overrunMark.assign(n + 1, 0);
}

std::string clockText(int32_t t) {
  const int64_t seconds = t / 30;
  const int64_t hours = seconds / 3600;
  const int64_t s = seconds - 3600 * hours;
  const int64_t minutes = s / 60;
  const int64_t secs = s - 60 * minutes;
  return twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(secs);
}

void Stations::timecalc(int32_t t) {
  CabDisplay& display = m_display;
  display.Label3.text = clockText(t);
  const ClockSpec& c = m_vehicle.Clock;
  if (!(c.x > 0 && c.y > 0)) return;
  const int64_t seconds = t / 30;
  const int64_t hours = seconds / 3600;
  const int64_t s = seconds - 3600 * hours;
  const int64_t minutes = s / 60;
  const int64_t secs = s - 60 * minutes;
  constexpr long double kDeg = std::numbers::pi_v<long double> / 180;
  const int r = c.length;
  const int hourLength = static_cast<int>(roundEven(0.6L * r));
  const long double hourAngle = (30.0L * hours + 0.5L * minutes) * kDeg;
  const long double minuteAngle = (6.0L * minutes + 0.1L * secs) * kDeg;
  const long double secondAngle = 6.0L * secs * kDeg;
  ClockHands& h = display.clock;
  h.drawn = true;
  h.hourX = static_cast<int>(HandTipX(hourLength, 25, hourAngle));
  h.hourY = static_cast<int>(HandTipY(hourLength, 25, hourAngle));
  h.minuteX = static_cast<int>(HandTipX(r, 25, minuteAngle));
  h.minuteY = static_cast<int>(HandTipY(r, 25, minuteAngle));
  h.secondX = static_cast<int>(HandTipX(r, 25, secondAngle));
  h.secondY = static_cast<int>(HandTipY(r, 25, secondAngle));
}

void Stations::doorPilotLamp(HandleModel& handle) {
  const Vehicle& v = m_vehicle;
  const HandleState& h = handle.state();
  if (!h.doorSoundOpening && !m_channels.playing(v.Sound_DoorOpen) &&
      !m_channels.playing(v.Sound_DoorClose) && !m_display.Lamp_Door) {
    m_display.Lamp_Door = true;
    handle.doorsShut();
    m_channels.startOnce(v.DepSign);
    ++m_state.current;
  }
  if (h.doorOpen) m_display.Lamp_Door = false;
}

void Stations::timetableCardSlide() {
  CabDisplay& d = m_display;
  if (!d.cardShown && d.cardLeft < 640) {
    d.cardLeft += 30;
    if (d.cardLeft >= 641) d.cardLeft = 640;
  }
  if (d.cardShown && d.cardLeft > 640 - d.cardWidth) {
    d.cardLeft -= 30;
    if (d.cardLeft < 640 - d.cardWidth) d.cardLeft = 640 - d.cardWidth;
  }
}

void Stations::overrunAnnouncement(Fixed speed, bool doorOpen, long double remaining) {
  StationState& st = m_state;
  if (!(speed.ld() < 1) || doorOpen || !(remaining < 0)) return;
  if (std::any_of(st.atStation.begin(), st.atStation.end(), [](uint8_t m) { return m != 0; }))
    return;
  // The overrun marks are sized one past the station table: the current station passes the
  // last entry once the last doors have closed.
  if (st.current < 0 || static_cast<size_t>(st.current) >= st.overrunMark.size()) return;
  if (st.overrunMark[st.current]) return;
  if (!m_route.AnnounceTable.empty())
    m_channels.startOnce(routeChannel(m_route.AnnounceTable.front().sound));
  st.overrunMark[st.current] = 1;
}

void Stations::stationStops(int32_t frame, int32_t clockTicks, int32_t roundedSpeed,
                            HandleModel& handle, AirBrake& air, Position& position) {
  const Route& r = m_route;
  const Strings& text = m_strings;
  StationState& st = m_state;
  const HandleState& h = handle.state();
  CabDisplay& d = m_display;
  const auto& table = r.StationTable;
  const size_t n = table.size();
  // The stations at this frame, and those still busy with a stop made earlier.
  m_busy.clear();
  for (size_t j = 0; j < n; ++j)
    if (st.atStation[j]) m_busy.push_back(static_cast<uint32_t>(j));
  mergeCandidates(m_index.stations.at(int64_t{frame}), m_busy, m_candidates);
  for (const uint32_t j : m_candidates) {
    const StationEntry& s = table[j];
    // Between this station and the next (the last station has none).
    if (j + 1 < n && s.stopFrame < frame && frame < table[j + 1].zoneStart) {
      const StationEntry& next = table[j + 1];
      std::string suffix;
      if (next.type == 0) suffix = text.Stop;
      if (next.type == 1) suffix = text.Pass;
      if (next.type == 2) suffix = text.Stop2;
      d.Label4.text = next.name + suffix;
      if (st.atStation[j]) d.stop.picture = -1;
      st.atStation[j] = 0;
    }
    if (s.zoneStart <= frame && frame <= s.stopFrame && s.type != 1) {
      if (!st.atStation[j]) drawPicture(d.stop, 0, m_images.SignImageList.size());
      d.Label4.text = s.name;
      st.inView = static_cast<int>(j);
      st.atStation[j] = 1;
    }
    if (!st.atStation[j] || st.doorsClosedMark[j]) continue;

    const int departureChannel = routeChannel(s.departureSound);
    if (s.type == 0 && !h.doorOpen && roundedSpeed == 0) {
      if (r.OneMan == 0) handle.Door_operate(roundedSpeed);
      m_channels.startOnce(routeChannel(s.arrivalSound));
      air.doorsTakeAir();
    }
    if (clockTicks > s.departureTime && !st.departureSoundMark[j] &&
        (s.type == 2 || (s.type == 0 && h.doorOpen))) {
      m_channels.startOnce(departureChannel);
      st.departureSoundMark[j] = 1;
      // After the last stopping station the next stop stays where it is.
      for (size_t k = j + 1; k < n; ++k) {
        if (table[k].type == 0) {
          position.setNextStop(table[k].distance);
          break;
        }
      }
    }
    if (clockTicks > s.closeTime && h.doorOpen && !m_channels.playing(departureChannel)) {
      if (r.OneMan == 0) handle.Door_operate(roundedSpeed);
      st.doorsClosedMark[j] = 1;
      handle.raisePowerPending();  // the notch may follow the handle once the doors are shut
    }
    if (s.closeTime == kTerminusTime && h.doorOpen && !m_channels.playing(departureChannel))
      d.caption = kTerminusCaption;
  }
}

void Stations::stoppingPointAlert(Fixed speed, long double remaining, bool doorOpen,
                                  int32_t tickCount) {
  const int alert = m_vehicle.Stop;
  const long double v = speed.ld();
  const long double r = remaining / 100;
  if (v * v / 18 > r - 125 && !m_channels.playing(alert)) m_channels.startLooped(alert);
  if (v < 1 && doorOpen && m_channels.playing(alert)) {
    m_channels.stop(alert);
    m_display.Lamp_stopalert = false;
    m_channels.setVolume(alert, 0);
  }
  if (m_channels.playing(alert)) blink(m_display.Lamp_stopalert, tickCount);
}

void Stations::stopPositionIndicator(long double r) {
  CabDisplay& d = m_display;
  if (r >= 20000) {
    d.stoplineTop = -20;
  } else if (r > -10000) {
    d.stoplineTop = static_cast<int>(232 - roundEven(r / 100 * 1.2L));
  } else if (r < -10000) {
    d.stoplineTop = 366;
  }
  // The digits show only near the stopping point; elsewhere they are cleared.
  if (r > -5000 && r < 20000)
    d.remain.text = std::to_string(roundEven(r / 100));
  else
    d.remain.text.clear();
  d.remainTop = d.stoplineTop + 16;
}

void Stations::stationJump(int b) {
  m_display.caption = m_route.LineName;
  for (auto* marks : {&m_state.atStation, &m_state.departureSoundMark, &m_state.doorsClosedMark,
                      &m_state.overrunMark})
    std::fill(marks->begin(), marks->end(), 0);
  m_display.Lamp_Door = true;
  m_display.Label4.text = m_route.StationTable[static_cast<size_t>(b)].name;
  m_state.current = b;
}

}  // namespace velmoria
