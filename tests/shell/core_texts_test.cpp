#include "frontend/core_texts_qt.h"

#include <gtest/gtest.h>

#include "support/language_fixture.h"

namespace velmoria {
namespace {

struct CoreTextCase {
  const char* what;
  const char* core;
  const char* english;  // as coreError shows it
  bool error;           // only coreError translates it
};

class CoreTexts : public ::testing::TestWithParam<CoreTextCase> {
 protected:
  test::LanguageScope scope;
};

TEST_P(CoreTexts, are_shown_in_english_and_stay_japanese_otherwise) {
  const CoreTextCase& c = GetParam();
  const QString japanese = QString::fromUtf8(c.core);
  EXPECT_EQ(coreError(c.core), japanese);
  EXPECT_EQ(coreText(c.core), japanese);
  ASSERT_TRUE(applyLanguage(Language::English));
  EXPECT_EQ(coreError(c.core), QString::fromUtf8(c.english));
  EXPECT_EQ(coreText(c.core), c.error ? japanese : QString::fromUtf8(c.english));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CoreTexts,
    ::testing::Values(
        CoreTextCase{"status", "運転台を描画しています", "Drawing the cab", false},
        CoreTextCase{"pause", "一時停止(&S)", "Pau&se", false},
        CoreTextCase{"terminus", "終点に到着しました。Backボタンで戻ってください。",
                     "Arrived at the terminus. Press the Back button to return.", false},
        CoreTextCase{"missing_file", "image\\emu\\panel.bmpが見つかりません",
                     "image\\emu\\panel.bmp was not found", true},
        CoreTextCase{"route_error", "路線ファイルに誤りがあります。[Signal]:1,2,3",
                     "The route file contains an error. [Signal]:1,2,3", true},
        CoreTextCase{"route_error_alone", "路線ファイルに誤りがあります。",
                     "The route file contains an error.", false},
        CoreTextCase{"vehicle_error", "車両ファイルに誤りがあります- 列車の基本設定",
                     "The vehicle file contains an error: - 列車の基本設定", true},
        CoreTextCase{"data_text", "快速 東京行", "快速 東京行", false},
        CoreTextCase{"pattern_text_alone", "が見つかりません", "が見つかりません", false}),
    [](const auto& info) { return std::string(info.param.what); });

}  // namespace
}  // namespace velmoria
