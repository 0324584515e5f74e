#pragma once
// The imported ride as a Route: the recording ([SpeedUnit]), a station at every stop with its
// stopping mark where the train stood, the gradients, a timetable from the ride's own clock,
// and the sounds and pictures of a route of the folder the vehicle comes from. Pure; any thread.
#include <string>
#include <vector>

#include "gradient.h"
#include "route/route.h"
#include "speed_fit.h"
#include "stops.h"

namespace velmoria::import {

// Where the ride lies on the video.
struct RideOnVideo {
  double videoStart = 0;  // s since 1970 UTC of frame 0
  double fps = 30;
  int firstFrame = 0;  // the frames the track covers
  int lastFrame = 0;
  std::vector<double> metres;  // distance at firstFrame + k, 0 at firstFrame
  long utcOffset = 0;          // s east of UTC for the clock (the local time zone)

  double timeOf(int frame) const { return videoStart + frame / fps; }
  int frameAt(double t) const;        // the frame taken nearest t, within the ride
  int frameAtMetres(double m) const;  // the first frame of the ride at or past m
};

struct BuiltRoute {
  Route route;
  std::vector<int> stopFrames;  // the stations' stopping marks, in order
  bool hasTerminus = false;
};

// `templ` lends the sound lists, the picture lists, the signal speeds and the stations'
// arrival and departure sounds (it may be an empty Route). `still` names the picture shown
// before the start.
BuiltRoute buildRoute(const std::string& name, const Route& templ, const RideOnVideo& ride,
                      const SpeedFit& fit, const std::vector<Stop>& stops,
                      const std::vector<GradeSection>& grades, const std::string& still);

// Half the frames of a station zone: 600, less where a neighbour or an end of the ride is
// closer, so that zones never overlap.
constexpr int kZoneHalf = 600;

}  // namespace velmoria::import
