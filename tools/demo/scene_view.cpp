#include "scene_view.h"

#include <algorithm>
#include <cmath>

namespace demo::scene {

namespace {

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

}  // namespace

View makeView(const Path& path, const Path* other, const SpriteBank& sprites, double frame,
              Image& img) {
  const double s = path.profile.sAt(frame);
  View v{path,
         nullptr,
         -1,
         sprites,
         makeCam(path, s, img.width(), img.height()),
         s,
         static_cast<int>(frame),
         {},
         img};
  for (double d = 1.5; d < kFar; d += std::max(0.5, d * 0.035)) v.samples.push_back({d, s + d});
  // The other path's track is drawn where the two part.
  v.split = path.divergeS > 0 ? path.divergeS : (other ? other->divergeS : -1);
  if (other && v.split > 0 && s > v.split - kFar && s < v.split + 200) v.other = other;
  return v;
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

void quad(Image& img, const Pt& a, const Pt& b, const Pt& c, const Pt& d, Rgb col) {
  if (a.ok && b.ok && c.ok && d.ok) img.fillQuad(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, col);
}

bool inSpan(const std::vector<Span>& spans, double s, const Span** which) {
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

}  // namespace demo::scene
