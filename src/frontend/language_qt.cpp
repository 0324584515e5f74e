#include "frontend/language_qt.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTranslator>
#include <memory>

namespace velmoria {

namespace {

constexpr const char* kKey = "view/language";

QSettings settings() {
  return QSettings("Velmoria", "velmoria");  // the program's one settings file
}

// The one translator of the program; owned here so that a second applyLanguage replaces it.
std::unique_ptr<QTranslator>& installed() {
  static std::unique_ptr<QTranslator> translator;
  return translator;
}

}  // namespace

LanguageChoice rememberedLanguageChoice() {
  const QString kept = settings().value(kKey).toString();
  if (kept == "ja") return LanguageChoice::Japanese;
  if (kept == "en") return LanguageChoice::English;
  return LanguageChoice::Automatic;
}

void rememberLanguageChoice(LanguageChoice choice) {
  QSettings s = settings();
  switch (choice) {
    case LanguageChoice::Automatic:
      s.setValue(kKey, "auto");
      break;
    case LanguageChoice::Japanese:
      s.setValue(kKey, "ja");
      break;
    case LanguageChoice::English:
      s.setValue(kKey, "en");
      break;
  }
  s.sync();
}

Language languageFor(LanguageChoice choice, const QLocale& locale) {
  if (choice == LanguageChoice::Japanese) return Language::Japanese;
  if (choice == LanguageChoice::English) return Language::English;
  const QStringList languages = locale.uiLanguages();
  const QString first = languages.isEmpty() ? QString() : languages.first();
  const QLocale::Language language = QLocale(first).language();
  if (first.isEmpty() || language == QLocale::C || language == QLocale::AnyLanguage ||
      language == QLocale::Japanese)
    return Language::Japanese;
  return Language::English;
}

bool applyLanguage(Language language) {
  std::unique_ptr<QTranslator>& translator = installed();
  if (translator) {
    QCoreApplication::removeTranslator(translator.get());
    translator.reset();
  }
  if (language == Language::Japanese) return true;
  auto english = std::make_unique<QTranslator>();
  // The installed folder first, so that a translation updated there is used; the copy built
  // into the shell's resources serves the build tree.
  const QString installedFolder =
      QCoreApplication::applicationDirPath() + "/../share/velmoria/translations";
  if (!english->load("velmoria_en", installedFolder) &&
      !english->load("velmoria_en", ":/velmoria/translations"))
    return false;
  if (!QCoreApplication::installTranslator(english.get())) return false;
  translator = std::move(english);
  return true;
}

Language currentLanguage() {
  return installed() ? Language::English : Language::Japanese;
}

}  // namespace velmoria
