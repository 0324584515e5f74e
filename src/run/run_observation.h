#pragma once
// What a front end sees of a run: the cab display model and the few facts a front end or a
// driver needs besides it. Taken after any step or handler, on the UI thread; it refers into
// the run and is valid until the run's next step.
#include <cstdint>
#include <filesystem>

#include "frame/fixed.h"
#include "route/route.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

struct RunObservation {
  const CabDisplay& display;
  const Vehicle& vehicle;
  const Route& route;

  // The track video: the file open now and the frame of it that shows the train's place.
  const std::filesystem::path& videoFile;
  int32_t frame = 0;       // the frame position on the route
  int32_t videoIndex = 0;  // the frame of videoFile
  bool onBranch = false;   // videoFile is the branch line's
  int patternState = 0;    // the pattern control's lamps on the picture (201)
  // How far the train is on its way to the next frame: the position step adds the whole km/h
  // of every 33 ms step to frameAccumulator and moves one frame for each recordedSpeed of it,
  // so frameAccumulator / recordedSpeed of the way is covered (pictures drawn between frames).
  int32_t frameAccumulator = 0;
  int32_t recordedSpeed = 0;  // km/h, of the video at the frame position

  bool running = false;   // started and not paused
  bool terminus = false;  // the terminus caption shows
  Fixed speed{};          // km/h, signed
  long double distanceCm = 0;
  int32_t clockTicks = 0;  // thirtieths of a second since midnight
  int32_t tickCount = 0;

  // The controls and gauges a driver reads off the cab.
  int powerNotch = 0, brakeStep = 0;
  bool hold = false;
  bool doorOpen = false;
  bool doorsClosing = false;     // the door sound started last is the closing one
  bool atsEmergency = false;     // the train stop or vigilance device braked
  bool protectionBrake = false;  // the pattern or cab-signal control holds full service
  bool trainStopAlarm = false;   // the train stop's bell rings
  int32_t checkSpeed = 999;      // the train stop's: 999 none, 998 stop ahead, 0 stop passed
  int signalInView = 999;        // the signal table's entry in view, 999 none
  int signalShown = 999;         // the picture it shows (display index), 999 none
  Fixed bcKpa{};                 // the brake cylinder
  Fixed gradient{};              // per mille over the train's length
  bool keySwap = false;          // Scroll Lock has exchanged '2' and '8'
  int routeChannelBase = 0;      // the first channel of the route's sounds
};

}  // namespace velmoria
