#include "frame/data_values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>

namespace velmoria {
namespace {

struct IntCase {
  const char* text;
  std::optional<int32_t> value;
};

class ParseInt32 : public ::testing::TestWithParam<IntCase> {};

TEST_P(ParseInt32, converts_only_whole_decimal_lines) {
  EXPECT_EQ(parseInt32(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseInt32,
    ::testing::Values(IntCase{"0", 0}, IntCase{"440", 440}, IntCase{"-12", -12}, IntCase{"+7", 7},
                      IntCase{"007", 7}, IntCase{"  12", 12}, IntCase{"\t12", 12},
                      IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", INT32_MIN},
                      IntCase{"2147483648", std::nullopt}, IntCase{"-2147483649", std::nullopt},
                      IntCase{"99999999999999999999", std::nullopt}, IntCase{"12 ", std::nullopt},
                      IntCase{"", std::nullopt}, IntCase{" ", std::nullopt},
                      IntCase{"-", std::nullopt}, IntCase{"1.0", std::nullopt},
                      IntCase{"1e3", std::nullopt}, IntCase{"0x10", std::nullopt},
                      IntCase{"１２", std::nullopt}, IntCase{"12a", std::nullopt},
                      IntCase{"--1", std::nullopt}, IntCase{"Error", std::nullopt}));

struct FixedCase {
  const char* text;
  std::optional<int64_t> raw;
};

class ParseFixed : public ::testing::TestWithParam<FixedCase> {};

TEST_P(ParseFixed, keeps_four_places_rounding_ties_to_even) {
  const auto v = parseFixed(GetParam().text);
  ASSERT_EQ(v.has_value(), GetParam().raw.has_value()) << '"' << GetParam().text << '"';
  if (v) {
    EXPECT_EQ(v->raw, *GetParam().raw) << '"' << GetParam().text << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseFixed,
    ::testing::Values(FixedCase{"320.0", 3200000}, FixedCase{"4.2", 42000}, FixedCase{"-5", -50000},
                      FixedCase{"3.5", 35000}, FixedCase{".5", 5000}, FixedCase{"5.", 50000},
                      FixedCase{"  2.5", 25000}, FixedCase{"+1", 10000},
                      // 0.1 has no exact binary form; read in decimal it is exactly 1000.
                      FixedCase{"0.1", 1000}, FixedCase{"1.0001", 10001},
                      // A fifth place and beyond round to the nearest, ties to even.
                      FixedCase{"0.00005", 0}, FixedCase{"0.00015", 2}, FixedCase{"0.00025", 2},
                      FixedCase{"0.000251", 3}, FixedCase{"0.00004999", 0},
                      FixedCase{"1.99995", 20000}, FixedCase{"-0.00015", -2},
                      FixedCase{"0.000005", 0}, FixedCase{"9.99999", 100000},
                      FixedCase{"1e2", 1000000}, FixedCase{"25E-1", 25000}, FixedCase{"1e-5", 0},
                      FixedCase{"1e-999999999", 0}, FixedCase{"0e999999999", 0},
                      FixedCase{"922337203685477.5807", INT64_MAX},
                      FixedCase{"-922337203685477.5808", INT64_MIN},
                      FixedCase{"922337203685477.5808", std::nullopt},
                      FixedCase{"1e16", std::nullopt}, FixedCase{"1e999999999", std::nullopt},
                      FixedCase{"", std::nullopt}, FixedCase{".", std::nullopt},
                      FixedCase{"1.2.3", std::nullopt}, FixedCase{"1,5", std::nullopt},
                      FixedCase{"1e", std::nullopt}, FixedCase{"3 ", std::nullopt},
                      FixedCase{"nan", std::nullopt}, FixedCase{"inf", std::nullopt}));

struct RealCase {
  const char* text;
  std::optional<long double> value;
};

class ParseReal : public ::testing::TestWithParam<RealCase> {};

TEST_P(ParseReal, reads_decimal_reals_in_both_widths) {
  const auto r64 = parseReal64(GetParam().text);
  const auto r80 = parseReal80(GetParam().text);
  ASSERT_EQ(r64.has_value(), GetParam().value.has_value()) << GetParam().text;
  ASSERT_EQ(r80.has_value(), GetParam().value.has_value()) << GetParam().text;
  if (r64) {
    EXPECT_EQ(*r64, static_cast<double>(*GetParam().value)) << GetParam().text;
    EXPECT_EQ(*r80, *GetParam().value) << GetParam().text;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseReal,
    ::testing::Values(RealCase{"2.5", 2.5L}, RealCase{"-0.25", -0.25L}, RealCase{" 1.5", 1.5L},
                      RealCase{"0.97", 0.97L}, RealCase{"1e2", 100.0L}, RealCase{"2.5E-1", 0.25L},
                      RealCase{".5", 0.5L}, RealCase{"5.", 5.0L}, RealCase{"+3", 3.0L},
                      RealCase{"1e-99999", 0.0L}, RealCase{"1e99999", std::nullopt},
                      RealCase{"", std::nullopt}, RealCase{"1.5 ", std::nullopt},
                      RealCase{"inf", std::nullopt}, RealCase{"nan", std::nullopt},
                      RealCase{"0x1p3", std::nullopt}, RealCase{"1,5", std::nullopt},
                      RealCase{"e5", std::nullopt}));

TEST(ParseReal80Test, keeps_the_extended_precision) {
  // 0.1 differs between the 64-bit and the 80-bit reading.
  EXPECT_EQ(*parseReal80("0.1"), 0.1L);
  EXPECT_NE(static_cast<long double>(*parseReal64("0.1")), 0.1L);
}

TEST(ParseRealTest, the_decimal_point_ignores_the_process_locale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  const auto v = parseReal64("2.5");
  const auto w = parseReal64("2,5");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(v, 2.5);
  EXPECT_FALSE(w);
}

}  // namespace
}  // namespace velmoria
