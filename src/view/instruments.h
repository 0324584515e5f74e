#pragma once
// The instruments of the cab panel: needles, the digital speed, the E233 bars, the lamps, the
// voltmeter and ammeter, and the value display window. Called by Timer1Timer on the UI thread;
// they write the display model and keep the voltage and current the meters show.
#include <cstdint>
#include <string>

#include "frame/fixed.h"
#include "frame/strings_file.h"
#include "vehicle/air_brake.h"
#include "vehicle/dynamics.h"
#include "vehicle/handle_model.h"
#include "vehicle/position.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

// A number in fixed notation with the given decimals, no thousands separators.
std::string fixedText(long double value, int decimals);

struct MeterState {
  Fixed targetVoltage, lineVoltage;  // V
  int32_t shownCurrent = 0, targetCurrent = 0;
};

class Instruments {
 public:
  Instruments(const Vehicle& vehicle, CabDisplay& display)
      : m_vehicle(vehicle), m_display(display) {}
  void init();
  const MeterState& state() const { return m_state; }
  // The panel as the environment set-up leaves it: the needles the vehicle has, the first
  // five [Others] pictures, the cars and gear labels, the direction, the E233's digital speed.
  void setUpPanel(const Strings& strings);

  void needlesAndSpeed(const TrainState& train, const AirState& air);           // step 2
  void othersVisible();                                                         // step 6
  void brakeAndPowerLamps(const HandleState& handle, const TrainState& train);  // step 7
  void voltAndAmmeter(const HandleState& handle, const TrainState& train);      // step 12
  void valueDisplay(const TrainState& train, const AirState& air, const PositionState& position,
                    long double patternTargetDistance);  // step 39

 private:
  friend struct StateAccess;
  long double massKg() const { return m_vehicle.Tons.ld() * 1000; }

  const Vehicle& m_vehicle;
  CabDisplay& m_display;
  MeterState m_state;
};

}  // namespace velmoria
