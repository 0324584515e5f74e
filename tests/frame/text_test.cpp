#include "frame/text.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace velmoria {
namespace {

struct DecodeCase {
  const char* what;
  std::string bytes;
  std::string utf8;
};

class DecodeCp932 : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeCp932, gives_the_expected_utf8) {
  EXPECT_EQ(decodeCp932(GetParam().bytes), GetParam().utf8) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Texts, DecodeCp932,
                         ::testing::Values(DecodeCase{"ascii", "[Brake]", "[Brake]"},
                                           DecodeCase{"kanji and kana", "\x96\x6B\x96\xEC", "北野"},
                                           DecodeCase{"half-width kana", "\xB1\xB2", "ｱｲ"},
                                           DecodeCase{"NEC extension (circled one)", "\x87\x40",
                                                      "①"},
                                           DecodeCase{"IBM extension", "\xFB\xFC", "髙"},
                                           DecodeCase{"wave dash is the full-width tilde of CP932",
                                                      "\x81\x60", "\xEF\xBD\x9E"},
                                           DecodeCase{"undefined lead byte",
                                                      std::string("a\xA0"
                                                                  "b"),
                                                      "a\xEF\xBF\xBD"
                                                      "b"},
                                           DecodeCase{"lead byte cut off at the end",
                                                      std::string("ab\x96"), "ab\xEF\xBF\xBD"},
                                           DecodeCase{"invalid trail byte keeps the next character",
                                                      std::string("\x81\x7F"
                                                                  "A"),
                                                      "\xEF\xBF\xBD\x7F"
                                                      "A"},
                                           DecodeCase{"empty", "", ""}));

TEST(DecodeCp932Test, long_text_crosses_the_conversion_buffer) {
  std::string bytes;
  std::string expected;
  for (int i = 0; i < 500; ++i) {
    bytes += "\x96\x6B";
    expected += "北";
  }
  EXPECT_EQ(decodeCp932(bytes), expected);
}

struct SplitCase {
  const char* what;
  std::string bytes;
  std::vector<std::string> lines;
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, ends_lines_at_every_line_end) {
  EXPECT_EQ(splitLines(GetParam().bytes), GetParam().lines) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Endings, SplitLines,
    ::testing::Values(SplitCase{"CR LF", "a\r\nb\r\n", {"a", "b"}},
                      SplitCase{"LF", "a\nb\n", {"a", "b"}},
                      SplitCase{"lone CR", "a\rb", {"a", "b"}},
                      SplitCase{"no final line end", "a\r\nb", {"a", "b"}},
                      SplitCase{"empty lines kept", "a\r\n\r\n\nb\r\n", {"a", "", "", "b"}},
                      SplitCase{"empty file", "", {}}, SplitCase{"only a line end", "\r\n", {""}},
                      SplitCase{"blanks are kept", " a \r\n", {" a "}}));

TEST(ReadTextLines, decodes_each_line_of_a_shift_jis_file) {
  test::TempDataFolder dir;
  dir.write("x.dat", "[Station]\n北野,0\n港町①,1\n");
  const auto lines = readTextLines(dir.root() / "x.dat");
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, (std::vector<std::string>{"[Station]", "北野,0", "港町①,1"}));
}

TEST(ReadTextLines, a_missing_file_or_a_folder_cannot_be_read) {
  test::TempDataFolder dir;
  std::filesystem::create_directory(dir.root() / "folder");
  EXPECT_FALSE(readTextLines(dir.root() / "missing.dat"));
  EXPECT_FALSE(readTextLines(dir.root() / "folder"));
}

}  // namespace
}  // namespace velmoria
