// The handle model: the one record of what the driver has set, its display, and the doors.
#include <cmath>

#include "run/run.h"

namespace velmoria {

namespace {

// "P3", "B5". Appending (rather than "P" + ...) also keeps GCC 12's -Wrestrict quiet at -O3.
std::string numbered(char prefix, int n) {
  std::string s(1, prefix);
  s += std::to_string(n);
  return s;
}

}  // namespace

void Run::initHandle() {
  handle = HandleState{};
  handle.brakeStep = -vehicle.Brake;
  handle.effectiveBrake = -vehicle.Brake;
  handle.inputLock = true;
}

void Run::masconupdate() {
  const Strings& s = data.strings;
  const int brake = vehicle.Brake;
  if (handle.brakeStep == -brake) display.BrakeLabel.text = s.EB;
  if (handle.powerNotch == 0) display.PowerLabel.text = s.Neut2;
  if (handle.brakeStep == 0) display.BrakeLabel.text = s.Neut;
  if (handle.powerNotch > 0 && handle.powerNotch <= vehicle.Power)
    display.PowerLabel.text = numbered('P', handle.powerNotch);
  if (vehicle.BrakeType >= 1 && handle.brakeStep > -brake && handle.brakeStep < 0 && !handle.hold)
    display.BrakeLabel.text = numbered('B', -handle.brakeStep);
  if (handle.hold) display.BrakeLabel.text = s.Hold2;
  if (vehicle.BrakeType == 0) {
    if (handle.brakeStep == -3) display.BrakeLabel.text = s.Apply;
    if (handle.brakeStep == -2) display.BrakeLabel.text = s.Hold;
    if (handle.brakeStep == -1) display.BrakeLabel.text = s.Maintain;
  }
  display.Label1.text = handle.reverser == 1    ? s.Forward
                        : handle.reverser == -1 ? s.Reverse
                                                : s.Neutral;

  // Handle pictures: a picture the list does not hold leaves the image empty.
  const int powerPictures = static_cast<int>(data.images.NotchImageP.images.size());
  const int brakePictures = static_cast<int>(data.images.NotchImageB.images.size());
  const auto power = [&](int i) { return i >= 0 && i < powerPictures ? i : -1; };
  const auto brakePic = [&](int i) { return i >= 0 && i < brakePictures ? i : -1; };
  if (!handle.atsEmergency && !handle.protectionBrake) {
    display.Lamp_P.picture = power(handle.powerNotch);
    const int step = std::abs(handle.brakeStep);
    int picture = step;
    if (vehicle.Hold == 1) picture = handle.hold ? 1 : (step == 0 ? 0 : step + 1);
    display.Lamp_B.picture = brakePic(picture);
  }
  if (handle.atsEmergency) {
    display.Lamp_P.picture = power(0);
    display.Lamp_B.picture = brakePic(brakePictures - 1);
  }
  if (handle.protectionBrake) {
    display.Lamp_P.picture = power(0);
    display.Lamp_B.picture = brakePic(brakePictures - 2);
  }

  static const char* const kGears[] = {"変", "直1", "直2", "直3", "直4"};
  if (handle.gearPosition >= 0 && handle.gearPosition <= 4)
    display.GearLabel.text = kGears[handle.gearPosition];

  signals.vigilanceCounter = 0;  // every handle operation shows the driver is awake
  if (services.sound && services.sound->isPlaying(vehicle.Stop) && handle.brakeStep < 0)
    services.sound->setVolume(vehicle.Stop, -800);
}

void Run::Door_operate() {
  handle.doorSoundOpening = false;
  if (train.speed.rounded() != 0) return;
  if (!handle.doorOpen) {
    handle.doorSoundOpening = true;
    startOnce(vehicle.Sound_DoorOpen);
  } else {
    handle.doorSoundOpening = false;
    startOnce(vehicle.Sound_DoorClose);
  }
  if (handle.doorSoundOpening) handle.doorOpen = true;
}

void Run::StepTowardPower() {
  if (handle.brakeStep == 0 && handle.powerNotch < vehicle.Power && !handle.hold)
    ++handle.powerNotch;
  if (handle.hold) handle.hold = false;
  if (handle.powerNotch == 0 && handle.brakeStep < 0 && !handle.hold) {
    ++handle.brakeStep;
    if (vehicle.Hold == 1 && handle.brakeStep == 0) handle.hold = true;
  }
  handle.powerPending = handle.brakePending = handle.sapPending = true;
}

void Run::StepTowardBrake(int lowerBound) {
  applyBrakeStep(lowerBound, true);
  if (handle.brakeStep == 0 && handle.powerNotch > 0) --handle.powerNotch;
  handle.powerPending = handle.brakePending = handle.sapPending = true;
}

void Run::applyBrakeStep(int lowerBound, bool needsPowerOff) {
  if (handle.hold) {
    handle.hold = false;
    handle.brakeStep = -1;
    handle.justLeftHold = true;
  }
  if ((!needsPowerOff || handle.powerNotch == 0) && handle.brakeStep > lowerBound && !handle.hold) {
    // Four separate tests, as on the real handle: the first and the last can both act.
    const bool leftHold = handle.justLeftHold;
    if (vehicle.Hold == 1 && handle.brakeStep == 0) handle.hold = true;
    if (vehicle.Hold == 1 && handle.brakeStep < 0 && !leftHold) --handle.brakeStep;
    if (vehicle.Hold == 0) --handle.brakeStep;
    if (vehicle.Hold == 1 && leftHold) handle.justLeftHold = false;
  }
}

}  // namespace velmoria
