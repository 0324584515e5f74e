#include "line.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "rng.h"

namespace demo {

// ---- Profile -------------------------------------------------------------------------------

namespace {
// Metres covered from a segment's start to frame f (the trapezoid of the recorded speed).
double segDistance(const SpeedSeg& g, double f) {
  const double n = g.end - g.start;
  const double df = f - g.start;
  const double v = g.v0 + (g.v1 - g.v0) / n * df;
  return (g.v0 + v) / 2.0 / 3.6 * (df / kFps);
}
}  // namespace

double Profile::sAt(double f) const {
  if (segs.empty()) return 0;
  if (f <= segs.front().start) return segs.front().cum0;
  auto it = std::upper_bound(segs.begin(), segs.end(), f,
                             [](double x, const SpeedSeg& g) { return x < g.end; });
  if (it == segs.end()) {
    const auto& g = segs.back();
    return g.cum0 + segDistance(g, g.end);
  }
  return it->cum0 + segDistance(*it, f);
}

double Profile::vAt(double f) const {
  for (const auto& g : segs)
    if (f >= g.start && f < g.end) return g.v0 + (g.v1 - g.v0) * (f - g.start) / (g.end - g.start);
  return 0;
}

int Profile::frameAt(double s) const {
  int lo = 0, hi = frames();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (sAt(mid) < s)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int Path::lookup(double s) const {
  const int i = static_cast<int>(std::floor(s));
  return std::clamp(i, 0, static_cast<int>(X.size()) - 2);
}

// ---- Planning the camera train -------------------------------------------------------------

namespace {

double accelAt(const Perf& p, double kmh) {
  return kmh < 40 ? p.a1 : kmh < 70 ? p.a2 : p.a3;
}
double brakeAt(const Perf& p, double kmh) {
  return kmh > 30 ? p.b1 : p.b2;
}

// Speeds (km/h) frame by frame from a stop to a stop L metres on, never above the ceiling.
std::vector<double> planSpeeds(double L, const std::vector<Restriction>& restr, const Perf& perf) {
  const double ds = 0.5;
  const int n = static_cast<int>(std::ceil(L / ds));
  std::vector<double> ceil(n + 1, perf.vmax / 3.6);
  for (const auto& r : restr) {
    const int a = std::max(0, static_cast<int>(r.s0 / ds)),
              b = std::min(n, static_cast<int>(r.s1 / ds));
    for (int i = a; i <= b; ++i) ceil[i] = std::min(ceil[i], r.kmh / 3.6);
  }
  std::vector<double> vf(n + 1), vb(n + 1);
  vf[0] = 0;
  for (int i = 0; i < n; ++i) {
    const double a = accelAt(perf, vf[i] * 3.6) / 3.6;
    vf[i + 1] = std::min(ceil[i + 1], std::sqrt(vf[i] * vf[i] + 2 * a * ds));
  }
  vb[n] = 0;
  for (int i = n - 1; i >= 0; --i) {
    const double b = brakeAt(perf, vb[i + 1] * 3.6) / 3.6;
    vb[i] = std::min(vf[i], std::sqrt(vb[i + 1] * vb[i + 1] + 2 * b * ds));
  }
  auto at = [&](double s) {
    const double x = std::clamp(s / ds, 0.0, static_cast<double>(n));
    const int i = std::min(static_cast<int>(x), n - 1);
    return vb[i] + (vb[i + 1] - vb[i]) * (x - i);
  };
  std::vector<double> out{0.0};
  double s = 0, v = 0;
  const double dt = 1.0 / kFps;
  for (int guard = 0; guard < 2000000; ++guard) {
    const double vt = at(s + std::max(v * dt, 0.3));
    if (v < vt)
      v = std::min(vt, v + accelAt(perf, v * 3.6) / 3.6 * dt);
    else
      v = std::max(vt, v - 1.6 * perf.b1 / 3.6 * dt);
    s += v * dt;
    if (s >= L - 0.05 || (v < 0.15 && s > L - 1.5)) break;
    out.push_back(v * 3.6);
  }
  out.push_back(0.0);
  return out;
}

// Piecewise-linear fit with whole km/h at the ends, as the route's speed-unit table holds it.
void fitSegments(const std::vector<double>& v, int frame0, std::vector<int> forced,
                 std::vector<SpeedSeg>& out) {
  const int n = static_cast<int>(v.size()) - 1;
  forced.push_back(n);
  std::sort(forced.begin(), forced.end());
  int i = 0;
  size_t fi = 0;
  while (i < n) {
    while (fi < forced.size() && forced[fi] <= i) ++fi;
    const int limit = forced[fi];
    const int v0 = static_cast<int>(std::lround(v[i]));
    int best = i + 1;
    for (int j = i + 1; j <= limit; ++j) {
      const int v1 = static_cast<int>(std::lround(v[j]));
      bool ok = std::fabs(v1 - v[j]) < 0.75;
      for (int k = i + 1; ok && k < j; ++k) {
        const double lin = v0 + (v1 - v0) * static_cast<double>(k - i) / (j - i);
        ok = std::fabs(lin - v[k]) <= 0.75;
      }
      if (ok)
        best = j;
      else if (j - best > 90)
        break;
    }
    out.push_back({frame0 + i, frame0 + best, v0, static_cast<int>(std::lround(v[best])), 0});
    i = best;
  }
}

void accumulate(Profile& p) {
  double cum = 0;
  for (auto& g : p.segs) {
    g.cum0 = cum;
    cum += segDistance(g, g.end);
  }
}

// ---- The legs ------------------------------------------------------------------------------

struct Leg {
  int id = 0;
  double length = 0;
  double vmax = 95;
  Scenery scenery = Scenery::Fields;
  bool branch = false;
  // Features relative to the leg's start.
  std::vector<Curve> curves;
  std::vector<Grade> grades;
  std::vector<Span> tunnels, bridges;
  std::vector<double> crossings;
  std::vector<Restriction> restr;
};

int curveLimit(int radius, bool branch) {
  if (branch) return radius <= 300 ? 45 : radius <= 450 ? 55 : radius <= 600 ? 65 : 0;
  return radius <= 450 ? 60 : radius <= 550 ? 70 : radius <= 700 ? 85 : 0;
}

Leg makeLeg(int id, double length, Scenery sc, bool branch) {
  Rng rng(1000 + static_cast<uint64_t>(id));
  Leg leg;
  leg.id = id;
  leg.length = length;
  leg.scenery = sc;
  leg.branch = branch;
  leg.vmax = branch ? 80 : 95;
  const bool hilly = sc == Scenery::Hills || sc == Scenery::Forest;
  // Curves, kept away from the stations.
  double cursor = 420;
  const int nCurves = 1 + rng.below(hilly ? 3 : 2);
  static const int radiiFlat[] = {500, 600, 800, 1000, 1200, 1600, 2000};
  static const int radiiHill[] = {300, 400, 450, 500, 600, 800};
  for (int k = 0; k < nCurves; ++k) {
    const double start = cursor + rng.uniform(60, 500) * length / 3000.0;
    const double len = rng.uniform(180, 480);
    if (start + len > length - 650) break;
    const int radius = hilly ? radiiHill[rng.below(6) % (branch ? 6 : 5) + (branch ? 0 : 1)]
                             : radiiFlat[rng.below(7)];
    const double dir = rng.chance(0.5) ? 1.0 : -1.0;
    leg.curves.push_back({start, start + len, dir / radius});
    const int lim = curveLimit(radius, branch);
    if (lim) leg.restr.push_back({start - 10, start + len + 210, lim, radius});
    cursor = start + len + 150;
  }
  // Gradients: level through the stations, rolling or climbing between.
  const double g0 = 300, g1 = length - 420;
  const int pieces = 2 + rng.below(3);
  double at = g0;
  for (int k = 0; k < pieces && at < g1 - 150; ++k) {
    const double end =
        k == pieces - 1 ? g1 : std::min(g1, at + (g1 - g0) / pieces * rng.uniform(0.7, 1.3));
    double pm = hilly ? rng.uniform(6, branch ? 25 : 16) : rng.uniform(0, 7);
    if (rng.chance(0.5)) pm = -pm;
    pm = std::round(pm * 2) / 2;
    if (std::fabs(pm) >= 1.0) leg.grades.push_back({at, end, pm});
    at = end + (rng.chance(0.4) ? 120 : 0);
  }
  // Tunnels through the hills, bridges over fields and water.
  if (hilly && rng.chance(0.8)) {
    const double len = rng.uniform(260, 850);
    const double start = rng.uniform(650, std::max(700.0, length - 900 - len));
    if (start + len < length - 700) leg.tunnels.push_back({start, start + len});
  }
  if ((sc == Scenery::Fields || sc == Scenery::Lake) && rng.chance(0.7)) {
    const double len = rng.uniform(60, 220);
    const double start = rng.uniform(500, length - 700 - len);
    leg.bridges.push_back({start, start + len});
  }
  auto clear = [&](double s) {
    for (const auto& t : leg.tunnels)
      if (s > t.s0 - 300 && s < t.s1 + 100) return false;
    for (const auto& b : leg.bridges)
      if (s > b.s0 - 60 && s < b.s1 + 60) return false;
    for (double c : leg.crossings)
      if (std::fabs(s - c) < 350) return false;
    return true;
  };
  const int nCross = sc == Scenery::Town ? 2 : hilly ? 1 : 1 + rng.below(2);
  for (int k = 0; k < nCross; ++k) {
    for (int tries = 0; tries < 20; ++tries) {
      const double s = rng.uniform(330, length - 330);
      if (clear(s)) {
        leg.crossings.push_back(s);
        break;
      }
    }
  }
  std::sort(leg.crossings.begin(), leg.crossings.end());
  return leg;
}

// ---- Geometry ------------------------------------------------------------------------------

void buildGeometry(Path& p, double extra) {
  const int n = static_cast<int>(p.length + extra) + 2;
  std::vector<float> k(n, 0.0f), g(n, 0.0f);
  const double ease = 40;
  for (const auto& c : p.curves)
    for (int i = std::max(0, static_cast<int>(c.s0)); i < std::min(n, static_cast<int>(c.s1) + 1);
         ++i) {
      const double w = std::min({1.0, (i - c.s0) / ease, (c.s1 - i) / ease});
      k[i] += static_cast<float>(c.curvature * std::max(0.0, w));
    }
  const double ramp = 60;
  for (const auto& gr : p.grades)
    for (int i = std::max(0, static_cast<int>(gr.s0 - ramp));
         i < std::min(n, static_cast<int>(gr.s1 + ramp)); ++i) {
      const double w =
          std::min({1.0, (i - (gr.s0 - ramp)) / (2 * ramp), ((gr.s1 + ramp) - i) / (2 * ramp)});
      g[i] += static_cast<float>(gr.permille * std::max(0.0, w));
    }
  p.X.assign(n, 0), p.Y.assign(n, 0), p.Z.assign(n, 0), p.heading.assign(n, 0), p.gradeAt = g;
  p.cosH.assign(n, 1), p.sinH.assign(n, 0);
  double x = 0, y = 0, z = 0, th = 0;
  for (int i = 0; i < n; ++i) {
    p.X[i] = static_cast<float>(x), p.Y[i] = static_cast<float>(y), p.Z[i] = static_cast<float>(z);
    p.heading[i] = static_cast<float>(th);
    p.cosH[i] = static_cast<float>(std::cos(th)), p.sinH[i] = static_cast<float>(std::sin(th));
    th += k[i];
    x += std::cos(th), y += std::sin(th), z += g[i] / 1000.0;
  }
}

uint32_t rgb(int r, int g, int b) {
  return (static_cast<uint32_t>(r) << 16) | (g << 8) | b;
}

void placeProps(Path& p, uint64_t seed) {
  // Props depend only on the position, so the shared first part of the two paths looks the same.
  const double end = p.length + 700;
  for (double s0 = 0; s0 < end; s0 += 100) {
    Rng rng(seed + static_cast<uint64_t>(s0 / 100) * 7919);
    Scenery sc = Scenery::Fields;
    for (const auto& z : p.scenery)
      if (s0 >= z.s0 && s0 < z.s1) sc = z.kind;
    bool inTunnel = false;
    for (const auto& t : p.tunnels)
      if (s0 + 50 > t.s0 - 20 && s0 + 50 < t.s1 + 20) inTunnel = true;
    if (inTunnel) continue;
    const int count = sc == Scenery::Town     ? 12
                      : sc == Scenery::Forest ? 14
                      : sc == Scenery::Hills  ? 7
                                              : 4;
    for (int i = 0; i < count; ++i) {
      Prop pr;
      pr.s = s0 + rng.uniform(0, 100);
      const double side = rng.chance(0.5) ? 1.0 : -1.0;
      const double base = p.doubleTrack ? (side > 0 ? 10.0 : 13.0) : 8.0;
      pr.offset = side * (base + rng.uniform(0, sc == Scenery::Town ? 40 : 80));
      bool blocked = false;
      for (const auto& st : p.stops)
        if (pr.s > st.s - 260 && pr.s < st.s + 60 && std::fabs(pr.offset) < 16) blocked = true;
      for (double c : p.crossings)
        if (std::fabs(pr.s - c) < 12) blocked = true;
      if (blocked) continue;
      const double pick = rng.uniform();
      if (sc == Scenery::Town && pick < 0.75) {
        pr.type = rng.chance(0.2) ? 3 : 0;
        pr.width = static_cast<float>(rng.uniform(6, 22));
        pr.height = static_cast<float>(pr.type == 3 ? rng.uniform(3, 5) : rng.uniform(5, 24));
        static const uint32_t walls[] = {rgb(200, 196, 186), rgb(176, 170, 160),
                                         rgb(214, 208, 190), rgb(150, 160, 170),
                                         rgb(190, 170, 150), rgb(226, 222, 214)};
        pr.colour = walls[rng.below(6)];
      } else if (sc == Scenery::Forest || sc == Scenery::Hills || pick < 0.9) {
        pr.type = rng.chance(sc == Scenery::Forest ? 0.6 : 0.3) ? 2 : 1;
        pr.width = static_cast<float>(rng.uniform(3, 8));
        pr.height = static_cast<float>(rng.uniform(5, 14));
        pr.colour = rng.chance(0.5) ? rgb(52, 96, 48) : rgb(70, 116, 58);
      } else {
        pr.type = 3;
        pr.width = static_cast<float>(rng.uniform(4, 9));
        pr.height = static_cast<float>(rng.uniform(3, 5));
        pr.colour = rgb(150, 120, 90);
      }
      p.props.push_back(pr);
    }
  }
  std::sort(p.props.begin(), p.props.end(), [](const Prop& a, const Prop& b) { return a.s < b.s; });
}

}  // namespace

// ---- Assembling the line -------------------------------------------------------------------

namespace {

void addLegFeatures(Path& p, const Leg& leg, double base) {
  for (auto c : leg.curves) p.curves.push_back({c.s0 + base, c.s1 + base, c.curvature});
  for (auto g : leg.grades) p.grades.push_back({g.s0 + base, g.s1 + base, g.permille});
  for (auto t : leg.tunnels) p.tunnels.push_back({t.s0 + base, t.s1 + base});
  for (auto b : leg.bridges) p.bridges.push_back({b.s0 + base, b.s1 + base});
  for (double c : leg.crossings) p.crossings.push_back(c + base);
  for (auto r : leg.restr) p.limits.push_back({r.s0 + base, r.s1 + base, r.kmh, r.radius});
  p.scenery.push_back({base, base + leg.length, leg.scenery});
}

std::vector<Leg> trunkLegs(double scale) {
  static const double lengths[] = {2600, 2100, 3300, 2700, 4100, 3500, 3000, 4300};
  static const Scenery sc[] = {Scenery::Town,   Scenery::Town,  Scenery::Town,   Scenery::Fields,
                               Scenery::Fields, Scenery::Hills, Scenery::Forest, Scenery::Fields};
  std::vector<Leg> legs;
  for (int i = 0; i < 8; ++i) legs.push_back(makeLeg(i, lengths[i] * scale, sc[i], false));
  return legs;
}

int trunkFrames(double scale, const Perf& perf) {
  int frames = 30;
  for (const auto& leg : trunkLegs(scale)) {
    Perf p = perf;
    p.vmax = leg.vmax;
    frames += static_cast<int>(planSpeeds(leg.length, leg.restr, p).size()) - 1;
  }
  return frames;
}

void placeSignals(Path& p, int firstStop, int lastStop, bool branchKinds, int legBase) {
  for (int i = firstStop; i < lastStop; ++i) {
    const double a = p.stops[i].s, b = p.stops[i + 1].s;
    const int leg = legBase + i;
    p.signals.push_back({a + 130, 2, 0, SignalRole::Starting, i, "出発"});
    const double home = b - 480;
    const int blockKind = branchKinds              ? 1
                          : leg <= 1               ? 5
                          : (leg == 4 || leg == 5) ? 4
                          : leg >= 8               ? 2
                                                   : 3;
    const double first = a + 130 + 1000;
    const int nBlocks = std::max(0, static_cast<int>((home - 650 - first) / 1000) + 1);
    const double step = nBlocks > 1 ? (home - 650 - first) / (nBlocks - 1) : 0;
    for (int k = 0; k < nBlocks; ++k) {
      const double s = first + step * k;
      if (s > home - 600) break;
      const int number = k < 3 ? 2 + k : 6;
      static const char* labels[] = {"第1閉塞", "第2閉塞", "第3閉塞"};
      p.signals.push_back({s, blockKind, number, SignalRole::Block, i, k < 3 ? labels[k] : "閉塞"});
    }
    // Repeaters where the home signal hides behind a curve or in the hills.
    if (branchKinds || leg == 5 || leg == 6 || leg == 9)
      p.signals.push_back({home - 320, 0, 5, SignalRole::Repeater, i, "中継"});
    p.signals.push_back({home, 2, 1, SignalRole::Home, i, "場内"});
  }
  std::stable_sort(p.signals.begin(), p.signals.end(),
                   [](const SignalPost& x, const SignalPost& y) { return x.s < y.s; });
}

void placeBoards(Path& p) {
  for (double c : p.crossings) {
    p.boards.push_back({c - 260, BoardKind::Whistle, 0});
    p.boards.push_back({c - 120, BoardKind::Crossing, 0});
  }
  for (const auto& t : p.tunnels) p.boards.push_back({t.s0 - 220, BoardKind::Whistle, 0});
  for (const auto& r : p.limits) {
    p.boards.push_back({r.s0, BoardKind::LimitStart, r.kmh});
    p.boards.push_back({r.s1, BoardKind::LimitEnd, r.kmh});
  }
  for (size_t i = 1; i < p.stops.size(); ++i)
    p.boards.push_back({p.stops[i].s - 900, BoardKind::StationAhead, 0});
  for (const auto& g : p.grades)
    p.boards.push_back(
        {g.s0, BoardKind::GradeChange, static_cast<int>(std::lround(g.permille * 10))});
  for (double t : p.turnouts) p.boards.push_back({t - 150, BoardKind::Junction, 0});
  std::sort(p.boards.begin(), p.boards.end(),
            [](const Board& x, const Board& y) { return x.s < y.s; });
}

// Kanji, kana for the announcements, and English: 0-11 on the main line, 12-15 on the branch.
std::vector<StationInfo> stationNames() {
  return {
      {"港町", "みなとまち", "Minatomachi"},
      {"桜町", "さくらまち", "Sakuramachi"},
      {"東雲雀", "ひがしひばり", "Higashi-Hibari"},
      {"雲雀ヶ丘", "ひばりがおか", "Hibarigaoka"},
      {"中央市場", "ちゅうおういちば", "Chuo-Ichiba"},
      {"錦野", "にしきの", "Nishikino"},
      {"青葉台", "あおばだい", "Aobadai"},
      {"楓川", "かえでがわ", "Kaedegawa"},
      {"椿", "つばき", "Tsubaki"},
      {"白樺", "しらかば", "Shirakaba"},
      {"夕凪", "ゆうなぎ", "Yunagi"},
      {"星ノ宮", "ほしのみや", "Hoshinomiya"},
      {"紅葉谷", "もみじだに", "Momijidani"},
      {"泉沢", "いずみさわ", "Izumisawa"},
      {"木漏日", "こもれび", "Komorebi"},
      {"湖畔", "こはん", "Kohan"},
  };
}

// Scale the shared legs so that the junction stop lies a few seconds before the branch frame:
// both videos then show the same departure and part only after kBranchFrame.
double trunkScale(const Perf& rec) {
  const int target = kBranchFrame - 450;
  double lo = 0.7, hi = 1.4;
  for (int it = 0; it < 40; ++it) {
    const double mid = (lo + hi) / 2;
    if (trunkFrames(mid, rec) < target)
      lo = mid;
    else
      hi = mid;
  }
  return hi;
}

// The junction departure (leg 8): both paths share the frames up to kBranchFrame, `split`
// frames into the leg. On the branch the train takes the turnout slowly; where it lies is only
// known relative to the leg until the leg's start is placed.
void shareJunctionDeparture(Path& p, Leg& leg, int split, bool isBranch, const Perf& perf) {
  if (!isBranch) return;
  auto free = planSpeeds(leg.length, leg.restr, perf);
  double d = 0;
  for (int f = 0; f < split && f + 1 < static_cast<int>(free.size()); ++f)
    d += (free[f] + free[f + 1]) / 2 / 3.6 / kFps;
  leg.restr.insert(leg.restr.begin(), {d - 40, d + 380, 45, 0});
  p.turnouts.push_back(-1);  // placed below once the leg start is known
  p.divergeS = d;            // relative for now
}

struct LegFrames {
  std::vector<double> start;  // each leg's first frame
  int end = 0;                // the last leg's end, where the train stands at the buffer stop
};

// The recording profile, leg by leg, ending at the buffer stop.
LegFrames planProfile(Path& p, std::vector<Leg>& legs, bool isBranch, const Perf& rec) {
  p.profile.segs.push_back({0, 30, 0, 0, 0});
  int frame = 30;
  std::vector<double> legStartFrames;
  for (size_t li = 0; li < legs.size(); ++li) {
    Leg& leg = legs[li];
    Perf perf = rec;
    perf.vmax = leg.vmax;
    std::vector<int> forced;
    if (li == 8) {
      const int split = kBranchFrame - frame;
      shareJunctionDeparture(p, leg, split, isBranch, perf);
      forced.push_back(split);
    }
    const auto speeds = planSpeeds(leg.length, leg.restr, perf);
    legStartFrames.push_back(frame);
    fitSegments(speeds, frame, forced, p.profile.segs);
    frame += static_cast<int>(speeds.size()) - 1;
  }
  p.profile.segs.push_back({frame, frame + 660, 0, 0, 0});  // standing at the buffer stop
  return {legStartFrames, frame};
}

// One path: its profile, a stop at the start of each leg and one at the end, the legs'
// features placed along it and, on the branch, where it leaves the main line.
void buildPath(Path& p, std::vector<Leg>& legs, const std::vector<int>& stations, bool isBranch,
               const Perf& rec) {
  const LegFrames frames = planProfile(p, legs, isBranch, rec);
  const std::vector<double>& legStartFrames = frames.start;
  const int frame = frames.end;
  accumulate(p.profile);
  for (size_t si = 0; si < stations.size(); ++si) {
    const int f =
        si == 0 ? 30 : static_cast<int>(legStartFrames.size() > si ? legStartFrames[si] : frame);
    p.stops.push_back({stations[si], f, p.profile.sAt(f), 1 + static_cast<int>(si % 2)});
  }
  for (size_t li = 0; li < legs.size(); ++li)
    addLegFeatures(p, legs[li], p.profile.sAt(legStartFrames[li]));
  if (isBranch) {
    const double base = p.profile.sAt(legStartFrames[8]);
    p.divergeS += base;
    p.turnouts.back() = p.divergeS;
    // The branch leaves to the left through a turnout, away from the opposite track.
    p.curves.push_back({p.divergeS + 5, p.divergeS + 95, 1.0 / 300});
    p.curves.push_back({p.divergeS + 140, p.divergeS + 230, -1.0 / 300});
  }
  p.length = p.profile.sAt(p.profile.frames());
  p.doubleTrack = true;
}

}  // namespace

Line buildLine() {
  Line line;
  line.stations = stationNames();
  const Perf rec;  // the camera train
  const std::vector<Leg> trunk = trunkLegs(trunkScale(rec));
  std::vector<Leg> mainLegs = trunk, branchLegs = trunk;
  static const double mainLen[] = {3100, 2600, 3700};
  static const Scenery mainSc[] = {Scenery::Town, Scenery::Lake, Scenery::Town};
  for (int i = 0; i < 3; ++i) mainLegs.push_back(makeLeg(8 + i, mainLen[i], mainSc[i], false));
  static const double brLen[] = {2300, 1800, 2700, 2100};
  static const Scenery brSc[] = {Scenery::Hills, Scenery::Forest, Scenery::Hills, Scenery::Lake};
  for (int i = 0; i < 4; ++i) branchLegs.push_back(makeLeg(20 + i, brLen[i], brSc[i], true));

  std::vector<int> mainStations, branchStations;
  for (int i = 0; i <= 11; ++i) mainStations.push_back(i);
  for (int i = 0; i <= 8; ++i) branchStations.push_back(i);
  for (int i = 12; i <= 15; ++i) branchStations.push_back(i);
  buildPath(line.main, mainLegs, mainStations, false, rec);
  buildPath(line.branch, branchLegs, branchStations, true, rec);
  line.main.turnouts.push_back(line.branch.divergeS);  // the same switch, passed straight

  placeSignals(line.main, 0, 11, false, 0);
  placeSignals(line.branch, 0, 8, false, 0);
  placeSignals(line.branch, 8, 12, true, 0);
  for (Path* p : {&line.main, &line.branch}) {
    std::sort(p->limits.begin(), p->limits.end(),
              [](const Restriction& a, const Restriction& b) { return a.s0 < b.s0; });
    std::sort(p->crossings.begin(), p->crossings.end());
    placeBoards(*p);
    buildGeometry(*p, 900);
  }
  placeProps(line.main, 77);
  placeProps(line.branch, 77);
  if (line.main.profile.frames() <= kBranchFrame + 1)
    throw std::runtime_error("main line too short");
  if (line.main.profile.segs.size() > 480 || line.branch.profile.segs.size() > 480)
    throw std::runtime_error("speed profile needs too many segments");
  return line;
}

double runSeconds(const Path& path, double s0, double s1, const Perf& perf) {
  std::vector<Restriction> r;
  for (const auto& l : path.limits)
    if (l.s1 > s0 && l.s0 < s1) r.push_back({l.s0 - s0, l.s1 - s0, l.kmh, l.radius});
  return (static_cast<double>(planSpeeds(s1 - s0, r, perf).size()) - 1) / kFps;
}

}  // namespace demo
