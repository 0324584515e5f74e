#pragma once
// The train's place on the route: the frame position of the track video, the distance in cm,
// the clock, and the preceding train. The position step runs in the 33 ms step (UI thread);
// the Shift keys and the station jump move it.
#include <cstdint>

#include "frame/fixed.h"
#include "route/route.h"

namespace velmoria {

struct PositionState {
  int32_t frame = 0;
  int32_t frameAccumulator = 0, frameRemainder = 0;
  int32_t recordedSpeed = 0;
  int currentSegment = 0;                      // -1: unknown (after a station jump)
  long double distance = 0, distanceStep = 0;  // cm
  long double nextStopDistance = 0, remaining = 0;
  int32_t clockTicks = 0;          // thirtieths of a second since midnight
  long double precedingFrame = 0;  // 0: no preceding train
  bool segmentsDisjoint = false;   // no two [SpeedUnit] segments share a frame
  int precedingPeriod = 1;  // clock ticks per frame of the preceding train: 30 div [FrameRate]
};

class Position {
 public:
  // The route's distances must be placed (placeRouteDistances) before init.
  explicit Position(const Route& route) : m_route(route) {}
  void init();
  const PositionState& state() const { return m_p; }

  // Step 4 of the 33 ms step. `videoFrames` is the track video's frame count (-1: unknown).
  void positionStep(Fixed speed, int videoFrames);

  // Shift+F5..F8: along the line within the video; Shift+F9/F10: the clock by 30 s.
  void moveFrames(int32_t delta, int videoFrames);
  void moveClock(int32_t ticks);
  // The station jump: the middle of the stopping zone, 5 s before departure, the preceding
  // train where it would be by then, the distance on the stopping mark.
  void jumpToStation(const StationEntry& station);
  void setNextStop(long double distance) { m_p.nextStopDistance = distance; }
  // The cab window closes: no stopping point ahead any more.
  void closeRun() { m_p.remaining = 0; }

 private:
  friend struct StateAccess;
  const Route& m_route;
  PositionState m_p;
};

}  // namespace velmoria
