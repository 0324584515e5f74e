#include "scene_tunnel.h"

#include <algorithm>
#include <cmath>

namespace demo::scene {

namespace {

struct Opening {
  double x0, x1, y0, y1;  // screen bounds of the far portal; empty while it is out of sight
};

Opening farOpening(const View& v, const Span& tun) {
  Opening o{static_cast<double>(v.cam.W), 0, static_cast<double>(v.cam.H), 0};
  if (tun.s1 - v.s >= kFar) return o;
  for (int k = 0; k <= 12; ++k) {
    const double a = M_PI * k / 12;
    const Pt p = project(v.cam, v.path, tun.s1, -1.9 + 3.3 * std::cos(a), 3.6 + 3.0 * std::sin(a));
    if (!p.ok) continue;
    o.x0 = std::min(o.x0, p.x), o.x1 = std::max(o.x1, p.x), o.y0 = std::min(o.y0, p.y);
  }
  const Pt b = project(v.cam, v.path, tun.s1, -1.9, 0);
  if (b.ok) o.y1 = b.y;
  return o;
}

void walls(View& v, const Opening& o) {
  const int W = v.cam.W, H = v.cam.H;
  for (int y = 0; y < H; ++y) {
    Rgb* r = v.img.row(y);
    const double dy = std::fabs(y - v.cam.hy) / H;
    const Rgb wall = mix(Rgb{10, 10, 12}, Rgb{46, 44, 42}, std::min(1.0, dy * 1.6));
    for (int x = 0; x < W; ++x) {
      if (x >= o.x0 && x <= o.x1 && y >= o.y0 && y <= o.y1) continue;
      r[x] = wall;
    }
  }
}

void railSheen(View& v, const Span& tun) {
  const auto& samples = v.samples;
  for (double side : {-1.0, 1.0}) {
    Pt prev;
    for (size_t i = 0; i < samples.size() && samples[i].t < tun.s1; ++i) {
      const Pt p = project(v.cam, v.path, samples[i].t, side * kHalfGauge, 0.15);
      if (prev.ok && p.ok)
        v.img.line(prev.x, prev.y, p.x, p.y,
                   mix(Rgb{120, 110, 90}, Rgb{20, 20, 20}, samples[i].d / 300),
                   std::clamp(v.cam.f * 0.07 / p.fw, 0.6, 4.0));
      prev = p;
    }
  }
}

void lights(View& v, const Span& tun) {
  for (double lt = std::ceil(v.s / 25) * 25; lt < std::min(tun.s1, v.s + 400); lt += 25) {
    const Pt l = project(v.cam, v.path, lt, 3.3, 2.2);
    if (l.ok) v.img.disc(l.x, l.y, std::max(0.7, v.cam.f * 0.15 / l.fw), Rgb{255, 220, 140});
  }
}

}  // namespace

void drawTunnelInside(View& v) {
  const Span* tun = nullptr;
  if (!inSpan(v.path.tunnels, v.s, &tun)) return;
  walls(v, farOpening(v, *tun));
  railSheen(v, *tun);
  lights(v, *tun);
}

}  // namespace demo::scene
