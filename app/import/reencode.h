#pragma once
// Re-encodes a track video to one whose every frame is quick to reach: H.264 (libx264, or
// MPEG-4 part 2 where libavcodec lacks it) in MP4 with a keyframe every `gop` frames and no
// B-frames, frame for frame what the simulator's frame source shows of the original (same
// count, same rate, same size, same colours' range and matrix), without sound. Written to a
// temporary file beside `out`, checked (its frame count) and then renamed. Called on the
// import's main thread; libavcodec uses every core.
#include <filesystem>
#include <functional>
#include <string>

namespace velmoria::import {

struct ReencodeOptions {
  int gop = 15;
  int crf = 20;
  std::string preset = "veryfast";
};

// Throws VideoError (video_probe.h) when it cannot read, encode or write. `progress` gets 0..1.
void reencodeShortGop(const std::filesystem::path& in, const std::filesystem::path& out,
                      const ReencodeOptions& options = {},
                      const std::function<void(double)>& progress = {});

}  // namespace velmoria::import
