#include "frontend/help_window_qt.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <iconv.h>
#include <unistd.h>
#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <filesystem>
#include <fstream>

#include "support/shell_fixture.h"

namespace velmoria {
namespace {

// UTF-8 to CP932, as the data files are written.
std::string cp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size(), outLeft = out.size();
  char* dst = out.data();
  iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

class HelpWindowTest : public ::testing::Test {
 protected:
  HelpWindowTest() {
    static int n = 0;
    file = std::filesystem::temp_directory_path() /
           ("velmoria-help-" + std::to_string(getpid()) + "-" + std::to_string(n++) + ".dat");
  }
  ~HelpWindowTest() override { std::filesystem::remove(file); }

  void write(const std::vector<std::string>& lines) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const auto& line : lines) out << cp932(line) << "\r\n";
  }
  void load(const std::vector<std::string>& lines) {
    write(lines);
    ASSERT_TRUE(window.load(file));
    window.show();
    test::processEvents(20);
  }
  // How many screen lines each text line takes, and whether every screen line fits the memo.
  struct Laid {
    std::vector<int> lines;
    bool allFit = true;
  };
  Laid laidOut() {
    QPlainTextEdit* memo = window.memo();
    const qreal room = memo->viewport()->width() - 2 * memo->document()->documentMargin() + 0.5;
    Laid laid;
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) {
      memo->document()->documentLayout()->blockBoundingRect(b);  // lays the block out
      QTextLayout* layout = b.layout();
      laid.lines.push_back(layout->lineCount());
      for (int i = 0; i < layout->lineCount(); ++i)
        if (layout->lineAt(i).naturalTextWidth() > room) laid.allFit = false;
    }
    return laid;
  }
  QRect screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

  std::filesystem::path file;
  HelpWindow window;
};

TEST_F(HelpWindowTest, a_fifo_named_as_the_help_file_is_no_help_and_does_not_block) {
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  EXPECT_FALSE(window.load(file));
}

TEST_F(HelpWindowTest, short_text_keeps_the_design_size) {
  load({"操作説明", "8 : 力行", "2 : ブレーキ"});
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("操作説明"));
  EXPECT_EQ(window.memo()->toPlainText(), QString::fromUtf8("8 : 力行\n2 : ブレーキ"));
  EXPECT_EQ(window.size(), QSize(227, 331));
  EXPECT_EQ(window.memo()->geometry(), QRect(0, 0, 225, 329));
}

TEST_F(HelpWindowTest, the_bindings_follow_the_instructions_and_can_be_replaced) {
  load({"操作説明", "8 : 力行"});
  window.showBindings("horn : 3");
  EXPECT_EQ(window.memo()->toPlainText(), QString::fromUtf8("8 : 力行\n\nhorn : 3"));
  window.showBindings("horn : H");
  EXPECT_EQ(window.memo()->toPlainText(), QString::fromUtf8("8 : 力行\n\nhorn : H"));
  window.showBindings("");
  EXPECT_EQ(window.memo()->toPlainText(), QString::fromUtf8("8 : 力行"));
}

TEST_F(HelpWindowTest, without_a_help_file_the_bindings_stand_alone) {
  HelpWindow fresh;
  fresh.showBindings("horn : 3");
  EXPECT_EQ(fresh.memo()->toPlainText(), "horn : 3");
}

TEST_F(HelpWindowTest, one_line_gives_the_caption_and_an_empty_memo) {
  load({"Help only"});
  EXPECT_EQ(window.windowTitle(), "Help only");
  EXPECT_TRUE(window.memo()->toPlainText().isEmpty());
}

TEST_F(HelpWindowTest, long_lines_are_shown_whole_on_one_line_each) {
  const std::string ascii = " Shift+F9 / F10 : adjust the clock by one minute, earlier or later";
  const std::string japanese =
      " 停止位置の手前200mから停目表示と残り距離を見てブレーキを段階的に緩めます。";
  load({"操作説明", ascii, japanese, "short"});
  const Laid laid = laidOut();
  EXPECT_EQ(laid.lines, (std::vector<int>{1, 1, 1}));
  EXPECT_TRUE(laid.allFit) << "a line runs past the memo's right edge";
  EXPECT_GT(window.width(), 227);
  EXPECT_TRUE(screen().contains(window.geometry()));
}

TEST_F(HelpWindowTest, many_lines_grow_the_window_up_to_the_screen) {
  std::vector<std::string> lines = {"Help"};
  for (int i = 0; i < 30; ++i) lines.push_back("line " + std::to_string(i));
  load(lines);
  EXPECT_GT(window.height(), 331) << "thirty lines do not fit the design's height";
  for (int i = 0; i < 300; ++i) lines.push_back("line " + std::to_string(i));
  write(lines);
  HelpWindow tall;
  ASSERT_TRUE(tall.load(file));
  EXPECT_LE(tall.height(), screen().height());
  EXPECT_GT(tall.height(), window.height());
}

TEST_F(HelpWindowTest, japanese_lines_all_show_without_scrolling) {
  std::vector<std::string> lines = {"操作説明"};
  for (int i = 0; i < 30; ++i)
    lines.push_back("【ハンドル】 " + std::to_string(i) + " : 力行側へ1段");
  lines.insert(lines.begin() + 10, "");  // an empty line has a height too
  load(lines);
  EXPECT_EQ(window.memo()->verticalScrollBar()->maximum(), 0);
  EXPECT_TRUE(laidOut().allFit);
}

TEST_F(HelpWindowTest, a_line_wider_than_the_screen_wraps_instead_of_being_cut) {
  std::string wide;
  for (int i = 0; i < 40; ++i) wide += "word" + std::to_string(i) + " ";
  for (int i = 0; i < 60; ++i) wide += "長";
  load({"Help", "first", wide, "last"});
  EXPECT_LE(window.width(), screen().width());
  const Laid laid = laidOut();
  ASSERT_EQ(laid.lines.size(), 3u);
  EXPECT_EQ(laid.lines[0], 1);
  EXPECT_GT(laid.lines[1], 1);
  EXPECT_EQ(laid.lines[2], 1);
  EXPECT_TRUE(laid.allFit);
}

}  // namespace
}  // namespace velmoria
