#pragma once
// Smooth motion between the frames of the track video: below the speed at which the line was
// filmed the frame position moves less than once a step, so the cab window shows frame n with
// the next frame the train comes to laid over it, weighted by how much of the way between them
// the train has covered. Display only: the frame position and every rule stay the core's.
// Pure functions; UI thread.
#include <cstdint>

namespace velmoria {

// One 33 ms step of the position, in milliseconds (three steps a tenth of a second).
constexpr double kPositionStepMs = 100.0 / 3.0;

struct BlendPosition {
  int64_t speed = 0;          // whole km/h, signed, as the position step counts them
  int32_t accumulator = 0;    // RunObservation::frameAccumulator
  int32_t recordedSpeed = 0;  // RunObservation::recordedSpeed, km/h
  double sinceStepMs = 0;     // since the last 33 ms step ran
};

// The weight of the next frame (n + 1 forwards, n - 1 backwards) in the picture, 0 to 1:
// (accumulator + |speed| x the part of a step gone since it ran) / recordedSpeed. 0, frame n
// exactly, while the train stands and at or above the recorded speed (a new frame every step).
double blendWeight(const BlendPosition& p);

// The weight as the painter applies it (opacity in 256ths): pictures are redrawn only when it
// changes.
int blendLevel(double weight);

}  // namespace velmoria
