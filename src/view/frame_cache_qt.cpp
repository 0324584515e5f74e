#include "view/frame_cache_qt.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace velmoria {

FrameCache::FrameCache(Factory makeVideo, int ahead, int behind)
    : m_makeVideo(std::move(makeVideo)),
      m_ahead(ahead),
      m_behind(behind),
      m_aheadNow(ahead),
      m_behindNow(behind) {
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
    const int low = direction < 0 ? index - m_aheadNow : index - m_behindNow;
    const int high = direction < 0 ? index + m_behindNow : index + m_aheadNow;
    for (auto it = m_frames.begin(); it != m_frames.end();)
      it = (it->first < low || it->first > high) ? m_frames.erase(it) : std::next(it);
  }
  m_wake.notify_all();
}

void FrameCache::setPictureSize(QSize size) {
  {
    std::lock_guard lock(m_mutex);
    if (size == m_size) return;
    m_size = size;
    // Pictures that have the new size already stay (the video's own size asked for at last).
    for (auto it = m_frames.begin(); it != m_frames.end();)
      it = !it->second.isNull() && it->second.size() != size ? m_frames.erase(it) : std::next(it);
    ++m_generation;  // a picture being decoded now is of the old size
    // Large pictures: fewer of them, so that the window stays within the budget.
    const int64_t bytes =
        size.isEmpty() ? int64_t{480} * 240 * 4 : int64_t{size.width()} * size.height() * 4;
    const int64_t fit = std::max<int64_t>(kPictureBudget / bytes, 4);
    const int total = m_ahead + m_behind;
    if (fit >= total) {
      m_aheadNow = m_ahead;
      m_behindNow = m_behind;
    } else {
      m_aheadNow = std::max(2, static_cast<int>(fit * m_ahead / total));
      m_behindNow = std::max(1, static_cast<int>(fit) - m_aheadNow);
    }
  }
  m_wake.notify_all();
}

QImage FrameCache::fitted(const QImage& picture, QSize size) {
  constexpr int kLargest = 16384;
  if (picture.isNull() || size.isEmpty() || picture.size() == size || size.width() > kLargest ||
      size.height() > kLargest)
    return picture;
  const CropRect crop = coverCrop(picture.width(), picture.height(), size.width(), size.height());
  return picture.copy(crop.x, crop.y, crop.width, crop.height)
      .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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

int FrameCache::framesAhead() const {
  std::lock_guard lock(m_mutex);
  return m_aheadNow;
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
  for (int i = 0; i <= m_aheadNow; ++i) {
    const int index = m_wanted + i * step;
    if (index < 0 || index >= m_frameCount) break;
    if (!m_frames.count(index)) return index;
  }
  return -1;
}

void FrameCache::work() {
  std::unique_ptr<VideoSource> video;
  VideoFrame frame;
  QSize asked;  // the size the source has been asked for
  std::unique_lock lock(m_mutex);
  while (!m_stop) {
    if (m_pendingOpen) {
      const auto file = *m_pendingOpen;
      m_pendingOpen.reset();
      lock.unlock();
      video = m_makeVideo();
      asked = QSize();
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
    const QSize size = m_size;
    lock.unlock();
    if (size != asked) {
      video->setOutputSize(size.isEmpty() ? 0 : size.width(), size.isEmpty() ? 0 : size.height());
      asked = size;
    }
    const bool ok = video->decode(index, frame);
    QImage image;
    if (ok && frame.width > 0 && frame.height > 0) {
      image = QImage(frame.width, frame.height, QImage::Format_RGB32);
      for (int y = 0; y < frame.height; ++y)
        std::memcpy(image.scanLine(y), frame.pixels.data() + static_cast<size_t>(y) * frame.width,
                    static_cast<size_t>(frame.width) * 4);
      image = fitted(image, size);
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
