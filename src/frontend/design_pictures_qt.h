#pragma once
// The pictures that belong to the windows' design rather than to the data folder: the title
// window's buttons and loading bar, and the cab window's Back button, stop marker and E233
// gauge parts. Drawn in code at their design sizes.
#include <QImage>
#include <QString>

namespace velmoria {

QImage trainButtonPicture(int run);                              // 130 x 36, runs 1 to 6
QImage smallButtonPicture(const QString& text, int width = 50);  // 19 high (HELP, Quit, Records)
QImage loadingPicture();                                         // 100 x 20
QImage backPicture();                                            // 20 x 20
QImage stoplinePicture();                                        // 15 x 15
QImage e233GaugePicture();                                       // 28 x 108 (Image1)
QImage e233BcBarPicture();                                       // 23 x 77 (E233BR)
QImage e233MrMarkPicture();                                      // 10 x 3 (E233MR)

}  // namespace velmoria
