#include "frontend/demo_generation_qt.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "frame/line_search.h"

namespace velmoria {

namespace fs = std::filesystem;

namespace {

// The generator writes short lines; anything longer without a line end is cut here so that a
// misbehaving child cannot make the buffers grow without bound.
constexpr qsizetype kLongestLine = 4096;

QString pathText(const fs::path& path) {
  return QString::fromStdString(path.string());
}

// "demo", else "demo-2" ... for a user who already has a folder of that name.
fs::path freeName(const fs::path& lines) {
  std::error_code ec;
  for (int n = 1; n < 100; ++n) {
    const std::string name =
        std::string(DemoGeneration::kLineName) + (n == 1 ? "" : "-" + std::to_string(n));
    if (!fs::exists(lines / name, ec) && !ec) return lines / name;
  }
  return {};
}

// Opens FILE and takes its lock without waiting; -1 when someone holds it or it cannot open.
int lockWithoutWaiting(const fs::path& file, bool create) {
  const int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool isPartialName(const std::string& name) {
  return name.size() == 12 && name.rfind(".demo-", 0) == 0;  // ".demo-XXXXXX"
}

}  // namespace

int DemoGeneration::removeAbandoned(const fs::path& lines, std::chrono::seconds unlockedAge) {
  int removed = 0;
  std::error_code ec;
  std::vector<fs::path> partials;
  for (fs::directory_iterator it(lines, ec), end; !ec && it != end; it.increment(ec))
    if (isPartialName(it->path().filename().string())) partials.push_back(it->path());
  for (const auto& folder : partials) {
    std::error_code kind;
    if (!fs::is_directory(folder, kind) || fs::is_symlink(folder, kind)) continue;
    const fs::path lockFile = folder.string() + ".lock";
    if (fs::exists(lockFile, kind)) {
      const int fd = lockWithoutWaiting(lockFile, false);
      if (fd < 0) continue;  // its generation is running
      fs::remove_all(folder, kind);
      fs::remove(lockFile, kind);
      ::close(fd);
      ++removed;
    } else {
      // Made an instant ago by a generation that has not locked it yet, or left from before.
      const auto written = fs::last_write_time(folder, kind);
      if (kind || fs::file_time_type::clock::now() - written < unlockedAge) continue;
      fs::remove_all(folder, kind);
      ++removed;
    }
  }
  return removed;
}

DemoGeneration::DemoGeneration(GeneratorCommand command, fs::path linesFolder)
    : m_command(std::move(command)), m_lines(std::move(linesFolder)) {
  connect(&m_process, &QProcess::readyReadStandardOutput, this, &DemoGeneration::readProgress);
  connect(&m_process, &QProcess::readyReadStandardError, this, &DemoGeneration::readErrors);
  connect(&m_process, &QProcess::finished, this, &DemoGeneration::ended);
  connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart)
      fail(tr("%1 を起動できません: %2").arg(m_command.program, m_process.errorString()));
  });
}

DemoGeneration::~DemoGeneration() {
  m_done = true;
  if (m_process.state() != QProcess::NotRunning) {
    m_process.kill();
    m_process.waitForFinished(5000);
  }
  m_partial.reset();
  unlock();
}

void DemoGeneration::unlock() {
  if (m_lock < 0) return;
  std::error_code ec;
  fs::remove(m_lockFile, ec);
  ::close(m_lock);
  m_lock = -1;
}

