#include "frontend/language_qt.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QSettings>

#include "support/language_fixture.h"

namespace velmoria {
namespace {

struct LocaleCase {
  const char* locale;
  LanguageChoice choice;
  Language shown;
};

class LanguageForLocale : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LanguageForLocale, follows_the_choice_then_the_locale) {
  const LocaleCase& c = GetParam();
  EXPECT_EQ(languageFor(c.choice, QLocale(c.locale)), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageForLocale,
    ::testing::Values(LocaleCase{"ja_JP", LanguageChoice::Automatic, Language::Japanese},
                      LocaleCase{"en_US", LanguageChoice::Automatic, Language::English},
                      LocaleCase{"en_GB", LanguageChoice::Automatic, Language::English},
                      LocaleCase{"de_DE", LanguageChoice::Automatic, Language::English},
                      LocaleCase{"C", LanguageChoice::Automatic, Language::Japanese},
                      LocaleCase{"en_US", LanguageChoice::Japanese, Language::Japanese},
                      LocaleCase{"ja_JP", LanguageChoice::English, Language::English},
                      LocaleCase{"C", LanguageChoice::English, Language::English}));

TEST(LanguageChoice, is_remembered_in_the_settings) {
  test::LanguageScope scope;
  EXPECT_EQ(rememberedLanguageChoice(), LanguageChoice::Automatic);
  for (LanguageChoice choice :
       {LanguageChoice::English, LanguageChoice::Japanese, LanguageChoice::Automatic}) {
    rememberLanguageChoice(choice);
    EXPECT_EQ(rememberedLanguageChoice(), choice);
  }
  rememberLanguageChoice(LanguageChoice::English);
  EXPECT_EQ(QSettings(scope.settingsFile(), QSettings::IniFormat).value("view/language"), "en");
}

TEST(LanguageChoice, an_unknown_kept_value_means_automatic) {
  test::LanguageScope scope;
  QSettings(scope.settingsFile(), QSettings::IniFormat).setValue("view/language", "fr");
  EXPECT_EQ(rememberedLanguageChoice(), LanguageChoice::Automatic);
}

TEST(ApplyLanguage, english_translates_the_texts_and_japanese_gives_the_source_back) {
  test::LanguageScope scope;
  const char* source = "音声初期化(&S)";
  ASSERT_TRUE(applyLanguage(Language::English));
  EXPECT_EQ(currentLanguage(), Language::English);
  EXPECT_EQ(QCoreApplication::translate("velmoria::CabWindow", source), "Reset &Sound");
  // A second English replaces the first rather than stacking another translator.
  ASSERT_TRUE(applyLanguage(Language::English));
  ASSERT_TRUE(applyLanguage(Language::Japanese));
  EXPECT_EQ(currentLanguage(), Language::Japanese);
  EXPECT_EQ(QCoreApplication::translate("velmoria::CabWindow", source), QString::fromUtf8(source));
}

}  // namespace
}  // namespace velmoria
