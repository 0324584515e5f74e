#pragma once
// Software renderer of the view ahead: sky and distant hills, ground, ballast, sleepers and
// rails along the curves and gradients, the opposite track, overhead-line structures, signals,
// boards, platforms with name boards and stopping marks, level crossings, bridges, tunnels and
// the buildings and trees beside the line. Cheap scanline fills, no depth buffer: everything is
// painted far to near, pass by pass: sky and ground, then the track (scene_track.h), the
// wayside objects (scene_wayside.h) and, inside a tunnel, its walls (scene_tunnel.h). render()
// is const and may run on several threads at once, each with its own output image.
#include <map>
#include <vector>

#include "image.h"
#include "line.h"

namespace demo {

struct SpriteBank {            // pictures drawn onto wayside objects, made before rendering starts
  std::map<int, Image> limit;  // by km/h
  std::map<int, Image> gradient;  // by per mille x 10
  Image limitEnd, whistle, crossing, stationAhead, junction, stopMark;
  std::vector<Image> nameBoards;  // by station index
};

class Renderer {
 public:
  Renderer(const Line& line, const SpriteBank& sprites) : m_line(line), m_sprites(sprites) {}
  // Draws route frame `frame` of `path` into out (any size; the video uses 480 x 240).
  // `other` is the path that shares the first part, drawn where the two part.
  void render(const Path& path, const Path* other, double frame, Image& out) const;

 private:
  const Line& m_line;
  const SpriteBank& m_sprites;
};

}  // namespace demo
