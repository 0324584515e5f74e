#include "view/language_menu_qt.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>

#include "support/language_fixture.h"

namespace velmoria {
namespace {

class LanguageMenuTest : public ::testing::Test {
 protected:
  void fill() {
    fillLanguageMenu(&view, [this](const QString& text) { notices << text; });
  }
  QAction* item(const char* name) { return view.findChild<QAction*>(name); }

  test::LanguageScope scope;
  QMenu view;
  QStringList notices;
};

TEST_F(LanguageMenuTest, offers_the_three_choices_by_their_own_names) {
  fill();
  const QMenu* languages = view.findChild<QMenu*>("Language1");
  ASSERT_NE(languages, nullptr);
  EXPECT_EQ(languages->title(), QString::fromUtf8("言語(&L)"));
  ASSERT_EQ(languages->actions().size(), 3);
  EXPECT_EQ(item("language_ja")->text(), QString::fromUtf8("日本語"));
  EXPECT_EQ(item("language_en")->text(), "English");
  EXPECT_TRUE(item("language_auto")->isChecked());
  EXPECT_FALSE(item("language_en")->isChecked());
}

TEST_F(LanguageMenuTest, the_remembered_choice_is_checked) {
  rememberLanguageChoice(LanguageChoice::English);
  fill();
  EXPECT_TRUE(item("language_en")->isChecked());
  EXPECT_FALSE(item("language_auto")->isChecked());
}

TEST_F(LanguageMenuTest, a_choice_is_remembered_and_a_new_language_is_announced_once) {
  fill();
  item("language_en")->trigger();
  EXPECT_EQ(rememberedLanguageChoice(), LanguageChoice::English);
  EXPECT_TRUE(item("language_en")->isChecked());
  EXPECT_FALSE(item("language_auto")->isChecked());
  ASSERT_EQ(notices.size(), 1);
  EXPECT_TRUE(notices[0].contains(QString::fromUtf8("次回の起動")));
  item("language_en")->trigger();  // the same choice again says nothing
  EXPECT_EQ(notices.size(), 1);
  // Japanese is what is shown now: choosing it changes nothing at the next start.
  item("language_ja")->trigger();
  EXPECT_EQ(rememberedLanguageChoice(), LanguageChoice::Japanese);
  EXPECT_EQ(notices.size(), 1);
}

TEST_F(LanguageMenuTest, is_in_english_when_english_is_shown) {
  ASSERT_TRUE(applyLanguage(Language::English));
  fill();
  EXPECT_EQ(view.findChild<QMenu*>("Language1")->title(), "&Language");
  EXPECT_EQ(item("language_auto")->text(), "&Automatic (system language)");
  EXPECT_EQ(item("language_ja")->text(), QString::fromUtf8("日本語"));
  item("language_ja")->trigger();
  ASSERT_EQ(notices.size(), 1);
  EXPECT_EQ(notices[0], "The new language will be used the next time Velmoria starts.");
}

}  // namespace
}  // namespace velmoria
