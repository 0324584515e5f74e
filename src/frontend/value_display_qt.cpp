#include "frontend/value_display_qt.h"

#include <QKeyEvent>
#include <iterator>

#include "frontend/fonts_qt.h"
#include "frontend/window_placement_qt.h"

namespace velmoria {

namespace {
struct ValueRow {
  const char* caption;
  int captionLeft, captionTop;
  const char* name;
  const char* initial;
  int left, top, width;  // width 0: auto size, anchored at the right edge `left`
};

constexpr ValueRow kRows[] = {
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Speed"), 8, 16, "Label1", "0 km/h", 144, 16,
     84},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Accelaration"), 8, 32, "Label6", "0 km/h/s",
     144, 32, 84},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Slope"), 8, 56, "Label27", "0 Permil", 144,
     56, 84},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Wheel statement"), 8, 79, "Label23",
     "Normal", 152, 79, 77},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Power"), 8, 96, "Label7", "0 N", 152, 96,
     76},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Resistance"), 8, 112, "Label25", "0 N", 152,
     112, 76},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Adhesive coefficient"), 8, 128, "Label8",
     "0", 168, 128, 60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Adhesive limit(P)"), 8, 144, "Label9",
     "0 N", 152, 144, 76},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Adhesive limit(B)"), 8, 160, "Label20",
     "0 N", 152, 160, 76},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "BC Pressure"), 248, 16, "Label2", "0 kPa",
     360, 16, 60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "SAP Pressure"), 248, 32, "Label3", "0 kPa",
     360, 32, 60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "ER Pressure"), 248, 48, "Label4", "0 kPa",
     360, 48, 60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "MR Pressure"), 248, 64, "Label5", "0 kPa",
     360, 64, 60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Speedcheck"), 248, 80, "Label41", "0 m",
     360, 80, 60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Frame"), 440, 16, "Label30", "0", 528, 16,
     60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Projected"), 440, 32, "Label31", "0 km/h",
     528, 32, 60},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Next station"), 440, 55, "Label37", "0",
     588, 55, 0},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Remain"), 440, 72, "Label33", "0", 588, 72,
     0},
    {QT_TRANSLATE_NOOP("velmoria::ValueDisplayWindow", "Total"), 440, 88, "Label35", "0", 588, 88,
     0},
};
}  // namespace

ValueDisplayWindow::ValueDisplayWindow() : QWidget(nullptr, Qt::Dialog) {
  setWindowTitle(tr("Value Display"));
  for (const auto& row : kRows) {
    m_captions.push_back(new QLabel(tr(row.caption), this));
    auto* value = new QLabel(row.initial, this);
    value->setObjectName(row.name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (row.width == 0) m_rightEdge[row.name] = row.left;
    m_values[row.name] = value;
  }
  m_heading = new QLabel("Brake               0               Power", this);
  const auto makeBar = [this](int position) {
    auto* bar = new QProgressBar(this);
    bar->setRange(-500000, 500000);
    bar->setValue(position);
    bar->setTextVisible(false);
    return bar;
  };
  m_bar1 = makeBar(0);
  m_bar2 = makeBar(-500000);
  m_bar3 = makeBar(-500000);
  layOut();
}

void ValueDisplayWindow::setScale(double scale) {
  if (!(scale > 0) || scale == m_scale.factor) return;
  m_scale.factor = scale;
  layOut();
}

void ValueDisplayWindow::layOut() {
  const LayoutScale& s = m_scale;
  setFixedSize(s.toScreen(QSize(604, 188)));
  setFont(designFont("System", s.toScreen(12)));
  for (size_t i = 0; i < std::size(kRows); ++i) {
    const ValueRow& row = kRows[i];
    QLabel* caption = m_captions[i];
    caption->move(s.toScreen(QPoint(row.captionLeft, row.captionTop)));
    caption->adjustSize();
    QLabel* value = m_values[row.name];
    if (row.width > 0) {
      value->setGeometry(s.toScreen(row.left), s.toScreen(row.top), s.toScreen(row.width),
                         caption->height());
    } else {
      value->adjustSize();
      value->move(s.toScreen(row.left) - value->width(), s.toScreen(row.top));
    }
  }
  m_heading->move(s.toScreen(QPoint(248, 112)));
  m_heading->adjustSize();
  m_bar1->setGeometry(s.toScreen(QRect(248, 130, 265, 9)));
  m_bar2->setGeometry(s.toScreen(QRect(248, 146, 265, 9)));
  m_bar3->setGeometry(s.toScreen(QRect(248, 162, 265, 9)));
}

QLabel* ValueDisplayWindow::valueLabel(const QString& name) const {
  const auto it = m_values.find(name);
  return it == m_values.end() ? nullptr : it->second;
}

QProgressBar* ValueDisplayWindow::bar(int n) const {
  return n == 1 ? m_bar1 : n == 2 ? m_bar2 : n == 3 ? m_bar3 : nullptr;
}

void ValueDisplayWindow::setValue(QLabel* label, const std::string& text, std::string& drawn) {
  if (!label || (m_drawnOnce && text == drawn)) return;
  label->setText(QString::fromStdString(text));
  const auto edge = m_rightEdge.find(label->objectName());
  if (edge != m_rightEdge.end()) {
    label->adjustSize();
    label->move(m_scale.toScreen(edge->second) - label->width(), label->y());
  }
  drawn = text;
}

void ValueDisplayWindow::draw(const ValueDisplayView& v) {
  if (!m_drawnOnce || v.caption != m_drawn.caption)
    setWindowTitle(QString::fromStdString(v.caption));
  m_drawn.caption = v.caption;
  if (v.visible != isVisible()) {
    if (v.visible)
      presentBeside(this, m_anchor, Align::Bottom);
    else
      hide();
  }
  if (!v.visible && m_drawnOnce) return;
  auto& d = m_drawn;
  setValue(valueLabel("Label1"), v.Label1, d.Label1);
  setValue(valueLabel("Label2"), v.Label2, d.Label2);
  setValue(valueLabel("Label3"), v.Label3, d.Label3);
  setValue(valueLabel("Label4"), v.Label4, d.Label4);
  setValue(valueLabel("Label5"), v.Label5, d.Label5);
  setValue(valueLabel("Label6"), v.Label6, d.Label6);
  setValue(valueLabel("Label7"), v.Label7, d.Label7);
  setValue(valueLabel("Label8"), v.Label8, d.Label8);
  setValue(valueLabel("Label9"), v.Label9, d.Label9);
  setValue(valueLabel("Label20"), v.Label20, d.Label20);
  setValue(valueLabel("Label23"), v.Label23, d.Label23);
  setValue(valueLabel("Label25"), v.Label25, d.Label25);
  setValue(valueLabel("Label27"), v.Label27, d.Label27);
  setValue(valueLabel("Label30"), v.Label30, d.Label30);
  setValue(valueLabel("Label31"), v.Label31, d.Label31);
  setValue(valueLabel("Label33"), v.Label33, d.Label33);
  setValue(valueLabel("Label35"), v.Label35, d.Label35);
  setValue(valueLabel("Label37"), v.Label37, d.Label37);
  setValue(valueLabel("Label41"), v.Label41, d.Label41);
  const auto clampBar = [](QProgressBar* bar, int value) {
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
  };
  clampBar(m_bar1, v.ProgressBar1);
  clampBar(m_bar2, v.ProgressBar2);
  clampBar(m_bar3, v.ProgressBar3);
  m_drawnOnce = true;
}

void ValueDisplayWindow::keyPressEvent(QKeyEvent* event) {
  if (m_forward) m_forward(event);
}

}  // namespace velmoria
