#include "scene_track.h"

#include <algorithm>
#include <cmath>

namespace demo::scene {

namespace {

// Ballast and its shoulder between tFrom and the drawing distance; water under a bridge.
void trackBed(View& v, const Path& q, double o, double tFrom) {
  const auto& samples = v.samples;
  const Cam& cam = v.cam;
  for (size_t i = samples.size() - 1; i >= 1; --i) {
    const double t0 = samples[i - 1].t, t1 = samples[i].t;
    if (t1 < tFrom) continue;
    const double a0 = std::max(t0, tFrom);
    const double d = samples[i].d;
    const Span* br = nullptr;
    if (inSpan(q.bridges, t0, &br)) {
      quad(v.img, project(cam, q, a0, o + 70, -6), project(cam, q, t1, o + 70, -6),
           project(cam, q, t1, o - 70, -6), project(cam, q, a0, o - 70, -6),
           fog(Rgb{70, 110, 150}, d));
    }
    quad(v.img, project(cam, q, a0, o + 2.6, -0.35), project(cam, q, t1, o + 2.6, -0.35),
         project(cam, q, t1, o - 2.6, -0.35), project(cam, q, a0, o - 2.6, -0.35),
         fog(Rgb{118, 112, 96}, d));
    quad(v.img, project(cam, q, a0, o + 1.6, -0.1), project(cam, q, t1, o + 1.6, -0.1),
         project(cam, q, t1, o - 1.6, -0.1), project(cam, q, a0, o - 1.6, -0.1),
         fog(d > 70 ? Rgb{128, 114, 100} : Rgb{146, 138, 128}, d));
  }
}

void sleepers(View& v, const Path& q, double o, double tFrom) {
  // Sleepers every 0.6 m close by; further on the ballast colour stands for them.
  const Cam& cam = v.cam;
  const double first = std::ceil(std::max(v.s + 2.0, tFrom) / 0.6) * 0.6;
  for (double t = v.s + 70; t >= first; t -= 0.6) {
    const double tt = std::round(t / 0.6) * 0.6;
    const Pt a = project(cam, q, tt, o + 1.05, 0), b = project(cam, q, tt, o - 1.05, 0);
    const Pt c = project(cam, q, tt + 0.22, o - 1.05, 0),
             e = project(cam, q, tt + 0.22, o + 1.05, 0);
    if (!a.ok) continue;
    if (a.y - e.y < 0.35) {
      v.img.line(a.x, a.y, b.x, b.y, Rgb{92, 84, 76}, 0.6);
      continue;
    }
    quad(v.img, a, b, c, e, Rgb{96, 88, 80});
  }
}

void rails(View& v, const Path& q, double o, double tFrom) {
  const auto& samples = v.samples;
  for (double side : {-1.0, 1.0}) {
    Pt prev;
    for (size_t i = 0; i < samples.size(); ++i) {
      if (samples[i].t < tFrom) continue;
      const Pt p = project(v.cam, q, samples[i].t, o + side * kHalfGauge, 0.15);
      if (prev.ok && p.ok) {
        const double w = std::clamp(v.cam.f * 0.07 / p.fw, 0.6, 4.0);
        v.img.line(prev.x, prev.y, p.x, p.y, fog(Rgb{176, 174, 170}, samples[i].d), w);
      }
      prev = p;
    }
  }
}

// Contact wire and catenary above one track.
void wires(View& v, const Path& q, double o, double tFrom) {
  const auto& samples = v.samples;
  Pt pc, pm;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (samples[i].t < tFrom) continue;
    const Pt c = project(v.cam, q, samples[i].t, o, 5.2),
             m = project(v.cam, q, samples[i].t, o, 6.3);
    if (pc.ok && c.ok) v.img.line(pc.x, pc.y, c.x, c.y, Rgb{40, 40, 44}, c.fw < 15 ? 1.6 : 0.8);
    if (pm.ok && m.ok) v.img.line(pm.x, pm.y, m.x, m.y, Rgb{64, 64, 70}, 0.7);
    pc = c, pm = m;
  }
}

}  // namespace

void drawTrackBeds(View& v) {
  if (v.other) trackBed(v, *v.other, 0, v.split + 1);
  trackBed(v, v.path, 0, v.s);
  if (doubleAt(v.path, v.s + 50) || doubleAt(v.path, v.s)) trackBed(v, v.path, kOpposite, v.s);
}

// The edge face, the surface and the yellow line, on the left.
void drawPlatforms(View& v) {
  const Path& path = v.path;
  const Cam& cam = v.cam;
  const auto& samples = v.samples;
  for (const auto& st : path.stops) {
    const double p0 = st.s - 215, p1 = st.s + 15;
    if (p1 < v.s || p0 > v.s + kFar) continue;
    for (size_t i = samples.size() - 1; i >= 1; --i) {
      const double t0 = std::max(samples[i - 1].t, p0), t1 = std::min(samples[i].t, p1);
      if (t1 <= t0) continue;
      const double d = samples[i].d;
      quad(v.img, project(cam, path, t0, 1.55, 0), project(cam, path, t1, 1.55, 0),
           project(cam, path, t1, 1.55, 1.05), project(cam, path, t0, 1.55, 1.05),
           fog(Rgb{120, 118, 112}, d));
      quad(v.img, project(cam, path, t0, 1.55, 1.05), project(cam, path, t1, 1.55, 1.05),
           project(cam, path, t1, 7.5, 1.05), project(cam, path, t0, 7.5, 1.05),
           fog(Rgb{186, 184, 178}, d));
      quad(v.img, project(cam, path, t0, 2.3, 1.06), project(cam, path, t1, 2.3, 1.06),
           project(cam, path, t1, 2.6, 1.06), project(cam, path, t0, 2.6, 1.06),
           fog(Rgb{226, 196, 40}, d));
    }
  }
}

// The road over the tracks.
void drawCrossingRoads(View& v) {
  const Path& path = v.path;
  for (double c : path.crossings) {
    if (c < v.s - 4 || c > v.s + kFar) continue;
    const double d = c - v.s;
    quad(v.img, project(v.cam, path, c - 3, 30, 0.05), project(v.cam, path, c + 3, 30, 0.05),
         project(v.cam, path, c + 3, -30, 0.05), project(v.cam, path, c - 3, -30, 0.05),
         fog(Rgb{84, 84, 88}, d));
  }
}

void drawSleepersAndRails(View& v) {
  auto track = [&v](const Path& q, double o, double tFrom) {
    sleepers(v, q, o, tFrom);
    rails(v, q, o, tFrom);
  };
  if (v.other) track(*v.other, 0, v.split + 1);
  track(v.path, 0, v.s);
  if (doubleAt(v.path, v.s)) track(v.path, kOpposite, v.s);
}

void drawOverheadWires(View& v) {
  if (v.other) wires(v, *v.other, 0, v.split + 1);
  wires(v, v.path, 0, v.s);
  if (doubleAt(v.path, v.s)) wires(v, v.path, kOpposite, v.s);
}

}  // namespace demo::scene
