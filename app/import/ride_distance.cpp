#include "ride_distance.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "geodesy.h"

namespace velmoria::import {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Stretch {
  size_t a = 0, b = 0;  // fixes [a, b)
};

// Splits where no fix comes for longer than the gap rule allows.
std::vector<Stretch> stretches(const std::vector<double>& t, double gapSeconds) {
  std::vector<double> steps;
  for (size_t i = 1; i < t.size(); ++i) steps.push_back(t[i] - t[i - 1]);
  std::vector<double> sorted = steps;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const double typical = sorted[sorted.size() / 2];
  const double gap = std::max(gapSeconds, 4 * typical);
  std::vector<Stretch> out{{0, 0}};
  for (size_t i = 1; i < t.size(); ++i)
    if (steps[i - 1] > gap) {
      out.back().b = i;
      out.push_back({i, 0});
    }
  out.back().b = t.size();
  return out;
}

// Weighted least squares of y over x = 0-centred offsets with degree 1 or 2: the value and
// the first derivative at 0.
struct LocalFit {
  double value = 0, slope = 0, curve = 0;  // y = value + slope x + curve x^2 about 0
};

LocalFit localPolynomial(const double* x, const double* y, const double* w, size_t n, int degree) {
  // Normal equations of up to 3 x 3, solved by Cramer's rule on sums of powers.
  double s[5] = {0, 0, 0, 0, 0}, r[3] = {0, 0, 0};
  for (size_t j = 0; j < n; ++j) {
    double p = w[j];
    for (int k = 0; k < 5; ++k, p *= x[j]) s[k] += p;
    r[0] += w[j] * y[j], r[1] += w[j] * y[j] * x[j], r[2] += w[j] * y[j] * x[j] * x[j];
  }
  if (degree == 2) {
    const double m[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
    const auto det3 = [](const double a[3][3]) {
      return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
             a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
             a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det3(m);
    if (std::fabs(d) > 1e-9 * std::max(1.0, s[0] * s[2] * s[4])) {
      double m0[3][3], m1[3][3];
      for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) m0[i][k] = m1[i][k] = m[i][k];
      double m2[3][3];
      for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) m2[i][k] = m[i][k];
      for (int i = 0; i < 3; ++i) m0[i][0] = r[i], m1[i][1] = r[i], m2[i][2] = r[i];
      return {det3(m0) / d, det3(m1) / d, det3(m2) / d};
    }
  }
  const double d = s[0] * s[2] - s[1] * s[1];
  if (std::fabs(d) > 1e-12 * std::max(1.0, s[0] * s[2]))
    return {(r[0] * s[2] - r[1] * s[1]) / d, (s[0] * r[1] - s[1] * r[0]) / d, 0};
  return {s[0] > 0 ? r[0] / s[0] : 0, 0, 0};
}

// Positions smoothed in time by local quadratics with Gaussian weights.
std::vector<Planar> smoothPositions(const std::vector<double>& t, const std::vector<Planar>& p,
                                    Stretch st, double sigma) {
  std::vector<Planar> out(st.b - st.a);
  std::vector<double> x, wx, px, py;
  size_t lo = st.a, hi = st.a;
  for (size_t i = st.a; i < st.b; ++i) {
    while (t[i] - t[lo] > 3 * sigma) ++lo;
    while (hi < st.b && t[hi] - t[i] <= 3 * sigma) ++hi;
    x.clear(), wx.clear(), px.clear(), py.clear();
    for (size_t j = lo; j < hi; ++j) {
      const double dt = t[j] - t[i];
      x.push_back(dt);
      wx.push_back(std::exp(-0.5 * dt * dt / (sigma * sigma)));
      px.push_back(p[j].x - p[i].x);
      py.push_back(p[j].y - p[i].y);
    }
    // Quadratics: a line through a curve taken at speed would pull every point inwards by
    // half the curvature times (speed x sigma) squared, a metre and more, and shorten the line.
    const size_t n = x.size();
    const int degree = n >= 5 ? 2 : 1;
    out[i - st.a] = {p[i].x + localPolynomial(x.data(), px.data(), wx.data(), n, degree).value,
                     p[i].y + localPolynomial(x.data(), py.data(), wx.data(), n, degree).value};
  }
  return out;
}

// Whether each fix moves: the mean positions of the ten seconds before and after it apart by
// more than the moving speed allows (ten fixes a side keep a standing receiver's noise well
// below it).
std::vector<bool> movingFixes(const std::vector<double>& t, const std::vector<Planar>& p,
                              Stretch st, double speed) {
  constexpr double kWindow = 10;
  std::vector<bool> out(st.b - st.a);
  size_t lo = st.a, hi = st.a;
  for (size_t i = st.a; i < st.b; ++i) {
    while (t[i] - t[lo] > kWindow) ++lo;
    while (hi < st.b && t[hi] - t[i] <= kWindow) ++hi;
    double bx = 0, by = 0, bt = 0, ax = 0, ay = 0, at = 0;
    int nb = 0, na = 0;
    for (size_t j = lo; j <= i; ++j) bx += p[j].x, by += p[j].y, bt += t[j], ++nb;
    for (size_t j = i; j < hi; ++j) ax += p[j].x, ay += p[j].y, at += t[j], ++na;
    const double span = at / na - bt / nb;
    const double moved = std::hypot(ax / na - bx / nb, ay / na - by / nb);
    out[i - st.a] = span > 0 && moved / std::max(span, 0.5) > speed;
  }
  // Within half a window of either end of the stretch one side is too short to tell: such a
  // fix moves as the nearest fix that can be told does.
  const auto told = [&](size_t i) {
    return t[i] - t[st.a] >= kWindow / 2 && t[st.b - 1] - t[i] >= kWindow / 2;
  };
  size_t firstTold = st.b, lastTold = st.b;
  for (size_t i = st.a; i < st.b; ++i)
    if (told(i)) {
      if (firstTold == st.b) firstTold = i;
      lastTold = i;
    }
  if (firstTold < st.b) {
    for (size_t i = st.a; i < firstTold; ++i) out[i - st.a] = out[firstTold - st.a];
    for (size_t i = lastTold + 1; i < st.b; ++i) out[i - st.a] = out[lastTold - st.a];
  }
  // A few seconds of "moving" between two stands is the noise of a standing receiver: no train
  // leaves and stops again within ten seconds.
  for (size_t i = 0; i < out.size();) {
    size_t j = i;
    while (j < out.size() && out[j] == out[i]) ++j;
    if (out[i] && i > 0 && j < out.size() && t[st.a + j - 1] - t[st.a + i] < kWindow)
      std::fill(out.begin() + static_cast<long>(i), out.begin() + static_cast<long>(j), false);
    i = j;
  }
  return out;
}

// A line through points, every metre of its length: a Catmull-Rom curve through them, so that
// fixes tens of metres apart on a curve keep the curve's length (their chords would not).
std::vector<Planar> resample(const std::vector<Planar>& pts) {
  std::vector<Planar> out;
  if (pts.empty()) return out;
  out.push_back(pts.front());
  const size_t n = pts.size();
  double carry = 0;  // metres of curve since the last sample
  Planar last = pts.front();
  for (size_t i = 0; i + 1 < n; ++i) {
    const Planar& a = pts[i];
    const Planar& b = pts[i + 1];
    const Planar& pa = i > 0 ? pts[i - 1] : a;
    const Planar& pb = i + 2 < n ? pts[i + 2] : b;
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    const int steps = std::max(1, static_cast<int>(std::ceil(chord / 0.25)));
    for (int k = 1; k <= steps; ++k) {
      const double t = static_cast<double>(k) / steps, t2 = t * t, t3 = t2 * t;
      const auto cr = [&](double p0, double p1, double p2, double p3) {
        return 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                      (3 * p1 - p0 - 3 * p2 + p3) * t3);
      };
      const Planar q{cr(pa.x, a.x, b.x, pb.x), cr(pa.y, a.y, b.y, pb.y)};
      carry += std::hypot(q.x - last.x, q.y - last.y);
      last = q;
      if (carry >= 1) {
        out.push_back(q);
        carry = 0;
      }
    }
  }
  if (carry > 0) out.push_back(pts.back());
  return out;
}

