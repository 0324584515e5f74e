#pragma once
// The passes that draw the line on the ground, far to near within each: track beds (with the
// water under bridges), platforms, level crossing roads, sleepers and rails, and the overhead
// wires. Each covers this path's track, the opposite track where it is there, and the other
// path's track where the two part.
#include "scene_view.h"

namespace demo::scene {

void drawTrackBeds(View& v);
void drawPlatforms(View& v);
void drawCrossingRoads(View& v);
void drawSleepersAndRails(View& v);
void drawOverheadWires(View& v);

}  // namespace demo::scene
