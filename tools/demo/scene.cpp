#include "scene.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace demo {

namespace {

constexpr double kEye = 2.9;        // camera height above the rail, metres
constexpr double kFar = 650;        // drawing distance
constexpr double kOpposite = -3.8;  // the opposite track lies to the right
constexpr double kHalfGauge = 0.5335;

struct Cam {
  double s, X, Y, Z, th, g, cs, sn;
  double f, cx, hy;
  int W, H;
};

struct Pt {
  double x = 0, y = 0, fw = 0;
  bool ok = false;
};

double lerp(double a, double b, double t) {
  return a + (b - a) * t;
}

Cam makeCam(const Path& p, double s, int W, int H) {
  Cam c{};
  c.s = s;
  const int i = p.lookup(s);
  const double t = s - i;
  c.X = lerp(p.X[i], p.X[i + 1], t), c.Y = lerp(p.Y[i], p.Y[i + 1], t),
  c.Z = lerp(p.Z[i], p.Z[i + 1], t);
  // Look a little ahead so curves turn the view smoothly, as the cab's body follows the bogie.
  const int j = p.lookup(s + 6);
  c.th = lerp(p.heading[i], p.heading[j], 0.5);
  c.g = lerp(p.gradeAt[i], p.gradeAt[i + 1], t) / 1000.0;
  c.cs = std::cos(c.th), c.sn = std::sin(c.th);
  c.W = W, c.H = H;
  c.f = W / 2.0 / std::tan(27.0 * M_PI / 180.0);
  c.cx = W / 2.0;
  c.hy = H * 0.40;
  return c;
}

Pt project(const Cam& c, const Path& q, double t, double o, double z) {
  const int i = q.lookup(t);
  const double fr = t - i;
  const double X = lerp(q.X[i], q.X[i + 1], fr), Y = lerp(q.Y[i], q.Y[i + 1], fr);
  const double Z = lerp(q.Z[i], q.Z[i + 1], fr);
  // The normal changes little within a metre: interpolating sine and cosine is close enough.
  const double px = X - o * lerp(q.sinH[i], q.sinH[i + 1], fr),
               py = Y + o * lerp(q.cosH[i], q.cosH[i + 1], fr);
  const double rx = px - c.X, ry = py - c.Y;
  const double cs = c.cs, sn = c.sn;
  Pt r;
  r.fw = rx * cs + ry * sn;
  const double lat = -rx * sn + ry * cs;
  const double vert = (Z + z - c.Z) - c.g * r.fw;
  if (r.fw < 0.6) return r;
  r.ok = true;
  r.x = c.cx - c.f * lat / r.fw;
  r.y = c.hy + c.f * (kEye - vert) / r.fw;
  return r;
}

Rgb fog(Rgb c, double d) {
  return mix(c, Rgb{196, 210, 222}, std::min(0.55, d / 1300.0));
}

bool inSpan(const std::vector<Span>& spans, double s, const Span** which = nullptr) {
  for (const auto& sp : spans)
    if (s >= sp.s0 && s <= sp.s1) {
      if (which) *which = &sp;
      return true;
    }
  return false;
}

bool doubleAt(const Path& p, double s) {
  return p.divergeS < 0 || s < p.divergeS + 40;
}

Scenery sceneryAt(const Path& p, double s) {
  for (const auto& z : p.scenery)
    if (s >= z.s0 && s < z.s1) return z.kind;
  return Scenery::Fields;
}

// Distant hills: a fixed silhouette around the compass, turned with the camera.
const std::array<float, 1024>& hillProfile() {
  static const std::array<float, 1024> prof = [] {
    std::array<float, 1024> a{};
    for (int i = 0; i < 1024; ++i) {
      const double t = i * 2 * M_PI / 1024;
      a[i] = static_cast<float>(14 + 7 * std::sin(3 * t + 0.4) + 5 * std::sin(7 * t + 1.3) +
                                3 * std::sin(17 * t + 2.1) + 1.5 * std::sin(41 * t));
    }
    return a;
  }();
  return prof;
}

void quad(Image& img, const Pt& a, const Pt& b, const Pt& c, const Pt& d, Rgb col) {
  if (a.ok && b.ok && c.ok && d.ok) img.fillQuad(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, col);
}

struct Sample {
  double d, t;
};

struct Item {
  double d;
  int kind;
  size_t idx;
};

enum ItemKind { kPole, kSignal, kBoard, kProp, kStation, kCrossing, kPortal, kStopMark };

}  // namespace

