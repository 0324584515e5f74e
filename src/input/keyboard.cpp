// Character keys, virtual keys and the mouse wheel of the cab window. Every other input (the
// serial and USB controllers, the value display and help windows) comes through here too.
// UI thread. Speeds in km/h, the clock in thirtieths of a second.
#include <algorithm>
#include <cstdlib>

#include "run/run.h"

namespace velmoria {

namespace {

constexpr int kClientHeight = 440;  // the cab window's client area is 640 x 440

bool stopped(const Run& run) {
  const int64_t raw = run.train.speed.raw;
  return (raw < 0 ? -raw : raw) <= Fixed::kScale;  // at most 1 km/h either way
}

void raiseAll(HandleState& h) {
  h.powerPending = h.brakePending = h.sapPending = true;
}

}  // namespace

// Any input shows that the driver is awake: the vigilance device starts counting again.
static void vigilancePrologue(Run& run) {
  run.signals.vigilanceCounter = 0;
  if (run.services.sound) run.services.sound->stop(run.vehicle.Sound_EBring);
  run.display.Lamp_EB = false;
}

void Run::AsciiDown(char key) {
  vigilancePrologue(*this);
  if (app.keySwap) {
    if (key == '2')
      key = '8';
    else if (key == '8')
      key = '2';
  }
  if (handle.inputLock) return;

  HandleState& h = handle;
  const int ebStep = -vehicle.Brake;
  const int lastService = -vehicle.Brake + 1;
  const bool oneHandle = vehicle.Handle == 0;
  const bool twoHandles = vehicle.Handle == 1;

  if (key == 'f' && stopped(*this)) {
    display.Lamp_Fwd = true;
    display.Lamp_Bck = false;
    h.reverser = 1;
    masconupdate();
  }
  if (key == 'b' && stopped(*this)) {
    display.Lamp_Fwd = false;
    display.Lamp_Bck = true;
    h.reverser = -1;
    masconupdate();
  }
  if (key == 'n' && stopped(*this)) {
    display.Lamp_Fwd = false;
    display.Lamp_Bck = false;
    h.reverser = 0;
    masconupdate();
  }
  if (key == 'z' && oneHandle) StepTowardPower();
  if (key == 'a' && oneHandle) StepTowardBrake(lastService);
  if (key == 'q' && oneHandle) {
    h.hold = false;
    h.powerNotch = 0;
    h.brakeStep = ebStep;
    raiseAll(h);
  }
  if (key == 'z' && twoHandles) {
    if (h.powerNotch < vehicle.Power) ++h.powerNotch;
    h.powerPending = true;
  }
  if (key == 'a' && twoHandles) {
    if (h.powerNotch > 0) --h.powerNotch;
    h.powerPending = true;
  }
  if (key == ',' && twoHandles) {
    if (h.hold) h.hold = false;
    if (h.brakeStep < 0) {
      ++h.brakeStep;
      if (vehicle.Hold == 1 && h.brakeStep == 0) h.hold = true;
    }
    h.brakePending = h.sapPending = true;
  }
  if (key == '.' && twoHandles) {
    applyBrakeStep(lastService, false);
    h.brakePending = h.sapPending = true;
  }
  if (key == '/' && twoHandles && h.brakeStep != ebStep && !h.atsEmergency) {
    h.hold = false;
    startOnce(vehicle.Sound_EB);
    h.brakeStep = ebStep;
    h.brakePending = h.sapPending = true;
  }
  if (key == '8') StepTowardPower();
  if (key == '2') StepTowardBrake(lastService);
  if (key == '5') {
    h.hold = false;
    h.brakeStep = 0;
    h.powerNotch = 0;
    raiseAll(h);
  }
  if (key == '0') {
    h.hold = false;
    if (h.brakeStep != ebStep && !h.atsEmergency) startOnce(vehicle.Sound_EB);
    h.brakeStep = ebStep;
    h.powerNotch = 0;
    raiseAll(h);
  }
  masconupdate();

  if (key == '3') startOnce(vehicle.Sound_Horn);
  if (key == '6') startOnce(vehicle.Sound_Horn2);
  if (key == '4') startOnce(vehicle.Buzzer[0]);
  if (key == '1') startOnce(vehicle.Buzzer[1]);
  if ((key == 'd' || key == '7') && route.OneMan == 1) Door_operate();
  if (key == 'r') resetOperation();
  if (key == ' ') acknowledge();
  if (key == '1' && route.OneMan == 1 && sounds.announceIndex >= 0 &&
      static_cast<size_t>(sounds.announceIndex) < route.AnnounceTable.size() &&
      !(services.sound &&
        services.sound->isPlaying(routeChannel(route.AnnounceTable[sounds.announceIndex].sound))))
    nextAnnouncement();
  if (key == '-' && route.OneMan == 1 && sounds.announceIndex > 0) previousAnnouncement();

  const bool manualDiesel =
      vehicle.Engine_Type == 0 && vehicle.manualGears && h.effectivePower == 0;
  const int gears = static_cast<int>(vehicle.GearTable.size());
  if (key == 's' && manualDiesel && h.gearPosition < gears - 1) {
    ++h.gearPosition;
    h.gearChange = true;
    masconupdate();
  }
  if (key == 'x' && manualDiesel && h.gearPosition > 0) {
    --h.gearPosition;
    h.gearChange = true;
    masconupdate();
  }

  static const char* const kGears[] = {"変", "直1", "直2", "直3", "直4"};
  if (h.gearPosition >= 0 && h.gearPosition <= 4) display.GearLabel.text = kGears[h.gearPosition];
  // The brake went further on while its delay runs: the release sounds are out of place.
  if (h.brakeStep < h.effectiveBrake && services.sound) {
    services.sound->stop(vehicle.Sound_br1);
    services.sound->stop(vehicle.Sound_br2);
  }
}

void Run::keydowns(VirtualKey key, bool shift) {
  using K = VirtualKey;
  if (key == K::ScrollLock) app.keySwap = !app.keySwap;
  if (key == K::Enter) calloutRequest();
  if (shift) {
    const int frames = videoFrameCount();
    // Moving along the line stays on the video, and the clock never goes before midnight.
    const auto moveFrame = [&](int32_t delta) {
      int64_t f = static_cast<int64_t>(pos.frame) + delta;
      if (frames > 0) f = std::clamp<int64_t>(f, 0, frames - 1);
      pos.frame = static_cast<int32_t>(std::max<int64_t>(f, 0));
    };
    if (key == K::F1) app.followMode = true;
    if (key == K::F2) app.followMode = false;
    if (key == K::F11 && train.speed > Fixed::fromInt(10))
      train.speed = Fixed::fromRaw(train.speed.raw - 10 * Fixed::kScale);
    if (key == K::F12 && train.speed < Fixed::fromInt(1000))
      train.speed = Fixed::fromRaw(train.speed.raw + 10 * Fixed::kScale);
    if (key == K::F10) pos.clockTicks += 900;
    if (key == K::F9) pos.clockTicks = std::max(pos.clockTicks - 900, 0);
    if (key == K::F8) moveFrame(1000);
    if (key == K::F7) moveFrame(-1000);
    if (key == K::F6) moveFrame(100);
    if (key == K::F5) moveFrame(-100);
  }
  if (key == K::F5) {
    display.values.visible = !display.values.visible;
  }
  // The card keys are the plain function keys; with Shift, F1 and F2 belong to follow mode.
  if (key == K::F3 && !shift && display.cardHeight > kClientHeight && display.cardTop == 0)
    display.cardTop = kClientHeight - display.cardHeight;
  if (key == K::F2 && !shift && display.cardHeight > kClientHeight && display.cardTop < 0)
    display.cardTop = 0;
  if (key == K::F1 && !shift) {
    if (kClientHeight < display.cardHeight) {
      const int frames = videoFrameCount();
      display.cardTop =
          frames >= 0 && pos.frame > frames / 2.0 ? kClientHeight - display.cardHeight : 0;
    }
    display.cardShown = !display.cardShown;
  }
}

void Run::WheelD() {
  vigilancePrologue(*this);
  StepTowardPower();
  masconupdate();
}

void Run::WheelU() {
  vigilancePrologue(*this);
  const int before = handle.brakeStep;
  StepTowardBrake(-vehicle.Brake);
  if (before != -vehicle.Brake && handle.brakeStep == -vehicle.Brake && air.er.raw > 0 &&
      !(services.sound && services.sound->isPlaying(vehicle.Sound_EB)))
    startOnce(vehicle.Sound_EB);
  masconupdate();
}

void Run::drainPostedKeys() {
  while (!postedKeys.empty()) {
    const PostedKey k = postedKeys.front();
    postedKeys.pop_front();
    if (k.isVirtual)
      keydowns(k.key, k.shift);
    else
      AsciiDown(k.ch);
  }
}

}  // namespace velmoria
