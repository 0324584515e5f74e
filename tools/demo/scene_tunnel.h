#pragma once
// Inside a tunnel: walls everywhere but the far opening, the rails' sheen and the lights
// passing. Drawn last, over everything outside.
#include "scene_view.h"

namespace demo::scene {

void drawTunnelInside(View& v);

}  // namespace demo::scene
