#include "ini_settings.h"

#include <charconv>
#include <cstdlib>
#include <sstream>

#include "frame/file_bytes.h"

namespace velmoria::drive {

namespace {
std::string trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  const size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}
}  // namespace

IniSettings IniSettings::fromText(const std::string& text) {
  IniSettings ini;
  std::istringstream in(text);
  std::string section = "General";
  for (std::string line; std::getline(in, line);) {
    line = trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = trim(line.substr(1, line.size() - 2));
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = trim(line.substr(0, eq));
    std::string value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    ini.m_values[section == "General" ? key : section + "/" + key] = value;
  }
  return ini;
}

IniSettings IniSettings::fromFile(const std::filesystem::path& file) {
  const auto text = readFileBytes(file);
  return text ? fromText(*text) : IniSettings{};
}

std::optional<int32_t> IniSettings::readInt(const std::string& name) const {
  const auto it = m_values.find(name);
  if (it == m_values.end()) return std::nullopt;
  const std::string& v = it->second;
  int32_t out = 0;
  const char* begin = v.data();
  if (!v.empty() && v[0] == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, v.data() + v.size(), out);
  if (ec != std::errc() || ptr != v.data() + v.size() || begin == v.data() + v.size())
    return std::nullopt;
  return out;
}

std::filesystem::path defaultButtonMapFile() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return std::filesystem::path(xdg) / "Korvelan" / "dgcontroller.conf";
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".config" / "Korvelan" / "dgcontroller.conf";
  return {};
}

}  // namespace velmoria::drive
