#include "iso_time.h"

#include <cctype>
#include <cmath>
#include <string>

namespace velmoria::import {

int64_t daysFromCivil(int y, int m, int d) {
  // H. Hinnant's algorithm: March-based years make the leap day the last of the year.
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

namespace {

class Cursor {
 public:
  explicit Cursor(std::string_view s) : m_s(s) {}
  bool atEnd() const { return m_i >= m_s.size(); }
  char peek() const { return atEnd() ? '\0' : m_s[m_i]; }
  bool take(char c) {
    if (peek() != c) return false;
    ++m_i;
    return true;
  }
  // Exactly n digits.
  std::optional<int> digits(int n) {
    int v = 0;
    for (int k = 0; k < n; ++k) {
      if (!std::isdigit(static_cast<unsigned char>(peek()))) return std::nullopt;
      v = v * 10 + (m_s[m_i++] - '0');
    }
    return v;
  }
  // A fraction after '.' or ',': its value in [0, 1).
  double fraction() {
    double v = 0, scale = 0.1;
    while (std::isdigit(static_cast<unsigned char>(peek()))) {
      v += (m_s[m_i++] - '0') * scale;
      scale /= 10;
    }
    return v;
  }
  void skipBlanks() {
    while (peek() == ' ' || peek() == '\t') ++m_i;
  }

 private:
  std::string_view m_s;
  size_t m_i = 0;
};

bool validDate(int y, int m, int d) {
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= (m == 2 && !leap ? 28 : kDays[m - 1]);
}

}  // namespace

std::optional<double> parseIsoTime(std::string_view text) {
  Cursor c(text);
  c.skipBlanks();
  const auto y = c.digits(4);
  if (!y) return std::nullopt;
  const bool extended = c.take('-');
  const auto mo = c.digits(2);
  if (!mo || (extended && !c.take('-'))) return std::nullopt;
  const auto d = c.digits(2);
  if (!d || !validDate(*y, *mo, *d)) return std::nullopt;
  if (!c.take('T') && !c.take('t') && !c.take(' ')) return std::nullopt;
  const auto h = c.digits(2);
  if (!h || (extended && !c.take(':'))) return std::nullopt;
  const auto mi = c.digits(2);
  if (!mi) return std::nullopt;
  int sec = 0;
  double frac = 0;
  if (extended ? c.take(':') : std::isdigit(static_cast<unsigned char>(c.peek()))) {
    const auto s = c.digits(2);
    if (!s) return std::nullopt;
    sec = *s;
    if (c.take('.') || c.take(',')) frac = c.fraction();
  }
  if (*h > 24 || *mi > 59 || sec > 60 || (*h == 24 && (*mi || sec || frac))) return std::nullopt;
  int zone = 0;  // minutes east of UTC
  if (c.take('Z') || c.take('z')) {
    // UTC
  } else if (c.peek() == '+' || c.peek() == '-') {
    const int sign = c.take('-') ? -1 : (c.take('+'), 1);
    const auto zh = c.digits(2);
    if (!zh) return std::nullopt;
    c.take(':');
    int zm = 0;
    if (std::isdigit(static_cast<unsigned char>(c.peek()))) {
      const auto m = c.digits(2);
      if (!m || *m > 59) return std::nullopt;
      zm = *m;
    }
    zone = sign * (*zh * 60 + zm);
  }
  c.skipBlanks();
  if (!c.atEnd()) return std::nullopt;
  const double days = static_cast<double>(daysFromCivil(*y, *mo, *d));
  return days * 86400 + *h * 3600 + *mi * 60 + sec + frac - zone * 60.0;
}

}  // namespace velmoria::import
