#include "frontend/fonts_qt.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

namespace velmoria {

void installFontSubstitutes() {
  const QStringList mono = {"DejaVu Sans Mono", "Noto Sans Mono", "Liberation Mono", "Monospace"};
  const QStringList japanese = {"Noto Sans CJK JP", "Noto Sans JP", "IPAGothic", "Sans Serif"};
  QFont::insertSubstitutions("FixedSys", mono);
  QFont::insertSubstitutions("System", mono);
  for (const char* name :
       {"MS UI Gothic", "ＭＳ Ｐゴシック", "ＭＳ ゴシック", "MS PGothic", "MS Gothic"})
    QFont::insertSubstitutions(QString::fromUtf8(name), japanese);
}

QFont designFont(const QString& family, int pixelSize, bool bold, bool italic) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setItalic(italic);
  const bool fixedSys = family == "FixedSys" || family == "System";
  font.setStyleHint(fixedSys ? QFont::Monospace : QFont::SansSerif);
  if (fixedSys) {
    // FixedSys cells are half as wide as they are high; the labels of the design are sized
    // for that, so the substitute is narrowed to the same advance.
    const QFontMetricsF metrics(font);
    const qreal advance = metrics.horizontalAdvance(QLatin1Char('0'));
    if (advance > pixelSize / 2.0)
      font.setStretch(static_cast<int>(100.0 * (pixelSize / 2.0) / advance));
  }
  return font;
}

}  // namespace velmoria
