#pragma once
// The language of the desktop program's own texts. The texts are written in Japanese (and in
// English where the program's own menus are English) and translated through Qt's translation
// system; velmoria_en.qm holds the English translation. Texts read from a line's files are
// never translated. The choice is kept in $XDG_CONFIG_HOME/Velmoria/velmoria.conf and applied
// when the program starts. UI thread only.
#include <QLocale>
#include <QString>

namespace velmoria {

enum class LanguageChoice { Automatic, Japanese, English };
enum class Language { Japanese, English };

// The remembered choice; Automatic when none is kept or the kept one is unknown.
LanguageChoice rememberedLanguageChoice();
void rememberLanguageChoice(LanguageChoice choice);

// Automatic follows the locale's first user-interface language: Japanese for Japanese and for
// a locale that names no language (C, POSIX), as the program always was; English otherwise.
Language languageFor(LanguageChoice choice, const QLocale& locale);

// Shows the application's texts in `language` from now on: installs the English translation
// or removes it. False when the English translation cannot be loaded; the texts stay Japanese.
bool applyLanguage(Language language);

// The language the texts are shown in now.
Language currentLanguage();

}  // namespace velmoria
