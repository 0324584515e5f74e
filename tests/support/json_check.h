#pragma once
// Whether a text is one well-formed JSON value (RFC 8259), for tests of what the program
// writes: objects, arrays, strings with their escapes, numbers, true, false, null.
#include <cctype>
#include <string>
#include <string_view>

namespace velmoria::test {

class JsonCheck {
 public:
  explicit JsonCheck(std::string text) : m_text(std::move(text)), m_s(m_text) {}
  // True when the whole text is one value; otherwise `error` says where it went wrong.
  bool ok() {
    space();
    if (!value()) return false;
    space();
    return m_i == m_s.size() || fail("text after the value");
  }
  std::string error;

 private:
  bool fail(const char* why) {
    error = std::string(why) + " at byte " + std::to_string(m_i);
    return false;
  }
  void space() {
    while (m_i < m_s.size() &&
           (m_s[m_i] == ' ' || m_s[m_i] == '\n' || m_s[m_i] == '\t' || m_s[m_i] == '\r'))
      ++m_i;
  }
  bool literal(std::string_view word) {
    if (m_s.substr(m_i, word.size()) != word) return fail("not a value");
    m_i += word.size();
    return true;
  }
  bool digits() {
    const size_t from = m_i;
    while (m_i < m_s.size() && std::isdigit(static_cast<unsigned char>(m_s[m_i]))) ++m_i;
    return m_i > from || fail("digits expected");
  }
  bool number() {
    if (m_s[m_i] == '-') ++m_i;
    if (m_i < m_s.size() && m_s[m_i] == '0')
      ++m_i;
    else if (!digits())
      return false;
    if (m_i < m_s.size() && m_s[m_i] == '.' && (++m_i, !digits())) return false;
    if (m_i < m_s.size() && (m_s[m_i] == 'e' || m_s[m_i] == 'E')) {
      ++m_i;
      if (m_i < m_s.size() && (m_s[m_i] == '+' || m_s[m_i] == '-')) ++m_i;
      if (!digits()) return false;
    }
    return true;
  }
  bool string() {
    ++m_i;  // the opening quote
    while (m_i < m_s.size()) {
      const auto c = static_cast<unsigned char>(m_s[m_i++]);
      if (c == '"') return true;
      if (c < 0x20) return fail("control character in a string");
      if (c != '\\') continue;
      if (m_i >= m_s.size()) break;
      const char e = m_s[m_i++];
      if (e == 'u') {
        for (int k = 0; k < 4; ++k, ++m_i)
          if (m_i >= m_s.size() || !std::isxdigit(static_cast<unsigned char>(m_s[m_i])))
            return fail("bad \\u escape");
      } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
        return fail("bad escape");
      }
    }
    return fail("unterminated string");
  }
  bool list(char close, bool object) {
    ++m_i;
    space();
    if (m_i < m_s.size() && m_s[m_i] == close) return ++m_i, true;
    while (true) {
      space();
      if (object) {
        if (m_i >= m_s.size() || m_s[m_i] != '"' || !string()) return fail("a key expected");
        space();
        if (m_i >= m_s.size() || m_s[m_i++] != ':') return fail("':' expected");
        space();
      }
      if (!value()) return false;
      space();
      if (m_i < m_s.size() && m_s[m_i] == ',') {
        ++m_i;
        continue;
      }
      if (m_i < m_s.size() && m_s[m_i] == close) return ++m_i, true;
      return fail("',' or the end of the list expected");
    }
  }
  bool value() {
    if (m_i >= m_s.size()) return fail("a value expected");
    const char c = m_s[m_i];
    if (c == '{') return list('}', true);
    if (c == '[') return list(']', false);
    if (c == '"') return string();
    if (c == 't') return literal("true");
    if (c == 'f') return literal("false");
    if (c == 'n') return literal("null");
    return number();
  }

  std::string m_text;
  std::string_view m_s;
  size_t m_i = 0;
};

}  // namespace velmoria::test
