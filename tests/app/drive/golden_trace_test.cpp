// Golden traces: drives of the fixture line whose per-tick traces must stay the same to the
// byte while the code is reorganised. Each drive's trace is summed up by its row count and a
// 64-bit FNV-1a hash, kept in tests/data/golden/traces.txt. A change of behaviour that is
// meant shows up here too: rerun with VELMORIA_UPDATE_GOLDEN=1 to write the new sums, and say
// in the commit why the traces changed. On a mismatch the trace is left in the temp folder
// for diffing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "drive_session.h"
#include "fixture_copy.h"

namespace velmoria::drive {
namespace {

const std::filesystem::path kGolden = std::filesystem::path(VELMORIA_TEST_DATA) / "golden";

struct GoldenCase {
  const char* name;
  const char* vehicle;
  const char* script;          // a file under tests/data/golden, or null for the autopilot
  const char* edit = nullptr;  // the vehicle or route file edited, with from and to
  const char* from = nullptr;
  const char* to = nullptr;
  const char* route = "line_test.dat";
};

struct Sum {
  size_t rows = 0;
  uint64_t hash = 0;
};

Sum sumOf(const std::string& trace) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : trace) h = (h ^ c) * 1099511628211ull;
  return {static_cast<size_t>(std::count(trace.begin(), trace.end(), '\n')), h};
}

std::map<std::string, Sum> readSums() {
  std::map<std::string, Sum> sums;
  std::ifstream in(kGolden / "traces.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string name, hex;
    Sum s;
    words >> name >> s.rows >> hex;
    s.hash = std::stoull(hex, nullptr, 16);
    sums[name] = s;
  }
  return sums;
}

void writeSum(const std::string& name, const Sum& sum) {
  auto sums = readSums();
  sums[name] = sum;
  std::ofstream out(kGolden / "traces.txt", std::ios::trunc);
  out << "# name rows fnv1a64: written by golden_trace_test with VELMORIA_UPDATE_GOLDEN=1\n";
  for (const auto& [n, s] : sums) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(s.hash));
    out << n << ' ' << s.rows << ' ' << hex << '\n';
  }
}

class GoldenTrace : public testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTrace, is_the_recorded_one_to_the_byte) {
  const GoldenCase& c = GetParam();
  const FixtureCopy copy(c.route);
  if (c.edit) copy.edit(c.edit, c.from, c.to);
  DriveOptions o;
  o.dataDir = copy.dir().string();
  o.vehicleFile = c.vehicle;
  o.routeFile = c.route;
  o.frames = c.route == std::string("line_test.dat") ? 16340 : 60000;
  Script script;
  if (c.script) {
    std::ifstream in(kGolden / c.script);
    auto parsed = parseScript(in);
    ASSERT_TRUE(parsed.script) << parsed.error->line << ": " << parsed.error->message;
    script = *parsed.script;
  } else {
    o.autopilot = true;
    o.untilTerminus = true;
  }
  std::ostringstream trace;
  DriveSession session(o, std::move(script), nullptr, &trace);
  ASSERT_FALSE(session.checkScript());
  session.drive();
  const Sum sum = sumOf(trace.str());

  if (std::getenv("VELMORIA_UPDATE_GOLDEN")) {
    writeSum(c.name, sum);
    return;
  }
  const auto sums = readSums();
  const auto it = sums.find(c.name);
  ASSERT_NE(it, sums.end()) << "no golden sum for " << c.name;
  if (it->second.rows != sum.rows || it->second.hash != sum.hash) {
    const auto kept = std::filesystem::temp_directory_path() /
                      (std::string("velmoria_golden_") + c.name + ".csv");
    std::ofstream(kept, std::ios::binary) << trace.str();
    ADD_FAILURE() << c.name << ": " << sum.rows << " rows, hash " << std::hex << sum.hash
                  << "; recorded " << std::dec << it->second.rows << " rows, hash " << std::hex
                  << it->second.hash << ". The trace is in " << kept;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fixture, GoldenTrace,
    testing::Values(GoldenCase{"autopilot_emu", "train_test.dat", nullptr},
                    GoldenCase{"autopilot_diesel", "train_diesel.dat", nullptr},
                    GoldenCase{"autopilot_pattern", "train_test.dat", nullptr, "train_test.dat",
                               "[ATS_Type]\r\n0", "[ATS_Type]\r\n1"},
                    GoldenCase{"autopilot_cab_signal", "train_test.dat", nullptr, "train_test.dat",
                               "[ATS_Type]\r\n0", "[ATS_Type]\r\n2"},
                    GoldenCase{"autopilot_brake_type_2", "train_test.dat", nullptr,
                               "train_test.dat", "[BrakeType]\r\n1", "[BrakeType]\r\n2"},
                    GoldenCase{"autopilot_one_man", "train_test.dat", nullptr, "line_test.dat",
                               "[OneMan]\r\n0", "[OneMan]\r\n1"},
                    GoldenCase{"autopilot_one_man_diesel", "train_diesel.dat", nullptr,
                               "line_test.dat", "[OneMan]\r\n0", "[OneMan]\r\n1"},
                    GoldenCase{"every_input", "train_test.dat", "every_input.txt"},
                    GoldenCase{"every_input_two_handles", "train_test.dat", "every_input.txt",
                               "train_test.dat", "[Handle]\r\n0", "[Handle]\r\n1"},
                    GoldenCase{"every_input_one_man_diesel", "train_diesel.dat", "every_input.txt",
                               "line_test.dat", "[OneMan]\r\n0", "[OneMan]\r\n1"},
                    GoldenCase{"branch_switch", "train_test.dat", "branch_switch.txt", nullptr,
                               nullptr, nullptr, "line_rapid5.dat"}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velmoria::drive
