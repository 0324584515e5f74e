#include "frontend/help_window_qt.h"

#include "frame/file_bytes.h"

#include <iconv.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "frontend/fonts_qt.h"
#include "frontend/window_placement_qt.h"

namespace velmoria {

namespace {
// The design: a 227 x 331 window holding the 225 x 329 memo.
constexpr QSize kDesignMemo(225, 329);
constexpr QSize kMemoBorder(2, 2);
// Room on the screen kept for the window manager's frame around the window.
constexpr QSize kFrameRoom(16, 48);
}  // namespace

QString cp932ToQString(const std::string& bytes) {
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return QString::fromLatin1(bytes);
  std::string out(bytes.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1)) {
      if (errno == EILSEQ || errno == EINVAL) {  // skip the byte that does not decode
        ++in;
        --inLeft;
        continue;
      }
      break;
    }
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return QString::fromUtf8(out);
}

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Dialog) {
  setWindowTitle(tr("Help"));
  setFixedSize(kDesignMemo + kMemoBorder);
  setFont(designFont("FixedSys", 12));
  m_memo = new QPlainTextEdit(this);
  m_memo->setObjectName("Memo1");
  m_memo->setGeometry(QRect(QPoint(0, 0), kDesignMemo));
  m_memo->setReadOnly(true);
  m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The window is as wide as the text where the screen allows; where it does not, lines wrap
  // instead of being cut.
  m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  m_memo->installEventFilter(this);
}

void HelpWindow::fitToText() {
  // Each line laid out as the memo lays it out unwrapped, with the font's fallbacks for the
  // Japanese characters, which are taller than the monospace font's own lines.
  qreal widest = 0, height = 0;
  for (QTextBlock block = m_memo->document()->begin(); block.isValid(); block = block.next()) {
    QTextLayout layout(block.text(), m_memo->font());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) continue;
    widest = std::max(widest, line.naturalTextWidth());
    height += line.height();
  }
  const int margins = 2 * static_cast<int>(std::ceil(m_memo->document()->documentMargin())) +
                      2 * m_memo->frameWidth();
  const int bar = m_memo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_memo);
  constexpr int kCursor = 2;         // the text cursor after a line's last character
  constexpr int kBelowLastLine = 1;  // the memo scrolls unless a pixel is left below the text
  QSize memo(static_cast<int>(std::ceil(widest)) + margins + bar + kCursor,
             static_cast<int>(std::ceil(height)) + margins + kBelowLastLine);
  memo = memo.expandedTo(m_scale.toScreen(kDesignMemo));
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    memo = memo.boundedTo(screen->availableGeometry().size() - kFrameRoom - kMemoBorder);
  m_memo->setGeometry(0, 0, memo.width(), memo.height());
  setFixedSize(memo + kMemoBorder);
}

void HelpWindow::setScale(double scale) {
  if (!(scale > 0) || scale == m_scale.factor) return;
  m_scale.factor = scale;
  setFont(designFont("FixedSys", m_scale.toScreen(12)));
  fitToText();
}

bool HelpWindow::load(const std::filesystem::path& file) {
  // A FIFO named operation.dat would block the program's start.
  if (!isRegularFile(file)) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string line;
  bool first = true;
  QStringList lines;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first) {
      setWindowTitle(cp932ToQString(line));
      first = false;
    } else {
      lines << cp932ToQString(line);
    }
  }
  m_instructions = lines.join('\n');
  fill();
  return true;
}

void HelpWindow::showBindings(const QString& text) {
  m_bindings = text;
  fill();
}

void HelpWindow::fill() {
  QString text = m_instructions;
  if (!m_bindings.isEmpty()) text += (text.isEmpty() ? "" : "\n\n") + m_bindings;
  m_memo->setPlainText(text);
  fitToText();
}

void HelpWindow::present(QWidget* cab) {
  presentBeside(this, cab, Align::Top);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_memo && event->type() == QEvent::KeyPress && m_forward) {
    m_forward(static_cast<QKeyEvent*>(event));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace velmoria
