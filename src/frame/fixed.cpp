#include "frame/fixed.h"

#include <cfenv>
#include <cmath>

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
  return static_cast<int64_t>(r);
}

Fixed Fixed::from(long double v) { return Fixed{roundEven(v * static_cast<long double>(kScale))}; }

int64_t Fixed::rounded() const { return roundEven(ld()); }

}  // namespace velmoria
