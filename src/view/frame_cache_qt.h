#pragma once
// Track-video pictures decoded ahead of the train on a worker thread, so that the UI thread
// never waits for a decoder. The UI thread says where the train is and which way it moves
// (want); the worker decodes, with its own video source, the frames from there onward in the
// direction of travel and keeps a window of them; the UI thread takes a picture only when it is
// ready (take). Frames are video indices (the branch offset already applied by the caller).
// Pictures come at the size asked for (the video area's, in device pixels): the source scales
// them where it can (FFmpeg, in its conversion), the worker otherwise, both cutting to the
// area's shape.
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
  // The most the pictures ahead and behind may take together: large pictures (a zoomed
  // fullscreen cab) keep fewer frames ahead, never fewer than a few.
  static constexpr int64_t kPictureBudget = int64_t{128} << 20;
  explicit FrameCache(Factory makeVideo, int ahead = 48, int behind = 16);
  ~FrameCache();
  FrameCache(const FrameCache&) = delete;
  FrameCache& operator=(const FrameCache&) = delete;

  // Opens (or reopens, at the branch switch) the video in the worker; forgets every picture.
  // Returns at once; frameCount() is known when the worker has opened it.
  void open(const std::filesystem::path& file);
  // Where the train is (video index) and which way it goes (+1, -1, 0 standing).
  void want(int index, int direction);
  // The size pictures are wanted at; an empty size is the video's own. A new size forgets
  // the pictures of another size.
  void setPictureSize(QSize size);
  // The picture of this index if it has been decoded; never blocks on the decoder.
  std::optional<QImage> take(int index);
  int frameCount() const;
  // Blocks until the frame is decoded or the timeout passes (tests and benchmarks only).
  std::optional<QImage> waitFor(int index, int timeoutMs);
  int decodedCount() const;  // pictures decoded so far (benchmarks)
  int framesAhead() const;   // the window ahead for the size asked for

  // A picture scaled smoothly to cover `size`, the middle of it kept where the shapes differ
  // (the picture itself when it has the size, or the size is empty or absurd).
  static QImage fitted(const QImage& picture, QSize size);

 private:
  void work();
  int nextMissingLocked() const;

  Factory m_makeVideo;
  const int m_ahead, m_behind;
  int m_aheadNow, m_behindNow;  // the window for the size asked for (pictureBudget)
  mutable std::mutex m_mutex;
  std::condition_variable m_wake, m_decoded;
  std::map<int, QImage> m_frames;
  std::optional<std::filesystem::path> m_pendingOpen;
  uint64_t m_generation = 0;  // bumped by open(): pictures of an older video are dropped
  int m_wanted = 0, m_direction = 0, m_frameCount = -1, m_decodedTotal = 0;
  QSize m_size;
  bool m_stop = false;
  std::thread m_thread;
};

}  // namespace velmoria
