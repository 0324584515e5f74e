#pragma once
// The language items of a View menu: automatic (the locale's), 日本語 and English. The choice
// is remembered and takes effect at the program's next start, when every window is built in
// the new language.
#include <QString>
#include <functional>

class QMenu;

namespace velmoria {

// Adds a "言語" (Language) submenu to `menu` with the three choices, the remembered one
// checked. `notice` tells the driver, when a choice changes the language, that it will be
// shown from the next start.
void fillLanguageMenu(QMenu* menu, std::function<void(const QString&)> notice);

}  // namespace velmoria
