#include "data_folder_writer.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <vector>

namespace velmoria::import {

namespace fs = std::filesystem;

void copyFolder(const fs::path& from, const fs::path& to,
                const std::function<bool(const std::string&)>& skip,
                const std::function<void(double)>& progress) {
  std::error_code ec;
  std::vector<std::pair<fs::path, std::string>> files;
  uintmax_t total = 0, done = 0;
  for (auto it = fs::recursive_directory_iterator(from, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string rel = fs::relative(it->path(), from, ec).generic_string();
    std::string lower = rel;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (skip && skip(lower)) continue;
    total += it->file_size(ec);
    files.emplace_back(it->path(), rel);
  }
  if (ec) throw FolderError(from.string() + ": " + ec.message());
  for (const auto& [src, rel] : files) {
    const fs::path dst = to / rel;
    fs::create_directories(dst.parent_path(), ec);
    if (ec || !fs::copy_file(src, dst, fs::copy_options::overwrite_existing, ec) || ec)
      throw FolderError(dst.string() + ": cannot be written (" + ec.message() + ")");
    done += fs::file_size(src, ec);
    if (progress && total > 0) progress(static_cast<double>(done) / static_cast<double>(total));
  }
}

Placed placeVideo(const fs::path& video, const fs::path& to, bool copy) {
  std::error_code ec;
  fs::create_directories(to.parent_path(), ec);
  fs::remove(to, ec);
  if (!copy) {
    fs::create_hard_link(video, to, ec);
    if (!ec) return Placed::HardLink;
    ec.clear();
    fs::create_symlink(fs::absolute(video), to, ec);
    if (!ec) return Placed::SymbolicLink;
    ec.clear();
  }
  fs::copy_file(video, to, fs::copy_options::overwrite_existing, ec);
  if (ec)
    throw FolderError(to.string() + ": the video cannot be placed here (" + ec.message() + ")");
  return Placed::Copy;
}

void writeStill(const fs::path& file, const VideoFrame& picture, int width, int height) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 0);
  if (picture.width > 0 && picture.height > 0) {
    const double scale = std::min(double(width) / picture.width, double(height) / picture.height);
    const int w = std::max(1, static_cast<int>(picture.width * scale)),
              h = std::max(1, static_cast<int>(picture.height * scale));
    const int x0 = (width - w) / 2, y0 = (height - h) / 2;
    // Each pixel the mean of the source pixels it covers.
    for (int y = 0; y < h; ++y) {
      const int sy0 = y * picture.height / h, sy1 = std::max(sy0 + 1, (y + 1) * picture.height / h);
      for (int x = 0; x < w; ++x) {
        const int sx0 = x * picture.width / w, sx1 = std::max(sx0 + 1, (x + 1) * picture.width / w);
        uint64_t sum[3] = {0, 0, 0}, n = 0;
        for (int sy = sy0; sy < sy1; ++sy)
          for (int sx = sx0; sx < sx1; ++sx, ++n) {
            const uint32_t p = picture.pixels[static_cast<size_t>(sy) * picture.width + sx];
            sum[0] += p & 0xff, sum[1] += (p >> 8) & 0xff, sum[2] += (p >> 16) & 0xff;
          }
        uint8_t* out = &rgb[(static_cast<size_t>(y0 + y) * width + x0 + x) * 3];
        for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(sum[c] / n);  // B, G, R
      }
    }
  }
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t size = 54 + stride * static_cast<uint32_t>(height);
  std::string bmp(54, '\0');
  const auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int b = 0; b < bytes; ++b) bmp[at + b] = static_cast<char>((v >> (8 * b)) & 0xff);
  };
  bmp[0] = 'B', bmp[1] = 'M';
  put(2, size, 4), put(10, 54, 4), put(14, 40, 4), put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4), put(26, 1, 2), put(28, 24, 2);
  put(34, stride * static_cast<uint32_t>(height), 4);
  for (int y = height - 1; y >= 0; --y) {  // bottom row first
    std::string row(stride, '\0');
    std::copy_n(&rgb[static_cast<size_t>(y) * width * 3], static_cast<size_t>(width) * 3,
                row.begin());
    bmp += row;
  }
  std::ofstream out(file, std::ios::binary);
  out.write(bmp.data(), static_cast<std::streamsize>(bmp.size()));
  if (!out) throw FolderError(file.string() + ": cannot be written");
}

}  // namespace velmoria::import
