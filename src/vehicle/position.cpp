// The position step, the keys that move the train along the line and the station jump.
#include "vehicle/position.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "frame/wrapping.h"

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

void Position::init() {
  const Route& route = m_route;
  PositionState& pos = m_p;
  pos = PositionState{};
  pos.frame = route.StartPos;
  pos.clockTicks = route.StartTime;
  pos.currentSegment = 0;
  pos.precedingFrame = static_cast<long double>(route.Pre_Time) + route.StartPos;
  // The preceding train moves one frame every 30 div [FrameRate] clock ticks. A rate above 30
  // or of 0 and below would make that 0: it then moves every tick.
  pos.precedingPeriod = route.FrameRate >= 1 && route.FrameRate <= 30 ? 30 / route.FrameRate : 1;

  const auto& segs = route.SpeedUnitTable;
  std::vector<std::pair<int32_t, int32_t>> spans;
  for (const auto& seg : segs)
    if (seg.endFrame > seg.startFrame) spans.emplace_back(seg.startFrame, seg.endFrame);
  std::sort(spans.begin(), spans.end());
  pos.segmentsDisjoint = true;
  for (size_t i = 1; i < spans.size(); ++i)
    if (spans[i].first < spans[i - 1].second) pos.segmentsDisjoint = false;

  // Know the recorded speed from the start, so that the first step already counts frames at
  // it. The segment stays 0: the first step puts the distance on the start's segment.
  findRecordedSpeed(pos, segs, false);
  pos.currentSegment = 0;
}

void Position::positionStep(Fixed trainSpeed, int videoFrames) {
  PositionState& p = m_p;
  const int64_t speed = trainSpeed.rounded();

  // 1. Whole km/h accumulate until they make a frame at the recorded speed.
  p.frameAccumulator += static_cast<int32_t>(std::llabs(speed));
  if (p.frameAccumulator >= p.recordedSpeed) {
    const int32_t unit = p.recordedSpeed < 1 ? 1 : p.recordedSpeed;
    const int32_t frames = p.frameAccumulator / unit;
    p.frameAccumulator %= unit;
    if (trainSpeed.raw > 0) p.frame = wrapping(int64_t{p.frame} + frames);
    if (trainSpeed.raw < 0) p.frame = wrapping(int64_t{p.frame} - frames);
  }
  p.frameRemainder = p.frameAccumulator;

  // 2. The recorded speed of the segment the frame is in; entering another segment puts the
  // distance back on that segment's start.
  findRecordedSpeed(p, m_route.SpeedUnitTable, true);

  // 3. One tick of 33.333 ms at this speed.
  p.distanceStep = static_cast<long double>(trainSpeed.raw) / 36000 * 33333 / 10000;
  p.distance += p.distanceStep;
  p.remaining = p.nextStopDistance - p.distance;

  // 4. (5, follow mode, is the run's: it sets the train's speed.)
  p.clockTicks = wrapping(int64_t{p.clockTicks} + 1);

  // 6. The preceding train runs at the video's own rate until it leaves the video.
  if (p.clockTicks % p.precedingPeriod == 0 && p.precedingFrame != 0) p.precedingFrame += 1;
  if (videoFrames >= 0 && videoFrames < p.precedingFrame) p.precedingFrame = 0;
}

void Position::moveFrames(int32_t delta, int videoFrames) {
  // Moving along the line stays on the video.
  int64_t f = static_cast<int64_t>(m_p.frame) + delta;
  if (videoFrames > 0) f = std::clamp<int64_t>(f, 0, videoFrames - 1);
  m_p.frame = static_cast<int32_t>(std::max<int64_t>(f, 0));
}

void Position::moveClock(int32_t ticks) {
  // Forward the clock runs on as its counter does; back it never goes before midnight.
  const int64_t t = int64_t{m_p.clockTicks} + ticks;
  m_p.clockTicks = ticks >= 0 ? wrapping(t) : static_cast<int32_t>(std::max<int64_t>(t, 0));
}

void Position::jumpToStation(const StationEntry& s) {
  PositionState& pos = m_p;
  const Route& route = m_route;
  pos.frame =
      static_cast<int32_t>(roundEven((static_cast<long double>(s.zoneStart) + s.stopFrame) / 2));
  pos.clockTicks = wrapping(int64_t{s.departureTime} - 150);
  // Put the preceding train where it would be by now: it moves one frame every
  // precedingPeriod clock ticks.
  long double behind = 0;
  if (pos.precedingPeriod > 0)
    behind = static_cast<long double>(
        roundEven((wide(pos.clockTicks) - route.StartTime) / pos.precedingPeriod));
  pos.precedingFrame = wide(route.StartPos) + route.Pre_Time + behind;
  pos.distance = s.distance;
  pos.remaining = 0;
  pos.nextStopDistance = s.distance;
  pos.currentSegment = -1;
  pos.distanceStep = 0;
}

}  // namespace velmoria
