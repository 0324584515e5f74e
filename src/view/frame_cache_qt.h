#pragma once
// Track-video pictures decoded ahead of the train on a worker thread, so that the UI thread
// never waits for a decoder. The UI thread says where the train is and which way it moves
// (want); the worker decodes, with its own video source, the frames from there onward in the
// direction of travel and keeps a window of them; the UI thread takes a picture only when it is
// ready (take). Frames are video indices (the branch offset already applied by the caller).
// All public functions are called on the UI thread; they hold the lock only to look up or
// store, never while decoding.
#include <QImage>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "media/video_source.h"

namespace velmoria {

class FrameCache {
 public:
  using Factory = std::function<std::unique_ptr<VideoSource>()>;
  explicit FrameCache(Factory makeVideo, int ahead = 48, int behind = 16);
  ~FrameCache();
  FrameCache(const FrameCache&) = delete;
  FrameCache& operator=(const FrameCache&) = delete;

  // Opens (or reopens, at the branch switch) the video in the worker; forgets every picture.
  // Returns at once; frameCount() is known when the worker has opened it.
  void open(const std::filesystem::path& file);
  // Where the train is (video index) and which way it goes (+1, -1, 0 standing).
  void want(int index, int direction);
  // The picture of this index if it has been decoded; never blocks on the decoder.
  std::optional<QImage> take(int index);
  int frameCount() const;
  // Blocks until the frame is decoded or the timeout passes (tests and benchmarks only).
  std::optional<QImage> waitFor(int index, int timeoutMs);
  int decodedCount() const;  // pictures decoded so far (benchmarks)

 private:
  void work();
  int nextMissingLocked() const;

  Factory m_makeVideo;
  const int m_ahead, m_behind;
  mutable std::mutex m_mutex;
  std::condition_variable m_wake, m_decoded;
  std::map<int, QImage> m_frames;
  std::optional<std::filesystem::path> m_pendingOpen;
  uint64_t m_generation = 0;  // bumped by open(): pictures of an older video are dropped
  int m_wanted = 0, m_direction = 0, m_frameCount = -1, m_decodedTotal = 0;
  bool m_stop = false;
  std::thread m_thread;
};

}  // namespace velmoria
