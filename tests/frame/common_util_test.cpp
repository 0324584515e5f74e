#include "frame/common_util.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

#include "frame/fixed.h"

namespace velmoria {
namespace {

struct CsvCase {
  const char* line;
  int field;
  const char* expected;
};

class GetCsvFieldTest : public testing::TestWithParam<CsvCase> {};

TEST_P(GetCsvFieldTest, takes_the_field_as_written) {
  const auto& c = GetParam();
  EXPECT_EQ(GetCsvField(c.line, c.field), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, GetCsvFieldTest,
    testing::Values(CsvCase{"a,,c", 2, ""}, CsvCase{"a,b", 3, "Error"}, CsvCase{"a,b,", 3, ""},
                    CsvCase{"whole line", 1, "whole line"}, CsvCase{"a,b", 0, ""},
                    CsvCase{"a,b", -3, ""}, CsvCase{" a , b ", 2, " b "},
                    CsvCase{"a,b,c", 3, "c"}, CsvCase{"", 1, ""}, CsvCase{"", 2, "Error"}));

TEST(ClampToRange, limits_each_sign_by_its_own_bound) {
  EXPECT_EQ(ClampToRange(0, 5, 7), 0);
  EXPECT_EQ(ClampToRange(0, -5, -7), 0);
  EXPECT_EQ(ClampToRange(9, 5, 7), 5);
  EXPECT_EQ(ClampToRange(-9, 5, 7), -7);
  EXPECT_EQ(ClampToRange(3, 5, 7), 3);
  EXPECT_EQ(ClampToRange(-6, 5, 7), -6);
}

TEST(HandTip, points_up_at_zero_and_right_at_a_quarter_turn) {
  EXPECT_EQ(HandTipX(10, 100, std::numbers::pi_v<long double> / 2), 110);
  EXPECT_EQ(HandTipY(10, 100, 0), 90);
  EXPECT_EQ(HandTipY(10, 100, std::numbers::pi_v<long double>), 110);
  EXPECT_EQ(HandTipX(10, 100, 3 * std::numbers::pi_v<long double> / 2), 90);
}

TEST(Fixed, rounds_to_nearest_with_ties_to_even) {
  EXPECT_EQ(roundEven(0.5L), 0);
  EXPECT_EQ(roundEven(1.5L), 2);
  EXPECT_EQ(roundEven(2.5L), 2);
  EXPECT_EQ(roundEven(-2.5L), -2);
  EXPECT_EQ(roundEven(-2.6L), -3);
  EXPECT_EQ(Fixed::from(-1.23456L).raw, -12346);
  EXPECT_EQ(Fixed::fromRaw(25000).rounded(), 2);
  EXPECT_EQ(Fixed::fromRaw(35000).rounded(), 4);
}

TEST(Fixed, values_beyond_int64_saturate_and_nan_counts_as_zero) {
  EXPECT_EQ(roundEven(1e30L), INT64_MAX);
  EXPECT_EQ(roundEven(-1e30L), INT64_MIN);
  EXPECT_EQ(roundEven(9223372036854775808.0L), INT64_MAX);  // 2^63
  EXPECT_EQ(roundEven(-9223372036854775808.0L), INT64_MIN);
  EXPECT_EQ(roundEven(9223372036854775807.0L), INT64_MAX);  // exact in long double
  EXPECT_EQ(roundEven(9223372036854775000.0L), 9223372036854775000);
  EXPECT_EQ(roundEven(std::numeric_limits<long double>::infinity()), INT64_MAX);
  EXPECT_EQ(roundEven(-std::numeric_limits<long double>::infinity()), INT64_MIN);
  EXPECT_EQ(roundEven(std::numeric_limits<long double>::quiet_NaN()), 0);
  EXPECT_EQ(Fixed::from(1e20L).raw, INT64_MAX);
}

}  // namespace
}  // namespace velmoria
