#include "view/frame_cache_qt.h"

#include <chrono>
#include <cstring>

namespace velmoria {

FrameCache::FrameCache(Factory makeVideo, int ahead, int behind)
    : m_makeVideo(std::move(makeVideo)), m_ahead(ahead), m_behind(behind) {
  m_thread = std::thread([this] { work(); });
}

FrameCache::~FrameCache() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void FrameCache::open(const std::filesystem::path& file) {
  {
    std::lock_guard lock(m_mutex);
    m_pendingOpen = file;
    m_frames.clear();
    m_frameCount = -1;
    ++m_generation;
  }
  m_wake.notify_all();
}

void FrameCache::want(int index, int direction) {
  {
    std::lock_guard lock(m_mutex);
    if (index == m_wanted && direction == m_direction) return;
    m_wanted = index;
    m_direction = direction;
    // Forget what lies outside the window around the train.
    const int low = direction < 0 ? index - m_ahead : index - m_behind;
    const int high = direction < 0 ? index + m_behind : index + m_ahead;
    for (auto it = m_frames.begin(); it != m_frames.end();)
      it = (it->first < low || it->first > high) ? m_frames.erase(it) : std::next(it);
  }
  m_wake.notify_all();
}

std::optional<QImage> FrameCache::take(int index) {
  std::lock_guard lock(m_mutex);
  const auto it = m_frames.find(index);
  if (it == m_frames.end()) return std::nullopt;
  return it->second;
}

int FrameCache::frameCount() const {
  std::lock_guard lock(m_mutex);
  return m_frameCount;
}

int FrameCache::decodedCount() const {
  std::lock_guard lock(m_mutex);
  return m_decodedTotal;
}

std::optional<QImage> FrameCache::waitFor(int index, int timeoutMs) {
  std::unique_lock lock(m_mutex);
  m_decoded.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                     [&] { return m_frames.count(index) > 0 || m_stop; });
  const auto it = m_frames.find(index);
  if (it == m_frames.end()) return std::nullopt;
  return it->second;
}

int FrameCache::nextMissingLocked() const {
  if (m_frameCount <= 0) return -1;
  const int step = m_direction < 0 ? -1 : 1;
  // The train's own frame first, then onward in the direction of travel.
  for (int i = 0; i <= m_ahead; ++i) {
    const int index = m_wanted + i * step;
    if (index < 0 || index >= m_frameCount) break;
    if (!m_frames.count(index)) return index;
  }
  return -1;
}

void FrameCache::work() {
  std::unique_ptr<VideoSource> video;
  VideoFrame frame;
  std::unique_lock lock(m_mutex);
  while (!m_stop) {
    if (m_pendingOpen) {
      const auto file = *m_pendingOpen;
      m_pendingOpen.reset();
      lock.unlock();
      video = m_makeVideo();
      const bool opened = video && video->open(file);
      const int count = opened ? video->frameCount() : -1;
      lock.lock();
      if (!m_pendingOpen) m_frameCount = count;
      continue;
    }
    const int index = video ? nextMissingLocked() : -1;
    if (index < 0) {
      m_wake.wait(lock);
      continue;
    }
    const uint64_t generation = m_generation;
    lock.unlock();
    const bool ok = video->decode(index, frame);
    QImage image;
    if (ok && frame.width > 0 && frame.height > 0) {
      image = QImage(frame.width, frame.height, QImage::Format_RGB32);
      for (int y = 0; y < frame.height; ++y)
        std::memcpy(image.scanLine(y), frame.pixels.data() + static_cast<size_t>(y) * frame.width,
                    static_cast<size_t>(frame.width) * 4);
    }
    lock.lock();
    if (generation != m_generation) continue;
    // A frame that does not decode is stored empty so the worker moves on.
    m_frames[index] = image;
    ++m_decodedTotal;
    m_decoded.notify_all();
  }
}

}  // namespace velmoria