void DemoGeneration::start() {
  std::error_code ec;
  fs::create_directories(m_lines, ec);
  if (ec) {
    fail(
        tr("%1 を作成できません: %2").arg(pathText(m_lines), QString::fromStdString(ec.message())));
    return;
  }
  removeAbandoned(m_lines);
  m_partial = std::make_unique<QTemporaryDir>(pathText(m_lines / ".demo-XXXXXX"));
  if (!m_partial->isValid()) {
    fail(tr("%1 に書き込めません: %2").arg(pathText(m_lines), m_partial->errorString()));
    return;
  }
  m_lockFile = m_partial->path().toStdString() + ".lock";
  m_lock = lockWithoutWaiting(m_lockFile, true);
  if (m_lock < 0) {
    fail(tr("%1 に書き込めません").arg(pathText(m_lockFile)));
    return;
  }

  m_dialog = std::make_unique<QProgressDialog>(tr("デモ路線を生成しています"), tr("中止"), 0, 100);
  m_dialog->setObjectName("DemoProgress");
  m_dialog->setWindowTitle("Velmoria");
  m_dialog->setAutoClose(false);
  m_dialog->setAutoReset(false);
  m_dialog->setMinimumDuration(0);
  m_dialog->setMinimumWidth(420);
  m_dialog->setValue(0);
  connect(m_dialog.get(), &QProgressDialog::canceled, this, &DemoGeneration::cancel);
  m_dialog->show();

  QStringList arguments = m_command.arguments;
  arguments << "--out" << m_partial->path() << "--progress-lines";
  m_process.start(m_command.program, arguments);
}

void DemoGeneration::readProgress() {
  while (m_process.canReadLine() || m_process.bytesAvailable() > kLongestLine) {
    const QString line = QString::fromUtf8(m_process.readLine(kLongestLine)).trimmed();
    // "progress PERCENT STAGE"; anything else is not for the dialog.
    if (!line.startsWith("progress ") || !m_dialog) continue;
    const QString rest = line.mid(9);
    const qsizetype space = rest.indexOf(' ');
    bool number = false;
    const int percent = rest.left(space < 0 ? rest.size() : space).toInt(&number);
    if (!number) continue;
    m_dialog->setValue(std::clamp(percent, 0, 100));
    const QString stage = space < 0 ? QString() : rest.mid(space + 1);
    m_dialog->setLabelText(tr("デモ路線を生成しています\n%1").arg(stage));
  }
}

void DemoGeneration::readErrors() {
  m_errorBuffer += m_process.readAllStandardError();
  qsizetype end;
  while ((end = m_errorBuffer.indexOf('\n')) >= 0 || m_errorBuffer.size() > kLongestLine) {
    const qsizetype cut = end >= 0 ? end : kLongestLine;
    const QString line = QString::fromUtf8(m_errorBuffer.left(cut)).trimmed();
    m_errorBuffer.remove(0, end >= 0 ? cut + 1 : cut);
    if (line.isEmpty()) continue;
    m_errors.push_back(line);
    if (m_errors.size() > kErrorLines) m_errors.pop_front();
  }
}

void DemoGeneration::ended(int exitCode, QProcess::ExitStatus status) {
  if (m_done) return;
  readProgress();
  readErrors();
  if (status != QProcess::NormalExit || exitCode != 0) {
    QStringList said(m_errors.begin(), m_errors.end());
    if (said.isEmpty())
      said << (status == QProcess::NormalExit ? tr("終了コード %1").arg(exitCode)
                                              : tr("異常終了しました"));
    fail(said.join('\n'));
    return;
  }
  const fs::path written = m_partial->path().toStdString();
  if (!isLine(written)) {
    fail(tr("生成されたフォルダに korvelan.dat がありません"));
    return;
  }
  const fs::path line = freeName(m_lines);
  std::error_code ec;
  if (!line.empty()) fs::rename(written, line, ec);
  if (line.empty() || ec) {
    fail(tr("%1 に名前を付けられません").arg(pathText(written)));
    return;
  }
  m_partial->setAutoRemove(false);
  m_partial.reset();
  unlock();
  m_done = true;
  if (m_dialog) m_dialog->hide();
  Q_EMIT finished(line);
}

void DemoGeneration::fail(const QString& reason) {
  if (m_done) return;
  m_done = true;
  if (m_process.state() != QProcess::NotRunning) {
    m_process.kill();
    m_process.waitForFinished(5000);
  }
  m_partial.reset();  // removes what was written
  unlock();
  if (m_dialog) m_dialog->hide();
  Q_EMIT failed(reason);
}

void DemoGeneration::cancel() {
  if (m_done) return;
  m_done = true;
  if (m_process.state() != QProcess::NotRunning) {
    m_process.kill();
    m_process.waitForFinished(5000);
  }
  m_partial.reset();
  unlock();
  if (m_dialog) m_dialog->hide();
  Q_EMIT cancelled();
}

}  // namespace velmoria
