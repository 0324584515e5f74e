#pragma once
// Tractive effort: the electric notch curves and the diesel gear curves, and the 33 ms traction
// block that turns the effective notch into force. Called from the 33 ms step (UI thread).
// Accelerations in km/h/s, speeds in km/h (magnitudes).
#include <vector>

#include "vehicle/vehicle.h"

namespace velmoria {

class Run;

// Acceleration of one electric notch at speed v: linear up to s1, constant power up to s2,
// then decaying by k per km/h. `powers`, when given, holds k^0, k^1, ... built by repeated
// multiplication (powersOf), so a lookup gives the very value the multiplication would.
long double electricAcceleration(const NotchEntry& notch, long double v,
                                 const std::vector<long double>* powers = nullptr);

// k^0 .. k^count, each the previous times k.
std::vector<long double> powersOf(long double k, int count);

// Acceleration of one diesel gear at speed v, interpolated through sa, sb and sc; 0 from sc.
long double dieselAcceleration(const GearEntry& gear, long double v);

// k to an integer power by repeated multiplication (negative powers divide).
long double integerPower(long double k, long long n);

// Step 2 of the 33 ms step: traction, gear changes, the power delay and the reverser.
void tractionBlock(Run& run);

}  // namespace velmoria
