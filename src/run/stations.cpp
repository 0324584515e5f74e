// Stations, doors, the stopping point and the timetable clock.
#include "run/stations.h"

#include <algorithm>
#include <numbers>

#include "frame/common_util.h"
#include "run/run.h"
#include "sound/channel_ops.h"

namespace velmoria {

namespace {

const std::string kTerminusCaption = "終点に到着しました。Backボタンで戻ってください。";

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

void Run::initStations() {
  const size_t n = route.StationTable.size();
  stations = StationState{};
  stations.atStation.assign(n, 0);
  stations.departureSoundMark.assign(n, 0);
  stations.doorsClosedMark.assign(n, 0);
  stations.overrunMark.assign(n + 1, 0);
}

std::string clockText(int32_t t) {
  const int64_t seconds = t / 30;
  const int64_t hours = seconds / 3600;
  const int64_t s = seconds - 3600 * hours;
  const int64_t minutes = s / 60;
  const int64_t secs = s - 60 * minutes;
  return twoDigits(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(secs);
}

void Run::timecalc(int32_t t) {
  display.Label3.text = clockText(t);
  const ClockSpec& c = vehicle.Clock;
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

void doorPilotLamp(Run& run) {
  const Vehicle& v = run.vehicle;
  HandleState& h = run.handle;
  if (!h.doorSoundOpening && !channelPlaying(run, v.Sound_DoorOpen) &&
      !channelPlaying(run, v.Sound_DoorClose) && !run.display.Lamp_Door) {
    run.display.Lamp_Door = true;
    h.doorOpen = false;
    run.startOnce(v.DepSign);
    ++run.stations.current;
  }
  if (h.doorOpen) run.display.Lamp_Door = false;
}

void timetableCardSlide(Run& run) {
  CabDisplay& d = run.display;
  if (!d.cardShown && d.cardLeft < 640) {
    d.cardLeft += 30;
    if (d.cardLeft >= 641) d.cardLeft = 640;
  }
  if (d.cardShown && d.cardLeft > 640 - d.cardWidth) {
    d.cardLeft -= 30;
    if (d.cardLeft < 640 - d.cardWidth) d.cardLeft = 640 - d.cardWidth;
  }
}

void overrunAnnouncement(Run& run) {
  StationState& st = run.stations;
  if (!(run.train.speed.ld() < 1) || run.handle.doorOpen || !(run.pos.remaining < 0)) return;
  if (std::any_of(st.atStation.begin(), st.atStation.end(), [](uint8_t m) { return m != 0; }))
    return;
  // The overrun marks are sized one past the station table: the current station passes the
  // last entry once the last doors have closed.
  if (st.current < 0 || static_cast<size_t>(st.current) >= st.overrunMark.size()) return;
  if (st.overrunMark[st.current]) return;
  if (!run.route.AnnounceTable.empty())
    run.startOnce(run.routeChannel(run.route.AnnounceTable.front().sound));
  st.overrunMark[st.current] = 1;
}

void stationStops(Run& run) {
  const Route& r = run.route;
  const Strings& text = run.data.strings;
  StationState& st = run.stations;
  HandleState& h = run.handle;
  CabDisplay& d = run.display;
  const int32_t frame = run.pos.frame;
  const auto& table = r.StationTable;
  const size_t n = table.size();
  // The stations at this frame, and those still busy with a stop made earlier.
  RouteIndex& index = run.index;
  index.busyStations.clear();
  for (size_t j = 0; j < n; ++j)
    if (st.atStation[j]) index.busyStations.push_back(static_cast<uint32_t>(j));
  mergeCandidates(index.stations.at(int64_t{frame}), index.busyStations, index.stationCandidates);
  for (const uint32_t j : index.stationCandidates) {
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
      if (!st.atStation[j]) drawPicture(d.stop, 0, run.data.images.SignImageList.size());
      d.Label4.text = s.name;
      st.inView = static_cast<int>(j);
      st.atStation[j] = 1;
    }
    if (!st.atStation[j] || st.doorsClosedMark[j]) continue;

    const int departureChannel = run.routeChannel(s.departureSound);
    if (s.type == 0 && !h.doorOpen && run.roundedSpeed() == 0) {
      if (r.OneMan == 0) run.Door_operate();
      run.startOnce(run.routeChannel(s.arrivalSound));
      run.air.mr = Fixed::fromRaw(run.air.mr.raw - Fixed::fromInt(30).raw);
    }
    if (run.pos.clockTicks > s.departureTime && !st.departureSoundMark[j] &&
        (s.type == 2 || (s.type == 0 && h.doorOpen))) {
      run.startOnce(departureChannel);
      st.departureSoundMark[j] = 1;
      // After the last stopping station the next stop stays where it is.
      for (size_t k = j + 1; k < n; ++k) {
        if (table[k].type == 0) {
          run.pos.nextStopDistance = table[k].distance;
          break;
        }
      }
    }
    if (run.pos.clockTicks > s.closeTime && h.doorOpen && !channelPlaying(run, departureChannel)) {
      if (r.OneMan == 0) run.Door_operate();
      st.doorsClosedMark[j] = 1;
      h.powerPending = true;  // the notch may follow the handle once the doors are shut
    }
    if (s.closeTime == kTerminusTime && h.doorOpen && !channelPlaying(run, departureChannel))
      d.caption = kTerminusCaption;
  }
}

void stoppingPointAlert(Run& run) {
  const int alert = run.vehicle.Stop;
  const long double v = run.train.speed.ld();
  const long double r = run.pos.remaining / 100;
  if (v * v / 18 > r - 125 && !channelPlaying(run, alert)) run.startLooped(alert);
  if (v < 1 && run.handle.doorOpen && channelPlaying(run, alert)) {
    stopChannel(run, alert);
    run.display.Lamp_stopalert = false;
    setChannelVolume(run, alert, 0);
  }
  if (channelPlaying(run, alert)) blink(run.display.Lamp_stopalert, run.tickCount);
}

void stopPositionIndicator(Run& run) {
  CabDisplay& d = run.display;
  const long double r = run.pos.remaining;
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

void Run::Timecheck(int kind) {
  for (const TimeEventEntry& e : route.TimeEventTable)
    if (e.kind == kind && e.startFrame < pos.frame && pos.frame < e.endFrame) Timekanko(e.time);
}

void Run::StationClick(const std::string& entryName) {
  int b = 0;
  for (size_t i = 0; i < route.StationTable.size(); ++i)
    if (entryName == "Sta" + std::to_string(i)) b = static_cast<int>(i);
  StationClick(b);
}

void Run::StationClick(int index) {
  const auto& table = route.StationTable;
  if (table.empty()) return;
  const int b = index >= 0 && static_cast<size_t>(index) < table.size() ? index : 0;
  const StationEntry& s = table[b];
  const int stoppingBefore = static_cast<int>(
      std::count_if(table.begin(), table.begin() + b, [](const auto& e) { return e.type == 0; }));

  display.caption = route.LineName;
  train.speed = Fixed{};
  for (auto* marks : {&stations.atStation, &stations.departureSoundMark, &stations.doorsClosedMark,
                      &stations.overrunMark})
    std::fill(marks->begin(), marks->end(), 0);

  const int last =
      std::min<int>(kSoundChannels - 1,
                    static_cast<int>(vehicle.DriveSoundList.size() + route.SoundDataList.size()) +
                        route.kankoClipCount());
  for (int ch = 1; ch <= last; ++ch) stopChannel(*this, ch);

  handle.doorOpen = false;
  display.Lamp_Door = true;
  pos.frame =
      static_cast<int32_t>(roundEven((static_cast<long double>(s.zoneStart) + s.stopFrame) / 2));
  display.Label4.text = s.name;
  pos.clockTicks = s.departureTime - 150;
  // Put the preceding train where it would be by now: it moves one frame every
  // precedingPeriod clock ticks.
  long double behind = 0;
  if (pos.precedingPeriod > 0)
    behind = static_cast<long double>(roundEven(
        static_cast<long double>(pos.clockTicks - route.StartTime) / pos.precedingPeriod));
  pos.precedingFrame = route.StartPos + route.Pre_Time + behind;

  stations.current = b;
  signals.lastDrawnIndex = 1000;
  train.currentGradient = Fixed{};
  train.effectiveGradient = Fixed{};
  limits.blink = false;
  handle.powerNotch = 0;
  handle.effectivePower = 0;
  handle.brakeStep = -vehicle.Brake;
  handle.effectiveBrake = -vehicle.Brake;

  pos.distance = s.distance;
  pos.remaining = 0;
  pos.nextStopDistance = s.distance;
  masconupdate();

  pos.currentSegment = -1;
  pos.distanceStep = 0;
  sounds.announceIndex = 2 * stoppingBefore;

  for (const SignalEntry& sig : route.SignalTable)
    if (sig.viewFrame < pos.frame && pos.frame < sig.signalFrame) return;
  display.SignalImage.picture = -1;
  display.SignalLabel.text.clear();
  signals.shownIndex = signals.lastDrawnIndex = signals.shownNumber = signals.inView = 999;
}

}  // namespace velmoria
