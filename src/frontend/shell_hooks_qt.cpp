#include "frontend/shell_hooks_qt.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

namespace velmoria {

ShellHooks ShellHooks::system() {
  ShellHooks hooks;
  hooks.message = [](QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    parent);
    box.exec();
  };
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
