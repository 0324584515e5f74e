#include "camera_ride.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <string>

#include "rng.h"

namespace demo {

CameraRide::CameraRide(const Path& path) : m_path(path) {
  for (size_t i = 1; i + 1 < path.stops.size(); ++i) m_holds.push_back(path.stops[i].frame);
}

int CameraRide::frames() const {
  return m_path.profile.frames() + kDwellFrames * static_cast<int>(m_holds.size());
}

int CameraRide::copiesOf(int trackFrame) const {
  return std::binary_search(m_holds.begin(), m_holds.end(), trackFrame) ? 1 + kDwellFrames : 1;
}

double CameraRide::trackFrameAt(double x) const {
  double shift = 0;
  for (int h : m_holds) {
    if (x <= h + shift) break;
    if (x <= h + shift + kDwellFrames) return h;
    shift += kDwellFrames;
  }
  return x - shift;
}

std::vector<SpeedSeg> CameraRide::speedTable() const {
  std::vector<SpeedSeg> out;
  int shift = 0;
  size_t next = 0;
  for (SpeedSeg g : m_path.profile.segs) {
    if (next < m_holds.size() && g.start == m_holds[next]) {
      out.push_back({g.start + shift, g.start + shift + kDwellFrames, 0, 0, g.cum0});
      shift += kDwellFrames;
      ++next;
    }
    g.start += shift;
    g.end += shift;
    out.push_back(g);
  }
  return out;
}

// ---- The GPS log ---------------------------------------------------------------------------

namespace {

// WGS 84: the radii of curvature along the meridian and across it at a latitude.
constexpr double kA = 6378137.0, kE2 = 6.69437999014e-3;
double meridianRadius(double lat) {
  const double s = std::sin(lat);
  return kA * (1 - kE2) / std::pow(1 - kE2 * s * s, 1.5);
}
double normalRadius(double lat) {
  const double s = std::sin(lat);
  return kA / std::sqrt(1 - kE2 * s * s);
}

constexpr double kPi = 3.14159265358979323846;
constexpr double kOriginLat = 34.9712 * kPi / 180, kOriginLon = 138.4128 * kPi / 180;
constexpr double kBearing = 38 * kPi / 180;  // the path's x axis, turned towards the north
constexpr double kBaseHeight = 14.0;         // metres above the sea at the first station

struct Fix {
  double lat, lon, ele;
};

// Latitude and longitude every metre of the path, walked step by step on the ellipsoid so that
// each metre of the path is a metre on the ground.
std::vector<Fix> layOut(const Path& p) {
  std::vector<Fix> out(p.X.size());
  double lat = kOriginLat, lon = kOriginLon;
  const double c = std::cos(kBearing), s = std::sin(kBearing);
  for (size_t i = 0; i < p.X.size(); ++i) {
    if (i > 0) {
      const double dx = double(p.X[i]) - p.X[i - 1], dy = double(p.Y[i]) - p.Y[i - 1];
      const double east = dx * c - dy * s, north = dx * s + dy * c;
      const double mid = lat + north / meridianRadius(lat) / 2;
      lat += north / meridianRadius(mid);
      lon += east / (normalRadius(mid) * std::cos(mid));
    }
    out[i] = {lat, lon, kBaseHeight + p.Z[i]};
  }
  return out;
}

Fix at(const std::vector<Fix>& fixes, double s) {
  const double x = std::clamp(s, 0.0, double(fixes.size() - 1));
  const size_t i = std::min(static_cast<size_t>(x), fixes.size() - 2);
  const double t = x - i;
  const Fix& a = fixes[i];
  const Fix& b = fixes[i + 1];
  return {a.lat + (b.lat - a.lat) * t, a.lon + (b.lon - a.lon) * t, a.ele + (b.ele - a.ele) * t};
}

double gauss(Rng& rng) {
  const double u = std::max(rng.uniform(), 1e-12), v = rng.uniform();
  return std::sqrt(-2 * std::log(u)) * std::cos(2 * kPi * v);
}

// A slowly wandering error (first-order Gauss-Markov) with its standard deviation and the
// seconds it takes to forget itself.
class Wander {
 public:
  Wander(double sigma, double tau)
      : m_a(std::exp(-1 / tau)), m_b(sigma * std::sqrt(1 - m_a * m_a)) {}
  double step(Rng& rng) { return m_v = m_a * m_v + m_b * gauss(rng); }

 private:
  double m_a, m_b, m_v = 0;
};

std::string isoTime(int64_t t) {
  const std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  gmtime_r(&tt, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return buf;
}

}  // namespace

void writeGpsTrack(const std::filesystem::path& file, const Path& path, const CameraRide& ride) {
  const std::vector<Fix> ground = layOut(path);
  Rng rng(2024);
  // A receiver with a clear sky: metre-level noise, a slower wander, a poorer height.
  Wander northBias(0.3, 120), eastBias(0.3, 120), heightBias(1.5, 240);
  const double whiteNoise = 0.5, heightNoise = 1.2;
  std::string gpx =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"velmoria-demo-gen\" "
      "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      "  <metadata><name>Velmoria demo line, camera train</name><time>" +
      isoTime(kRideStartUtc - kLogBefore) + "</time></metadata>\n  <trk>\n    <name>" +
      std::string("港町 - 星ノ宮") + "</name>\n    <trkseg>\n";
  const int64_t last = kRideStartUtc + (ride.frames() + 29) / 30 + kLogAfter;
  int64_t leftTunnel = -1000;
  for (int64_t t = kRideStartUtc - kLogBefore; t <= last; ++t) {
    const double x = std::max(0.0, double(t - kRideStartUtc) * 30);
    const double s =
        path.profile.sAt(std::min(ride.trackFrameAt(x), double(path.profile.frames())));
    // The errors run on whether or not a fix comes out.
    const double n = northBias.step(rng) + whiteNoise * gauss(rng);
    const double e = eastBias.step(rng) + whiteNoise * gauss(rng);
    const double h = heightBias.step(rng) + heightNoise * gauss(rng);
    bool inTunnel = false;
    for (const auto& tn : path.tunnels) inTunnel = inTunnel || (s > tn.s0 && s < tn.s1);
    if (inTunnel) leftTunnel = t;
    if (t - leftTunnel < 4) continue;  // no sky, then a few seconds to find it again
    Fix f = at(ground, s);
    f.lat += n / meridianRadius(f.lat);
    f.lon += e / (normalRadius(f.lat) * std::cos(f.lat));
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "      <trkpt lat=\"%.8f\" lon=\"%.8f\"><ele>%.1f</ele><time>%s</time></trkpt>\n",
                  f.lat * 180 / kPi, f.lon * 180 / kPi, f.ele + h, isoTime(t).c_str());
    gpx += buf;
  }
  gpx += "    </trkseg>\n  </trk>\n</gpx>\n";
  std::ofstream out(file, std::ios::binary);
  out.write(gpx.data(), static_cast<std::streamsize>(gpx.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace demo
