#pragma once
// A small JSON writer for the run report: objects, arrays, strings, numbers and booleans,
// indented two spaces a level, with short arrays of numbers kept on one line. Strings are
// UTF-8 and pass through as they are, with quotes, backslashes and control characters
// escaped. Numbers are written with a fixed number of decimals, whatever the locale, and a
// value that is not finite is written as null. The caller pairs every begin with its end.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmoria::report {

class JsonWriter {
 public:
  void beginObject();
  void endObject();
  void beginArray();
  void endArray();
  // An array of numbers on one line: [12.5, 3, 0].
  void numberRow(const std::vector<double>& values, int decimals);

  void key(std::string_view name);
  void value(std::string_view text);
  void value(const char* text) { value(std::string_view(text)); }
  void value(int64_t number);
  void value(int number) { value(static_cast<int64_t>(number)); }
  void value(double number, int decimals);
  void value(bool flag);
  void null();

  // The text so far; complete once every object and array is closed.
  const std::string& text() const { return m_out; }

 private:
  void beforeValue();
  void newline();

  std::string m_out;
  std::vector<bool> m_first;  // per open level: nothing written in it yet
  bool m_afterKey = false;
};

// "12.50" for (12.5, 2); never "-0.00"; "null" for a value that is not finite.
std::string formatNumber(double number, int decimals);
// The text as a JSON string literal, quotes included.
std::string quoted(std::string_view text);

}  // namespace velmoria::report
