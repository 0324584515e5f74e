#pragma once
// The signal pictures' colour groups: which pictures of SignalImageList show stop, the two
// cautions, the reduced speed and clear. The train protection, the call-outs and the
// autopilot all read an aspect this way.

namespace velmoria {

// The colour group a display index belongs to. Index 1 belongs to none.
enum class AspectGroup { None, R, YY, Y, YG, G };
AspectGroup aspectGroup(int displayIndex);

}  // namespace velmoria
