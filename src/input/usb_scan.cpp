#include "input/usb_scan.h"

#include <array>

namespace velmoria {

namespace {

struct Band {
  int32_t low, high;  // inclusive
  int value;
};

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

std::optional<int> findBand(const auto& bands, int32_t v) {
  for (const Band& b : bands)
    if (v >= b.low && v <= b.high) return b.value;
  return std::nullopt;
}

}  // namespace

UsbReading readUsb(const JoystickState& js) {
  UsbReading r;
  for (int i = 0; i < 4; ++i)
    if (js.buttons[i]) r.a += 1 << i;
  for (int i = 8; i < 16; ++i)
    if (js.buttons[i]) r.a += 1 << (i - 4);
  for (int i = 4; i < 8; ++i)
    if (js.buttons[i]) r.b += 1 << (i - 4);
  r.signature = js.x + js.y + r.a + r.b;
  return r;
}

std::optional<int> windowsPowerNotch(int32_t y) {
  return findBand(kPowerBands, y);
}

std::optional<int> windowsBrakeStep(int32_t x) {
  return findBand(kBrakeBands, x);
}

}  // namespace velmoria
