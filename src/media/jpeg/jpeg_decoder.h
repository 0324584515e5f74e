#pragma once
// JPEG pictures (the title picture) through libjpeg called directly: baseline and progressive,
// colour or grey, decoded straight into 32-bit B, G, R, X pixels. A broken file gives nullopt,
// never a process exit (libjpeg's default error handler would end the program).
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmoria {

struct JpegPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // rows top to bottom, 0xffRRGGBB (B, G, R, X in memory)
};

std::optional<JpegPicture> decodeJpeg(const std::string& bytes);
std::optional<JpegPicture> readJpegFile(const std::filesystem::path& file);
// True when bytes start like a JPEG file.
bool looksLikeJpeg(const std::string& bytes);

}  // namespace velmoria
