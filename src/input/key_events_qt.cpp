#include "input/key_events_qt.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace velmoria {

TranslatedKey translateKey(const QKeyEvent& event) {
  TranslatedKey out;
  const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier |
                                                          Qt::AltModifier | Qt::MetaModifier);
  out.shiftOnly = mods == Qt::ShiftModifier;
  const int key = event.key();
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
    out.key = static_cast<VirtualKey>(static_cast<int>(VirtualKey::F1) + (key - Qt::Key_F1));
  else if (key == Qt::Key_Return || key == Qt::Key_Enter)
    out.key = VirtualKey::Enter;
  else if (key == Qt::Key_ScrollLock)
    out.key = VirtualKey::ScrollLock;

  // A character message only comes for printable keys without Ctrl or Alt.
  const QString text = event.text();
  if (text.size() == 1 && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
    const char16_t c = text.at(0).unicode();
    if (c >= 0x20 && c < 0x7f) out.character = static_cast<char>(c);
  }
  return out;
}

int WheelSteps::add(const QWheelEvent& event) {
  m_remainder += event.angleDelta().y();
  const int steps = m_remainder / 120;
  m_remainder -= steps * 120;
  return steps;
}

}  // namespace velmoria
