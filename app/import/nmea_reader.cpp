// NMEA 0183 logs: RMC and GGA sentences, merged by their time.
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "iso_time.h"
#include "track_readers.h"

namespace velmoria::import {

namespace {

std::vector<std::string> splitFields(std::string_view s) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i)
    if (i == s.size() || s[i] == ',') {
      out.emplace_back(s.substr(start, i - start));
      start = i + 1;
    }
  return out;
}

std::optional<double> real(const std::string& s) {
  if (s.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// ddmm.mmmm (or dddmm.mmmm) and the hemisphere letter, to signed degrees.
std::optional<double> angle(const std::string& value, const std::string& hemisphere, char plus,
                            char minus) {
  const auto v = real(value);
  if (!v || *v < 0 || hemisphere.size() != 1) return std::nullopt;
  const double deg = std::floor(*v / 100);
  const double minutes = *v - deg * 100;
  if (minutes >= 60) return std::nullopt;
  const double a = deg + minutes / 60;
  if (hemisphere[0] == plus) return a;
  if (hemisphere[0] == minus) return -a;
  return std::nullopt;
}

// hhmmss[.sss] to seconds of the day.
std::optional<double> timeOfDay(const std::string& s) {
  if (s.size() < 6) return std::nullopt;
  for (int i = 0; i < 6; ++i)
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
  const int h = (s[0] - '0') * 10 + (s[1] - '0'), m = (s[2] - '0') * 10 + (s[3] - '0');
  const auto sec = real(s.substr(4));
  if (h > 23 || m > 59 || !sec || *sec >= 61) return std::nullopt;
  return h * 3600.0 + m * 60 + *sec;
}

// The sentence between '$' and '*' when its checksum (if any) is right.
std::optional<std::string_view> body(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  const size_t dollar = line.find('$');
  if (dollar == std::string_view::npos) return std::nullopt;
  line.remove_prefix(dollar + 1);
  const size_t star = line.find('*');
  if (star == std::string_view::npos) return line;
  const std::string_view sum = line.substr(star + 1);
  if (sum.size() != 2) return std::nullopt;
  unsigned x = 0;
  for (char c : line.substr(0, star)) x ^= static_cast<unsigned char>(c);
  char* end = nullptr;
  const std::string hex(sum);
  const unsigned long given = std::strtoul(hex.c_str(), &end, 16);
  if (end != hex.c_str() + 2 || given != x) return std::nullopt;
  return line.substr(0, star);
}

struct Sentence {
  double tod = 0;              // seconds of the day
  std::optional<int64_t> day;  // days since 1970 (RMC only)
  double lat = 0, lon = 0;
  std::optional<double> speed, elevation;
};

}  // namespace

Track readNmea(std::string_view bytes, const std::string& name) {
  Track track;
  std::vector<Sentence> fixes;
  int withTime = 0, sentences = 0;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    if (line.find('$') == std::string_view::npos) continue;
    const auto b = body(line);
    if (!b || b->size() < 6) {
      ++track.skipped;
      continue;
    }
    const std::string kind(b->substr(2, 3));
    if (kind != "RMC" && kind != "GGA") continue;  // other sentences carry nothing we use
    ++sentences;
    const auto f = splitFields(*b);
    Sentence s;
    bool ok = false;
    // A plain double and a flag, not an optional: GCC 12 at -O2 takes the optional's copy
    // into the pushed Sentence for a read of an unset value (-Wmaybe-uninitialized).
    const auto time = f.size() > 1 ? timeOfDay(f[1]) : std::nullopt;
    const bool timed = time.has_value();
    const double tod = time.value_or(0);
    if (timed) ++withTime;
    if (kind == "RMC" && f.size() >= 10 && timed && f[2] == "A") {
      const auto lat = angle(f[3], f[4], 'N', 'S');
      const auto lon = angle(f[5], f[6], 'E', 'W');
      const std::string& date = f[9];
      if (lat && lon && date.size() == 6 &&
          date.find_first_not_of("0123456789") == std::string::npos) {
        const int dd = std::stoi(date.substr(0, 2)), mm = std::stoi(date.substr(2, 2)),
                  yy = std::stoi(date.substr(4, 2));
        if (dd >= 1 && dd <= 31 && mm >= 1 && mm <= 12) {
          s.day = daysFromCivil(yy < 80 ? 2000 + yy : 1900 + yy, mm, dd);
          s.lat = *lat, s.lon = *lon, s.tod = tod;
          if (const auto knots = real(f[7])) s.speed = *knots * 1852.0 / 3600.0;
          ok = true;
        }
      }
    } else if (kind == "GGA" && f.size() >= 10 && timed && f[6] != "0" && !f[6].empty()) {
      const auto lat = angle(f[2], f[3], 'N', 'S');
      const auto lon = angle(f[4], f[5], 'E', 'W');
      if (lat && lon) {
        s.lat = *lat, s.lon = *lon, s.tod = tod;
        s.elevation = real(f[9]);
        ok = true;
      }
    }
    if (ok)
      fixes.push_back(s);
    else
      ++track.skipped;
  }
  if (sentences == 0) throw TrackError(name + ": no RMC or GGA sentences in the NMEA log");
  if (withTime == 0) throw TrackError(name + ": the NMEA sentences have no times");

  // Dates come only with RMC: every other fix takes the date of the RMC nearest before it (or
  // the first one), a day later when its time of day has wrapped past midnight.
  std::optional<int64_t> day;
  for (const auto& s : fixes)
    if (s.day) {
      day = s.day;
      break;
    }
  track.dated = day.has_value();
  int64_t today = day.value_or(0);
  double lastTod = -1;
  std::map<double, TrackPoint> merged;  // by time: an RMC and a GGA of one epoch become one fix
  for (const auto& s : fixes) {
    if (s.day)
      today = *s.day;
    else if (lastTod >= 0 && s.tod + 43200 < lastTod)
      ++today;
    lastTod = s.tod;
    const double t = static_cast<double>(today) * 86400 + s.tod;
    const double key = std::round(t * 1000) / 1000;
    auto [it, fresh] = merged.try_emplace(key);
    TrackPoint& p = it->second;
    if (fresh || s.day) p.lat = s.lat, p.lon = s.lon;  // RMC's position wins
    p.time = t;
    if (s.speed) p.speed = s.speed;
    if (s.elevation) p.elevation = s.elevation;
  }
  for (auto& [key, p] : merged) track.points.push_back(p);
  finishTrack(track, name);
  return track;
}

}  // namespace velmoria::import
