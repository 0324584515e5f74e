#include "frame/common_util.h"

#include <cmath>

#include "frame/fixed.h"

namespace velmoria {

std::string GetCsvField(std::string_view line, int n) {
  std::string_view rest = line;
  std::string_view field;
  while (n > 0) {
    const auto comma = rest.find(',');
    if (comma != std::string_view::npos) {
      field = rest.substr(0, comma);
      rest = rest.substr(comma + 1);
      --n;
      continue;
    }
    if (n == 1) return std::string(rest);
    return "Error";
  }
  return std::string(field);
}

int32_t ClampToRange(int32_t value, int32_t upper, int32_t lower) {
  if (value > 0) return value > upper ? upper : value;
  if (value < 0) return value < -lower ? -lower : value;
  return 0;
}

int64_t HandTipX(int radius, int centreX, long double angle) {
  return centreX + roundEven(static_cast<long double>(radius) * std::sin(angle));
}

int64_t HandTipY(int radius, int centreY, long double angle) {
  return centreY + roundEven(-static_cast<long double>(radius) * std::cos(angle));
}

}  // namespace velmoria
