#include "frame/fixed.h"

#include <cfenv>
#include <cmath>
#include <cstdint>

namespace velmoria {

int64_t roundEven(long double v) {
  // nearbyintl honours the current rounding mode, which is round-to-nearest-even unless someone
  // changed it; make the mode explicit so a stray fesetround elsewhere cannot change results.
  // rintl rather than nearbyintl: the same result, but it does not save and restore the whole
  // floating-point environment, which made rounding the dominant cost of the dynamics.
  const int saved = std::fegetround();
  if (saved != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  const long double r = std::rintl(v);
  if (saved != FE_TONEAREST) std::fesetround(saved);
  // Outside int64 the conversion is undefined: such values (a file's absurd numbers, a
  // division by a tiny divisor) saturate, and a NaN counts as 0.
  constexpr long double kTwoTo63 = 9223372036854775808.0L;
  if (!(r < kTwoTo63)) return std::isnan(r) ? 0 : INT64_MAX;
  if (r < -kTwoTo63) return INT64_MIN;
  return static_cast<int64_t>(r);
}

Fixed Fixed::from(long double v) {
  return Fixed{roundEven(v * static_cast<long double>(kScale))};
}

int64_t Fixed::rounded() const {
  return roundEven(ld());
}

}  // namespace velmoria
