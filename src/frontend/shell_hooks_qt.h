#pragma once
// How the desktop program tells the user about a fatal problem and ends. The windows call these
// hooks instead of QMessageBox and exit() directly, so that the tests can watch a failure
// without losing their process: a test's exit hook throws ProcessEnded, which unwinds the
// creation that failed. Used on the UI thread only.
#include <QString>
#include <functional>
#include <stdexcept>

class QWidget;

namespace velmoria {

struct ProcessEnded : std::runtime_error {
  explicit ProcessEnded(int exitCode) : std::runtime_error("process ended"), code(exitCode) {}
  int code;
};

struct ShellHooks {
  // A modal message box with one OK button (error messages and the serial port's notices).
  std::function<void(QWidget* parent, const QString& text)> message;
  // Ends the process at once with the given code; never returns.
  std::function<void(int code)> exit;
  // A question with Yes and No; true for Yes. Empty, or with no one to answer, it is No.
  std::function<bool(QWidget* parent, const QString& text)> ask;
  // Opens a document with the desktop's default handler (readme.html); false when the
  // desktop has none.
  std::function<bool(const QString& path)> openDocument;

  // The real program's hooks: QMessageBox (standard error when the environment has
  // VELMORIA_MESSAGES=stderr, where every question is answered No), std::exit,
  // QDesktopServices.
  static ShellHooks system();
  // Shows the message, then ends the process.
  [[noreturn]] void fail(QWidget* parent, const QString& text) const;
};

}  // namespace velmoria
