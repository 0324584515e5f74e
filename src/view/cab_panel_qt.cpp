#include "view/cab_panel_qt.h"

#include "frontend/design_pictures_qt.h"
#include "frontend/fonts_qt.h"
#include "view/panel_pictures.h"

namespace velmoria {

namespace {
QString qs(const std::string& s) {
  return QString::fromStdString(s);
}
const QColor kWhite(255, 255, 255), kBlack(0, 0, 0);
}  // namespace

CabPanel::CabPanel(QWidget* surface, QtImageLoader& pictures, const DataFolder& folder,
                   std::function<void(const QString&)> fail)
    : m_surface(surface), m_pictures(pictures), m_folder(folder), m_fail(std::move(fail)) {}

PanelLabel* CabPanel::label(const QString& name, const QString& text, QRect geometry, bool autoSize,
                            const DesignFontSpec& font, Qt::Alignment align, QColor fg, QColor bg) {
  auto* widget = new PanelLabel(m_surface, text, font, autoSize);
  widget->setObjectName(name);
  widget->setAlignment(align | Qt::AlignVCenter);
  widget->setAutoFillBackground(bg.isValid());
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, fg);
  if (bg.isValid()) palette.setColor(QPalette::Window, bg);
  widget->setPalette(palette);
  widget->setDesignGeometry(geometry);
  if (autoSize) widget->setLabelText(text);  // the size of its text
  widget->show();
  return widget;
}

PanelImage* CabPanel::designImage(const QString& name, QPoint at, const QImage& picture) {
  auto* image = new PanelImage(m_surface, name);
  image->setDesignPos(at);
  image->setPicture(picture);
  image->show();
  return image;
}

void CabPanel::buildDesignTime() {
  const DesignFontSpec gothic12{"MS UI Gothic", 12};
  const DesignFontSpec fixed16{"FixedSys", 16};
  const auto left = Qt::AlignLeft, centre = Qt::AlignHCenter;

  m_SignalImage = designImage("SignalImage", {500, 10}, {});
  m_SignalImage->setDesignSize({50, 100});
  m_stop = designImage("stop", {564, 10}, {});
  m_stop->setDesignSize({50, 50});
  m_SignalLabel =
      label("SignalLabel", "", {500, 112, 50, 18}, false, gothic12, centre, kWhite, kBlack);
  m_SpeedLimitImage = designImage("SpeedLimitImage", {500, 176}, {});
  m_SpeedLimitImage->setDesignSize({50, 50});
  m_SlopeImage = designImage("SlopeImage", {564, 176}, {});
  m_SlopeImage->setDesignSize({50, 50});
  m_SlopeText = label("SlopeText", "", {564, 225, 50, 18}, false, gothic12, centre, kWhite, kBlack);
  m_OtherImage = designImage("OtherImage", {500, 256}, {});
  m_OtherImage->setDesignSize({100, 50});
  m_Label1 = label("Label1", "FWD", {496, 313, 0, 0}, true, fixed16, left, kWhite, kBlack);
  m_PowerLabel = label("PowerLabel", "N", {544, 313, 0, 0}, true, fixed16, centre, kWhite, kBlack);
  m_BrakeLabel = label("BrakeLabel", "EB", {584, 313, 0, 0}, true, fixed16, centre, kWhite, kBlack);
  m_Label4 =
      label("Label4", "Train Position", {496, 337, 137, 19}, false, fixed16, left, kWhite, kBlack);
  m_CarsLabel =
      label("CarsLabel", "Cars", {495, 361, 66, 19}, false, fixed16, left, kWhite, kBlack);
  m_digi_speed =
      label("digi_speed", "0km/h", {496, 384, 0, 0}, true, fixed16, left, kWhite, kBlack);
  m_GearLabel =
      label("GearLabel", "Gear", {496, 407, 34, 19}, false, fixed16, left, kWhite, kBlack);
  m_GearLabel->hide();
  m_Label3 = label("Label3", "00:00:00", {544, 417, 0, 0}, true, fixed16, centre, kWhite, kBlack);
  m_back = designImage("back", {618, 417}, backPicture());
  m_back->setCursor(Qt::PointingHandCursor);
  m_stopline = designImage("stopline", {480, 0}, stoplinePicture());
  m_remain =
      label("remain", "", {480, 16, 0, 0}, true, {"ＭＳ Ｐゴシック", 11}, left, kWhite, kBlack);
  m_Image1 = designImage("Image1", {100, 330}, e233GaugePicture());
  m_E233BR = designImage("E233BR", {105, 400}, e233BcBarPicture());
  m_E233MR = designImage("E233MR", {142, 355}, e233MrMarkPicture());
}

