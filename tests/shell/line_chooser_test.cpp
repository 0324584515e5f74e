#include "frontend/line_chooser_qt.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

#include "support/language_fixture.h"
#include "support/line_folders.h"
#include "support/shell_fixture.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;
using test::LineHome;

// What a label shows, as plain text: the runs are a rich-text table, each cell a line here.
QString shownText(const QLabel* label) {
  QTextDocument document;
  document.setHtml(label->text());
  QStringList lines = document.toPlainText().split('\n');
  for (QString& line : lines) line = line.replace(QChar::Nbsp, ' ').trimmed();
  return lines.join('\n').trimmed();
}

class LineChooserTest : public ::testing::Test {
 protected:
  LineChooserTest() {
    first = home.makeLine(home.userLines() / "east",
                          {"<h1>東線</h1>",
                           test::titlePicture(Qt::red),
                           {{"train_201.dat", "x\n"},
                            {"line_rapid1.dat", "[LineName]\n東線 快速\n"},
                            // The data's own text, not markup.
                            {"line_rapid2.dat", "[LineName]\n<b>東線</b> 普通\n"}}});
    second = home.makeLine(home.systemLines() / "west", {});
    hooks = recorder.hooks();
    chooser = std::make_unique<LineChooser>(
        std::vector<LineSummary>{describeLine(first), describeLine(second)}, hooks);
    chooser->onChosen = [this](const fs::path& folder) { chosen.push_back(folder); };
    chooser->onQuit = [this] { ++quits; };
    chooser->show();
  }

  LineHome home;
  fs::path first, second;
  test::ShellRecorder recorder;
  ShellHooks hooks;
  std::unique_ptr<LineChooser> chooser;
  std::vector<fs::path> chosen;
  int quits = 0;
};

TEST_F(LineChooserTest, lists_both_lines_and_shows_the_first_with_its_picture_and_runs) {
  ASSERT_EQ(chooser->list()->count(), 2);
  EXPECT_EQ(chooser->list()->item(0)->text().toStdString(), "東線");
  EXPECT_EQ(chooser->list()->item(1)->text().toStdString(), "west");
  EXPECT_FALSE(chooser->list()->item(0)->icon().isNull());
  EXPECT_EQ(chooser->list()->currentRow(), 0);
  EXPECT_EQ(chooser->nameLabel()->text().toStdString(), "東線");
  EXPECT_EQ(chooser->folderLabel()->text().toStdString(), first.string());
  EXPECT_EQ(shownText(chooser->runsLabel()).toStdString(),
            "運転 2本\n1\n東線 快速\n2\n<b>東線</b> 普通");
  // The red title picture fills the picture (640 x 480 scaled to 320 x 240).
  const QImage shown = chooser->picture()->pixmap().toImage();
  ASSERT_EQ(shown.size(), LineChooser::kPictureSize);
  EXPECT_GT(QColor(shown.pixel(160, 120)).red(), 200);
  EXPECT_LT(QColor(shown.pixel(160, 120)).green(), 60);
}

class EnglishLineChooserTest : public test::EnglishTexts, public LineChooserTest {};

TEST_F(EnglishLineChooserTest, is_in_english_with_the_lines_own_names) {
  ASSERT_TRUE(englishLoaded());
  EXPECT_EQ(chooser->windowTitle(), "Velmoria: Choose a Line");
  EXPECT_EQ(shownText(chooser->runsLabel()).toStdString(),
            "2 runs\n1\n東線 快速\n2\n<b>東線</b> 普通");
  QStringList buttons;
  for (const QPushButton* b : chooser->findChildren<QPushButton*>()) buttons << b->text();
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{"Open Folder...", "Open This Line", "Quit"}));
  chooser->list()->setCurrentRow(1);
  EXPECT_EQ(shownText(chooser->runsLabel()), "No vehicle and route files to drive");
}

TEST_F(LineChooserTest, shows_the_second_line_when_selected_and_opens_it) {
  chooser->list()->setCurrentRow(1);
  EXPECT_EQ(chooser->nameLabel()->text().toStdString(), "west");
  EXPECT_EQ(shownText(chooser->runsLabel()).toStdString(),
            "運転できる車両・路線ファイルがありません");
  QTest::mouseClick(chooser->openButton(), Qt::LeftButton);
  EXPECT_EQ(chosen, std::vector<fs::path>{second});
  EXPECT_FALSE(chooser->isVisible());
  EXPECT_EQ(quits, 0) << "choosing is not quitting";
}

TEST_F(LineChooserTest, enter_in_the_list_opens_the_selected_line) {
  chooser->list()->setFocus();
  QTest::keyClick(chooser->list(), Qt::Key_Return);
  EXPECT_EQ(chosen, std::vector<fs::path>{first});
}

TEST_F(LineChooserTest, a_folder_without_korvelan_dat_is_refused_and_the_chooser_stays) {
  const fs::path notALine = home.root() / "pictures";
  fs::create_directories(notALine);
  chooser->pickFolder = [&](QWidget*) { return notALine; };
  QTest::mouseClick(chooser->folderButton(), Qt::LeftButton);
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(recorder.messages[0].contains("korvelan.dat"));
  EXPECT_TRUE(recorder.messages[0].contains(QString::fromStdString(notALine.string())));
  EXPECT_TRUE(chosen.empty());
  EXPECT_TRUE(chooser->isVisible());
}

TEST_F(LineChooserTest, a_line_opened_from_a_folder_is_chosen) {
  const fs::path elsewhere = home.makeLine(home.root() / "usb-stick/line", {});
  chooser->pickFolder = [&](QWidget*) { return elsewhere; };
  chooser->openFolder();
  EXPECT_EQ(chosen, std::vector<fs::path>{elsewhere});
  EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST_F(LineChooserTest, a_cancelled_folder_dialog_changes_nothing) {
  chooser->pickFolder = [](QWidget*) { return fs::path(); };
  chooser->openFolder();
  EXPECT_TRUE(chosen.empty());
  EXPECT_TRUE(recorder.messages.isEmpty());
  EXPECT_TRUE(chooser->isVisible());
}

TEST_F(LineChooserTest, closing_or_quit_without_a_choice_ends_the_program) {
  QTest::mouseClick(chooser->quitButton(), Qt::LeftButton);
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(chosen.empty());
}

}  // namespace
}  // namespace velmoria
