#pragma once
// Signals and the train protection: aspects, the signal display, the three kinds of automatic
// train stop, and the driver's acknowledge and reset. The steps are called by Timer1Timer on
// the UI thread, in the order the run loop lists them; acknowledge and reset come from the
// keys. Speeds are km/h, distances cm, counters count 100 ms ticks.
#include <cstdint>
#include <vector>

#include "frame/fixed.h"
#include "frame/image_lists.h"
#include "media/channels.h"
#include "route/route.h"
#include "route/route_index.h"
#include "route/signal_colours.h"
#include "vehicle/handle_model.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

// The picture a signal of this kind shows at this aspect level (0..4, clamped); kinds above 5
// behave as 5, below 0 as 0.
int displayIndexFor(int kind, int level);

// Braking distance in metres from v down to vt (km/h) at a deceleration of decel km/h/s.
// Without any deceleration the train never stops: +inf above the target, -inf below it.
long double brakingDistance(long double v, long double vt, long double decel);

constexpr int kNoSignal = 999;

struct SignalState {
  std::vector<int32_t> level;         // aspect level per signal
  std::vector<int32_t> displayIndex;  // per signal
  int shownIndex = kNoSignal, lastDrawnIndex = kNoSignal, shownNumber = kNoSignal,
      inView = kNoSignal;
  int32_t checkSpeed = kNoSignal;
  bool alarm = false, acknowledged = false, confirmation = false;
  int32_t savedCheckSpeed = 0;
  int alarmCounter = 0;
  int patternState = 0, previousPatternState = 0;
  int32_t targetSpeed = kNoSignal;
  long double targetDistance = 0;  // cm ahead of the current pattern target
  bool cabSignalBrake = false;
};

class Signals {
 public:
  Signals(const Vehicle& vehicle, const Route& route, const RouteIndex& index,
          const ImageLists& images, CabDisplay& display, Channels& channels)
      : m_vehicle(vehicle),
        m_route(route),
        m_index(index),
        m_images(images),
        m_display(display),
        m_channels(channels) {}
  void init();
  const SignalState& state() const { return m_state; }

  void blockAspects(long double precedingFrame);          // step 20
  void fixedAspects(int32_t clockTicks);                  // step 21
  void signalDisplay(int32_t frame);                      // step 23
  void cabSignalBrake(Fixed speed, HandleModel& handle);  // step 24, [ATS_Type] 2
  void alarmTrainStop(Fixed speed, HandleModel& handle);  // step 25, [ATS_Type] 0
  void patternControl(long double distance, Fixed speed, HandleModel& handle);  // 26, type 1

  // The acknowledge button (space) and the reset button ('r').
  void acknowledge(int32_t roundedSpeed, const HandleState& handle);
  void resetOperation(int32_t roundedSpeed, HandleModel& handle);
  // A speed check passed too fast rings the alarm.
  void speedCheckAlarm();
  // The station jump: the signal shown is drawn again; with no signal in view, none is shown.
  void stationJump(int32_t frame);
  // The cab window closes.
  void closeRun();

 private:
  friend struct StateAccess;
  void clearSignalShown();

  const Vehicle& m_vehicle;
  const Route& m_route;
  const RouteIndex& m_index;
  const ImageLists& m_images;
  CabDisplay& m_display;
  Channels& m_channels;
  SignalState m_state;
};

}  // namespace velmoria