// Smoothed along its samples by local quadratics with Gaussian weights (the ends keep their
// place).
std::vector<Planar> smoothLine(const std::vector<Planar>& r, double sigma) {
  std::vector<Planar> out(r.size());
  const long reach = static_cast<long>(std::ceil(3 * sigma));
  std::vector<double> x, w, px, py;
  for (long i = 0; i < static_cast<long>(r.size()); ++i) {
    x.clear(), w.clear(), px.clear(), py.clear();
    for (long j = std::max(0L, i - reach); j <= std::min<long>(r.size() - 1, i + reach); ++j) {
      const double d = static_cast<double>(j - i);
      x.push_back(d);
      w.push_back(std::exp(-0.5 * d * d / (sigma * sigma)));
      px.push_back(r[j].x - r[i].x);
      py.push_back(r[j].y - r[i].y);
    }
    // Quadratics, so that the line keeps its curves' radius (lines would pull it inwards).
    const int degree = x.size() >= 5 ? 2 : 1;
    out[i] = {r[i].x + localPolynomial(x.data(), px.data(), w.data(), x.size(), degree).value,
              r[i].y + localPolynomial(x.data(), py.data(), w.data(), x.size(), degree).value};
  }
  return out;
}

// The drawn line of one stretch with its arc lengths; `lead` metres of straight extension
// before its first point, so that fixes standing before the first moving one measure back.
struct Line {
  std::vector<Planar> pts;
  std::vector<double> arc;
  double lead = 0;    // arc of the line's own first point
  double length = 0;  // arc of its own last point
  bool hasHeading = false;
  double headingIn = 0, headingOut = 0;      // radians, at its two ends
  double curvatureIn = 0, curvatureOut = 0;  // 1/m, positive turning left
};

