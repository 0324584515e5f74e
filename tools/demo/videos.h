#pragma once
// Renders and encodes the two track videos (and the opening movie) on all cores: render
// threads fill frames in order into a small ring, the calling thread encodes them.
#include <filesystem>
#include <functional>

#include "line.h"
#include "progress.h"
#include "scene.h"

namespace demo {

struct VideoOptions {
  bool quick = false;  // plain frames: right frame counts, nothing drawn (for tests)
  int threads = 2;
};

// Called with each frame in order, after it went into the file (on the calling thread).
using FrameTap = std::function<void(int frame, const Image& picture)>;

// Route frames [first, last) of the path, written as frames 0.. of the file; `tap`, when set,
// sees every frame as well.
void writeTrackVideo(const std::filesystem::path& file, const Renderer& renderer, const Path& path,
                     const Path* other, int first, int last, const VideoOptions& opt,
                     Progress& progress, const FrameTap& tap = {});

}  // namespace demo
