#pragma once
// Four-place fixed-point numbers, as the dynamics and the data files use them: a signed 64-bit
// integer holding value x 10 000. Formulas are evaluated in long double (80-bit on x86-64) and
// the result is stored back rounded to the nearest integer of the scaled value, ties to even.
#include <compare>
#include <cstdint>

namespace velmoria {

// Nearest integer, ties to even (the rounding used wherever a value becomes an integer).
int64_t roundEven(long double v);

struct Fixed {
  static constexpr int64_t kScale = 10000;
  int64_t raw = 0;

  static constexpr Fixed fromRaw(int64_t r) { return Fixed{r}; }
  static constexpr Fixed fromInt(int64_t v) { return Fixed{v * kScale}; }
  // Stores v rounded to four places, ties to even.
  static Fixed from(long double v);

  long double ld() const { return static_cast<long double>(raw) / kScale; }
  // The value rounded to a whole number, ties to even ("rounded speed").
  int64_t rounded() const;

  friend constexpr auto operator<=>(Fixed a, Fixed b) = default;
};

}  // namespace velmoria
