#include "controls/controls_dialog_qt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "controls/binding_labels_qt.h"

namespace velmoria::controls {

namespace {
// The half-axes a handle can be put on: the triggers one way, the sticks either way.
std::vector<AxisBinding> axisChoices() {
  std::vector<AxisBinding> out{AxisBinding{}};
  for (PadAxis a : {PadAxis::RightTrigger, PadAxis::LeftTrigger}) out.push_back({a, 1});
  for (PadAxis a : {PadAxis::LeftY, PadAxis::RightY, PadAxis::LeftX, PadAxis::RightX}) {
    out.push_back({a, -1});
    out.push_back({a, 1});
  }
  return out;
}

QComboBox* axisBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (const AxisBinding& a : axisChoices())
    box->addItem(axisLabel(a), QString::fromStdString(axisBindingName(a)));
  return box;
}

void select(QComboBox* box, const QString& data) {
  const int i = box->findData(data);
  box->setCurrentIndex(i < 0 ? 0 : i);
}
}  // namespace

ControlsDialog::ControlsDialog(const Bindings& bindings, QWidget* parent)
    : QDialog(parent), m_bindings(bindings) {
  setWindowTitle(tr("操作の割り当て"));
  setObjectName("ControlsDialog");
  auto* table = new QWidget;
  auto* grid = new QGridLayout(table);
  grid->addWidget(new QLabel(tr("操作")), 0, 0);
  grid->addWidget(new QLabel(tr("キー")), 0, 1);
  grid->addWidget(new QLabel(tr("ゲームパッド")), 0, 2);
  int row = 1;
  for (const ActionInfo& info : controls::actions()) {
    const Action a = info.action;
    const size_t i = static_cast<size_t>(a);
    grid->addWidget(new QLabel(actionLabel(a)), row, 0);
    m_keys[i] = new QPushButton(table);
    m_keys[i]->setObjectName(QString("key_%1").arg(info.id));
    m_keys[i]->installEventFilter(this);
    connect(m_keys[i], &QPushButton::clicked, this, [this, a] { capture(a); });
    grid->addWidget(m_keys[i], row, 1);
    m_buttons[i] = new QComboBox(table);
    m_buttons[i]->setObjectName(QString("pad_%1").arg(info.id));
    m_buttons[i]->addItem(buttonLabel(std::nullopt), QString());
    for (int b = 0; b < kPadButtons; ++b)
      m_buttons[i]->addItem(buttonName(static_cast<PadButton>(b)),
                            QString::fromLatin1(buttonName(static_cast<PadButton>(b))));
    connect(m_buttons[i], &QComboBox::currentIndexChanged, this, [this, a, i] {
      if (m_showing) return;
      bindButton(m_bindings, a,
                 buttonFromName(m_buttons[i]->currentData().toString().toStdString()));
      display(m_bindings);
    });
    grid->addWidget(m_buttons[i], row, 2);
    ++row;
  }
  m_powerAxis = axisBox(table);
  m_powerAxis->setObjectName("pad_power_axis");
  m_brakeAxis = axisBox(table);
  m_brakeAxis->setObjectName("pad_brake_axis");
  grid->addWidget(new QLabel(tr("力行 (パッドの軸)")), row, 0);
  grid->addWidget(m_powerAxis, row++, 2);
  grid->addWidget(new QLabel(tr("ブレーキ (パッドの軸)")), row, 0);
  grid->addWidget(m_brakeAxis, row++, 2);
  const auto axisChanged = [this](QComboBox* box, AxisBinding& mine, AxisBinding& other) {
    if (m_showing) return;
    mine = axisBindingFromName(box->currentData().toString().toStdString()).value_or(AxisBinding{});
    // One half-axis cannot work both handles.
    if (mine.axis && mine == other) other = AxisBinding{};
    display(m_bindings);
  };
  connect(m_powerAxis, &QComboBox::currentIndexChanged, this,
          [=, this] { axisChanged(m_powerAxis, m_bindings.powerAxis, m_bindings.brakeAxis); });
  connect(m_brakeAxis, &QComboBox::currentIndexChanged, this,
          [=, this] { axisChanged(m_brakeAxis, m_bindings.brakeAxis, m_bindings.powerAxis); });

  auto* scroll = new QScrollArea;
  scroll->setWidget(table);
  scroll->setWidgetResizable(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  m_defaults = buttons->addButton(tr("初期設定"), QDialogButtonBox::ResetRole);
  connect(m_defaults, &QPushButton::clicked, this, [this] {
    m_capturing.reset();
    m_bindings = Bindings::defaults();
    display(m_bindings);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(tr("キーはボタンを押してから新しいキーを押します (Escで取り消し)。")));
  layout->addWidget(scroll);
  layout->addWidget(buttons);
  resize(table->sizeHint().width() + 40, 520);
  display(m_bindings);
}

void ControlsDialog::display(const Bindings& b) {
  m_showing = true;
  for (const ActionInfo& info : controls::actions()) {
    const size_t i = static_cast<size_t>(info.action);
    m_keys[i]->setText(m_capturing == info.action ? tr("キーを押してください…")
                                                  : keyLabel(b.key(info.action)));
    const auto button = b.button(info.action);
    select(m_buttons[i], button ? QString::fromLatin1(buttonName(*button)) : QString());
  }
  select(m_powerAxis, QString::fromStdString(axisBindingName(b.powerAxis)));
  select(m_brakeAxis, QString::fromStdString(axisBindingName(b.brakeAxis)));
  m_showing = false;
}

void ControlsDialog::capture(Action a) {
  m_capturing = a;
  m_keys[static_cast<size_t>(a)]->setFocus();
  display(m_bindings);
}

bool ControlsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !m_capturing)
    return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const Action a = *m_capturing;
  if (key->key() == Qt::Key_Escape) {
    m_capturing.reset();
  } else if (bindable(*key)) {
    bindKey(m_bindings, a, keyName(*key));
    m_capturing.reset();
  } else {
    return true;  // a modifier on its own, or a key with a meaning of its own: keep waiting
  }
  display(m_bindings);
  return true;  // neither Space nor Return may press the button or the dialog's default
}

}  // namespace velmoria::controls
