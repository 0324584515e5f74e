#pragma once
// What velmoria-import needs to know of the video, through the same frame source the simulator
// plays it with (so that frame numbers agree): frames, rate, size, the recording's start, the
// keyframe spacing, and how fast a jump to any frame and the decoding ahead of the train are.
// Called on the import's main thread.
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace velmoria::import {

class VideoError : public std::runtime_error {
 public:
  explicit VideoError(const std::string& message) : std::runtime_error(message) {}
};

struct VideoFacts {
  int frames = 0;
  double fps = 0;
  int width = 0, height = 0;
  std::string codec;                   // FFmpeg's name of it ("h264")
  std::string container;               // FFmpeg's name of the demuxer ("mov,mp4,...")
  std::optional<double> creationTime;  // s since 1970 UTC of the first frame, when stated
  int longestGop = 0;  // most frames from one keyframe to the next (0: one keyframe only)
  double meanGop = 0;
};

// Throws VideoError when FFmpeg cannot open the file, finds no video stream in it or no frame.
VideoFacts probeVideo(const std::filesystem::path& file);

struct AccessTimes {
  int jumps = 0;                             // made
  double jumpMedianMs = 0, jumpWorstMs = 0;  // decoding one frame anywhere, after a seek
  double aheadFps = 0;                       // frames a second decoded in order, one thread
};

// `jumps` random frames (a fixed sequence, so that runs compare), or as many as fit in
// `budgetSeconds` but at least kMinJumps, then a second of frames in order from the middle;
// `progress` gets 0..1.
constexpr int kMinJumps = 3;
AccessTimes measureAccess(const std::filesystem::path& file, int jumps,
                          const std::function<void(double)>& progress = {},
                          double budgetSeconds = 10);

// The station jump shows the new place only once its picture is decoded: a worst jump longer
// than this is too slow for the run.
constexpr double kSlowJumpMs = 250;

// Seconds since 1970 UTC from a container's creation time text.
std::optional<double> parseCreationTime(const std::string& text);

}  // namespace velmoria::import
