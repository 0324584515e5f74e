#include "videos.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "video_writer.h"

namespace demo {

void writeTrackVideo(const std::filesystem::path& file, const Renderer& renderer, const Path& path,
                     const Path* other, int first, int last, const VideoOptions& opt,
                     Progress& progress, const FrameTap& tap) {
  const int total = last - first;
  if (opt.quick) {
    // Right frame count, tiny plain pictures: enough for readers and headless drives.
    VideoWriter writer(file, 96, 48, 300, 31);
    Image blank(96, 48, Rgb{96, 120, 96});
    for (int i = 0; i < total; ++i) {
      writer.addFrame(blank);
      if (tap) tap(i, blank);
      if (i % 500 == 0) progress.update(static_cast<double>(i) / total);
    }
    writer.finish();
    return;
  }
  VideoWriter writer(file, 480, 240, 15, 9);
  const int ring = 16;
  std::vector<Image> slots(ring, Image(480, 240));
  std::vector<int> ready(ring, -1);  // frame index held by each slot, -1 while free
  std::mutex mutex;
  std::condition_variable cv;
  std::atomic<int> next{0};
  int consumed = 0;  // frames handed to the encoder
  bool failed = false;
  auto worker = [&] {
    while (true) {
      const int i = next.fetch_add(1);
      if (i >= total) return;
      const int slot = i % ring;
      {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return failed || (ready[slot] == -1 && consumed > i - ring); });
        if (failed) return;
      }
      renderer.render(path, other, first + i, slots[slot]);
      {
        std::lock_guard lock(mutex);
        ready[slot] = i;
      }
      cv.notify_all();
    }
  };
  const int nThreads = std::max(1, opt.threads);
  std::vector<std::thread> pool;
  for (int t = 0; t < nThreads; ++t) pool.emplace_back(worker);
  try {
    for (int i = 0; i < total; ++i) {
      const int slot = i % ring;
      {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return ready[slot] == i; });
      }
      writer.addFrame(slots[slot]);
      if (tap) tap(i, slots[slot]);
      {
        std::lock_guard lock(mutex);
        ready[slot] = -1;
        consumed = i + 1;
      }
      cv.notify_all();
      if (i % 200 == 0) progress.update(static_cast<double>(i) / total);
    }
  } catch (...) {
    {
      std::lock_guard lock(mutex);
      failed = true;
    }
    cv.notify_all();
    for (auto& t : pool) t.join();
    throw;
  }
  for (auto& t : pool) t.join();
  writer.finish();
}

}  // namespace demo
