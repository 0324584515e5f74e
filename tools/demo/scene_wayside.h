#pragma once
// The objects beside the line, painted far to near over the track: overhead-line poles,
// signals, boards, buildings and trees, platform furniture and name boards, stopping marks,
// level crossings and tunnel portals.
#include "scene_view.h"

namespace demo::scene {

void drawWayside(View& v);

}  // namespace demo::scene