Line drawLine(const std::vector<Planar>& smoothed, const std::vector<bool>& moving,
              const RideOptions& opt) {
  std::vector<Planar> drawn;
  for (size_t i = 0; i < smoothed.size(); ++i)
    if (moving[i]) drawn.push_back(smoothed[i]);
  if (drawn.size() < 2) drawn = smoothed;
  // Along the line, noise is smoothed over at least the distance between two fixes: a curve
  // drawn through noisy fixes 25 m apart zig-zags, and its zig-zags lengthen it.
  std::vector<double> steps;
  for (size_t i = 1; i < drawn.size(); ++i)
    steps.push_back(std::hypot(drawn[i].x - drawn[i - 1].x, drawn[i].y - drawn[i - 1].y));
  double spacing = 0;
  if (!steps.empty()) {
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(steps.size() / 2),
                     steps.end());
    spacing = steps[steps.size() / 2];
  }
  std::vector<Planar> core =
      smoothLine(resample(drawn), std::max(opt.lineSigma, spacing * opt.spacingSigma));
  Line line;
  if (core.size() < 2) {
    line.pts = {core.empty() ? smoothed.front() : core.front()};
    line.arc = {0};
    return line;
  }
  // The heading and the curvature at an end, from quadratics through the last 60 m (a chord
  // of them would lag the tangent on a curve by half of its turn).
  const auto endOf = [&](bool atStart, double& heading, double& curvature) {
    const size_t span = std::min<size_t>(60, core.size() - 1);
    std::vector<double> x, w, px, py;
    for (size_t k = 0; k <= span; ++k) {
      const size_t j = atStart ? k : core.size() - 1 - k;
      const size_t end = atStart ? 0 : core.size() - 1;
      x.push_back(atStart ? double(k) : -double(k));
      w.push_back(1);
      px.push_back(core[j].x - core[end].x);
      py.push_back(core[j].y - core[end].y);
    }
    const int degree = span >= 4 ? 2 : 1;
    const LocalFit fx = localPolynomial(x.data(), px.data(), w.data(), x.size(), degree);
    const LocalFit fy = localPolynomial(x.data(), py.data(), w.data(), x.size(), degree);
    heading = std::atan2(fy.slope, fx.slope);
    const double speed = std::hypot(fx.slope, fy.slope);
    curvature = speed > 0
                    ? (fx.slope * 2 * fy.curve - fy.slope * 2 * fx.curve) / (speed * speed * speed)
                    : 0;
  };
  line.hasHeading = true;
  endOf(true, line.headingIn, line.curvatureIn);
  endOf(false, line.headingOut, line.curvatureOut);
  constexpr int kExtend = 60;
  for (int k = kExtend; k >= 1; --k)
    line.pts.push_back({core.front().x - k * std::cos(line.headingIn),
                        core.front().y - k * std::sin(line.headingIn)});
  line.pts.insert(line.pts.end(), core.begin(), core.end());
  for (int k = 1; k <= kExtend; ++k)
    line.pts.push_back({core.back().x + k * std::cos(line.headingOut),
                        core.back().y + k * std::sin(line.headingOut)});
  line.arc.assign(line.pts.size(), 0);
  for (size_t i = 1; i < line.pts.size(); ++i)
    line.arc[i] = line.arc[i - 1] +
                  std::hypot(line.pts[i].x - line.pts[i - 1].x, line.pts[i].y - line.pts[i - 1].y);
  line.lead = line.arc[kExtend];
  line.length = line.arc[line.pts.size() - 1 - kExtend];
  return line;
}

