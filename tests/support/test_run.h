#pragma once
// A Run built from data written in the test: a 10-car electric train with a one-handle
// controller and a flat route, the null sound device on a manual clock and a null video.
// Tests change the data before calling make().
#include <memory>

#include "media/clock.h"
#include "media/null/null_sound_device.h"
#include "media/null/null_video_source.h"
#include "run/run.h"

namespace velmoria::test {

// [BrakeType] 1, [Brake] 8, [Power] 4 with simple notch curves, 300 t, delays of 1 tick.
Vehicle electricVehicle();
// Diesel with three gears, [Gear_Type] AT.
Vehicle dieselVehicle();
// Every sound number of the vehicle set to channel 0, as in a file that names none.
void clearSoundNumbers(Vehicle& v);
// One [SpeedUnit] segment of frames 0..100000 recorded at 60 km/h, [FrameRate] 30.
Route flatRoute();

struct TestRun {
  ManualClock clock;
  NullSoundDevice sound{clock};
  NullVideoSource video{100000};
  AppState app;
  RunData data;
  std::unique_ptr<Run> run;

  TestRun();
  // Builds the run (throws what the constructor throws). Every drive channel gets a 1 s wave.
  Run& make();
  // Releases the input lock as the first Start does, without starting the timers.
  Run& makeUnlocked();
};

}  // namespace velmoria::test
