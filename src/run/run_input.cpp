// The driver's inputs: character keys, virtual keys and the mouse wheel of the cab window, the
// serial controller's codes and the USB controllers. Every other input (the value display and
// help windows) comes through here too. UI thread. Speeds in km/h, the clock in thirtieths of
// a second.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "frame/common_util.h"
#include "input/serial_codes.h"
#include "input/usb_scan.h"
#include "run/run.h"

namespace velmoria {

namespace {

constexpr int kClientHeight = 440;  // the cab window's client area is 640 x 440

bool stopped(Fixed speed) {
  const int64_t raw = speed.raw;
  return (raw < 0 ? -raw : raw) <= Fixed::kScale;  // at most 1 km/h either way
}

}  // namespace

void Run::AsciiDown(char key) {
  // Any input shows that the driver is awake: the vigilance device starts counting again.
  m_vigilance.driverInput();
  if (m_app.keySwap) {
    if (key == '2')
      key = '8';
    else if (key == '8')
      key = '2';
  }
  const HandleState& h = m_handle.state();
  if (h.inputLock) return;

  const Vehicle& v = vehicle();
  const int lastService = -v.Brake + 1;
  const bool oneHandle = v.Handle == 0;
  const bool twoHandles = v.Handle == 1;
  const bool standing = stopped(m_dynamics.state().speed);

  if (key == 'f' && standing) m_handle.setReverser(1);
  if (key == 'b' && standing) m_handle.setReverser(-1);
  if (key == 'n' && standing) m_handle.setReverser(0);
  if (key == 'z' && oneHandle) m_handle.StepTowardPower();
  if (key == 'a' && oneHandle) m_handle.StepTowardBrake(lastService);
  if (key == 'q' && oneHandle) m_handle.oneHandleEmergency();
  if (key == 'z' && twoHandles) m_handle.twoHandlePowerUp();
  if (key == 'a' && twoHandles) m_handle.twoHandlePowerDown();
  if (key == ',' && twoHandles) m_handle.twoHandleBrakeRelease();
  if (key == '.' && twoHandles) m_handle.twoHandleBrakeApply();
  if (key == '/' && twoHandles) m_handle.twoHandleEmergency();
  if (key == '8') m_handle.StepTowardPower();
  if (key == '2') m_handle.StepTowardBrake(lastService);
  if (key == '5') m_handle.releaseAll();
  if (key == '0') m_handle.emergency();
  m_handle.masconupdate();

  if (key == '3') m_channels.startOnce(v.Sound_Horn);
  if (key == '6') m_channels.startOnce(v.Sound_Horn2);
  if (key == '4') m_channels.startOnce(v.Buzzer[0]);
  if (key == '1') m_channels.startOnce(v.Buzzer[1]);
  if ((key == 'd' || key == '7') && route().OneMan == 1)
    m_handle.Door_operate(m_dynamics.roundedSpeed());
  if (key == 'r') m_signals.resetOperation(m_dynamics.roundedSpeed(), m_handle);
  if (key == ' ') m_signals.acknowledge(m_dynamics.roundedSpeed(), h);
  if (key == '1' && route().OneMan == 1) m_sounds.nextAnnouncement();
  if (key == '-' && route().OneMan == 1 && m_sounds.state().announceIndex > 0)
    m_sounds.previousAnnouncement();
  if (key == 's') m_handle.manualGearUp();
  if (key == 'x') m_handle.manualGearDown();

  m_handle.drawGearLabel();
  // The brake went further on while its delay runs: the release sounds are out of place.
  if (h.brakeStep < h.effectiveBrake && m_services.sound) {
    m_channels.stop(v.Sound_br1);
    m_channels.stop(v.Sound_br2);
  }
}

void Run::keydowns(VirtualKey key, bool shift) {
  using K = VirtualKey;
  if (key == K::ScrollLock) m_app.keySwap = !m_app.keySwap;
  if (key == K::Enter) calloutRequest();
  if (shift) {
    const int frames = videoFrameCount();
    const Fixed speed = m_dynamics.state().speed;
    if (key == K::F1) m_app.followMode = true;
    if (key == K::F2) m_app.followMode = false;
    if (key == K::F11 && speed > Fixed::fromInt(10))
      m_dynamics.setSpeed(Fixed::fromRaw(speed.raw - 10 * Fixed::kScale));
    if (key == K::F12 && speed < Fixed::fromInt(1000))
      m_dynamics.setSpeed(Fixed::fromRaw(speed.raw + 10 * Fixed::kScale));
    if (key == K::F10) m_position.moveClock(900);
    if (key == K::F9) m_position.moveClock(-900);
    if (key == K::F8) m_position.moveFrames(1000, frames);
    if (key == K::F7) m_position.moveFrames(-1000, frames);
    if (key == K::F6) m_position.moveFrames(100, frames);
    if (key == K::F5) m_position.moveFrames(-100, frames);
  }
  CabDisplay& display = m_display;
  if (key == K::F5) display.values.visible = !display.values.visible;
  // The card keys are the plain function keys; with Shift, F1 and F2 belong to follow mode.
  if (key == K::F3 && !shift && display.cardHeight > kClientHeight && display.cardTop == 0)
    display.cardTop = kClientHeight - display.cardHeight;
  if (key == K::F2 && !shift && display.cardHeight > kClientHeight && display.cardTop < 0)
    display.cardTop = 0;
  if (key == K::F1 && !shift) {
    if (kClientHeight < display.cardHeight) {
      const int frames = videoFrameCount();
      display.cardTop = frames >= 0 && m_position.state().frame > frames / 2.0
                            ? kClientHeight - display.cardHeight
                            : 0;
    }
    display.cardShown = !display.cardShown;
  }
}

void Run::WheelD() {
  m_vigilance.driverInput();
  m_handle.StepTowardPower();
  m_handle.masconupdate();
}

void Run::WheelU() {
  m_vigilance.driverInput();
  const int eb = -vehicle().Brake;
  const int before = m_handle.state().brakeStep;
  m_handle.StepTowardBrake(eb);
  if (before != eb && m_handle.state().brakeStep == eb && m_air.state().er.raw > 0 &&
      !m_channels.playing(vehicle().Sound_EB))
    m_channels.startOnce(vehicle().Sound_EB);
  m_handle.masconupdate();
}

void Run::RxChar(const std::string& chunk) {
  m_vigilance.driverInput();
  m_display.values.caption = chunk;
  const Vehicle& v = vehicle();
  const bool skipP5 = std::filesystem::path(v.fileName).filename() == "train_201.dat";
  for (const SerialMatch& m : matchSerialCodes(chunk, m_data.codes, skipP5)) {
    switch (m.action) {
      case SerialAction::Handle:
        // Positions the vehicle does not have are taken as its nearest: -9 is its EB.
        m_handle.setPosition(ClampToRange(m.power, v.Power, v.Brake),
                             ClampToRange(m.brake, v.Power, v.Brake));
        if (m.emergency) m_channels.startOnce(v.Sound_EB);
        m_handle.masconupdate();
        break;
      case SerialAction::Reverser:
        if (stopped(m_dynamics.state().speed)) m_handle.setReverser(m.reverser);
        break;
      case SerialAction::Acknowledge:
        m_postedKeys.push_back(PostedKey{false, ' '});
        break;
      case SerialAction::Horn:
        m_postedKeys.push_back(PostedKey{false, '3'});
        break;
      case SerialAction::CallOut:
        m_postedKeys.push_back(PostedKey{true, 0, VirtualKey::Enter, false});
        break;
    }
  }
}

void Run::USBScan() {
  const JoystickState js = m_services.joystick ? m_services.joystick->poll() : JoystickState{};
  const UsbReading r = readUsb(js);
  AppState& app = m_app;
  if (r.signature == app.lastUsbSignature) return;
  ++app.usbChangeCounter;
  if (app.usbChangeCounter < 1) return;
  app.usbChangeCounter = 0;
  m_vigilance.reset();

  const Vehicle& v = vehicle();
  const auto post = [&](char c) { m_postedKeys.push_back(PostedKey{false, c}); };
  const auto clamp = [&](int n) { return ClampToRange(n, v.Power, v.Brake); };

  if (app.controllerKind == 2) {
    const auto& map = app.buttonMap.values;
    const int32_t powerCode = js.x + r.a + js.y;
    for (int n = 0; n <= 5; ++n) {
      if (map[n] == powerCode) {
        m_handle.setPowerNotch(clamp(n));
        break;
      }
    }
    for (int i = 0; i <= 9; ++i) {
      if (map[6 + i] == r.b) {
        m_handle.setBrakeStep(clamp(-i));
        break;
      }
    }
    constexpr std::array<std::pair<int, char>, 5> kButtons{
        {{9, '1'}, {1, '3'}, {2, '7'}, {3, '4'}, {8, 'r'}}};
    for (auto [button, c] : kButtons)
      if (js.buttons[button]) post(c);
  } else if (app.controllerKind == 1) {
    if (const auto notch = windowsPowerNotch(js.y)) m_handle.setPowerNotch(clamp(*notch));
    if (const auto step = windowsBrakeStep(js.x)) m_handle.setBrakeStep(clamp(*step));
    constexpr std::array<std::pair<int, char>, 4> kButtons{
        {{0, '4'}, {1, '1'}, {2, '3'}, {3, '7'}}};
    for (auto [button, c] : kButtons)
      if (js.buttons[button]) post(c);
    if (js.buttons[4]) m_postedKeys.push_back(PostedKey{true, 0, VirtualKey::Enter, false});
    if (js.buttons[5]) post('s');
  }

  m_handle.masconupdate();
  app.lastUsbSignature = r.signature;
}

void Run::drainPostedKeys() {
  while (!m_postedKeys.empty()) {
    const PostedKey k = m_postedKeys.front();
    m_postedKeys.pop_front();
    if (k.isVirtual)
      keydowns(k.key, k.shift);
    else
      AsciiDown(k.ch);
  }
}

CalloutCues Run::calloutCues() const {
  const LimitState& l = m_limits.state();
  const SignalState& s = m_signals.state();
  return CalloutCues{l.signTarget, l.blink,       l.calloutPicture,
                     s.shownIndex, s.shownNumber, s.inView};
}

void Run::calloutRequest() {
  m_callouts.calloutRequest(m_dynamics.roundedSpeed(), calloutCues(), m_position.state().frame,
                            m_position.state().clockTicks);
}

}  // namespace velmoria
