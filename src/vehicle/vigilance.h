#pragma once
// The vigilance device ([EB] 1): while the train moves, it counts run-loop ticks since the
// driver last did anything, rings after 60 s and brakes in emergency after 65 s. Every input
// and every handle redraw (masconupdate) counts as the driver being awake. UI thread.
#include "frame/fixed.h"
#include "media/channels.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

class HandleModel;

struct VigilanceState {
  int counter = 0;      // 100 ms ticks since the driver's last action
  bool fitted = false;  // the vehicle's [EB]; follow mode switches it off for the run
};

class Vigilance {
 public:
  Vigilance(const Vehicle& vehicle, Channels& channels, CabDisplay& display)
      : m_vehicle(vehicle), m_channels(channels), m_display(display) {}

  void init();
  const VigilanceState& state() const { return m_state; }

  // A handle operation: the count starts again.
  void reset() { m_state.counter = 0; }
  // Any input of the driver: the count starts again, the bell stops and its lamp goes out.
  void driverInput();
  // Step 30 of the run loop.
  void vigilanceDevice(bool followMode, Fixed speed, HandleModel& handle);

 private:
  friend struct StateAccess;
  const Vehicle& m_vehicle;
  Channels& m_channels;
  CabDisplay& m_display;
  VigilanceState m_state;
};

}  // namespace velmoria
