#include "report/json_writer.h"

#include <charconv>
#include <cmath>

namespace velmoria::report {

std::string formatNumber(double number, int decimals) {
  if (!std::isfinite(number)) return "null";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, number, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return "null";  // beyond any value a report holds
  std::string text(buf, r.ptr);
  // A negative value that rounds to zero is zero.
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string quoted(std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;
        }
    }
  }
  out += '"';
  return out;
}

void JsonWriter::newline() {
  m_out += '\n';
  m_out.append(2 * m_first.size(), ' ');
}

void JsonWriter::beforeValue() {
  if (m_afterKey) {
    m_afterKey = false;
    return;
  }
  if (m_first.empty()) return;
  if (!m_first.back()) m_out += ',';
  m_first.back() = false;
  newline();
}

void JsonWriter::beginObject() {
  beforeValue();
  m_out += '{';
  m_first.push_back(true);
}

void JsonWriter::endObject() {
  const bool empty = m_first.back();
  m_first.pop_back();
  if (!empty) newline();
  m_out += '}';
  if (m_first.empty()) m_out += '\n';
}

void JsonWriter::beginArray() {
  beforeValue();
  m_out += '[';
  m_first.push_back(true);
}

void JsonWriter::endArray() {
  const bool empty = m_first.back();
  m_first.pop_back();
  if (!empty) newline();
  m_out += ']';
  if (m_first.empty()) m_out += '\n';
}

void JsonWriter::numberRow(const std::vector<double>& values, int decimals) {
  beforeValue();
  m_out += '[';
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) m_out += ", ";
    m_out += formatNumber(values[i], decimals);
  }
  m_out += ']';
}

void JsonWriter::key(std::string_view name) {
  beforeValue();
  m_out += quoted(name);
  m_out += ": ";
  m_afterKey = true;
}

void JsonWriter::value(std::string_view text) {
  beforeValue();
  m_out += quoted(text);
}

void JsonWriter::value(int64_t number) {
  beforeValue();
  m_out += std::to_string(number);
}

void JsonWriter::value(double number, int decimals) {
  beforeValue();
  m_out += formatNumber(number, decimals);
}

void JsonWriter::value(bool flag) {
  beforeValue();
  m_out += flag ? "true" : "false";
}

void JsonWriter::null() {
  beforeValue();
  m_out += "null";
}

}  // namespace velmoria::report
