#pragma once
// The signal pictures' colour groups: which pictures of SignalImageList show stop, the two
// cautions, the reduced speed and clear. The train protection, the call-outs and the
// autopilot all read a signal's colours this way.

namespace velmoria {

// The colour group a display index belongs to. Index 1 belongs to none.
enum class ColourGroup { None, R, YY, Y, YG, G };
ColourGroup colourGroup(int displayIndex);

}  // namespace velmoria
