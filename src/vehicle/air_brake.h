#pragma once
// The air brake: brake cylinder (BC), equalising reservoir (ER, also the brake-pipe gauge),
// main reservoir (MR), straight-air pipe (SAP) and the BC needle, moved every 33 ms tick by the
// brake type's rules from the delayed brake steps; and the compressor of the 100 ms tick.
// UI thread. Pressures in kPa.
#include "frame/fixed.h"
#include "media/channels.h"
#include "vehicle/handle_model.h"
#include "vehicle/vehicle.h"

namespace velmoria {

struct AirState {
  Fixed bc, er, mr, sap, bcDisplay;  // kPa
  bool compressorRunning = false;
};

class AirBrake {
 public:
  AirBrake(const Vehicle& vehicle, Channels& channels) : m_vehicle(vehicle), m_channels(channels) {}
  void init();
  const AirState& state() const { return m_state; }

  // Step 3 of the 33 ms step (the brake delays follow it in the handle model).
  void airBrakeStep(const HandleState& handle, Fixed speed);
  // Step 13 of the run loop.
  void compressor();
  // The doors open at a station: they take air from the main reservoir.
  void doorsTakeAir();

 private:
  friend struct StateAccess;
  const Vehicle& m_vehicle;
  Channels& m_channels;
  AirState m_state;
};

}  // namespace velmoria
