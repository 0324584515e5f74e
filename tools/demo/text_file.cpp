#include "text_file.h"

#include <iconv.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace demo {

std::string toCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: no CP932 converter");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* o = out.data();
  size_t outLeft = out.size();
  const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) throw std::runtime_error("not representable in CP932: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

std::string fmtReal(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

TextFile& TextFile::line(const std::string& utf8) {
  m_lines.push_back(utf8);
  return *this;
}

TextFile& TextFile::lines(const std::vector<std::string>& utf8) {
  for (const auto& l : utf8) m_lines.push_back(l);
  return *this;
}

TextFile& TextFile::section(const std::string& header, const std::vector<std::string>& values) {
  line(header);
  return lines(values);
}

void TextFile::save(const std::filesystem::path& path, bool utf8) const {
  std::string all;
  for (const auto& l : m_lines) {
    all += utf8 ? l : toCp932(l);
    all += utf8 ? "\n" : "\r\n";
  }
  std::ofstream f(path, std::ios::binary);
  f.write(all.data(), static_cast<std::streamsize>(all.size()));
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace demo
