#pragma once
// The parts of the 33 ms step and the rules a test runs alone, wired as the run wires them:
// each takes its inputs from the run's other subsystems at the moment it is called.
#include "support/state_access.h"

namespace velmoria::test {

inline void positionStep(Run& run) {
  auto p = poke(run);
  p.position.positionStep(p.train.speed, run.videoFrameCount());
}
inline void airBrakeStep(Run& run) {
  auto p = poke(run);
  p.airBrake.airBrakeStep(p.handle, p.train.speed);
  p.handleModel.brakeDelaysTick();
}
inline void engineLevel(Run& run) {
  auto p = poke(run);
  p.traction_.engineLevel(p.handle, p.train.speed);
}
inline void masconupdate(Run& run) {
  poke(run).handleModel.masconupdate();
}
inline void Door_operate(Run& run) {
  poke(run).handleModel.Door_operate(run.states().train.speed.rounded());
}
inline void calloutRequest(Run& run) {
  run.keydowns(VirtualKey::Enter, false);  // Enter is the call-out key and does nothing else
}
inline void acknowledge(Run& run) {
  poke(run).signals_.acknowledge(static_cast<int32_t>(run.states().train.speed.rounded()),
                                 run.states().handle);
}
inline void resetOperation(Run& run) {
  auto p = poke(run);
  p.signals_.resetOperation(static_cast<int32_t>(p.train.speed.rounded()), p.handleModel);
}
inline void Timecheck(Run& run, int kind) {
  auto p = poke(run);
  p.callouts_.Timecheck(kind, p.pos.frame, p.pos.clockTicks);
}
inline void Timekanko(Run& run, int32_t time) {
  auto p = poke(run);
  p.callouts_.Timekanko(time, p.pos.clockTicks);
}

}  // namespace velmoria::test