// The arc of the point of the line nearest p, looked for from segment `from` on within
// `back` and `ahead` segments; `from` becomes the segment found.
double project(const Line& line, Planar p, size_t& from, size_t back, size_t ahead) {
  if (line.pts.size() < 2) return 0;
  const size_t segs = line.pts.size() - 1;
  const size_t lo = from > back ? from - back : 0;
  const size_t hi = std::min(segs, from + ahead + 1);
  double best = std::numeric_limits<double>::max(), arc = 0;
  for (size_t k = lo; k < hi; ++k) {
    const Planar& a = line.pts[k];
    const Planar& b = line.pts[k + 1];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double u =
        len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
    const double d = std::hypot(a.x + u * dx - p.x, a.y + u * dy - p.y);
    if (d < best) best = d, arc = line.arc[k] + u * (line.arc[k + 1] - line.arc[k]), from = k;
  }
  return arc;
}

// The nearest nondecreasing sequence in the least-squares sense (pool adjacent violators).
std::vector<double> monotone(const std::vector<double>& v) {
  std::vector<double> value, weight;
  std::vector<size_t> count;
  for (double x : v) {
    value.push_back(x), weight.push_back(1), count.push_back(1);
    while (value.size() > 1 && value[value.size() - 2] > value.back()) {
      const size_t k = value.size() - 1;
      const double w = weight[k - 1] + weight[k];
      value[k - 1] = (value[k - 1] * weight[k - 1] + value[k] * weight[k]) / w;
      weight[k - 1] = w;
      count[k - 1] += count[k];
      value.pop_back(), weight.pop_back(), count.pop_back();
    }
  }
  std::vector<double> out;
  for (size_t k = 0; k < value.size(); ++k) out.insert(out.end(), count[k], value[k]);
  return out;
}

double wrap(double a) {
  while (a > kPi) a -= 2 * kPi;
  while (a <= -kPi) a += 2 * kPi;
  return a;
}

// Curves across a gap from the last fix before it to the first after it, each leaving and
// arriving along the line's headings there. Neither knows the line inside; they err to
// opposite sides where a curve runs on into a straight (the cubic short, the quintic long).
Planar sample(const std::function<double(double, bool)>& at, double u) {
  return {at(u, true), at(u, false)};
}

double curveLength(const std::function<double(double, bool)>& at) {
  double length = 0;
  Planar last = sample(at, 0);
  constexpr int kSteps = 400;
  for (int k = 1; k <= kSteps; ++k) {
    const Planar q = sample(at, static_cast<double>(k) / kSteps);
    length += std::hypot(q.x - last.x, q.y - last.y);
    last = q;
  }
  return length;
}

