#include "frame/section_walker.h"

#include "frame/common_util.h"
#include "frame/data_values.h"
#include "frame/startup_error.h"

namespace velmoria {

bool headerMatches(std::string_view line, std::string_view header) {
  return line.size() >= header.size() && line.substr(0, header.size()) == header;
}

SectionWalker::SectionWalker(std::vector<std::string> lines, ReaderContext& context,
                             FailureMessage message)
    : m_lines(std::move(lines)), m_context(context), m_message(std::move(message)) {}

void SectionWalker::walk(const SectionTable& table) {
  while (!atEnd()) {
    next();
    for (const auto& group : table) {
      if (group.label) m_context.label = std::string(*group.label);
      for (const auto& section : group.sections)
        if (headerMatches(m_context.currentLine, section.header)) section.read(*this);
    }
  }
}

const std::string& SectionWalker::next() {
  if (atEnd())
    m_context.currentLine.clear();
  else
    m_context.currentLine = m_lines[m_next++];
  return m_context.currentLine;
}

int32_t SectionWalker::toInt(std::string_view text) {
  if (auto v = parseInt32(text)) return *v;
  fail();
}

double SectionWalker::toReal64(std::string_view text) {
  if (auto v = parseReal64(text)) return *v;
  fail();
}

long double SectionWalker::toReal80(std::string_view text) {
  if (auto v = parseReal80(text)) return *v;
  fail();
}

Fixed SectionWalker::toFixed(std::string_view text) {
  if (auto v = parseFixed(text)) return *v;
  fail();
}

std::string SectionWalker::field(int n) const {
  return GetCsvField(m_context.currentLine, n);
}

void SectionWalker::readList(size_t capacity, const std::function<void()>& entry,
                             std::optional<char> commentMark) {
  size_t count = 0;
  // The end of the file ends a list as its '#' line would.
  while (!atEnd()) {
    const std::string& current = next();
    if (!current.empty() && current.front() == '#') return;
    if (commentMark && !current.empty() && current.front() == *commentMark) continue;
    if (count == capacity) fail();
    entry();
    ++count;
  }
}

void SectionWalker::fail() const {
  throw StartupError(m_message(m_context));
}

void SectionWalker::failWith(const std::string& message) {
  throw StartupError(message);
}

}  // namespace velmoria
