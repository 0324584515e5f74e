#pragma once
// The fonts the windows were designed with, mapped to installed families: a monospace font for
// "FixedSys" and "System", Noto Sans CJK JP for the Japanese ones. Call installFontSubstitutes()
// once after the QApplication exists; designFont() then gives the design's font at its size.
#include <QFont>

namespace velmoria {

void installFontSubstitutes();
QFont designFont(const QString& family, int pixelSize, bool bold = false, bool italic = false);

}  // namespace velmoria
