#pragma once
// The help window: the operating instructions from operation.dat (line 1 the caption, every
// further line one line of the memo), sized to its text within the screen (at least the
// design's 227 x 331; lines wrap where the screen is narrower than the text), followed by the
// driver's current key and pad bindings. Keys typed into the memo go on to the cab window's
// handlers. Created at program start, hidden until the Display menu shows it. UI thread.
#include <QPlainTextEdit>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "view/layout_scale_qt.h"

class QKeyEvent;

namespace velmoria {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  HelpWindow();
  // Reads the file; false when it cannot be opened (the design caption stays).
  bool load(const std::filesystem::path& file);
  void setForward(std::function<void(QKeyEvent*)> forward) { m_forward = std::move(forward); }
  // Shows the window above the cab window, beside it when it was hidden, and asks for the focus.
  void present(QWidget* cab);
  // Draws the text at a scale of the design's font (the cab's zoom), the window sized anew.
  void setScale(double scale);
  double scale() const { return m_scale.factor; }
  QPlainTextEdit* memo() const { return m_memo; }
  // The driver's current keys and pad bindings, listed below the instructions ("" for none).
  void showBindings(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitToText();
  void fill();

  QPlainTextEdit* m_memo;
  LayoutScale m_scale;
  QString m_instructions, m_bindings;
  std::function<void(QKeyEvent*)> m_forward;
};

// One line of a Shift-JIS (CP932) data file as UTF-8; bytes that do not decode are dropped.
QString cp932ToQString(const std::string& bytes);

}  // namespace velmoria
