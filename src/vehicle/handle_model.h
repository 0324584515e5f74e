#pragma once
// The handle model: the one record of what the driver has set (power notch, brake step, hold,
// reverser, the doors, the diesel gear) with the copies the delays make of it, and its display
// on the panel (masconupdate). Every input path changes the handle only through the operations
// below; the traction, the air brake, the train protection and the stations act on it through
// theirs. UI thread. Brake steps are 0 (release) to -[Brake] (EB).
#include <string>

#include "frame/image_lists.h"
#include "frame/strings_file.h"
#include "media/channels.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

class Vigilance;

struct HandleState {
  int reverser = 1;    // 1 forward, 0 neutral, -1 reverse
  int powerNotch = 0;  // 0..Power
  int brakeStep = 0;   // 0 release .. -Brake (EB)
  bool hold = false;   // the hold position (brake step 0)
  bool justLeftHold = false;
  int effectivePower = 0;  // the copies after their delays
  int effectiveBrake = 0;
  int sapStep = 0;
  bool powerPending = false, brakePending = false, sapPending = false;
  int powerCounter = 0;  // shared with the diesel gear change
  int brakeCounter = 0, sapCounter = 0;
  bool atsEmergency = false;     // emergency demanded by the train stop or vigilance device
  bool protectionBrake = false;  // full service demanded by pattern or cab-signal control
  int gearPosition = 0;          // diesel: 0 converter, 1..4 direct
  int gearIndex = 0;             // the GearTable entry traction uses
  bool gearChange = false;
  bool doorOpen = true;          // door state
  bool doorSoundOpening = true;  // which door sound Door_operate started last
  bool inputLock = true;         // character keys ignored until the first Start
};

class HandleModel {
 public:
  HandleModel(const Vehicle& vehicle, const Strings& strings, const ImageLists& images,
              CabDisplay& display, Channels& channels, Vigilance& vigilance);

  // The environment set-up: EB, doors open, forward, input locked.
  void init();
  const HandleState& state() const { return m_h; }

  // Redraws the notch and brake labels and pictures and the gear label; shows the vigilance
  // device that the driver is awake; quietens the stopping-point alert once braking.
  void masconupdate();

  // --- The driver's handle, as the keys, the wheel and the controllers work it ---
  void StepTowardPower();
  void StepTowardBrake(int lowerBound);
  void setReverser(int reverser);          // with the direction lamps, then masconupdate
  void setPosition(int power, int brake);  // a controller's absolute position, delays raised
  void setPowerNotch(int power);           // the USB handle's power part
  void setBrakeStep(int brake);            // the USB handle's brake part
  void oneHandleEmergency();               // 'q'
  void releaseAll();                       // '5'
  void emergency();                        // '0', with the EB sound
  void twoHandlePowerUp();                 // 'z' with two handles
  void twoHandlePowerDown();               // 'a'
  void twoHandleBrakeRelease();            // ','
  void twoHandleBrakeApply();              // '.'
  void twoHandleEmergency();               // '/'
  void manualGearUp();                     // 's' on a manual diesel
  void manualGearDown();                   // 'x'
  void drawGearLabel();
  void Door_operate(int64_t roundedSpeed);  // the door switch (or the conductor)
  void unlockInput() { m_h.inputLock = false; }

  // --- The delays and the gears (33 ms step and run loop) ---
  void powerDelayTick();
  void brakeDelaysTick();
  void gearChangeTick();  // while a diesel gear change runs
  void automaticGearUp();
  void automaticGearDown();
  void settleGear();  // below 25 km/h: the converter, no change under way

  // --- The train protection and the stations ---
  void setAtsEmergency(bool on) { m_h.atsEmergency = on; }
  void setProtectionBrake(bool on) { m_h.protectionBrake = on; }
  void raisePowerAndBrakePending() { m_h.powerPending = m_h.brakePending = true; }
  void raisePowerPending() { m_h.powerPending = true; }
  void resetAfterTrainStop();  // the reset button: both protection demands and the gear
  void clearProtection();      // the cab window closes
  void doorsShut() { m_h.doorOpen = false; }
  void placeForStationJump();  // doors shut, no power, EB, the copies as well

 private:
  friend struct StateAccess;
  // Steps 1 and 2 of StepTowardBrake; the two-handle '.' key skips the power-notch condition.
  void applyBrakeStep(int lowerBound, bool needsPowerOff);
  void raiseAll() { m_h.powerPending = m_h.brakePending = m_h.sapPending = true; }

  const Vehicle& m_vehicle;
  const Strings& m_strings;
  const ImageLists& m_images;
  CabDisplay& m_display;
  Channels& m_channels;
  Vigilance& m_vigilance;
  HandleState m_h;
};

}  // namespace velmoria
