#include "vehicle/handle_model.h"

#include <algorithm>
#include <cmath>

#include "vehicle/vigilance.h"

namespace velmoria {

namespace {

// "P3", "B5". Appending (rather than "P" + ...) also keeps GCC 12's -Wrestrict quiet at -O3.
std::string numbered(char prefix, int n) {
  std::string s(1, prefix);
  s += std::to_string(n);
  return s;
}

// The delayed copy of a handle: taken when the running count expires, with the handle's
// value of that moment. A delay below 1 acts at the next tick.
void delayedCopy(bool& pending, int& counter, int delay, int& copy, int value) {
  if (!pending) return;
  ++counter;
  if (counter >= std::max(delay, 1)) {
    counter = 0;
    pending = false;
    copy = value;
  }
}

constexpr int kGearChangeTicks = 80;  // about 2.6 s

}  // namespace

HandleModel::HandleModel(const Vehicle& vehicle, const Strings& strings, const ImageLists& images,
                         CabDisplay& display, Channels& channels, Vigilance& vigilance)
    : m_vehicle(vehicle),
      m_strings(strings),
      m_images(images),
      m_display(display),
      m_channels(channels),
      m_vigilance(vigilance) {}

void HandleModel::init() {
  m_h = HandleState{};
  m_h.brakeStep = -m_vehicle.Brake;
  m_h.effectiveBrake = -m_vehicle.Brake;
  m_h.inputLock = true;
}

void HandleModel::masconupdate() {
  const Strings& s = m_strings;
  const Vehicle& vehicle = m_vehicle;
  const HandleState& handle = m_h;
  CabDisplay& display = m_display;
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
  const int powerPictures = static_cast<int>(m_images.NotchImageP.images.size());
  const int brakePictures = static_cast<int>(m_images.NotchImageB.images.size());
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

  drawGearLabel();

  m_vigilance.reset();  // every handle operation shows the driver is awake
  if (m_channels.playing(vehicle.Stop) && handle.brakeStep < 0)
    m_channels.setVolume(vehicle.Stop, -800);
}

void HandleModel::drawGearLabel() {
  static const char* const kGears[] = {"変", "直1", "直2", "直3", "直4"};
  if (m_h.gearPosition >= 0 && m_h.gearPosition <= 4)
    m_display.GearLabel.text = kGears[m_h.gearPosition];
}

void HandleModel::Door_operate(int64_t roundedSpeed) {
  m_h.doorSoundOpening = false;
  if (roundedSpeed != 0) return;
  if (!m_h.doorOpen) {
    m_h.doorSoundOpening = true;
    m_channels.startOnce(m_vehicle.Sound_DoorOpen);
  } else {
    m_h.doorSoundOpening = false;
    m_channels.startOnce(m_vehicle.Sound_DoorClose);
  }
  if (m_h.doorSoundOpening) m_h.doorOpen = true;
}

void HandleModel::StepTowardPower() {
  HandleState& handle = m_h;
  if (handle.brakeStep == 0 && handle.powerNotch < m_vehicle.Power && !handle.hold)
    ++handle.powerNotch;
  if (handle.hold) handle.hold = false;
  if (handle.powerNotch == 0 && handle.brakeStep < 0 && !handle.hold) {
    ++handle.brakeStep;
    if (m_vehicle.Hold == 1 && handle.brakeStep == 0) handle.hold = true;
  }
  raiseAll();
}

void HandleModel::StepTowardBrake(int lowerBound) {
  applyBrakeStep(lowerBound, true);
  if (m_h.brakeStep == 0 && m_h.powerNotch > 0) --m_h.powerNotch;
  raiseAll();
}

void HandleModel::applyBrakeStep(int lowerBound, bool needsPowerOff) {
  HandleState& handle = m_h;
  if (handle.hold) {
    handle.hold = false;
    handle.brakeStep = -1;
    handle.justLeftHold = true;
  }
  if ((!needsPowerOff || handle.powerNotch == 0) && handle.brakeStep > lowerBound && !handle.hold) {
    // Four separate tests, as on the real handle: the first and the last can both act.
    const bool leftHold = handle.justLeftHold;
    if (m_vehicle.Hold == 1 && handle.brakeStep == 0) handle.hold = true;
    if (m_vehicle.Hold == 1 && handle.brakeStep < 0 && !leftHold) --handle.brakeStep;
    if (m_vehicle.Hold == 0) --handle.brakeStep;
    if (m_vehicle.Hold == 1 && leftHold) handle.justLeftHold = false;
  }
}

void HandleModel::setReverser(int reverser) {
  m_display.Lamp_Fwd = reverser == 1;
  m_display.Lamp_Bck = reverser == -1;
  m_h.reverser = reverser;
  masconupdate();
}

void HandleModel::setPosition(int power, int brake) {
  m_h.powerNotch = power;
  m_h.brakeStep = brake;
  raiseAll();
}

void HandleModel::setPowerNotch(int power) {
  m_h.powerNotch = power;
  m_h.powerPending = true;
}

void HandleModel::setBrakeStep(int brake) {
  m_h.brakeStep = brake;
  m_h.brakePending = m_h.sapPending = true;
}

void HandleModel::oneHandleEmergency() {
  m_h.hold = false;
  m_h.powerNotch = 0;
  m_h.brakeStep = -m_vehicle.Brake;
  raiseAll();
}

void HandleModel::releaseAll() {
  m_h.hold = false;
  m_h.brakeStep = 0;
  m_h.powerNotch = 0;
  raiseAll();
}

void HandleModel::emergency() {
  const int eb = -m_vehicle.Brake;
  m_h.hold = false;
  if (m_h.brakeStep != eb && !m_h.atsEmergency) m_channels.startOnce(m_vehicle.Sound_EB);
  m_h.brakeStep = eb;
  m_h.powerNotch = 0;
  raiseAll();
}

void HandleModel::twoHandlePowerUp() {
  if (m_h.powerNotch < m_vehicle.Power) ++m_h.powerNotch;
  m_h.powerPending = true;
}

void HandleModel::twoHandlePowerDown() {
  if (m_h.powerNotch > 0) --m_h.powerNotch;
  m_h.powerPending = true;
}

void HandleModel::twoHandleBrakeRelease() {
  if (m_h.hold) m_h.hold = false;
  if (m_h.brakeStep < 0) {
    ++m_h.brakeStep;
    if (m_vehicle.Hold == 1 && m_h.brakeStep == 0) m_h.hold = true;
  }
  m_h.brakePending = m_h.sapPending = true;
}

void HandleModel::twoHandleBrakeApply() {
  applyBrakeStep(-m_vehicle.Brake + 1, false);
  m_h.brakePending = m_h.sapPending = true;
}

void HandleModel::twoHandleEmergency() {
  const int eb = -m_vehicle.Brake;
  if (m_h.brakeStep == eb || m_h.atsEmergency) return;
  m_h.hold = false;
  m_channels.startOnce(m_vehicle.Sound_EB);
  m_h.brakeStep = eb;
  m_h.brakePending = m_h.sapPending = true;
}

void HandleModel::manualGearUp() {
  const bool manualDiesel =
      m_vehicle.Engine_Type == 0 && m_vehicle.manualGears && m_h.effectivePower == 0;
  if (!manualDiesel || m_h.gearPosition >= static_cast<int>(m_vehicle.GearTable.size()) - 1) return;
  ++m_h.gearPosition;
  m_h.gearChange = true;
  masconupdate();
}

void HandleModel::manualGearDown() {
  const bool manualDiesel =
      m_vehicle.Engine_Type == 0 && m_vehicle.manualGears && m_h.effectivePower == 0;
  if (!manualDiesel || m_h.gearPosition <= 0) return;
  --m_h.gearPosition;
  m_h.gearChange = true;
  masconupdate();
}

void HandleModel::powerDelayTick() {
  if (!m_h.powerPending) return;
  ++m_h.powerCounter;
  if (m_h.powerCounter >= std::max(m_vehicle.PowerDelay, 1)) {
    m_h.powerCounter = 0;
    m_h.powerPending = false;
    m_h.effectivePower = m_h.powerNotch;
  }
}

void HandleModel::brakeDelaysTick() {
  delayedCopy(m_h.brakePending, m_h.brakeCounter, m_vehicle.BrakeDelay, m_h.effectiveBrake,
              m_h.brakeStep);
  delayedCopy(m_h.sapPending, m_h.sapCounter, m_vehicle.SAPDelay, m_h.sapStep, m_h.brakeStep);
}

void HandleModel::gearChangeTick() {
  ++m_h.powerCounter;
  if (m_h.powerCounter >= kGearChangeTicks) {
    m_h.powerCounter = 0;
    m_h.gearIndex = m_h.gearPosition;
    m_h.gearChange = false;
    masconupdate();
  }
}

void HandleModel::automaticGearUp() {
  ++m_h.gearPosition;
  m_h.gearChange = true;
}

void HandleModel::automaticGearDown() {
  --m_h.gearPosition;
  m_h.gearChange = true;
}

void HandleModel::settleGear() {
  m_h.gearIndex = 0;
  m_h.gearChange = false;
}

void HandleModel::resetAfterTrainStop() {
  m_h.atsEmergency = false;
  m_h.protectionBrake = false;
  m_h.gearPosition = 0;
}

void HandleModel::clearProtection() {
  m_h.atsEmergency = false;
  m_h.protectionBrake = false;
}

void HandleModel::placeForStationJump() {
  m_h.doorOpen = false;
  m_h.powerNotch = 0;
  m_h.effectivePower = 0;
  m_h.brakeStep = -m_vehicle.Brake;
  m_h.effectiveBrake = -m_vehicle.Brake;
}

}  // namespace velmoria
