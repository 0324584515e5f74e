#include "frame/strings_reader.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace velmoria {
namespace {

Strings readStrings(test::TempDataFolder& dir, const std::string& text, ReaderContext& c) {
  dir.write("korvelan.dat", text);
  return readStringsFile(dir.folder(), "korvelan.dat", c);
}

TEST(StringsFileTest, the_fixture_fills_every_text_and_caption) {
  ReaderContext c;
  const Strings s = readStringsFile(test::fixtureFolder(), kStringsFileName, c);
  EXPECT_EQ(s.Path, "move\\");
  EXPECT_EQ(s.Forward, "前");
  EXPECT_EQ(s.Neutral, "切");
  EXPECT_EQ(s.Reverse, "後");
  EXPECT_EQ(s.Stop, " 停車");
  EXPECT_EQ(s.Pass, " 通過");
  EXPECT_EQ(s.Stop2, " 停車");
  EXPECT_EQ(s.Neut, "緩め");
  EXPECT_EQ(s.Neut2, "切");
  EXPECT_EQ(s.Apply, "ブレーキ");
  EXPECT_EQ(s.Maintain, "保ち");
  EXPECT_EQ(s.Hold, "重なり");
  EXPECT_EQ(s.Hold2, "保持");
  EXPECT_EQ(s.EB, "非常");
  EXPECT_EQ(s.Start, "運転開始(&S)");
  EXPECT_EQ(s.Move, "駅へ移動(&M)");
  EXPECT_EQ(s.Display, (std::array<std::string, 3>{"表示(&V)", "操作説明(&H)", "再描画(&R)"}));
  EXPECT_EQ(s.Control, "コントローラ(&C)");
}

TEST(StringsFileTest, absent_sections_keep_the_windows_captions_and_empty_texts) {
  test::TempDataFolder dir;
  ReaderContext c;
  const Strings s = readStrings(dir, "[Neut2]\n\n[Path]\nmove\n", c);
  EXPECT_EQ(s.Neut2, "");
  EXPECT_EQ(s.Path, "move");  // no trailing backslash: joined directly to the video name
  EXPECT_EQ(s.Forward, "");
  EXPECT_FALSE(s.Move);
  EXPECT_FALSE(s.Start);
  EXPECT_FALSE(s.Display);
  EXPECT_FALSE(s.Control);
}

TEST(StringsFileTest, hold_and_hold2_are_different_sections) {
  // "[Hold]" is not a prefix of "[Hold2]" (its fifth character differs), so each reads its own.
  test::TempDataFolder dir;
  ReaderContext c;
  const Strings s = readStrings(dir, "[Hold2]\nB\n[Hold]\nA\n[Neut2]\nN2\n[Neut]\nN\n", c);
  EXPECT_EQ(s.Hold, "A");
  EXPECT_EQ(s.Hold2, "B");
  EXPECT_EQ(s.Neut, "N");
  EXPECT_EQ(s.Neut2, "N2");
}

TEST(StringsFileTest, any_readable_file_reads_and_keeps_the_label) {
  test::TempDataFolder dir;
  ReaderContext c{"[Time]", "x"};
  const Strings s = readStrings(dir, "[Display]\nonly one\n", c);
  EXPECT_EQ(s.Display, (std::array<std::string, 3>{"only one", "", ""}));
  EXPECT_EQ(c.label, "[Time]");
}

TEST(StringsFileTest, a_file_that_cannot_be_opened_shows_the_message_alone) {
  test::TempDataFolder dir;
  ReaderContext c{"[Time]", "0,1,2,3"};
  EXPECT_STARTUP_ERROR(readStringsFile(dir.folder(), "korvelan.dat", c),
                       "stringファイルに誤りがあります");
}

}  // namespace
}  // namespace velmoria