QImage CabPanel::loadPicture(const std::string& file, bool transparent) {
  const auto info = m_pictures.load(m_folder.resolve(file));
  if (!info) m_fail(qs(missingPictureMessage(file)));
  return listPicture(info ? info->id : -1, transparent);
}

QImage CabPanel::listPicture(int id, bool transparent) {
  const QImage* image = transparent ? m_pictures.keyedImage(id) : m_pictures.image(id);
  return image ? *image : QImage();
}

PanelImage* CabPanel::runImage(const QString& name, const PanelImageSpec& layout, bool transparent,
                               bool visible) {
  auto* image = new PanelImage(m_surface, name);
  image->setDesignPos({layout.left, layout.top});
  image->setVisible(visible);
  if (!layout.file.empty()) image->setPicture(loadPicture(layout.file, transparent));
  return image;
}

NeedleImage* CabPanel::needle(const QString& name, const NeedleSpec& layout) {
  auto* widget = new NeedleImage(m_surface, name);
  widget->setDesignGeometry({layout.left, layout.top, layout.width, layout.height});
  if (layout.file.empty()) {
    // The component exists but is forgotten: the gauge has no needle.
    widget->hide();
    return nullptr;
  }
  widget->setPicture(loadPicture(layout.file, true));
  widget->show();
  return widget;
}

void CabPanel::buildRunTime(const Vehicle& v, const Route& route, const ImageLists& lists) {
  m_Panel = runImage("Panel", v.Panel, true, true);
  m_Panel2 = runImage("Panel2", v.Panel2, false, false);
  m_clock = new ClockImage(m_surface);
  m_clock->setDesignPos({v.Clock.x - 25, v.Clock.y - 25});
  m_clock->show();
  m_Lamp_Door = runImage("Lamp_Door", v.Lamp_Door, true, true);
  m_Lamp_Power = runImage("Lamp_Power", v.Lamp_Power, true, true);
  m_Lamp_EB = runImage("Lamp_EB", v.Lamp_EB, true, true);
  m_Lamp_Gen = runImage("Lamp_Gen", v.Lamp_Gen, true, true);
  m_Lamp_Air = runImage("Lamp_Air", v.Lamp_Air, false, true);
  m_Lamp_Ele = runImage("Lamp_Ele", v.Lamp_Ele, true, true);
  m_Lamp_Ats = runImage("Lamp_Ats", v.Lamp_Ats, true, false);
  m_Lamp_Atsp1 = runImage("Lamp_Atsp1", v.Lamp_ATSP1, false, false);
  m_Lamp_Atsp2 = runImage("Lamp_Atsp2", v.Lamp_ATSP2, false, false);
  m_Lamp_G = runImage("Lamp_G", v.Lamp_G, true, false);
  m_Lamp_YG = runImage("Lamp_YG", v.Lamp_YG, true, false);
  m_Lamp_Y = runImage("Lamp_Y", v.Lamp_Y, true, false);
  m_Lamp_YY = runImage("Lamp_YY", v.Lamp_YY, true, false);
  m_Lamp_R = runImage("Lamp_R", v.Lamp_R, true, false);
  m_Lamp_Fwd = runImage("Lamp_Fwd", v.Lamp_Fwd, true, true);
  m_Lamp_Bck = runImage("Lamp_Bck", v.Lamp_Back, true, false);
  const auto indicator = [&](const QString& name, const IndicatorList& list) {
    auto* image = new PanelImage(m_surface, name);
    image->setDesignGeometry({list.left, list.top, list.width, list.height});
    image->show();
    return image;
  };
  m_Lamp_B = indicator("Lamp_B", lists.NotchImageB);
  m_Lamp_P = indicator("Lamp_P", lists.NotchImageP);
  m_Lamp_Gear = indicator("Lamp_Gear", lists.GearImageList);
  m_Needle_Speed = needle("Needle_Speed", v.Needle_Speed);
  m_Needle_ER = needle("Needle_ER", v.Needle_ER);
  m_Needle_BP = needle("Needle_BP", v.Needle_BP);
  m_Needle_MR = needle("Needle_MR", v.Needle_MR);
  m_Needle_BC = needle("Needle_BC", v.Needle_BC);
  m_Needle_SAP = needle("Needle_SAP", v.Needle_SAP);
  m_Needle_V = needle("Needle_V", v.Needle_V);
  m_Needle_I = needle("Needle_I", v.Needle_I);

  // The stop alert has no picture of its own; an opaque amber box makes it seen.
  m_Lamp_stopalert = new PanelImage(m_surface, "Lamp_stopalert");
  m_Lamp_stopalert->setDesignGeometry({258, 291, 35, 17});
  m_Lamp_stopalert->setFill(QColor(255, 160, 0));
  m_Lamp_stopalert->hide();

  for (size_t i = 0; i < v.OthersTable.size() && i < m_Others.size(); ++i)
    m_Others[i] = runImage(QString("Others%1").arg(i + 1), v.OthersTable[i], true, i < 5);

  m_card = new PanelImage(m_surface, "timetable");
  m_card->setDesignPos({640, 0});
  if (!route.StafCard.empty()) m_card->setPicture(loadPicture(route.StafCard, false));
  m_card->show();

  m_commentary = label("commentary", "", {0, 426, 480, 14}, false, {"ＭＳ Ｐゴシック", 12},
                       Qt::AlignHCenter, kBlack, kWhite);
  m_commentary->hide();
  scaleChildren(m_surface, m_scale);  // the window may be zoomed already
}

