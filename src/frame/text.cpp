#include "frame/text.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "frame/file_bytes.h"

namespace velmoria {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor per call: iconv_t carries shift state and is not thread-safe.
class Cp932Decoder {
 public:
  Cp932Decoder() : m_cd(iconv_open("UTF-8", "CP932")) {
    if (m_cd == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("iconv: CP932 to UTF-8 is not available");
  }
  ~Cp932Decoder() { iconv_close(m_cd); }
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;

  std::string decode(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2 + 4);
    char buffer[256];
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t r = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;  // the buffer is full: flush and go on
      // EILSEQ (not CP932) or EINVAL (a lead byte at the end): replace one byte, resume.
      out += kReplacement;
      ++in;
      --inLeft;
      iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t m_cd;
};

}  // namespace

std::string decodeCp932(std::string_view bytes) {
  return Cp932Decoder().decode(bytes);
}

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\n' || c == '\r') {
      lines.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& file) {
  const auto bytes = readFileBytes(file);
  if (!bytes) return std::nullopt;
  // CP932 never uses CR or LF as a trail byte, so the raw bytes can be split first.
  std::vector<std::string> lines = splitLines(*bytes);
  Cp932Decoder decoder;
  for (auto& line : lines) line = decoder.decode(line);
  return lines;
}

}  // namespace velmoria
