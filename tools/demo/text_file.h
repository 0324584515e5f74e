#pragma once
// Writes the data files the way the simulator reads them: Shift-JIS (CP932) with CR LF line
// ends. Lines are given in UTF-8; a character CP932 cannot hold is a bug in the generator and
// throws. Used on the generator's main thread only.
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

class TextFile {
 public:
  TextFile& line(const std::string& utf8);  // one line, no line end
  TextFile& lines(const std::vector<std::string>& utf8);
  TextFile& section(const std::string& header, const std::vector<std::string>& values);
  template <typename... T>
  TextFile& value(const std::string& header, const T&... values) {
    line(header);
    (line(toText(values)), ...);
    return *this;
  }
  // Writes CP932 + CR LF; with utf8 true the text stays UTF-8 with LF (readme.html).
  void save(const std::filesystem::path& path, bool utf8 = false) const;

 private:
  static std::string toText(const std::string& s) { return s; }
  static std::string toText(const char* s) { return s; }
  template <typename N>
  static std::string toText(N n) {
    return std::to_string(n);
  }
  std::vector<std::string> m_lines;
};

std::string toCp932(const std::string& utf8);
std::string fmtReal(double v, int decimals);

}  // namespace demo
