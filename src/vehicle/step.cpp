// The 33 ms step: forces cleared, traction, the air brake and the brake delays, then the
// train's place on the route. Driven by the front end's 33 ms timer on the UI thread, always
// together with the 100 ms tick.
#include "run/run.h"
#include "vehicle/traction.h"

namespace velmoria {

void Run::MMTimer1Timer() {
  train.netForce = Fixed{};
  train.resistance = Fixed{};
  tractionBlock(*this);
  airBrakeStep();
  positionStep();
}

}  // namespace velmoria
