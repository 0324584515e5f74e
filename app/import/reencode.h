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
  // ultrafast: the copy exists to be quick to reach and to decode, and it is decoded every time
  // the route is driven. On a 1080p camera file it takes half the CPU of veryfast to write
  // (about 0.75 of a core per second of video instead of 1.5, so an hour re-encodes in less than
  // an hour on two cores) and half to decode (no CABAC, no deblocking), at the same CRF; the
  // price is a file about 1.7 times larger.
  std::string preset = "ultrafast";
};

// Throws VideoError (video_probe.h) when it cannot read, encode or write. `progress` gets 0..1.
void reencodeShortGop(const std::filesystem::path& in, const std::filesystem::path& out,
                      const ReencodeOptions& options = {},
                      const std::function<void(double)>& progress = {});

}  // namespace velmoria::import
