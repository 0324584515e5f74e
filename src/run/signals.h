#pragma once
// Signals and the train protection: aspects, the signal display, the three kinds of automatic
// train stop and the vigilance device. The step functions are called by Timer1Timer on the UI
// thread, in the order the run loop lists them; acknowledge and reset come from the keys.
// Speeds are km/h, distances cm, counters count 100 ms ticks.
#include <cstdint>

namespace velmoria {

class Run;

// The colour group a display index belongs to. Index 1 belongs to none.
enum class AspectGroup { None, R, YY, Y, YG, G };
AspectGroup aspectGroup(int displayIndex);

// The picture a signal of this kind shows at this aspect level (0..4, clamped); kinds above 5
// behave as 5, below 0 as 0.
int displayIndexFor(int kind, int level);

void blockAspects(Run& run);     // step 20
void fixedAspects(Run& run);     // step 21
void signalDisplay(Run& run);    // step 23
void cabSignalBrake(Run& run);   // step 24, [ATS_Type] 2
void alarmTrainStop(Run& run);   // step 25, [ATS_Type] 0
void patternControl(Run& run);   // step 26, [ATS_Type] 1
void vigilanceDevice(Run& run);  // step 30

// Braking distance in metres from v down to vt (km/h) at a deceleration of decel km/h/s.
// Without any deceleration the train never stops: +inf above the target, -inf below it.
long double brakingDistance(long double v, long double vt, long double decel);

}  // namespace velmoria
