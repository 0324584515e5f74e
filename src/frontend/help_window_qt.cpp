#include "frontend/help_window_qt.h"

#include <iconv.h>

#include <QKeyEvent>
#include <fstream>

#include "frontend/fonts_qt.h"
#include "frontend/window_placement_qt.h"

namespace velmoria {

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
  setWindowTitle("Help");
  setFixedSize(227, 331);
  setFont(designFont("FixedSys", 12));
  m_memo = new QPlainTextEdit(this);
  m_memo->setObjectName("Memo1");
  m_memo->setGeometry(0, 0, 225, 329);
  m_memo->setReadOnly(true);
  m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_memo->installEventFilter(this);
}

bool HelpWindow::load(const std::filesystem::path& file) {
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
  m_memo->setPlainText(lines.join('\n'));
  return true;
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