void Renderer::render(const Path& path, const Path* other, double frame, Image& img) const {
  const int W = img.width(), H = img.height();
  const double s = path.profile.sAt(frame);
  const Cam cam = makeCam(path, s, W, H);
  const int iframe = static_cast<int>(frame);

  // Sky, distant hills and the ground.
  const double horizon = cam.hy + cam.f * cam.g;
  const int hz = std::clamp(static_cast<int>(horizon), 1, H - 1);
  img.verticalGradient(0, hz, Rgb{92, 142, 210}, Rgb{200, 218, 232});
  const auto& hills = hillProfile();
  const double scale = W / 480.0;
  for (int x = 0; x < W; ++x) {
    const double ang = cam.th + std::atan((cam.cx - x) / cam.f);
    const int k = static_cast<int>(std::fmod(ang / (2 * M_PI) * 1024 + 1024 * 64, 1024.0));
    const int top = hz - static_cast<int>(hills[k] * scale);
    for (int y = std::max(0, top); y < hz; ++y)
      img.row(y)[x] = mix(Rgb{122, 146, 150}, Rgb{150, 170, 168}, (y - top) / 30.0);
  }
  const Scenery here = sceneryAt(path, s);
  Rgb groundFar{150, 170, 120}, groundNear{92, 130, 58};
  if (here == Scenery::Town) groundFar = {165, 165, 150}, groundNear = {120, 124, 104};
  if (here == Scenery::Forest) groundFar = {110, 140, 100}, groundNear = {60, 94, 46};
  if (here == Scenery::Hills) groundFar = {140, 150, 110}, groundNear = {96, 112, 62};
  img.verticalGradient(hz, H, groundFar, groundNear);

  std::vector<Sample> samples;
  for (double d = 1.5; d < kFar; d += std::max(0.5, d * 0.035)) samples.push_back({d, s + d});
  const size_t n = samples.size();

  auto trackBed = [&](const Path& q, double o, double tFrom) {
    for (size_t i = n - 1; i >= 1; --i) {
      const double t0 = samples[i - 1].t, t1 = samples[i].t;
      if (t1 < tFrom) continue;
      const double a0 = std::max(t0, tFrom);
      const double d = samples[i].d;
      const Span* br = nullptr;
      if (inSpan(q.bridges, t0, &br)) {
        quad(img, project(cam, q, a0, o + 70, -6), project(cam, q, t1, o + 70, -6),
             project(cam, q, t1, o - 70, -6), project(cam, q, a0, o - 70, -6),
             fog(Rgb{70, 110, 150}, d));
      }
      quad(img, project(cam, q, a0, o + 2.6, -0.35), project(cam, q, t1, o + 2.6, -0.35),
           project(cam, q, t1, o - 2.6, -0.35), project(cam, q, a0, o - 2.6, -0.35),
           fog(Rgb{118, 112, 96}, d));
      quad(img, project(cam, q, a0, o + 1.6, -0.1), project(cam, q, t1, o + 1.6, -0.1),
           project(cam, q, t1, o - 1.6, -0.1), project(cam, q, a0, o - 1.6, -0.1),
           fog(d > 70 ? Rgb{128, 114, 100} : Rgb{146, 138, 128}, d));
    }
  };
  auto sleepersAndRails = [&](const Path& q, double o, double tFrom) {
    // Sleepers every 0.6 m close by; further on the ballast colour stands for them.
    const double first = std::ceil(std::max(s + 2.0, tFrom) / 0.6) * 0.6;
    for (double t = s + 70; t >= first; t -= 0.6) {
      const double tt = std::round(t / 0.6) * 0.6;
      const Pt a = project(cam, q, tt, o + 1.05, 0), b = project(cam, q, tt, o - 1.05, 0);
      const Pt c = project(cam, q, tt + 0.22, o - 1.05, 0),
               e = project(cam, q, tt + 0.22, o + 1.05, 0);
      if (!a.ok) continue;
      if (a.y - e.y < 0.35) {
        img.line(a.x, a.y, b.x, b.y, Rgb{92, 84, 76}, 0.6);
        continue;
      }
      quad(img, a, b, c, e, Rgb{96, 88, 80});
    }
    for (double side : {-1.0, 1.0}) {
      Pt prev;
      for (size_t i = 0; i < n; ++i) {
        if (samples[i].t < tFrom) continue;
        const Pt p = project(cam, q, samples[i].t, o + side * kHalfGauge, 0.15);
        if (prev.ok && p.ok) {
          const double w = std::clamp(cam.f * 0.07 / p.fw, 0.6, 4.0);
          img.line(prev.x, prev.y, p.x, p.y, fog(Rgb{176, 174, 170}, samples[i].d), w);
        }
        prev = p;
      }
    }
  };
  auto wires = [&](const Path& q, double o, double tFrom) {
    Pt pc, pm;
    for (size_t i = 0; i < n; ++i) {
      if (samples[i].t < tFrom) continue;
      const Pt c = project(cam, q, samples[i].t, o, 5.2), m = project(cam, q, samples[i].t, o, 6.3);
      if (pc.ok && c.ok) img.line(pc.x, pc.y, c.x, c.y, Rgb{40, 40, 44}, c.fw < 15 ? 1.6 : 0.8);
      if (pm.ok && m.ok) img.line(pm.x, pm.y, m.x, m.y, Rgb{64, 64, 70}, 0.7);
      pc = c, pm = m;
    }
  };

  // The other path's track where the two part.
  const double split = path.divergeS > 0 ? path.divergeS : (other ? other->divergeS : -1);
  const bool nearSplit = other && split > 0 && s > split - kFar && s < split + 200;
  if (nearSplit) trackBed(*other, 0, split + 1);
  trackBed(path, 0, s);
  if (doubleAt(path, s + 50) || doubleAt(path, s)) trackBed(path, kOpposite, s);

  // Platforms: the edge face, the surface and the yellow line, on the left.
  for (const auto& st : path.stops) {
    const double p0 = st.s - 215, p1 = st.s + 15;
    if (p1 < s || p0 > s + kFar) continue;
    for (size_t i = n - 1; i >= 1; --i) {
      const double t0 = std::max(samples[i - 1].t, p0), t1 = std::min(samples[i].t, p1);
      if (t1 <= t0) continue;
      const double d = samples[i].d;
      quad(img, project(cam, path, t0, 1.55, 0), project(cam, path, t1, 1.55, 0),
           project(cam, path, t1, 1.55, 1.05), project(cam, path, t0, 1.55, 1.05),
           fog(Rgb{120, 118, 112}, d));
      quad(img, project(cam, path, t0, 1.55, 1.05), project(cam, path, t1, 1.55, 1.05),
           project(cam, path, t1, 7.5, 1.05), project(cam, path, t0, 7.5, 1.05),
           fog(Rgb{186, 184, 178}, d));
      quad(img, project(cam, path, t0, 2.3, 1.06), project(cam, path, t1, 2.3, 1.06),
           project(cam, path, t1, 2.6, 1.06), project(cam, path, t0, 2.6, 1.06),
           fog(Rgb{226, 196, 40}, d));
    }
  }
  // Level crossings: the road over the tracks.
  for (double c : path.crossings) {
    if (c < s - 4 || c > s + kFar) continue;
    const double d = c - s;
    quad(img, project(cam, path, c - 3, 30, 0.05), project(cam, path, c + 3, 30, 0.05),
         project(cam, path, c + 3, -30, 0.05), project(cam, path, c - 3, -30, 0.05),
         fog(Rgb{84, 84, 88}, d));
  }
  if (nearSplit) sleepersAndRails(*other, 0, split + 1);
  sleepersAndRails(path, 0, s);
  if (doubleAt(path, s)) sleepersAndRails(path, kOpposite, s);

  // Overhead wires before the objects, so that portals and poles stand in front of them.
  if (nearSplit) wires(*other, 0, split + 1);
  wires(path, 0, s);
  if (doubleAt(path, s)) wires(path, kOpposite, s);

  // Wayside objects, far to near.
  std::vector<Item> items;
  const double end = s + kFar;
  const bool inTunnelNow = inSpan(path.tunnels, s);
  for (double t = std::ceil((s + 2) / 50) * 50; t < end; t += 50)
    if (!inSpan(path.tunnels, t)) items.push_back({t - s, kPole, static_cast<size_t>(t)});
  for (size_t i = 0; i < path.signals.size(); ++i)
    if (path.signals[i].s > s + 1 && path.signals[i].s < end)
      items.push_back({path.signals[i].s - s, kSignal, i});
  for (size_t i = 0; i < path.boards.size(); ++i)
    if (path.boards[i].s > s + 1 && path.boards[i].s < end)
      items.push_back({path.boards[i].s - s, kBoard, i});
  auto it = std::lower_bound(path.props.begin(), path.props.end(), s + 3,
                             [](const Prop& p, double v) { return p.s < v; });
  for (; it != path.props.end() && it->s < end; ++it)
    items.push_back({it->s - s, kProp, static_cast<size_t>(it - path.props.begin())});
  for (size_t i = 0; i < path.stops.size(); ++i) {
    const double bs = path.stops[i].s - 40;
    if (bs > s + 1 && bs < end) items.push_back({bs - s, kStation, i});
    const double ms = path.stops[i].s + 8;
    if (ms > s + 1 && ms < end) items.push_back({ms - s, kStopMark, i});
  }
  for (size_t i = 0; i < path.crossings.size(); ++i)
    if (path.crossings[i] > s - 2 && path.crossings[i] < end)
      items.push_back({std::max(1.0, path.crossings[i] - 4 - s), kCrossing, i});
  for (size_t i = 0; i < path.tunnels.size(); ++i)
    if (path.tunnels[i].s0 > s + 1 && path.tunnels[i].s0 < end)
      items.push_back({path.tunnels[i].s0 - s, kPortal, i});
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.d > b.d; });

  auto box = [&](double t, double o0, double o1, double z0, double z1, Rgb col) {
    const Pt a = project(cam, path, t, o0, z0), b = project(cam, path, t, o1, z1);
    if (!a.ok || !b.ok) return;
    img.fillRect(static_cast<int>(std::min(a.x, b.x)), static_cast<int>(std::min(a.y, b.y)),
                 static_cast<int>(std::ceil(std::max(a.x, b.x))) + 0,
                 static_cast<int>(std::ceil(std::max(a.y, b.y))), col);
  };
  auto post = [&](double t, double o, double z1, double w, Rgb col) {
    const Pt a = project(cam, path, t, o, 0), b = project(cam, path, t, o, z1);
    if (!a.ok || !b.ok) return;
    const double px = std::max(1.0, cam.f * w / a.fw);
    img.fillRect(static_cast<int>(a.x - px / 2), static_cast<int>(b.y),
                 static_cast<int>(a.x + px / 2 + 1), static_cast<int>(a.y), col);
  };
  auto sprite = [&](const Image& spr, double t, double o, double z0, double w, double h) {
    const Pt a = project(cam, path, t, o + w / 2, z0 + h), b = project(cam, path, t, o - w / 2, z0);
    if (!a.ok || !b.ok || b.x - a.x < 1) return;
    img.blitScaled(spr, a.x, a.y, b.x, b.y);
  };

  for (const Item& item : items) {
    const double t = s + item.d;
    switch (item.kind) {
      case kPole: {
        const bool dbl = doubleAt(path, t);
        post(t, 2.9, 7.4, 0.35, fog(Rgb{120, 124, 128}, item.d));
        if (dbl) {
          post(t, kOpposite - 2.9, 7.4, 0.35, fog(Rgb{120, 124, 128}, item.d));
          box(t, 3.0, kOpposite - 3.0, 7.0, 7.45, fog(Rgb{110, 114, 118}, item.d));
        } else {
          box(t, 3.0, -0.4, 6.4, 6.6, fog(Rgb{110, 114, 118}, item.d));
        }
        break;
      }
      case kSignal: {
        const SignalPost& sg = path.signals[item.idx];
        const double o = 2.4;
        post(t, o, 3.8, 0.22, fog(Rgb{60, 60, 60}, item.d));
        if (sg.kind == 0) {  // repeater: a round white plate with a vertical bar of lights
          const Pt c = project(cam, path, t, o, 4.3);
          if (!c.ok) break;
          const double r = cam.f * 0.45 / c.fw;
          img.disc(c.x, c.y, r, Rgb{20, 20, 20});
          if (r > 2)
            img.fillRect(static_cast<int>(c.x - r * 0.15), static_cast<int>(c.y - r * 0.75),
                         static_cast<int>(c.x + r * 0.15 + 1), static_cast<int>(c.y + r * 0.75),
                         Rgb{240, 240, 230});
          break;
        }
        const int lamps = sg.kind == 1 ? 2 : sg.kind == 2 ? 3 : sg.kind == 5 ? 5 : 4;
        const double h = 0.34 * lamps + 0.1;
        const Pt a = project(cam, path, t, o + 0.3, 3.8 + h),
                 b = project(cam, path, t, o - 0.3, 3.8);
        if (!a.ok || !b.ok) break;
        img.fillRect(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x) + 1,
                     static_cast<int>(b.y) + 1, Rgb{24, 24, 26});
        const double lr = cam.f * 0.12 / a.fw;
        for (int k = 0; k < lamps; ++k) {
          const Pt c = project(cam, path, t, o, 3.8 + 0.05 + 0.34 * (lamps - k - 0.5));
          // The recording shows the aspect of its own day: proceed.
          const bool lit = (lamps == 2 && k == 1) || (lamps >= 3 && k == 0);
          const Rgb col =
              lit ? (lamps == 2 ? Rgb{255, 200, 40} : Rgb{60, 255, 150}) : Rgb{58, 54, 50};
          if (lr < 0.8)
            img.blend(static_cast<int>(c.x), static_cast<int>(c.y), col, 0.9);
          else
            img.disc(c.x, c.y, lr, col);
        }
        break;
      }
      case kBoard: {
        const Board& bd = path.boards[item.idx];
        const Image* spr = nullptr;
        double w = 0.6, h = 0.6, z = 1.4, o = 2.1;
        switch (bd.kind) {
          case BoardKind::LimitStart: {
            auto f = m_sprites.limit.find(bd.value);
            if (f != m_sprites.limit.end()) spr = &f->second;
            break;
          }
          case BoardKind::LimitEnd:
            spr = &m_sprites.limitEnd;
            break;
          case BoardKind::Whistle:
            spr = &m_sprites.whistle;
            w = 0.5, h = 0.5;
            break;
          case BoardKind::Crossing:
            spr = &m_sprites.crossing;
            w = 0.7, h = 0.5;
            break;
          case BoardKind::StationAhead:
            spr = &m_sprites.stationAhead;
            w = 0.8, h = 0.5;
            break;
          case BoardKind::Junction:
            spr = &m_sprites.junction;
            w = 0.7, h = 0.5;
            break;
          case BoardKind::GradeChange: {
            auto f = m_sprites.gradient.find(bd.value);
            if (f != m_sprites.gradient.end()) spr = &f->second;
            w = 0.7, h = 0.35, z = 0.9, o = 2.0;
            break;
          }
        }
        post(t, o, z, 0.08, fog(Rgb{230, 230, 230}, item.d));
        if (spr) sprite(*spr, t, o, z, w, h);
        break;
      }
      case kProp: {
        const Prop& pr = path.props[item.idx];
        const Rgb col{static_cast<uint8_t>(pr.colour >> 16), static_cast<uint8_t>(pr.colour >> 8),
                      static_cast<uint8_t>(pr.colour)};
        const Rgb fc = fog(col, item.d);
        if (pr.type == 0 || pr.type == 3 || pr.type == 4) {
          const Pt a = project(cam, path, t, pr.offset + pr.width / 2, pr.height),
                   b = project(cam, path, t, pr.offset - pr.width / 2, 0);
          if (!a.ok || !b.ok) break;
          img.fillRect(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x) + 1,
                       static_cast<int>(b.y) + 1, fc);
          const double ph = b.y - a.y;
          if (pr.type == 0 && ph > 10) {  // window rows
            const int rows = static_cast<int>(pr.height / 3);
            for (int r = 0; r < rows; ++r) {
              const double y0 = a.y + ph * (r + 0.35) / rows, y1 = a.y + ph * (r + 0.65) / rows;
              img.fillRect(static_cast<int>(a.x + (b.x - a.x) * 0.08), static_cast<int>(y0),
                           static_cast<int>(b.x - (b.x - a.x) * 0.08), static_cast<int>(y1),
                           fog(Rgb{70, 84, 100}, item.d));
            }
            img.fillRect(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x) + 1,
                         static_cast<int>(a.y + std::max(1.0, ph * 0.04)), shade(fc, 0.7));
          }
          if (pr.type == 3) {  // a pitched roof
            const Pt r = project(cam, path, t, pr.offset, pr.height * 1.45);
            if (r.ok)
              img.fillPolygon({a.x, a.y, r.x, r.y, b.x, a.y}, fog(Rgb{120, 60, 50}, item.d));
          }
        } else {
          post(t, pr.offset, pr.height * 0.35, 0.35, fog(Rgb{92, 70, 50}, item.d));
          const Pt c = project(cam, path, t, pr.offset, pr.height * 0.65);
          if (!c.ok) break;
          const double r = cam.f * pr.width / 2 / c.fw;
          if (pr.type == 1)
            img.disc(c.x, c.y, r, fc);
          else {
            const Pt top = project(cam, path, t, pr.offset, pr.height * 1.1),
                     bot = project(cam, path, t, pr.offset, pr.height * 0.25);
            if (top.ok && bot.ok)
              img.fillPolygon({c.x - r, bot.y, c.x + r, bot.y, top.x, top.y}, shade(fc, 0.8));
          }
        }
        break;
      }
      case kStation: {
        const Stop& st = path.stops[item.idx];
        for (double ps = st.s - 190; ps < st.s - 10; ps += 20) {
          if (ps < s + 1) continue;
          post(ps, 6.2, 3.4, 0.18, fog(Rgb{140, 140, 146}, ps - s));
        }
        if (static_cast<size_t>(st.station) < m_sprites.nameBoards.size()) {
          const Image& nb = m_sprites.nameBoards[static_cast<size_t>(st.station)];
          post(t, 4.2 + 0.9, 2.0, 0.08, Rgb{80, 80, 80});
          post(t, 4.2 - 0.9, 2.0, 0.08, Rgb{80, 80, 80});
          sprite(nb, t, 4.2, 2.0, 2.2, 0.75);
        }
        break;
      }
      case kStopMark:
        post(t, 1.95, 1.6, 0.05, Rgb{200, 200, 200});
        sprite(m_sprites.stopMark, t, 1.95, 1.6, 0.45, 0.45);
        break;
      case kCrossing: {
        const double c = path.crossings[item.idx];
        const bool ringing = c - s < 500;
        for (double o : {5.0, kOpposite - 4.2}) {
          const double tp = c - 4;
          post(tp, o, 3.1, 0.12, Rgb{30, 30, 30});
          const Pt x1 = project(cam, path, tp, o + 0.5, 3.2),
                   x2 = project(cam, path, tp, o - 0.5, 2.7);
          if (x1.ok && x2.ok) {
            img.line(x1.x, x1.y, x2.x, x2.y, Rgb{240, 200, 20}, std::max(1.0, cam.f * 0.1 / x1.fw));
            img.line(x1.x, x2.y, x2.x, x1.y, Rgb{240, 200, 20}, std::max(1.0, cam.f * 0.1 / x1.fw));
          }
          for (int k = 0; k < 2; ++k) {
            const Pt l = project(cam, path, tp, o + (k ? -0.3 : 0.3), 2.35);
            const bool on = ringing && ((iframe / 12 + k) % 2 == 0);
            if (l.ok)
              img.disc(l.x, l.y, std::max(0.8, cam.f * 0.12 / l.fw),
                       on ? Rgb{255, 40, 30} : Rgb{70, 20, 20});
          }
        }
        // Lowered barriers beside the road.
        for (double o0 : {3.2, kOpposite - 3.0}) {
          const double dir = o0 > 0 ? 1 : -1;
          for (int k = 0; k < 8; ++k) {
            const Pt a = project(cam, path, c - 4.6, o0 + dir * k, 0.95),
                     b = project(cam, path, c - 4.6, o0 + dir * (k + 1), 0.95);
            if (a.ok && b.ok)
              img.line(a.x, a.y, b.x, b.y, k % 2 ? Rgb{20, 20, 20} : Rgb{240, 210, 30},
                       std::max(1.0, cam.f * 0.09 / a.fw));
          }
        }
        break;
      }
      case kPortal: {
        const double o = -1.9;  // the tunnel holds both tracks
        const Pt hl = project(cam, path, t, o + 60, -2), htl = project(cam, path, t, o + 30, 24);
        const Pt htr = project(cam, path, t, o - 30, 22), hr = project(cam, path, t, o - 60, -2);
        if (hl.ok && hr.ok)
          img.fillPolygon({hl.x, hl.y, htl.x, htl.y, (htl.x + htr.x) / 2,
                           htl.y - (hr.x - hl.x) * 0.02, htr.x, htr.y, hr.x, hr.y},
                          fog(Rgb{70, 98, 56}, item.d));
        const Pt fa = project(cam, path, t, o + 5.0, 8.0),
                 fb = project(cam, path, t, o - 5.0, -0.3);
        if (fa.ok && fb.ok)
          img.fillRect(static_cast<int>(fa.x), static_cast<int>(fa.y), static_cast<int>(fb.x) + 1,
                       static_cast<int>(fb.y) + 1, fog(Rgb{150, 148, 140}, item.d));
        std::vector<double> arch;
        for (int k = 0; k <= 12; ++k) {
          const double a = M_PI * k / 12;
          const Pt p = project(cam, path, t, o + 3.3 * std::cos(a), 3.6 + 3.0 * std::sin(a));
          arch.push_back(p.x), arch.push_back(p.y);
        }
        const Pt br = project(cam, path, t, o - 3.3, 0), bl = project(cam, path, t, o + 3.3, 0);
        arch.push_back(br.x), arch.push_back(br.y), arch.push_back(bl.x), arch.push_back(bl.y);
        img.fillPolygon(arch, Rgb{14, 14, 16});
        break;
      }
    }
  }

  // Inside a tunnel: walls everywhere but the far opening, lights passing, the rails' sheen.
  const Span* tun = nullptr;
  if (inTunnelNow && inSpan(path.tunnels, s, &tun)) {
    const double exitD = tun->s1 - s;
    double ox0 = W, ox1 = 0, oy0 = H, oy1 = 0;
    if (exitD < kFar) {
      for (int k = 0; k <= 12; ++k) {
        const double a = M_PI * k / 12;
        const Pt p = project(cam, path, tun->s1, -1.9 + 3.3 * std::cos(a), 3.6 + 3.0 * std::sin(a));
        if (!p.ok) continue;
        ox0 = std::min(ox0, p.x), ox1 = std::max(ox1, p.x), oy0 = std::min(oy0, p.y);
      }
      const Pt b = project(cam, path, tun->s1, -1.9, 0);
      if (b.ok) oy1 = b.y;
    }
    for (int y = 0; y < H; ++y) {
      Rgb* r = img.row(y);
      const double dy = std::fabs(y - cam.hy) / H;
      const Rgb wall = mix(Rgb{10, 10, 12}, Rgb{46, 44, 42}, std::min(1.0, dy * 1.6));
      for (int x = 0; x < W; ++x) {
        if (x >= ox0 && x <= ox1 && y >= oy0 && y <= oy1) continue;
        r[x] = wall;
      }
    }
    for (double side : {-1.0, 1.0}) {
      Pt prev;
      for (size_t i = 0; i < n && samples[i].t < tun->s1; ++i) {
        const Pt p = project(cam, path, samples[i].t, side * kHalfGauge, 0.15);
        if (prev.ok && p.ok)
          img.line(prev.x, prev.y, p.x, p.y,
                   mix(Rgb{120, 110, 90}, Rgb{20, 20, 20}, samples[i].d / 300),
                   std::clamp(cam.f * 0.07 / p.fw, 0.6, 4.0));
        prev = p;
      }
    }
    for (double lt = std::ceil(s / 25) * 25; lt < std::min(tun->s1, s + 400); lt += 25) {
      const Pt l = project(cam, path, lt, 3.3, 2.2);
      if (l.ok) img.disc(l.x, l.y, std::max(0.7, cam.f * 0.15 / l.fw), Rgb{255, 220, 140});
    }
  }
}

}  // namespace demo
