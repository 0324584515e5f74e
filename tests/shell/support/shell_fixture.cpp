#include "support/shell_fixture.h"

#include <unistd.h>
#include <QElapsedTimer>
#include <atomic>
#include <fstream>

namespace velmoria::test {

ShellHooks ShellRecorder::hooks() {
  ShellHooks h;
  h.message = [this](QWidget*, const QString& text) { messages << text; };
  h.ask = [this](QWidget*, const QString& text) {
    questions << text;
    return answer;
  };
  h.exit = [this](int code) {
    ++exits;
    throw ProcessEnded(code);
  };
  h.openDocument = [this](const QString& path) {
    if (!browser) return false;
    opened << path;
    return true;
  };
  return h;
}

void processEvents(int ms) {
  QElapsedTimer timer;
  timer.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  } while (timer.elapsed() < ms);
}

DataCopy::DataCopy(const std::filesystem::path& from) {
  static std::atomic<int> counter{0};
  m_path = std::filesystem::temp_directory_path() /
           ("velmoria-shell-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(m_path);
  std::filesystem::copy(from, m_path, std::filesystem::copy_options::recursive);
}

DataCopy::~DataCopy() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

void DataCopy::write(const std::string& file, const std::string& contents) {
  std::ofstream out(m_path / file, std::ios::binary | std::ios::trunc);
  out << contents;
}

void DataCopy::remove(const std::string& file) {
  std::filesystem::remove(m_path / file);
}

}  // namespace velmoria::test
