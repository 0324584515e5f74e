#include "support/data_files.h"

#include "support/picture_bytes.h"
#include "support/wav_bytes.h"

#include <iconv.h>
#include <stdlib.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace velmoria::test {

std::string toCp932(std::string_view utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 encoder");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* o = out.data();
  size_t outLeft = out.size();
  const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) throw std::runtime_error("text has no CP932 form");
  out.resize(out.size() - outLeft);
  return out;
}

TempDataFolder::TempDataFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmoria-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_root = pattern;
}

TempDataFolder::~TempDataFolder() {
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);
}

void TempDataFolder::writeBytes(const std::string& name, std::string_view bytes) {
  const auto path = m_root / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDataFolder::write(const std::string& name, std::string_view utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  writeBytes(name, toCp932(crlf));
}

void TempDataFolder::writeBmp(const std::string& name, int width, int height) {
  writeBytes(name, bmpBytes(width, height));
}

void TempDataFolder::writeWav(const std::string& name, int ms) {
  writeBytes(name, silentWav(ms));
}

DataFolder fixtureFolder() {
  return DataFolder(VELMORIA_TEST_DATA);
}

}  // namespace velmoria::test
