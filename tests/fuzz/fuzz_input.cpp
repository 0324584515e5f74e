#include "fuzz_input.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace velmoria::fuzz {

namespace {

// A plain 24-bit picture of the given size: headers, then black rows.
void writeBmp(const std::filesystem::path& path, int width, int height) {
  const uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::string bmp(54 + row * static_cast<uint32_t>(height), '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bmp[26] = 1;
  bmp[28] = 24;
  std::ofstream(path, std::ios::binary) << bmp;
}

std::filesystem::path makeFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmoria-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  const std::filesystem::path root = pattern;
  std::filesystem::create_directories(root / "image");
  writeBmp(root / "a.bmp", 50, 50);
  writeBmp(root / "image" / "b.bmp", 40, 20);
  // Removed when the fuzzer exits normally.
  static const std::filesystem::path toRemove = root;
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(toRemove, ec);
  });
  return root;
}

}  // namespace

const DataFolder& writeInput(const std::string& name, const uint8_t* data, size_t size) {
  static const DataFolder folder(makeFolder());
  std::ofstream out(folder.root() / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return folder;
}

}  // namespace velmoria::fuzz
