#pragma once
// The walk over a sectioned data file (vehicle, route, strings-and-keys).
//
// Each pass reads one line and tests it against every header of the reader's table, in the
// table's order. A header matches when the line starts with it (case-sensitive, brackets
// included; text after it is ignored). A matching section reads its lines at once; afterwards
// the current line is the last line it consumed and the remaining tests of the pass run against
// that line. Groups of the table set the section label as the tests pass them, so a failure can
// name the part of the file being read.
//
// Called on the UI thread during start-up. The walker owns the file's lines and borrows the
// context, which outlives it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/fixed.h"

namespace velmoria {

// Shared by all readers of one start-up: the last section label set and the line most recently
// read. A reader that fails names them in its message, so they outlive each single reader.
struct ReaderContext {
  std::string label;
  std::string currentLine;
};

class SectionWalker;
using SectionRead = std::function<void(SectionWalker&)>;

struct Section {
  std::string_view header;  // "[Brake]"
  SectionRead read;
};

struct SectionGroup {
  std::optional<std::string_view> label;  // set before the group's tests; nullopt keeps it
  std::vector<Section> sections;
};

using SectionTable = std::vector<SectionGroup>;

// The failure path of a reader: builds the user's message from the context. The walker throws
// StartupError with that message.
using FailureMessage = std::function<std::string(const ReaderContext&)>;

// True when line begins with header (the first header.size() characters are equal).
bool headerMatches(std::string_view line, std::string_view header);

class SectionWalker {
 public:
  SectionWalker(std::vector<std::string> lines, ReaderContext& context, FailureMessage message);

  // Walks the whole file with the table.
  void walk(const SectionTable& table);

  // --- For section readers ---
  bool atEnd() const { return m_next >= m_lines.size(); }
  const std::string& line() const { return m_context.currentLine; }
  // Reads the next line into the current line. Past the end of the file the line is empty.
  const std::string& next();

  // Conversions of a text; failing ones end the reading with the file's message.
  int32_t toInt(std::string_view text);
  double toReal64(std::string_view text);
  long double toReal80(std::string_view text);
  Fixed toFixed(std::string_view text);

  // One following line as a value.
  int32_t readInt() { return toInt(next()); }
  double readReal64() { return toReal64(next()); }
  long double readReal80() { return toReal80(next()); }
  Fixed readFixed() { return toFixed(next()); }
  std::string readText() { return next(); }

  // Comma field n (1-based) of the current line; "Error" when it is missing.
  std::string field(int n) const;
  int32_t fieldInt(int n) { return toInt(field(n)); }
  Fixed fieldFixed(int n) { return toFixed(field(n)); }

  // A list: reads lines until one beginning with '#' (consumed) or the end of the file. For each
  // other line `entry` runs with that line current. A line beginning with `commentMark` (when
  // given) is skipped. An entry beyond `capacity` fails the reading: nothing is written past a
  // table.
  void readList(size_t capacity, const std::function<void()>& entry,
                std::optional<char> commentMark = std::nullopt);

  // Ends the reading with the file's message.
  [[noreturn]] void fail() const;
  // Ends the reading with a message of its own (the consistency checks).
  [[noreturn]] static void failWith(const std::string& message);

 private:
  std::vector<std::string> m_lines;
  size_t m_next = 0;
  ReaderContext& m_context;
  FailureMessage m_message;
};

}  // namespace velmoria
