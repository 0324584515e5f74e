// The train's place on the route: the frame position of the track video, the distance in cm,
// the clock, and the preceding train; and, once at set-up, the route events' distances from
// the recorded speeds of the [SpeedUnit] segments. The position step runs in the 33 ms step.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "frame/wrapping.h"
#include "run/run.h"

namespace velmoria {

namespace {

// Frames and speeds are whatever the route file says: sums and differences of two of them are
// taken in long double, where no value of the file can overflow.
long double wide(int32_t v) {
  return v;
}

// The recorded speed at frame f inside segment s (start <= f < end).
int32_t recordedSpeedAt(const SpeedUnitEntry& s, int32_t f) {
  // Between the two speeds of the segment, so within int32.
  return static_cast<int32_t>(roundEven(s.startSpeed + (wide(s.endSpeed) - s.startSpeed) /
                                                           (wide(s.endFrame) - s.startFrame) *
                                                           (wide(f) - s.startFrame)));
}

// Distance from the start of the line to frame f inside segment i: the segments before it,
// then the trapezoid of the recorded speed from the segment's start to f.
long double distanceInSegment(const std::vector<SpeedUnitEntry>& segs, size_t i, long double f) {
  const SpeedUnitEntry& s = segs[i];
  const long double before = i == 0 ? 0 : segs[i - 1].endDistance;
  const long double d = f - s.startFrame;
  const long double slope = (wide(s.endSpeed) - s.startSpeed) / (wide(s.endFrame) - s.startFrame);
  return before + roundEven((slope * d + 2 * static_cast<long double>(s.startSpeed)) / 7.2L *
                            (d / 30) * 100);
}

// The recorded speed at the frame position, from the last segment that holds it.
void findRecordedSpeed(PositionState& p, const std::vector<SpeedUnitEntry>& segs, bool resync) {
  // With segments that do not overlap, a frame still inside the current segment can match no
  // other one: the full scan would find just this segment again, so skip it.
  if (p.segmentsDisjoint && p.currentSegment >= 0 &&
      static_cast<size_t>(p.currentSegment) < segs.size()) {
    const SpeedUnitEntry& s = segs[static_cast<size_t>(p.currentSegment)];
    if (s.startFrame <= p.frame && p.frame < s.endFrame) {
      p.recordedSpeed = recordedSpeedAt(s, p.frame);
      return;
    }
  }
  for (size_t i = 0; i < segs.size(); ++i) {
    const SpeedUnitEntry& s = segs[i];
    if (!(s.startFrame <= p.frame && p.frame < s.endFrame)) continue;
    const int idx = static_cast<int>(i);
    if (resync && idx != p.currentSegment && p.currentSegment != -1)
      p.distance = i == 0 ? 0 : segs[i - 1].endDistance;
    p.recordedSpeed = recordedSpeedAt(s, p.frame);
    p.currentSegment = idx;
  }
}

}  // namespace

void Run::initPosition() {
  pos = PositionState{};
  pos.frame = route.StartPos;
  pos.clockTicks = route.StartTime;
  pos.currentSegment = 0;
  pos.precedingFrame = static_cast<long double>(route.Pre_Time) + route.StartPos;
  // The preceding train moves one frame every 30 div [FrameRate] clock ticks. A rate above 30
  // or of 0 and below would make that 0: it then moves every tick.
  pos.precedingPeriod = route.FrameRate >= 1 && route.FrameRate <= 30 ? 30 / route.FrameRate : 1;

  Route& r = data.route;
  auto& segs = r.SpeedUnitTable;
  long double cumulative = 0;
  for (auto& s : segs) {
    cumulative +=
        roundEven((wide(s.startSpeed) + s.endSpeed) * (wide(s.endFrame) - s.startFrame) / 2.16L);
    s.endDistance = cumulative;
  }
  {
    std::vector<std::pair<int32_t, int32_t>> spans;
    for (const auto& seg : segs)
      if (seg.endFrame > seg.startFrame) spans.emplace_back(seg.startFrame, seg.endFrame);
    std::sort(spans.begin(), spans.end());
    pos.segmentsDisjoint = true;
    for (size_t i = 1; i < spans.size(); ++i)
      if (spans[i].first < spans[i - 1].second) pos.segmentsDisjoint = false;
  }

  // Know the recorded speed from the start, so that the first step already counts frames at
  // it. The segment stays 0: the first step puts the distance on the start's segment.
  findRecordedSpeed(pos, segs, false);
  pos.currentSegment = 0;

  // A segment with no frames has no speed profile to integrate; it matches nothing.
  const auto usable = [&](size_t i) { return segs[i].endFrame > segs[i].startFrame; };

  for (size_t i = 0; i < segs.size(); ++i) {
    if (!usable(i)) continue;
    for (size_t k = 0; k < r.SignalTable.size(); ++k) {
      // Pattern control must stop the train before the train stop's check point, which stands
      // ahead of the signal itself.
      const int32_t f = r.SignalTable[k].checkFrame;
      if (segs[i].startFrame < f && f < segs[i].endFrame)
        pos.patternTargets.push_back({distanceInSegment(segs, i, f), 0, static_cast<int>(k)});
    }
  }
  for (size_t i = 0; i < segs.size(); ++i) {
    if (!usable(i)) continue;
    for (auto& limit : r.SpeedLimitTable) {
      const int32_t f = limit.startFrame;
      if (segs[i].startFrame <= f && f <= segs[i].endFrame) {
        limit.distance = distanceInSegment(segs, i, f);
        pos.patternTargets.push_back({limit.distance, limit.limit, -1});
      }
    }
  }
  for (auto& st : r.StationTable) {
    if (st.type == 1) continue;
    const long double mid = (static_cast<long double>(st.zoneStart) + st.stopFrame) / 2;
    for (size_t i = 0; i < segs.size(); ++i)
      if (usable(i) && segs[i].startFrame < mid && mid <= segs[i].endFrame)
        st.distance = distanceInSegment(segs, i, mid);
  }
  for (auto& d : r.DopplerTable) {
    for (size_t i = 0; i < segs.size(); ++i)
      if (usable(i) && segs[i].startFrame < d.frame && d.frame <= segs[i].endFrame)
        d.distance = distanceInSegment(segs, i, d.frame);
  }
}

void Run::positionStep() {
  PositionState& p = pos;
  const int64_t speed = train.speed.rounded();

  // 1. Whole km/h accumulate until they make a frame at the recorded speed.
  p.frameAccumulator += static_cast<int32_t>(std::llabs(speed));
  if (p.frameAccumulator >= p.recordedSpeed) {
    const int32_t unit = p.recordedSpeed < 1 ? 1 : p.recordedSpeed;
    const int32_t frames = p.frameAccumulator / unit;
    p.frameAccumulator %= unit;
    if (train.speed.raw > 0) p.frame = wrapping(int64_t{p.frame} + frames);
    if (train.speed.raw < 0) p.frame = wrapping(int64_t{p.frame} - frames);
  }
  p.frameRemainder = p.frameAccumulator;

  // 2. The recorded speed of the segment the frame is in; entering another segment puts the
  // distance back on that segment's start.
  findRecordedSpeed(p, route.SpeedUnitTable, true);

  // 3. One tick of 33.333 ms at this speed.
  p.distanceStep = static_cast<long double>(train.speed.raw) / 36000 * 33333 / 10000;
  p.distance += p.distanceStep;
  p.remaining = p.nextStopDistance - p.distance;

  // 4, 5.
  p.clockTicks = wrapping(int64_t{p.clockTicks} + 1);
  if (app.followMode) train.speed = Fixed::fromInt(p.recordedSpeed);

  // 6. The preceding train runs at the video's own rate until it leaves the video.
  if (p.clockTicks % p.precedingPeriod == 0 && p.precedingFrame != 0) p.precedingFrame += 1;
  const int count = videoFrameCount();
  if (count >= 0 && count < p.precedingFrame) p.precedingFrame = 0;
}

}  // namespace velmoria