// The cubic Bezier curve whose arms are as long as make a circular arc of either end's turn
// exact (a third of the chord on a straight).
double cubicLength(Planar from, Planar to, double headingOut, double headingIn) {
  const double chord = std::hypot(to.x - from.x, to.y - from.y);
  const double dir = std::atan2(to.y - from.y, to.x - from.x);
  const double a = wrap(dir - headingOut), b = wrap(headingIn - dir);
  const double armFrom = chord / (3 * std::cos(a / 2) * std::cos(a / 2));
  const double armTo = chord / (3 * std::cos(b / 2) * std::cos(b / 2));
  const Planar p1{from.x + armFrom * std::cos(headingOut), from.y + armFrom * std::sin(headingOut)};
  const Planar p2{to.x - armTo * std::cos(headingIn), to.y - armTo * std::sin(headingIn)};
  return curveLength([&](double t, bool xs) {
    const double u = 1 - t;
    const auto c = [&](double p0, double q1, double q2, double p3) {
      return u * u * u * p0 + 3 * u * u * t * q1 + 3 * u * t * t * q2 + t * t * t * p3;
    };
    return xs ? c(from.x, p1.x, p2.x, to.x) : c(from.y, p1.y, p2.y, to.y);
  });
}

// The quintic curve that also keeps the line's curvature at both ends; its speed along its
// parameter is taken as its own length (found by repeating), so that its shape does not depend
// on the parameter.
double quinticLength(Planar from, Planar to, double headingOut, double curvatureOut,
                     double headingIn, double curvatureIn) {
  const double c0 = std::cos(headingOut), s0 = std::sin(headingOut);
  const double c1 = std::cos(headingIn), s1 = std::sin(headingIn);
  double length = std::hypot(to.x - from.x, to.y - from.y);
  for (int round = 0; round < 4; ++round) {
    const double L = length;
    const Planar d0{L * c0, L * s0}, d1{L * c1, L * s1};
    const Planar a0{-L * L * curvatureOut * s0, L * L * curvatureOut * c0};
    const Planar a1{-L * L * curvatureIn * s1, L * L * curvatureIn * c1};
    length = curveLength([&](double u, bool xs) {
      const double p0 = xs ? from.x : from.y, p1 = xs ? to.x : to.y;
      const double v0 = xs ? d0.x : d0.y, v1 = xs ? d1.x : d1.y;
      const double q0 = xs ? a0.x : a0.y, q1 = xs ? a1.x : a1.y;
      const double u2 = u * u, u3 = u2 * u, u4 = u3 * u, u5 = u4 * u;
      return (1 - 10 * u3 + 15 * u4 - 6 * u5) * p0 + (u - 6 * u3 + 8 * u4 - 3 * u5) * v0 +
             0.5 * (u2 - 3 * u3 + 3 * u4 - u5) * q0 + 0.5 * (u3 - 2 * u4 + u5) * q1 +
             (-4 * u3 + 7 * u4 - 3 * u5) * v1 + (10 * u3 - 15 * u4 + 6 * u5) * p1;
    });
  }
  return length;
}

// The length of the line across a gap: the mean of the two curves. A standing train (or one
// barely moving) has gone the chord, or nowhere when that is within the noise.
double gapLength(Planar from, Planar to, const Line& before, const Line& after, double vFrom,
                 double vTo) {
  const double chord = std::hypot(to.x - from.x, to.y - from.y);
  const bool moving = vFrom > 1 && vTo > 1;
  if (!moving) return chord < 3 ? 0 : chord;
  if (!before.hasHeading || !after.hasHeading || chord < 1) return chord;
  const double dir = std::atan2(to.y - from.y, to.x - from.x);
  // A heading that turns away from the chord by more than a right angle is no curve a train
  // runs: take the chord.
  if (std::fabs(wrap(dir - before.headingOut)) > kPi / 2 ||
      std::fabs(wrap(after.headingIn - dir)) > kPi / 2)
    return chord;
  return (cubicLength(from, to, before.headingOut, after.headingIn) +
          quinticLength(from, to, before.headingOut, before.curvatureOut, after.headingIn,
                        after.curvatureIn)) /
         2;
}

