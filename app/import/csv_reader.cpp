// CSV tracks: time,lat,lon[,speed], or columns named by a header line.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "iso_time.h"
#include "track_readers.h"

namespace velmoria::import {

namespace {

std::string trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = s.substr(1, s.size() - 2);
  return std::string(s);
}

std::vector<std::string> fields(std::string_view line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i <= line.size(); ++i)
    if (i == line.size() || line[i] == ',') {
      out.push_back(trim(line.substr(start, i - start)));
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

std::optional<double> timeValue(const std::string& s) {
  if (auto t = parseIsoTime(s)) return t;
  return real(s);  // seconds since 1970
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct Columns {
  int time = 0, lat = 1, lon = 2, speed = 3, elevation = -1;
  double speedScale = 1;  // to m/s
};

// A header names the columns; true when the line is one.
bool header(const std::vector<std::string>& f, Columns& c) {
  if (f.size() < 3 || real(f[1]) || real(f[0])) return false;
  Columns h;
  h.time = h.lat = h.lon = h.speed = h.elevation = -1;
  for (int i = 0; i < static_cast<int>(f.size()); ++i) {
    const std::string n = lower(f[static_cast<size_t>(i)]);
    if (n == "time" || n == "timestamp" || n == "datetime" || n == "date_time" || n == "utc")
      h.time = i;
    else if (n == "lat" || n == "latitude")
      h.lat = i;
    else if (n == "lon" || n == "lng" || n == "long" || n == "longitude")
      h.lon = i;
    else if (n == "speed" || n == "speed_ms" || n == "speed(m/s)" || n == "speed (m/s)")
      h.speed = i;
    else if (n == "speed_kmh" || n == "speed(km/h)" || n == "speed (km/h)")
      h.speed = i, h.speedScale = 1 / 3.6;
    else if (n == "ele" || n == "elevation" || n == "alt" || n == "altitude")
      h.elevation = i;
  }
  if (h.time < 0 || h.lat < 0 || h.lon < 0) return false;
  c = h;
  return true;
}

}  // namespace

Track readCsv(std::string_view bytes, const std::string& name) {
  Track track;
  Columns cols;
  bool first = true;
  int rows = 0, timed = 0;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    if (first && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // UTF-8 BOM
    const std::string t = trim(line);
    if (t.empty() || t.front() == '#') continue;
    const auto f = fields(line);
    if (first) {
      first = false;
      Columns named;
      if (header(f, named)) {
        cols = named;
        continue;
      }
    }
    ++rows;
    const auto get = [&](int i) -> std::string {
      return i >= 0 && i < static_cast<int>(f.size()) ? f[static_cast<size_t>(i)] : "";
    };
    const auto time = timeValue(get(cols.time));
    if (time) ++timed;
    const auto lat = real(get(cols.lat)), lon = real(get(cols.lon));
    if (!time || !lat || !lon) {
      ++track.skipped;
      continue;
    }
    TrackPoint p;
    p.time = *time, p.lat = *lat, p.lon = *lon;
    if (const auto v = real(get(cols.speed))) p.speed = *v * cols.speedScale;
    if (const auto e = real(get(cols.elevation))) p.elevation = *e;
    track.points.push_back(p);
  }
  if (rows == 0) throw TrackError(name + ": no fixes in the CSV file");
  if (timed == 0) throw TrackError(name + ": the CSV rows have no times");
  finishTrack(track, name);
  return track;
}

}  // namespace velmoria::import
