#pragma once
// Small helpers shared by the readers, the input rules and the cab clock.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmoria {

// The n-th (1-based) comma-separated field of line, untrimmed. "Error" when the line has fewer
// than n fields; the empty text for n < 1. There is no quoting: a field cannot hold a comma.
std::string GetCsvField(std::string_view line, int n);

// A positive value limited to at most upper, a negative one to at least -lower; 0 stays 0.
int32_t ClampToRange(int32_t value, int32_t upper, int32_t lower);

// Tip of an analogue clock hand: angle 0 points up, angles grow clockwise in screen coordinates.
int64_t HandTipX(int radius, int centreX, long double angle);
int64_t HandTipY(int radius, int centreY, long double angle);

}  // namespace velmoria