// The distance across a gap: its geometry (gapLength) and the time it took at the speeds at
// its ends, each weighted by how far it can be off. The curve between the ends is a guess that
// grows worse with the turn; the speeds tell the distance well where they are alike at both
// ends (a train keeping its speed through a tunnel) and poorly where the train changed speed.
double bridge(Planar from, Planar to, const Line& before, const Line& after, double vFrom,
              double vTo, double seconds) {
  const double geometric = gapLength(from, to, before, after, vFrom, vTo);
  if (!(vFrom > 1 && vTo > 1) || !before.hasHeading || !after.hasHeading) return geometric;
  const double kinematic = (vFrom + vTo) / 2 * seconds;
  const double turn = std::fabs(wrap(after.headingIn - before.headingOut));
  const double geoError = geometric * (0.002 + 0.01 * turn);
  const double kinError = 0.5 * std::fabs(vFrom - vTo) * seconds + 0.25 * seconds;
  const double wg = 1 / (geoError * geoError), wk = 1 / (kinError * kinError);
  const double chord = std::hypot(to.x - from.x, to.y - from.y);
  return std::max(chord, (geometric * wg + kinematic * wk) / (wg + wk));
}

}  // namespace

RideProfile rideProfile(const Track& track, const RideOptions& opt) {
  const auto& pts = track.points;
  if (pts.size() < 2) throw TrackError("the track has fewer than two fixes");
  std::vector<double> t(pts.size());
  for (size_t i = 0; i < pts.size(); ++i) t[i] = pts[i].time;
  const std::vector<Planar> p = develop(pts);

  RideProfile ride;
  ride.time = t;
  ride.dist.assign(pts.size(), 0);
  ride.slope.assign(pts.size(), 0);

  double base = 0;
  Line lastLine;
  Planar lastEnd{};
  double lastSpeed = 0;
  for (const Stretch& st : stretches(t, opt.gapSeconds)) {
    const size_t n = st.b - st.a;
    const std::vector<Planar> smoothed = smoothPositions(t, p, st, opt.timeSigma);
    const std::vector<bool> moving = movingFixes(t, p, st, opt.movingSpeed);
    Line line = drawLine(smoothed, moving, opt);

    // Each fix measured along the line, from where the fix before it was.
    std::vector<double> arc(n);
    size_t seg = 0;
    for (size_t i = 0; i < n; ++i) {
      const double dt = i == 0 ? 0 : t[st.a + i] - t[st.a + i - 1];
      // The first fix lies where the line begins (a line that comes back past its start, a
      // loop, must not catch it later on).
      const size_t ahead = i == 0 ? 500 : static_cast<size_t>(dt * 70 + 60);
      arc[i] = project(line, p[st.a + i], seg, i == 0 ? 0 : 30, ahead);
    }

    // A stand is where the train was: every fix of it at the median of their distances.
    for (size_t i = 0; i < n;) {
      size_t j = i;
      while (j < n && moving[j] == moving[i]) ++j;
      if (!moving[i]) {
        std::vector<double> run(arc.begin() + static_cast<long>(i),
                                arc.begin() + static_cast<long>(j));
        std::nth_element(run.begin(), run.begin() + static_cast<long>(run.size() / 2), run.end());
        std::fill(arc.begin() + static_cast<long>(i), arc.begin() + static_cast<long>(j),
                  run[run.size() / 2]);
      }
      i = j;
    }
    // Local quadratics in time, then never decreasing. Where the wide window does not fit the
    // fixes (a start, the first touch of the brake: the acceleration jumps) by much more than the
    // track's own noise, the narrow one is taken.
    const double* times = t.data() + st.a;
    const auto fitAt = [&](size_t i, double h, double* misfit) {
      const size_t lo =
          static_cast<size_t>(std::lower_bound(times, times + n, times[i] - h) - times);
      const size_t hi =
          static_cast<size_t>(std::upper_bound(times, times + n, times[i] + h) - times);
      std::vector<double> x, w, y;
      for (size_t j = lo; j < hi; ++j) {
        const double dt = times[j] - times[i];
        const double u = std::min(1.0, std::fabs(dt) / (h * 1.0001));
        const double tri = 1 - u * u * u;
        x.push_back(dt), w.push_back(tri * tri * tri), y.push_back(arc[j] - arc[i]);
      }
      const LocalFit f =
          localPolynomial(x.data(), y.data(), w.data(), x.size(), x.size() >= 4 ? 2 : 1);
      if (misfit) {
        double sw = 0, se = 0;
        for (size_t k = 0; k < x.size(); ++k) {
          const double e = y[k] - f.value - f.slope * x[k] - f.curve * x[k] * x[k];
          sw += w[k], se += w[k] * e * e;
        }
        *misfit = sw > 0 && x.size() > 3 ? std::sqrt(se / sw * x.size() / (x.size() - 3.0)) : 0;
      }
      return f;
    };
    const double wide = opt.smoothWindow, narrow = opt.smoothWindow / 2;
    std::vector<LocalFit> wideFit(n);
    std::vector<double> misfit(n);
    for (size_t i = 0; i < n; ++i) wideFit[i] = fitAt(i, wide, &misfit[i]);
    std::vector<double> sorted = misfit;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<long>(n / 2), sorted.end());
    const double noise = std::max(0.05, sorted[n / 2]);
    std::vector<double> value(n), slope(n);
    for (size_t i = 0; i < n; ++i) {
      const LocalFit f = misfit[i] > 2 * noise ? fitAt(i, narrow, nullptr) : wideFit[i];
      value[i] = arc[i] + f.value;
      slope[i] = std::max(0.0, f.slope);
    }
    value = monotone(value);

    if (st.a > 0) {
      // Across the gap: from where the last stretch ended to where this one begins.
      base +=
          bridge(lastEnd, p[st.a], lastLine, line, lastSpeed, slope.front(), t[st.a] - t[st.a - 1]);
      ride.gaps.push_back(static_cast<int>(st.a) - 1);
    }
    for (size_t i = 0; i < n; ++i) {
      ride.dist[st.a + i] = base + value[i] - value.front();
      ride.slope[st.a + i] = slope[i];
    }
    base = ride.dist[st.b - 1];
    lastEnd = p[st.b - 1];
    lastSpeed = slope.back();
    lastLine = std::move(line);
  }

  // Monotone cubic pieces (Fritsch and Carlson): no piece may run backwards or overshoot.
  auto& m = ride.slope;
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    const double delta = (ride.dist[i + 1] - ride.dist[i]) / (t[i + 1] - t[i]);
    if (delta <= 0) {
      m[i] = m[i + 1] = 0;
      continue;
    }
    const double a = m[i] / delta, b = m[i + 1] / delta;
    const double r = a * a + b * b;
    if (r > 9) {
      const double tau = 3 / std::sqrt(r);
      m[i] = tau * a * delta, m[i + 1] = tau * b * delta;
    }
  }
  return ride;
}

