#include "media/null/null_video_source.h"

#include <system_error>

namespace velmoria {

bool NullVideoSource::open(const std::filesystem::path& file) {
  std::error_code ec;
  m_open = std::filesystem::exists(file, ec);
  m_file = file;
  return m_open;
}

bool NullVideoSource::decode(int index, VideoFrame& out) {
  if (index < 0 || index >= frameCount()) return false;
  out.width = 480;
  out.height = 240;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height, 0xff808080u);
  return true;
}

}  // namespace velmoria