void CabPanel::createE233Speed() {
  // 12 points at the design's 96 dots per inch.
  m_E233Speed = new PanelLabel(m_surface, "  0", {"ＭＳ ゴシック", 16, true, true}, false);
  m_E233Speed->setObjectName("E233Speed");
  QPalette palette = m_E233Speed->palette();
  palette.setColor(QPalette::WindowText, QColor(223, 235, 209));
  m_E233Speed->setPalette(palette);
  m_E233Speed->setDesignGeometry({190, 388, 50, 20});
  m_E233Speed->setScale(m_scale);
  m_E233Speed->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_E233Speed->raise();
  m_E233Speed->show();
  m_E233MR->raise();
  m_E233MR->show();
}

void CabPanel::setScale(double factor) {
  m_scale = factor;
  scaleChildren(m_surface, factor);
}

QWidget* CabPanel::component(const QString& name) const {
  return m_surface->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

void CabPanel::drawLabel(PanelLabel* widget, const LabelView& now, const LabelView& was) {
  if (!widget) return;
  if (!m_drawnOnce || now.text != was.text) {
    widget->setLabelText(qs(now.text));
    ++m_changes;
  }
  if (!m_drawnOnce || now.visible != was.visible) {
    widget->setVisible(now.visible);
    ++m_changes;
  }
}

void CabPanel::drawShown(QWidget* widget, bool now, bool was) {
  if (!widget || (m_drawnOnce && now == was)) return;
  widget->setVisible(now);
  ++m_changes;
}

void CabPanel::drawPicture(PanelImage* widget, const std::vector<ImageInfo>& list, bool transparent,
                           const PictureView& now, const PictureView& was) {
  if (!widget) return;
  if (!m_drawnOnce || now.picture != was.picture) {
    if (now.picture >= 0 && static_cast<size_t>(now.picture) < list.size())
      widget->setPicture(listPicture(list[static_cast<size_t>(now.picture)].id, transparent),
                         false);
    else
      widget->clearPicture();
    ++m_changes;
  }
  drawShown(widget, now.visible, was.visible);
}

void CabPanel::drawIndicator(PanelImage* widget, const IndicatorList& list, const PictureView& now,
                             const PictureView& was) {
  drawPicture(widget, list.images, true, now, was);
}

void CabPanel::drawNeedle(NeedleImage* widget, const NeedleView& now, const NeedleView& was) {
  if (!widget || !now.present) return;
  if (!m_drawnOnce || now.angle != was.angle) {
    widget->setAngle(now.angle);
    ++m_changes;
  }
}

void CabPanel::draw(const CabDisplay& m) {
  const CabDisplay& d = m_drawn;
  drawLabel(m_PowerLabel, m.PowerLabel, d.PowerLabel);
  drawLabel(m_BrakeLabel, m.BrakeLabel, d.BrakeLabel);
  drawLabel(m_Label1, m.Label1, d.Label1);
  drawLabel(m_Label4, m.Label4, d.Label4);
  drawLabel(m_CarsLabel, m.CarsLabel, d.CarsLabel);
  drawLabel(m_digi_speed, m.digi_speed, d.digi_speed);
  drawLabel(m_GearLabel, m.GearLabel, d.GearLabel);
  drawLabel(m_Label3, m.Label3, d.Label3);
  drawLabel(m_SignalLabel, m.SignalLabel, d.SignalLabel);
  drawLabel(m_SlopeText, m.SlopeText, d.SlopeText);
  drawLabel(m_remain, m.remain, d.remain);
  drawLabel(m_commentary, m.commentary, d.commentary);
  drawLabel(m_E233Speed, m.E233Speed, d.E233Speed);

  if (m_lists) {
    drawIndicator(m_Lamp_P, m_lists->NotchImageP, m.Lamp_P, d.Lamp_P);
    drawIndicator(m_Lamp_B, m_lists->NotchImageB, m.Lamp_B, d.Lamp_B);
    drawIndicator(m_Lamp_Gear, m_lists->GearImageList, m.Lamp_Gear, d.Lamp_Gear);
    drawPicture(m_SignalImage, m_lists->SignalImageList, false, m.SignalImage, d.SignalImage);
    drawPicture(m_stop, m_lists->SignImageList, false, m.stop, d.stop);
    drawPicture(m_SpeedLimitImage, m_lists->OtherImageList, true, m.SpeedLimitImage,
                d.SpeedLimitImage);
    drawPicture(m_SlopeImage, m_lists->SignImageList, false, m.SlopeImage, d.SlopeImage);
    drawPicture(m_OtherImage, m_lists->OtherImageList, true, m.OtherImage, d.OtherImage);
  }

  drawShown(m_Lamp_Door, m.Lamp_Door, d.Lamp_Door);
  drawShown(m_Lamp_Power, m.Lamp_Power, d.Lamp_Power);
  drawShown(m_Lamp_EB, m.Lamp_EB, d.Lamp_EB);
  drawShown(m_Lamp_Gen, m.Lamp_Gen, d.Lamp_Gen);
  drawShown(m_Lamp_Air, m.Lamp_Air, d.Lamp_Air);
  drawShown(m_Lamp_Ele, m.Lamp_Ele, d.Lamp_Ele);
  drawShown(m_Lamp_Ats, m.Lamp_Ats, d.Lamp_Ats);
  drawShown(m_Lamp_Atsp1, m.Lamp_Atsp1, d.Lamp_Atsp1);
  drawShown(m_Lamp_Atsp2, m.Lamp_Atsp2, d.Lamp_Atsp2);
  drawShown(m_Lamp_G, m.Lamp_G, d.Lamp_G);
  drawShown(m_Lamp_YG, m.Lamp_YG, d.Lamp_YG);
  drawShown(m_Lamp_Y, m.Lamp_Y, d.Lamp_Y);
  drawShown(m_Lamp_YY, m.Lamp_YY, d.Lamp_YY);
  drawShown(m_Lamp_R, m.Lamp_R, d.Lamp_R);
  drawShown(m_Lamp_Fwd, m.Lamp_Fwd, d.Lamp_Fwd);
  drawShown(m_Lamp_Bck, m.Lamp_Bck, d.Lamp_Bck);
  drawShown(m_Lamp_stopalert, m.Lamp_stopalert, d.Lamp_stopalert);
  drawShown(m_Panel2, m.Panel2, d.Panel2);
  for (size_t i = 0; i < m_Others.size(); ++i) drawShown(m_Others[i], m.Others[i], d.Others[i]);

  drawNeedle(m_Needle_Speed, m.Needle_Speed, d.Needle_Speed);
  drawNeedle(m_Needle_BC, m.Needle_BC, d.Needle_BC);
  drawNeedle(m_Needle_SAP, m.Needle_SAP, d.Needle_SAP);
  drawNeedle(m_Needle_ER, m.Needle_ER, d.Needle_ER);
  drawNeedle(m_Needle_BP, m.Needle_BP, d.Needle_BP);
  drawNeedle(m_Needle_MR, m.Needle_MR, d.Needle_MR);
  drawNeedle(m_Needle_V, m.Needle_V, d.Needle_V);
  drawNeedle(m_Needle_I, m.Needle_I, d.Needle_I);

  const auto moveTop = [&](Scaled* widget, int now, int was) {
    if (!widget || (m_drawnOnce && now == was)) return;
    widget->setDesignPos({widget->designGeometry().x(), now});
    ++m_changes;
  };
  moveTop(m_stopline, m.stoplineTop, d.stoplineTop);
  moveTop(m_remain, m.remainTop, d.remainTop);
  moveTop(m_E233BR, m.E233BRTop, d.E233BRTop);
  moveTop(m_E233MR, m.E233MRTop, d.E233MRTop);
  drawShown(m_E233MR, m.E233MRVisible, d.E233MRVisible);
  if (m_card && (!m_drawnOnce || m.cardLeft != d.cardLeft || m.cardTop != d.cardTop)) {
    m_card->setDesignPos({m.cardLeft, m.cardTop});
    ++m_changes;
  }
  const auto& c = m.clock;
  const auto& dc = d.clock;
  if (m_clock && (!m_drawnOnce || c.drawn != dc.drawn || c.hourX != dc.hourX ||
                  c.hourY != dc.hourY || c.minuteX != dc.minuteX || c.minuteY != dc.minuteY ||
                  c.secondX != dc.secondX || c.secondY != dc.secondY)) {
    m_clock->setHands(c);
    ++m_changes;
  }
  m_drawn = m;
  m_drawnOnce = true;
}

}  // namespace velmoria
