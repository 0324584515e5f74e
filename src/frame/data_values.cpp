#include "frame/data_values.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace velmoria {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view skipBlanks(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  return s.substr(i);
}

// The parts of a decimal number in the real syntax. `digits` holds the mantissa's digits
// without the point; the value is digits x 10^exponent.
struct Decimal {
  bool negative = false;
  std::string digits;
  int64_t exponent = 0;
};

std::optional<Decimal> splitDecimal(std::string_view s) {
  s = skipBlanks(s);
  Decimal d;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) d.negative = s[i++] == '-';
  size_t mantissaDigits = 0;
  while (i < s.size() && isDigit(s[i])) d.digits += s[i++], ++mantissaDigits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) d.digits += s[i++], --d.exponent, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
    if (i >= s.size() || !isDigit(s[i])) return std::nullopt;
    int64_t e = 0;
    while (i < s.size() && isDigit(s[i])) {
      // Exponents this large only say "zero" or "overflow"; cap them to keep the arithmetic sane.
      if (e < 1'000'000) e = e * 10 + (s[i] - '0');
      ++i;
    }
    d.exponent += negativeExponent ? -e : e;
  }
  if (i != s.size()) return std::nullopt;
  return d;
}

template <typename Real>
std::optional<Real> parseReal(std::string_view text) {
  const auto parts = splitDecimal(text);  // validates the syntax; from_chars does the rounding
  if (!parts) return std::nullopt;
  std::string_view s = skipBlanks(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  Real value{};
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow is a tiny number, which reads as zero; overflow does not convert.
    bool allZero = true;
    for (char c : parts->digits) allZero = allZero && c == '0';
    if (allZero || parts->exponent + static_cast<int64_t>(parts->digits.size()) < 0)
      return parts->negative ? -Real(0) : Real(0);
    return std::nullopt;
  }
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int32_t> parseInt32(std::string_view text) {
  std::string_view s = skipBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  int64_t value = 0;
  for (char c : s) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<double> parseReal64(std::string_view text) {
  return parseReal<double>(text);
}
std::optional<long double> parseReal80(std::string_view text) {
  return parseReal<long double>(text);
}

std::optional<Fixed> parseFixed(std::string_view text) {
  auto parts = splitDecimal(text);
  if (!parts) return std::nullopt;
  std::string& digits = parts->digits;
  // Drop leading zeros (keeping one digit) so lengths below mean magnitudes.
  const size_t nonZero = digits.find_first_not_of('0');
  if (nonZero == std::string::npos) return Fixed{};
  digits.erase(0, nonZero);

  // raw = digits x 10^(exponent + 4): shift left by appending zeros, or cut digits and round.
  const int64_t shift = parts->exponent + 4;
  std::string kept;
  if (shift >= 0) {
    if (static_cast<int64_t>(digits.size()) + shift > 19) return std::nullopt;
    kept = digits + std::string(static_cast<size_t>(shift), '0');
  } else {
    const uint64_t cut = static_cast<uint64_t>(-shift);
    bool roundUp = false;
    if (cut <= digits.size()) {
      kept = digits.substr(0, digits.size() - cut);
      const std::string_view dropped = std::string_view(digits).substr(digits.size() - cut);
      const bool restZero = dropped.find_first_not_of('0', 1) == std::string_view::npos;
      const int lastKept = kept.empty() ? 0 : kept.back() - '0';
      roundUp = dropped[0] > '5' || (dropped[0] == '5' && (!restZero || lastKept % 2 == 1));
    }
    // When more digits are cut than there are, the first dropped digit is a zero: round down.
    if (kept.empty()) kept.push_back('0');  // (assigning "0" trips GCC 12's -Wrestrict at -O3)
    if (kept.size() > 19) return std::nullopt;
    if (roundUp) {
      // Add one in decimal, carrying through nines.
      size_t i = kept.size();
      while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
      if (i == 0)
        kept.insert(kept.begin(), '1');
      else
        ++kept[i - 1];
      if (kept.size() > 19) return std::nullopt;
    }
  }
  uint64_t magnitude = 0;
  for (char c : kept) magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (magnitude > limit + (parts->negative ? 1 : 0)) return std::nullopt;
  if (parts->negative)
    return Fixed::fromRaw(magnitude == limit + 1 ? std::numeric_limits<int64_t>::min()
                                                 : -static_cast<int64_t>(magnitude));
  return Fixed::fromRaw(static_cast<int64_t>(magnitude));
}

}  // namespace velmoria
