#pragma once
// When the run's sounds start, stop and loop, and how their volume and pitch follow the train:
// brake squeal and release, route cues, announcements, Doppler sources, the running sound,
// the motor sounds and the diesel engine. Step functions are called by Timer1Timer on the UI
// thread; speeds km/h, distances cm, volumes hundredths of a decibel.

namespace velmoria {

class Run;

void brakeSqueal(Run& run);         // step 4
void brakeRelease(Run& run);        // step 11
void routeSoundCues(Run& run);      // step 14
void announcements(Run& run);       // step 16
void dopplerSources(Run& run);      // step 17
void runningSound(Run& run);        // step 33
void motorSounds(Run& run);         // step 34
void engineSoundAndGear(Run& run);  // step 35, after the engine level

// The factor a Doppler source's pitch takes for a train at distance x (cm) and speed v (km/h)
// passing a source at s, 3 m beside the track; 0 when the train is exactly at the source.
double dopplerFactor(long double x, long double s, long double v);

}  // namespace velmoria
