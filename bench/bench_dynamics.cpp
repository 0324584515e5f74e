// One simulated hour of a 10-car electric train: 108 000 steps of 33 ms and 36 000 dynamics
// blocks of 100 ms, driving in a cycle of three minutes of power and one of braking.
// Target: under 50 ms for the hour. Build with the bench preset.
#include <benchmark/benchmark.h>

#include <memory>

#include "media/clock.h"
#include "media/null/null_sound_device.h"
#include "media/null/null_video_source.h"
#include "run/run.h"
#include "support/state_access.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

// The tests' electric train, heavier and with slower brake and power delays.
Vehicle tenCarTrain() {
  Vehicle v = test::electricVehicle();
  v.fileName = "train_bench.dat";
  v.BrakeRate = Fixed::from(4.2L);
  v.PowerDelay = v.BrakeDelay = v.SAPDelay = 3;
  v.BrakeUp = 350;
  v.Mt = Fixed::fromInt(160);
  v.Tons = Fixed::fromInt(320);
  v.Lose_elec = 8;
  v.Mc = 1;
  v.NotchTable.clear();
  for (int n = 1; n <= 4; ++n) v.NotchTable.push_back({0.8 * n, 0.8 * n, 30, 55, 0.985});
  v.DriveSoundList.assign(20, "");
  test::clearSoundNumbers(v);
  return v;
}

Route longLine() {
  Route r;
  r.FrameRate = 30;
  for (int i = 0; i < 100; ++i)
    r.SpeedUnitTable.push_back({i * 10000, (i + 1) * 10000, 60 + i % 5 * 10, 70 + i % 5 * 10, 0});
  return r;
}

void BM_OneHourElectric(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    ManualClock clock;
    NullSoundDevice sound(clock);
    NullVideoSource video(1000000);
    video.setOpen(true);
    AppState app;
    RunData data;
    data.vehicle = tenCarTrain();
    data.route = longLine();
    RunServices services;
    services.sound = &sound;
    services.video = &video;
    services.clock = &clock;
    auto run = std::make_unique<Run>(app, std::move(data), std::move(services));
    HandleState& handle = poke(*run).handle;
    handle.doorOpen = false;
    handle.reverser = 1;
    state.ResumeTiming();

    for (int tick = 0; tick < 36000; ++tick) {
      const bool powering = tick % 2400 < 1800;  // 3 min power, 1 min brake
      if (tick % 600 == 0) {
        handle.powerNotch = powering ? 4 : 0;
        handle.brakeStep = powering ? 0 : -5;
        handle.powerPending = handle.brakePending = handle.sapPending = true;
      }
      for (int s = 0; s < 3; ++s) run->MMTimer1Timer();
      run->tickStep(TickStep::DynamicsBlock);
      run->tickStep(TickStep::EffectiveGradient);
      run->tickStep(TickStep::Compressor);
    }
    benchmark::DoNotOptimize(run->observe().speed.raw);
    benchmark::DoNotOptimize(run->observe().distanceCm);
  }
}
BENCHMARK(BM_OneHourElectric)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmoria

BENCHMARK_MAIN();
