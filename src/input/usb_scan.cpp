// The USB Densha de GO! controllers, polled once per run-loop tick while one of the two USB
// kinds is chosen. A change of the inputs sets the handle outright and turns held buttons into
// posted keys, which drainPostedKeys runs after the tick. UI thread.
#include <array>

#include "frame/common_util.h"
#include "run/run.h"

namespace velmoria {

namespace {

struct Band {
  int32_t low, high;  // inclusive
  int value;
};

// Windows kind, power from the Y axis (forward is negative). Boundary values match no band
// and leave the notch as it was.
constexpr std::array<Band, 6> kPowerBands{{{0, INT32_MAX, 0},
                                           {-4999, -1, 1},
                                           {-11999, -5001, 2},
                                           {-19999, -12001, 3},
                                           {-29999, -20001, 4},
                                           {INT32_MIN, -30001, 5}}};
constexpr std::array<Band, 10> kBrakeBands{{{INT32_MIN, 0, 0},
                                            {1, 999, -1},
                                            {1001, 3999, -2},
                                            {4001, 5999, -3},
                                            {6001, 7999, -4},
                                            {8001, 9499, -5},
                                            {9501, 10999, -6},
                                            {11001, 11999, -7},
                                            {12001, 12999, -8},
                                            {13001, INT32_MAX, -9}}};

const Band* findBand(const auto& bands, int32_t v) {
  for (const Band& b : bands)
    if (v >= b.low && v <= b.high) return &b;
  return nullptr;
}

}  // namespace

void Run::USBScan() {
  const JoystickState js = services.joystick ? services.joystick->poll() : JoystickState{};
  int32_t a = 0, b = 0;
  for (int i = 0; i < 4; ++i)
    if (js.buttons[i]) a += 1 << i;
  for (int i = 8; i < 16; ++i)
    if (js.buttons[i]) a += 1 << (i - 4);
  for (int i = 4; i < 8; ++i)
    if (js.buttons[i]) b += 1 << (i - 4);
  const int32_t signature = js.x + js.y + a + b;

  if (signature == app.lastUsbSignature) return;
  ++app.usbChangeCounter;
  if (app.usbChangeCounter < 1) return;
  app.usbChangeCounter = 0;
  signals.vigilanceCounter = 0;

  const auto post = [&](char c) { postedKeys.push_back(PostedKey{false, c}); };
  const auto clamp = [&](int v) { return ClampToRange(v, vehicle.Power, vehicle.Brake); };

  if (app.controllerKind == 2) {
    const auto& map = app.buttonMap.values;
    const int32_t powerCode = js.x + a + js.y;
    for (int n = 0; n <= 5; ++n) {
      if (map[n] == powerCode) {
        handle.powerNotch = clamp(n);
        handle.powerPending = true;
        break;
      }
    }
    for (int i = 0; i <= 9; ++i) {
      if (map[6 + i] == b) {
        handle.brakeStep = clamp(-i);
        handle.brakePending = handle.sapPending = true;
        break;
      }
    }
    constexpr std::array<std::pair<int, char>, 5> kButtons{
        {{9, '1'}, {1, '3'}, {2, '7'}, {3, '4'}, {8, 'r'}}};
    for (auto [button, c] : kButtons)
      if (js.buttons[button]) post(c);
  } else if (app.controllerKind == 1) {
    if (const Band* band = findBand(kPowerBands, js.y)) {
      handle.powerNotch = clamp(band->value);
      handle.powerPending = true;
    }
    if (const Band* band = findBand(kBrakeBands, js.x)) {
      handle.brakeStep = clamp(band->value);
      handle.brakePending = handle.sapPending = true;
    }
    constexpr std::array<std::pair<int, char>, 4> kButtons{
        {{0, '4'}, {1, '1'}, {2, '3'}, {3, '7'}}};
    for (auto [button, c] : kButtons)
      if (js.buttons[button]) post(c);
    if (js.buttons[4]) postedKeys.push_back(PostedKey{true, 0, VirtualKey::Enter, false});
    if (js.buttons[5]) post('s');
  }

  masconupdate();
  app.lastUsbSignature = signature;
}

}  // namespace velmoria
