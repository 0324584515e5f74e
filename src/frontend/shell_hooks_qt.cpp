#include "frontend/shell_hooks_qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmoria {

ShellHooks ShellHooks::system() {
  ShellHooks hooks;
  // VELMORIA_MESSAGES=stderr: the messages go to standard error instead of a box that waits
  // for a click (scripted and headless runs).
  const char* messages = std::getenv("VELMORIA_MESSAGES");
  if (messages && std::strcmp(messages, "stderr") == 0) {
    hooks.message = [](QWidget*, const QString& text) {
      std::fprintf(stderr, "velmoria: %s\n", text.toUtf8().constData());
    };
    // Nobody is there to answer: a scripted run never starts long work of its own accord.
    hooks.ask = [](QWidget*, const QString& text) {
      std::fprintf(stderr, "velmoria: %s [no]\n", text.toUtf8().constData());
      return false;
    };
  } else {
    hooks.message = [](QWidget* parent, const QString& text) {
      QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                      parent);
      box.exec();
    };
    hooks.ask = [](QWidget* parent, const QString& text) {
      QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text,
                      QMessageBox::Yes | QMessageBox::No, parent);
      box.setDefaultButton(QMessageBox::Yes);
      return box.exec() == QMessageBox::Yes;
    };
  }
  hooks.exit = [](int code) {
    std::fflush(nullptr);
    std::exit(code);
  };
  hooks.openDocument = [](const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  };
  return hooks;
}

void ShellHooks::fail(QWidget* parent, const QString& text) const {
  if (message) message(parent, text);
  if (exit) exit(1);
  // An exit hook that returns would leave a half-built window behind: never let it.
  throw ProcessEnded(1);
}

}  // namespace velmoria