namespace {
size_t pieceOf(const RideProfile& r, double t) {
  const auto it = std::upper_bound(r.time.begin(), r.time.end(), t);
  return static_cast<size_t>(std::clamp<long>(it - r.time.begin() - 1, 0, long(r.time.size()) - 2));
}
}  // namespace

double RideProfile::at(double t) const {
  if (t <= time.front()) return dist.front();
  if (t >= time.back()) return dist.back();
  const size_t i = pieceOf(*this, t);
  const double h = time[i + 1] - time[i];
  const double s = (t - time[i]) / h;
  const double s2 = s * s, s3 = s2 * s;
  return (2 * s3 - 3 * s2 + 1) * dist[i] + (s3 - 2 * s2 + s) * h * slope[i] +
         (-2 * s3 + 3 * s2) * dist[i + 1] + (s3 - s2) * h * slope[i + 1];
}

double RideProfile::speedAt(double t) const {
  if (t <= time.front() || t >= time.back()) return 0;
  const size_t i = pieceOf(*this, t);
  const double h = time[i + 1] - time[i];
  const double s = (t - time[i]) / h;
  const double s2 = s * s;
  return ((6 * s2 - 6 * s) * dist[i] + (3 * s2 - 4 * s + 1) * h * slope[i] +
          (-6 * s2 + 6 * s) * dist[i + 1] + (3 * s2 - 2 * s) * h * slope[i + 1]) /
         h;
}

}  // namespace velmoria::import
