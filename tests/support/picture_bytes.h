#pragma once
// Picture files as bytes, for the loaders' tests: little-endian writers and an uncompressed
// Windows BMP of any size and depth (a grey palette below 16 bits, zero pixels).
#include <cstdint>
#include <cstdlib>
#include <string>

namespace velmoria::test {

inline void put16(std::string& s, size_t at, uint16_t v) {
  s[at] = static_cast<char>(v & 0xff);
  s[at + 1] = static_cast<char>(v >> 8);
}
inline void put32(std::string& s, size_t at, uint32_t v) {
  put16(s, at, static_cast<uint16_t>(v & 0xffff));
  put16(s, at + 2, static_cast<uint16_t>(v >> 16));
}

// Negative heights store the rows top down.
inline std::string bmpBytes(int width, int height, int bits = 24) {
  const uint32_t row = ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4;
  const uint32_t rows = static_cast<uint32_t>(std::abs(height));
  const uint32_t colours = bits <= 8 ? 1u << bits : 0;
  const uint32_t offset = 54 + colours * 4;
  std::string s(offset + row * rows, '\0');
  s[0] = 'B';
  s[1] = 'M';
  put32(s, 2, static_cast<uint32_t>(s.size()));
  put32(s, 10, offset);
  put32(s, 14, 40);
  put32(s, 18, static_cast<uint32_t>(width));
  put32(s, 22, static_cast<uint32_t>(height));
  put16(s, 26, 1);
  put16(s, 28, static_cast<uint16_t>(bits));
  put32(s, 34, row * rows);
  for (uint32_t c = 0; c < colours; ++c) {
    const auto grey = static_cast<char>(c * 255 / (colours > 1 ? colours - 1 : 1));
    s[54 + c * 4] = s[55 + c * 4] = s[56 + c * 4] = grey;
  }
  return s;
}

}  // namespace velmoria::test
