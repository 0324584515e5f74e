// velmoria-drive's speed: one simulated hour of the fixture line with the autopilot at the
// controls and the per-tick trace written to a file. The target is under one second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "drive_session.h"

namespace {

using namespace velmoria::drive;

DriveOptions hourOnTheFixtureLine() {
  DriveOptions o;
  o.dataDir = VELMORIA_TEST_DATA;
  o.vehicleFile = "train_test.dat";
  o.routeFile = "line_test.dat";
  o.frames = 16340;
  o.autopilot = true;
  o.untilMs = 3600 * 1000;
  return o;
}

// The drive to the terminus takes about 12 minutes; the rest of the hour the train stands at
// the terminus with the run loop and the trace still going, as a real session would.
void BM_DriveOneHourWithTrace(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "velmoria_bench_drive.csv";
  for (auto _ : state) {
    std::ofstream trace(path, std::ios::binary | std::ios::trunc);
    DriveSession session(hourOnTheFixtureLine(), Script{}, nullptr, &trace);
    const DriveEnd end = session.drive();
    trace.flush();
    benchmark::DoNotOptimize(end.timeMs);
    state.counters["terminus"] = end.terminus ? 1 : 0;
  }
  state.counters["ticks_per_s"] = benchmark::Counter(
      36000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  std::filesystem::remove(path);
}
BENCHMARK(BM_DriveOneHourWithTrace)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The same hour without the trace: how much of it the trace costs.
void BM_DriveOneHourNoTrace(benchmark::State& state) {
  for (auto _ : state) {
    DriveSession session(hourOnTheFixtureLine(), Script{}, nullptr, nullptr);
    benchmark::DoNotOptimize(session.drive().timeMs);
  }
}
BENCHMARK(BM_DriveOneHourNoTrace)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
