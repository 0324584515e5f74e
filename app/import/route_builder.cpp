#include "route_builder.h"

#include <algorithm>
#include <cmath>

namespace velmoria::import {

int RideOnVideo::frameAt(double t) const {
  const double f = std::round((t - videoStart) * fps);
  return static_cast<int>(std::clamp<double>(f, firstFrame, lastFrame));
}

int RideOnVideo::frameAtMetres(double m) const {
  const auto it = std::lower_bound(metres.begin(), metres.end(), m);
  return firstFrame + static_cast<int>(std::min<size_t>(it - metres.begin(), metres.size() - 1));
}

namespace {

// Clock ticks (thirtieths of a second since the midnight before the ride) of a UTC time.
int32_t clockOf(const RideOnVideo& ride, double t) {
  const double local0 = ride.videoStart + ride.utcOffset;
  const double midnight = std::floor(local0 / 86400) * 86400;
  return static_cast<int32_t>(std::lround((t + ride.utcOffset - midnight) * 30));
}

}  // namespace

BuiltRoute buildRoute(const std::string& name, const Route& templ, const RideOnVideo& ride,
                      const SpeedFit& fit, const std::vector<Stop>& stops,
                      const std::vector<GradeSection>& grades, const std::string& still) {
  BuiltRoute out;
  Route& r = out.route;
  r.LineName = name;
  r.DataName = name;
  r.FrameRate = 30;
  r.StafStill = still;
  r.Speed_YY = templ.Speed_YY, r.Speed_Y = templ.Speed_Y, r.Speed_YG = templ.Speed_YG,
  r.Speed_G = templ.Speed_G;
  r.OneMan = 0;
  r.Pre_Time = 0;
  r.SoundDataList = templ.SoundDataList;
  r.KankoSound1 = templ.KankoSound1;
  r.hasKankoSound2 = templ.hasKankoSound2;
  r.KankoSound2 = templ.KankoSound2;
  r.StopSoundTable = templ.StopSoundTable;
  // Entry 0 of the announcements answers an overrun at any station: keep it, nothing else.
  if (!templ.AnnounceTable.empty()) r.AnnounceTable = {{templ.AnnounceTable.front().sound, 0}};
  r.SignImageFiles = templ.SignImageFiles;
  r.OtherImageFiles = templ.OtherImageFiles;
  r.OtherImageTexts = templ.OtherImageTexts;
  r.SignalImageFiles = templ.SignalImageFiles;
  r.SpeedUnitTable = fit.segments;

  int arriveSound = 0, departSound = 0;
  for (const auto& st : templ.StationTable)
    if (st.type == 0) {
      arriveSound = st.arrivalSound, departSound = st.departureSound;
      break;
    }

  // A station where the train stood within the ride's frames.
  struct At {
    int mark;
    double arrive, depart;
  };
  std::vector<At> at;
  for (const Stop& s : stops) {
    if (ride.timeOf(ride.lastFrame) < s.arrive || ride.timeOf(ride.firstFrame) > s.depart) continue;
    const int mark = ride.frameAt(s.arrive);
    if (!at.empty() && mark <= at.back().mark) continue;
    at.push_back({mark, s.arrive, s.depart});
  }
  const bool startsAtStation = !at.empty() && at.front().arrive <= ride.timeOf(ride.firstFrame) + 1;
  for (size_t i = 0; i < at.size(); ++i) {
    int half = kZoneHalf;
    if (i > 0) half = std::min(half, (at[i].mark - at[i - 1].mark) / 2 - 1);
    if (i + 1 < at.size()) half = std::min(half, (at[i + 1].mark - at[i].mark) / 2 - 1);
    half = std::max(0, std::min({half, at[i].mark - ride.firstFrame, ride.lastFrame - at[i].mark}));
    StationEntry st;
    st.name = "駅" + std::to_string(i + 1);
    st.type = 0;
    st.zoneStart = at[i].mark - half;
    st.stopFrame = at[i].mark + half;
    st.arrivalSound = arriveSound;
    st.departureSound = departSound;
    const bool last = i + 1 == at.size() && at.size() > 1;
    const int32_t arrive = clockOf(ride, std::max(at[i].arrive, ride.timeOf(ride.firstFrame)));
    if (last) {
      st.departureTime = arrive + 60 * 30;
      st.closeTime = kTerminusTime;
    } else {
      // The doors close 5 s before the recorded train left, the melody 10 s before that, and
      // neither before the train is in.
      const int32_t depart = clockOf(ride, at[i].depart);
      st.closeTime = std::max(arrive + 5 * 30, depart - 5 * 30);
      st.departureTime = std::max(arrive + 30, st.closeTime - 10 * 30);
    }
    r.StationTable.push_back(st);
    out.stopFrames.push_back(at[i].mark);
  }
  out.hasTerminus = at.size() > 1;
  r.stationMenu.clear();
  if (startsAtStation) {
    r.StartPos = at.front().mark;
    r.StartTime = r.StationTable.front().departureTime - 30 * 30;
  } else {
    r.StartPos = ride.firstFrame;
    r.StartTime = clockOf(ride, ride.timeOf(ride.firstFrame));
  }

  for (const GradeSection& g : grades) {
    if (std::fabs(g.permille) < 0.5) continue;
    const int from = ride.frameAtMetres(g.from), to = ride.frameAtMetres(g.to);
    if (to > from) r.SlopeTable.push_back({Fixed::from(g.permille), from, to});
  }
  return out;
}

}  // namespace velmoria::import
