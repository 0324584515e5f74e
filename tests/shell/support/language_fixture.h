#pragma once
// A test that chooses a language: no choice is kept when it starts, and when it ends the texts
// are Japanese again (the source language, which the other shell tests compare). The shell
// tests' main keeps every setting in a folder of its own, away from the user's.
#include <QSettings>

#include "frontend/language_qt.h"

namespace velmoria::test {

class LanguageScope {
 public:
  LanguageScope() { forget(); }
  ~LanguageScope() {
    forget();
    applyLanguage(Language::Japanese);
  }
  static QString settingsFile() {
    return QSettings("Velmoria", "velmoria").fileName();
  }

 private:
  static void forget() {
    QSettings settings("Velmoria", "velmoria");
    settings.remove("view/language");
    settings.sync();
  }
};

}  // namespace velmoria::test

namespace velmoria::test {

// English texts from construction on: a fixture's first base, so that the windows its other
// bases build are built in English.
class EnglishTexts {
 public:
  EnglishTexts() { m_loaded = applyLanguage(Language::English); }
  bool englishLoaded() const { return m_loaded; }

 private:
  LanguageScope m_scope;
  bool m_loaded = false;
};

}  // namespace velmoria::test
