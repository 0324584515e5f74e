#include "controls/binding_labels_qt.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace velmoria::controls {

namespace {
QString tr(const char* text) {
  return QCoreApplication::translate("velmoria::controls", text);
}
}  // namespace

QString actionLabel(Action a) {
  switch (a) {
    case Action::Forward:
      return tr("前進");
    case Action::Backward:
      return tr("後退");
    case Action::ReverserNeutral:
      return tr("レバーサ中立");
    case Action::PowerStep:
      return tr("力行側へ1段");
    case Action::BrakeStep:
      return tr("ブレーキ側へ1段");
    case Action::HandleNeutral:
      return tr("ハンドル中立");
    case Action::Emergency:
      return tr("非常ブレーキ");
    case Action::MasterUp:
      return tr("マスコン進め");
    case Action::MasterDown:
      return tr("マスコン戻し");
    case Action::MasterEmergency:
      return tr("マスコン非常");
    case Action::BrakeRelease:
      return tr("ブレーキ弛め");
    case Action::BrakeApply:
      return tr("ブレーキ込め");
    case Action::BrakeEmergency:
      return tr("ブレーキ非常");
    case Action::Horn:
      return tr("警笛");
    case Action::Horn2:
      return tr("警笛2");
    case Action::Buzzer1:
      return tr("ブザー1");
    case Action::Buzzer2:
      return tr("ブザー2・次の放送");
    case Action::PreviousAnnouncement:
      return tr("前の放送");
    case Action::Doors:
      return tr("ドア");
    case Action::Reset:
      return tr("ATS復帰");
    case Action::Acknowledge:
      return tr("ATS確認");
    case Action::GearUp:
      return tr("変速段上げ");
    case Action::GearDown:
      return tr("変速段下げ");
    case Action::CallOut:
      return tr("喚呼");
  }
  return {};
}

QString keyLabel(const std::string& keyName) {
  return keyName.empty() ? tr("なし") : QString::fromStdString(keyName);
}

QString buttonLabel(std::optional<PadButton> b) {
  return b ? QString::fromLatin1(buttonName(*b)) : tr("なし");
}

QString axisLabel(const AxisBinding& a) {
  return a.axis ? QString::fromStdString(axisBindingName(a)) : tr("なし");
}

QString bindingsText(const Bindings& b) {
  QStringList lines;
  lines << tr("[キーとゲームパッドの割り当て]");
  for (const ActionInfo& a : actions())
    lines << QString("%1 : %2 / %3")
                 .arg(actionLabel(a.action), keyLabel(b.key(a.action)),
                      buttonLabel(b.button(a.action)));
  lines << QString("%1 : %2").arg(tr("力行 (パッドの軸)"), axisLabel(b.powerAxis));
  lines << QString("%1 : %2").arg(tr("ブレーキ (パッドの軸)"), axisLabel(b.brakeAxis));
  return lines.join('\n');
}

std::string keyName(const QKeyEvent& event) {
  const int key = event.key();
  if (key == 0 || key == Qt::Key_unknown) return {};
  // The keypad's Enter is Return, as the keypad's digits are the digits: one key to bind.
  if (key == Qt::Key_Enter) return "Return";
  return QKeySequence(key).toString(QKeySequence::PortableText).toStdString();
}

bool bindable(const QKeyEvent& event) {
  const int key = event.key();
  if (key == 0 || key == Qt::Key_unknown || key == Qt::Key_Escape) return false;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return false;
  switch (key) {
    case Qt::Key_ScrollLock:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
      return false;
    default:
      return !keyName(event).empty();
  }
}

}  // namespace velmoria::controls
