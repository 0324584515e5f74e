#pragma once
// Speed limits, speed checks, the gradient board, tunnels and wayside signs. Step functions are
// called by Timer1Timer on the UI thread. Speeds km/h, distances cm, gradients per mille.
#include <string>

#include "frame/fixed.h"

namespace velmoria {

class Run;

// A gradient as the board shows it: one decimal place, rounded half away from zero ("10.0").
std::string gradientText(Fixed perMille);

void speedLimitBlink(Run& run);  // step 9
void slopeDisplay(Run& run);     // step 19
void tunnels(Run& run);          // step 22
void speedLimits(Run& run);      // step 27
void speedChecks(Run& run);      // step 28
void waysideSigns(Run& run);     // step 32

}  // namespace velmoria
