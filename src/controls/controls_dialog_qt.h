#pragma once
// The Controls dialog: for every action of the cab its keyboard key (click the key's button,
// then press the new key; Escape keeps the old one) and its pad button, and the pad's two
// handle axes. A key or button given to one action is taken from the one that had it.
// "初期設定" puts everything back as it always was. The caller reads bindings() after OK and
// saves them. Modal, UI thread.
#include <QDialog>
#include <array>

#include "controls/bindings.h"

class QComboBox;
class QPushButton;

namespace velmoria::controls {

class ControlsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ControlsDialog(const Bindings& bindings, QWidget* parent = nullptr);
  const Bindings& bindings() const { return m_bindings; }

  // The widgets, for the tests.
  QPushButton* keyButton(Action a) const { return m_keys[static_cast<size_t>(a)]; }
  QComboBox* buttonBox(Action a) const { return m_buttons[static_cast<size_t>(a)]; }
  QComboBox* powerAxisBox() const { return m_powerAxis; }
  QComboBox* brakeAxisBox() const { return m_brakeAxis; }
  QPushButton* defaultsButton() const { return m_defaults; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void display(const Bindings& b);
  void capture(Action a);

  Bindings m_bindings;
  std::optional<Action> m_capturing;
  bool m_showing = false;
  std::array<QPushButton*, kActions> m_keys{};
  std::array<QComboBox*, kActions> m_buttons{};
  QComboBox* m_powerAxis = nullptr;
  QComboBox* m_brakeAxis = nullptr;
  QPushButton* m_defaults = nullptr;
};

}  // namespace velmoria::controls
