#include "scene.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "scene_track.h"
#include "scene_tunnel.h"
#include "scene_view.h"
#include "scene_wayside.h"

namespace demo {

namespace {

using namespace scene;

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

// Sky, distant hills and the ground, coloured by the scenery the camera is in.
void drawSkyAndGround(View& v) {
  const Cam& cam = v.cam;
  const int W = cam.W, H = cam.H;
  const double horizon = cam.hy + cam.f * cam.g;
  const int hz = std::clamp(static_cast<int>(horizon), 1, H - 1);
  v.img.verticalGradient(0, hz, Rgb{92, 142, 210}, Rgb{200, 218, 232});
  const auto& hills = hillProfile();
  const double scale = W / 480.0;
  for (int x = 0; x < W; ++x) {
    const double ang = cam.th + std::atan((cam.cx - x) / cam.f);
    const int k = static_cast<int>(std::fmod(ang / (2 * M_PI) * 1024 + 1024 * 64, 1024.0));
    const int top = hz - static_cast<int>(hills[k] * scale);
    for (int y = std::max(0, top); y < hz; ++y)
      v.img.row(y)[x] = mix(Rgb{122, 146, 150}, Rgb{150, 170, 168}, (y - top) / 30.0);
  }
  const Scenery here = sceneryAt(v.path, v.s);
  Rgb groundFar{150, 170, 120}, groundNear{92, 130, 58};
  if (here == Scenery::Town) groundFar = {165, 165, 150}, groundNear = {120, 124, 104};
  if (here == Scenery::Forest) groundFar = {110, 140, 100}, groundNear = {60, 94, 46};
  if (here == Scenery::Hills) groundFar = {140, 150, 110}, groundNear = {96, 112, 62};
  v.img.verticalGradient(hz, H, groundFar, groundNear);
}

}  // namespace

void Renderer::render(const Path& path, const Path* other, double frame, Image& img) const {
  View v = makeView(path, other, m_sprites, frame, img);
  drawSkyAndGround(v);
  drawTrackBeds(v);
  drawPlatforms(v);
  drawCrossingRoads(v);
  drawSleepersAndRails(v);
  // Overhead wires before the objects, so that portals and poles stand in front of them.
  drawOverheadWires(v);
  drawWayside(v);
  drawTunnelInside(v);
}

}  // namespace demo
