#pragma once
// What the passes of the renderer share while they draw one frame: the camera, the distances
// sampled ahead of it, the picture, and the small projection and colour helpers.
#include <vector>

#include "image.h"
#include "line.h"
#include "scene.h"

namespace demo::scene {

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

struct Sample {
  double d, t;  // distance ahead of the camera, position along the path
};

// One frame being drawn. `other` is set only while the place where it parts from `path` is in
// view; `split` is where the two part.
struct View {
  const Path& path;
  const Path* other;
  double split;
  const SpriteBank& sprites;
  Cam cam;
  double s;    // camera position along path
  int iframe;  // frame number, for the crossing lamps' blinking
  std::vector<Sample> samples;
  Image& img;
};

View makeView(const Path& path, const Path* other, const SpriteBank& sprites, double frame,
              Image& img);

Pt project(const Cam& c, const Path& q, double t, double o, double z);
Rgb fog(Rgb c, double d);
void quad(Image& img, const Pt& a, const Pt& b, const Pt& c, const Pt& d, Rgb col);
bool inSpan(const std::vector<Span>& spans, double s, const Span** which = nullptr);
bool doubleAt(const Path& p, double s);  // both tracks are there

}  // namespace demo::scene
