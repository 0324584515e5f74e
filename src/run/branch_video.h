#pragma once
// The branch line's video. Two routes (line_local6.dat and line_rapid5.dat) leave the main line
// at frame 41300 and go on along a video of their own: from frame 41300 on, route frame f is
// frame f - 41300 of move\selo.avi; before it the main line's move\tavo.avi shows it. Header
// only, so that the tools that make videos for a line can follow the same rule.
#include <cstdint>
#include <string_view>

namespace velmoria::branch {

constexpr int32_t kFrame = 41300;
constexpr std::string_view kMainVideo = "move\\tavo.avi";
constexpr std::string_view kBranchVideo = "move\\selo.avi";

// The route files whose run switches to the branch video.
constexpr bool switchesVideo(std::string_view routeFile) {
  return routeFile == "line_local6.dat" || routeFile == "line_rapid5.dat";
}

// The frame of the open video that shows route frame f.
constexpr int32_t videoIndex(int32_t frame, bool onBranch) {
  return onBranch ? frame - kFrame : frame;
}

}  // namespace velmoria::branch
