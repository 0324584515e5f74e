#include "iso_time.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmoria::import {
namespace {

struct TimeCase {
  const char* text;
  double expected;  // s since 1970 UTC; NAN: refused
};

class IsoTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(IsoTime, converts_to_utc_seconds) {
  const auto t = parseIsoTime(GetParam().text);
  if (std::isnan(GetParam().expected)) {
    EXPECT_FALSE(t) << GetParam().text;
  } else {
    ASSERT_TRUE(t) << GetParam().text;
    EXPECT_NEAR(*t, GetParam().expected, 1e-6) << GetParam().text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsoTime,
    ::testing::Values(
        TimeCase{"1970-01-01T00:00:00Z", 0}, TimeCase{"2024-05-18T00:30:00Z", 1715992200},
        TimeCase{"2024-05-18T09:30:00+09:00", 1715992200},
        TimeCase{"2024-05-18T09:30:00+0900", 1715992200},
        TimeCase{"2024-05-17T19:30:00-05", 1715992200},
        TimeCase{"2024-05-18 00:30:00.25", 1715992200.25},
        TimeCase{"2024-05-18T00:30:00.000000Z", 1715992200},
        TimeCase{"20240518T003000Z", 1715992200}, TimeCase{"2024-05-18T00:30Z", 1715992200},
        TimeCase{"2024-02-29T00:00:00Z", 1709164800}, TimeCase{"1969-12-31T23:59:59Z", -1},
        TimeCase{"  2024-05-18T00:30:00Z ", 1715992200}, TimeCase{"2023-02-29T00:00:00Z", NAN},
        TimeCase{"2024-13-01T00:00:00Z", NAN}, TimeCase{"2024-05-18T25:00:00Z", NAN},
        TimeCase{"2024-05-18", NAN}, TimeCase{"2024-05-18T00:30:00Zjunk", NAN}, TimeCase{"", NAN},
        TimeCase{"1715992200", NAN}));

TEST(DaysFromCivil, counts_leap_years_and_the_days_before_1970) {
  EXPECT_EQ(daysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(daysFromCivil(2000, 3, 1), 11017);
  EXPECT_EQ(daysFromCivil(1969, 12, 31), -1);
  EXPECT_EQ(daysFromCivil(2100, 3, 1) - daysFromCivil(2100, 2, 28), 1);  // no 29 February
}

}  // namespace
}  // namespace velmoria::import
