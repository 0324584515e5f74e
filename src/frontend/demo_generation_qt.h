#pragma once
// Generating the demo line on the first start: the generator runs as a child process
// (`velmoria-demo-gen --out DIR --progress-lines`) into a hidden folder beside the user's
// other lines, with a progress dialog; the folder takes its line's name only once the
// generator has finished, so a line is never seen half written. Cancelling (or closing the
// dialog) kills the generator and removes what it wrote. A program that is killed while it
// generates cannot clean up: its generator dies at its next progress line (the pipe is gone)
// and its hidden folder stays, so each hidden folder is locked (flock on FOLDER.lock) while it
// is written, and the next generation removes those nobody holds. UI thread; the process runs
// on its own.
#include <QObject>
#include <QProcess>
#include <QProgressDialog>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <deque>
#include <filesystem>
#include <memory>

namespace velmoria {

struct GeneratorCommand {
  QString program;        // empty: no generator installed
  QStringList arguments;  // before --out DIR --progress-lines
};

class DemoGeneration : public QObject {
  Q_OBJECT
 public:
  // The folder name the demo line takes in the user's lines folder.
  static constexpr const char* kLineName = "demo";
  // Lines of the generator's standard error kept for a failure message.
  static constexpr size_t kErrorLines = 6;

  DemoGeneration(GeneratorCommand command, std::filesystem::path linesFolder);
  ~DemoGeneration() override;

  void start();
  void cancel();

  // Removes the hidden folders of generations that have ended without cleaning up: those
  // whose lock is not held, and those without a lock left for more than `unlockedAge`.
  // Returns how many were removed.
  static int removeAbandoned(const std::filesystem::path& linesFolder,
                             std::chrono::seconds unlockedAge = std::chrono::minutes(10));
  QProgressDialog* dialog() const { return m_dialog.get(); }
  QProcess& process() { return m_process; }

 Q_SIGNALS:
  void finished(const std::filesystem::path& line);
  void failed(const QString& reason);
  void cancelled();

 private:
  void readProgress();
  void readErrors();
  void ended(int exitCode, QProcess::ExitStatus status);
  void fail(const QString& reason);
  void unlock();

  GeneratorCommand m_command;
  std::filesystem::path m_lines;
  std::unique_ptr<QTemporaryDir> m_partial;
  int m_lock = -1;  // the flock'ed FOLDER.lock of m_partial
  std::filesystem::path m_lockFile;
  std::unique_ptr<QProgressDialog> m_dialog;
  QProcess m_process;
  QByteArray m_errorBuffer;
  std::deque<QString> m_errors;
  bool m_done = false;
};

}  // namespace velmoria
