#pragma once
// A track video that is only a frame count, whatever the data folder holds, also after the
// branch switch reopens it: velmoria-drive's --frames, and the tests' runs of the fixture line.
#include "media/null/null_video_source.h"

namespace velmoria::replay {

class CountOnlyVideo : public NullVideoSource {
 public:
  explicit CountOnlyVideo(int frames) : NullVideoSource(frames) {}
  bool open(const std::filesystem::path& file) override {
    NullVideoSource::open(file);
    setOpen(true);
    return true;
  }
};

}  // namespace velmoria::replay
