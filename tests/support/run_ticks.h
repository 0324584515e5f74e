#pragma once
// Driving a test run through its 100 ms ticks in virtual time: each tick advances the manual
// clock by 100 ms (so null-device sounds end after their real length) and runs Timer1Timer.
#include "support/test_run.h"

namespace velmoria::test {

inline void tick(TestRun& t, int count = 1) {
  for (int i = 0; i < count; ++i) {
    t.clock.advance(100);
    t.run->Timer1Timer();
  }
}

// Puts a wave of the given length on a channel, as the sound bank would.
inline WaveId attachWave(TestRun& t, int channel, double ms) {
  const WaveId wave = t.sound.addWave(ms);
  t.sound.attach(channel, wave);
  return wave;
}

}  // namespace velmoria::test
