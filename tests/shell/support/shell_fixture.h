#pragma once
// A desktop program under test: null media, message boxes recorded instead of shown, and an
// exit hook that throws ProcessEnded so that a failing creation can be observed.
#include <QCoreApplication>
#include <QStringList>
#include <filesystem>
#include <memory>

#include "frontend/desktop_app_qt.h"

namespace velmoria::test {

struct ShellRecorder {
  QStringList messages;
  QStringList statuses;
  QStringList opened;
  QStringList questions;
  bool answer = false;  // to every question
  bool browser = true;  // whether the desktop opens documents
  int exits = 0;
  ShellHooks hooks();
};

// Waits for queued events (the return to the title window is queued).
void processEvents(int ms = 0);

// A copy of a data folder the test may change.
class DataCopy {
 public:
  explicit DataCopy(const std::filesystem::path& from);
  ~DataCopy();
  const std::filesystem::path& path() const { return m_path; }
  // Replaces one line of a file (0-based), or appends when line is past the end.
  void write(const std::string& file, const std::string& contents);
  void remove(const std::string& file);

 private:
  std::filesystem::path m_path;
};

}  // namespace velmoria::test
