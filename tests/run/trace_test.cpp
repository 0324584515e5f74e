#include "run/trace.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velmoria {
namespace {

struct FixedCase {
  int64_t raw;
  const char* text;
};
class TraceFixed : public testing::TestWithParam<FixedCase> {};
TEST_P(TraceFixed, prints_the_stored_integer_over_ten_thousand) {
  EXPECT_EQ(formatFixed(Fixed::fromRaw(GetParam().raw)), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, TraceFixed,
    testing::Values(FixedCase{0, "0.0000"}, FixedCase{1, "0.0001"}, FixedCase{-1, "-0.0001"},
                    FixedCase{10000, "1.0000"}, FixedCase{123456, "12.3456"},
                    FixedCase{-123456, "-12.3456"}, FixedCase{4400000, "440.0000"},
                    FixedCase{-9999, "-0.9999"}, FixedCase{15000000, "1500.0000"},
                    // Values a double could not carry exactly still print exactly.
                    FixedCase{9007199254740993, "900719925474.0993"},
                    FixedCase{INT64_MIN, "-922337203685477.5808"},
                    FixedCase{INT64_MAX, "922337203685477.5807"}));

TEST(TraceExtended, three_decimals_rounded_to_nearest) {
  EXPECT_EQ(formatExtended(0), "0.000");
  EXPECT_EQ(formatExtended(1234.5L), "1234.500");
  EXPECT_EQ(formatExtended(0.0004L), "0.000");
  EXPECT_EQ(formatExtended(0.0006L), "0.001");
  EXPECT_EQ(formatExtended(-2.25L), "-2.250");
  EXPECT_EQ(formatExtended(-0.0001L), "0.000");  // never a negative zero
  EXPECT_EQ(formatExtended(92592.592592L), "92592.593");
}

TEST(TraceCsv, quotes_only_what_needs_quoting) {
  EXPECT_EQ(csvField("P5"), "P5");
  EXPECT_EQ(csvField(""), "");
  EXPECT_EQ(csvField("終点に到着しました。"), "終点に到着しました。");
  EXPECT_EQ(csvField("a,b"), "\"a,b\"");
  EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
  EXPECT_EQ(csvField("cr\r"), "\"cr\r\"");
}

TEST(TraceHeader, starts_with_the_fixed_columns_in_order) {
  const std::string fixed =
      "t_ms,tick,clock,frame,speed,distance_cm,remaining_cm,next_stop_cm,power,brake,hold,"
      "reverser,eff_power,eff_brake,sap_step,bc,sap,er,mr,bc_display,net_force,resistance,"
      "motor_force,wheel_state,gradient,gradient_eff,voltage,current,signal_shown,check_speed,"
      "alarm,ats_emergency,protection_brake,pattern_state,door_open,station_index,caption,"
      "PowerLabel,BrakeLabel,Label4,playing";
  ASSERT_GE(traceHeader().size(), fixed.size());
  EXPECT_EQ(traceHeader().substr(0, fixed.size()), fixed);
  EXPECT_TRUE(traceHeader().size() == fixed.size() || traceHeader()[fixed.size()] == ',');
  std::ostringstream out;
  TraceWriter(out).writeHeader();
  EXPECT_EQ(out.str(), traceHeader() + "\n");
}

}  // namespace
}  // namespace velmoria
