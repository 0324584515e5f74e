// One hour of driving (36 000 run-loop ticks with the 33 ms steps between them, as the virtual
// schedule interleaves them) over a route whose every table is full (501 entries).
// Target: well under 300 ms per hour. Run: build/bench/bench/bench_run_loop
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

constexpr int kEntries = 501;
constexpr int32_t kFrames = 2'000'000;

// The tests' electric train under pattern control (which scans the longest target list), with
// more drive sounds and eight motor sounds.
Vehicle benchVehicle() {
  Vehicle v = test::electricVehicle();
  v.fileName = "train_bench.dat";
  v.ATS_Type = 1;
  test::clearSoundNumbers(v);
  v.DriveSoundList.assign(40, "x.wav");
  MotorSoundEntry m;
  m.kind = 0;
  m.s1 = 120;
  m.f0 = 0.5L;
  m.f1 = 2;
  m.l0 = 1;
  m.l1 = 5;
  v.MotorSoundTable.assign(8, m);
  return v;
}

Route fullRoute() {
  Route r;
  r.fileName = "line_bench.dat";
  r.LineName = "Bench line";
  r.FrameRate = 30;
  r.StartPos = 10;
  r.Pre_Time = 60;
  r.Speed_YY = 25;
  r.Speed_Y = 45;
  r.Speed_YG = 65;
  r.Speed_G = 110;
  r.SoundDataList.assign(40, "r.wav");
  const int32_t step = kFrames / kEntries;
  for (int i = 0; i < kEntries; ++i) {
    const int32_t f = 1000 + i * step;
    r.SpeedUnitTable.push_back({i * step, (i + 1) * step, 60 + i % 20, 60 + (i + 1) % 20, 0});
    StationEntry s;
    s.name = "駅" + std::to_string(i);
    s.type = i % 3 == 1 ? 1 : 0;
    s.zoneStart = f;
    s.stopFrame = f + 200;
    s.arrivalSound = 1;
    s.departureSound = 2;
    s.departureTime = 36000 + i * 900;
    s.closeTime = s.departureTime + 300;
    r.StationTable.push_back(s);
    SignalEntry g;
    g.kind = 1 + i % 5;
    g.viewFrame = f + 400;
    g.signalFrame = f + 1000;
    g.warningFrame = f + 800;
    g.checkFrame = f + 990;
    g.mode = i % 7 == 0 ? 1 : 0;
    g.fixedUntil = 40000;
    r.SignalTable.push_back(g);
    r.SlopeTable.push_back({Fixed::fromInt(i % 11 - 5), f, f + step / 2});
    r.SignTable.push_back({i % 4, f + 100, f + 300});
    r.SpeedLimitTable.push_back({60 + i % 40, i % 4, 0, f + 1500, f + 2500, 0});
    r.SpeedCheckTable.push_back({70, f + 1700});
    r.SoundCueTable.push_back({i % 40, f + 50, f + 900, 60, i % 2, 1, 1});
    r.DopplerTable.push_back({i % 40, f + 600, 5000, 0, 0});
    r.TunnelTable.push_back({f + 2000, f + 2600});
    r.AnnounceTable.push_back({i % 40, f - 300});
    r.SignalKankoTable.push_back({i, i % 2, i % 18});
  }
  for (int i = 0; i < 100; ++i)
    r.TimeEventTable.push_back({i % 2, 1000 + i * step, 1400 + i * step, 36000 + i * 900});
  return r;
}

void BM_OneHourOfDriving(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    ManualClock clock;
    NullSoundDevice sound(clock);
    NullVideoSource video(kFrames);
    video.setOpen(true);
    AppState app;
    RunData data;
    data.vehicle = benchVehicle();
    data.route = fullRoute();
    data.sounds.driveCount = 40;
    for (int ch = 0; ch < 80; ++ch) sound.attach(ch, sound.addWave(ch < 40 ? 2000 : 4000));
    for (int k = 0; k < 8; ++k) sound.attach(240 + k, sound.addWave(1000));
    for (int i = 0; i < 18; ++i) data.sounds.kanko.push_back(sound.addWave(800));
    RunServices services;
    services.sound = &sound;
    services.video = &video;
    services.clock = &clock;
    auto run = std::make_unique<Run>(app, std::move(data), services);
    run->start1Click();
    HandleState& handle = poke(*run).handle;
    handle.doorOpen = false;
    handle.brakeStep = 0;
    handle.powerNotch = 4;
    handle.powerPending = handle.brakePending = handle.sapPending = true;
    state.ResumeTiming();

    // 33 ms steps at 33, 66, 99 ... ms, ticks at 100, 200 ... ms; the step first on a tie.
    int64_t nextStep = 33;
    for (int64_t tickAt = 100; tickAt <= 3'600'000; tickAt += 100) {
      while (nextStep <= tickAt) {
        clock.set(nextStep);
        run->MMTimer1Timer();
        nextStep += 33;
      }
      clock.set(tickAt);
      run->Timer1Timer();
      if (tickAt % 60'000 == 0) run->keydowns(VirtualKey::Enter, false);  // a call-out
    }
    benchmark::DoNotOptimize(run->observe().frame);
    state.counters["frame"] = run->observe().frame;
    state.counters["km/h"] = static_cast<double>(run->observe().speed.ld());
  }
}
BENCHMARK(BM_OneHourOfDriving)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace velmoria

BENCHMARK_MAIN();
