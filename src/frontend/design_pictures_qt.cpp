#include "frontend/design_pictures_qt.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>

#include "frontend/fonts_qt.h"

namespace velmoria {

namespace {
QImage canvas(int w, int h, QColor fill) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void bevel(QPainter& p, const QRect& r) {
  p.setPen(QColor(255, 255, 255, 160));
  p.drawLine(r.topLeft(), r.topRight());
  p.drawLine(r.topLeft(), r.bottomLeft());
  p.setPen(QColor(0, 0, 0, 160));
  p.drawLine(r.bottomLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomRight());
}
}  // namespace

QImage trainButtonPicture(int run) {
  static const char* const kNames[] = {
      QT_TRANSLATE_NOOP("velmoria::DesignPictures", "快速 朝ラッシュ"),
      QT_TRANSLATE_NOOP("velmoria::DesignPictures", "快速 日中"),
      QT_TRANSLATE_NOOP("velmoria::DesignPictures", "快速 休日"),
      QT_TRANSLATE_NOOP("velmoria::DesignPictures", "臨時特急 183系"),
      QT_TRANSLATE_NOOP("velmoria::DesignPictures", "特別快速 支線直通"),
      QT_TRANSLATE_NOOP("velmoria::DesignPictures", "普通 支線区間")};
  static const QColor kColours[] = {QColor(230, 120, 30), QColor(230, 120, 30),
                                    QColor(230, 120, 30), QColor(40, 90, 170),
                                    QColor(200, 40, 40),  QColor(40, 140, 70)};
  const int i = (run >= 1 && run <= 6) ? run - 1 : 0;
  QImage image = canvas(130, 36, Qt::black);
  QPainter p(&image);
  QLinearGradient g(0, 0, 0, 36);
  g.setColorAt(0, kColours[i].lighter(140));
  g.setColorAt(1, kColours[i].darker(130));
  p.fillRect(image.rect(), g);
  bevel(p, image.rect().adjusted(0, 0, -1, -1));
  p.setPen(Qt::white);
  p.setFont(designFont("FixedSys", 16, true));
  p.drawText(QRect(6, 0, 20, 36), Qt::AlignVCenter | Qt::AlignLeft, QString::number(run));
  p.setFont(designFont("ＭＳ Ｐゴシック", 12, true));
  p.drawText(QRect(26, 0, 102, 36), Qt::AlignCenter,
             QCoreApplication::translate("velmoria::DesignPictures", kNames[i]));
  return image;
}

QImage smallButtonPicture(const QString& text, int width) {
  QImage image = canvas(width, 19, QColor(60, 60, 70));
  QPainter p(&image);
  bevel(p, image.rect().adjusted(0, 0, -1, -1));
  p.setPen(Qt::white);
  p.setFont(designFont("FixedSys", 12, true));
  p.drawText(image.rect(), Qt::AlignCenter, text);
  return image;
}

QImage loadingPicture() {
  QImage image = canvas(100, 20, Qt::black);
  QPainter p(&image);
  p.setPen(QColor(255, 210, 0));
  p.drawRect(0, 0, 99, 19);
  p.setFont(designFont("FixedSys", 12, true));
  p.drawText(image.rect(), Qt::AlignCenter, "Loading...");
  return image;
}

QImage backPicture() {
  QImage image = canvas(20, 20, QColor(192, 192, 192));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  bevel(p, image.rect().adjusted(0, 0, -1, -1));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(160, 0, 0));
  const QPointF arrow[] = {{4, 10}, {11, 4}, {11, 8}, {16, 8}, {16, 12}, {11, 12}, {11, 16}};
  p.drawPolygon(arrow, 7);
  return image;
}

QImage stoplinePicture() {
  QImage image = canvas(15, 15, Qt::black);
  QPainter p(&image);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 40, 40));
  const QPointF triangle[] = {{14, 0}, {14, 14}, {2, 7}};
  p.drawPolygon(triangle, 3);
  return image;
}

QImage e233GaugePicture() {
  QImage image = canvas(28, 108, QColor(20, 20, 20));
  QPainter p(&image);
  p.setPen(QColor(200, 200, 200));
  for (int y = 4; y < 108; y += 10) p.drawLine(20, y, 27, y);
  p.drawRect(0, 0, 27, 107);
  return image;
}

QImage e233BcBarPicture() {
  QImage image = canvas(23, 77, QColor(255, 140, 0));
  QPainter p(&image);
  p.setPen(QColor(120, 60, 0));
  p.drawRect(0, 0, 22, 76);
  return image;
}

QImage e233MrMarkPicture() {
  return canvas(10, 3, QColor(255, 255, 255));
}

}  // namespace velmoria
