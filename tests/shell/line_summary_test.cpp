#include "frontend/line_summary_qt.h"

#include <gtest/gtest.h>

#include "support/data_files.h"
#include "support/line_folders.h"

namespace velmoria {
namespace {

using test::LineHome;

struct ReadmeCase {
  const char* what;
  std::string html;
  const char* name;
};

class ReadmeLineName : public ::testing::TestWithParam<ReadmeCase> {};

TEST_P(ReadmeLineName, is_the_first_heading_else_the_title) {
  test::TempDataFolder dir;
  dir.writeBytes("readme.html", GetParam().html);
  EXPECT_EQ(readmeLineName(dir.root() / "readme.html").toStdString(), GetParam().name)
      << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadmeLineName,
    ::testing::Values(ReadmeCase{"heading over title",
                                 "<html><head><title>Guide</title></head><body><H1 class=x>湖畔線\n"
                                 "  &amp; <b>本線</b></H1><h1>second</h1>",
                                 "湖畔線 & 本線"},
                      ReadmeCase{"title without a heading", "<title> 港町 線 </title><p>text</p>",
                                 "港町 線"},
                      ReadmeCase{"Shift-JIS page", test::toCp932("<h1>ヴェルモリア本線</h1>"),
                                 "ヴェルモリア本線"},
                      ReadmeCase{"neither", "<p>just text</p>", ""},
                      ReadmeCase{"an unclosed heading is no heading", "<h1>never closed", ""}));

TEST(ReadmeLineName, is_empty_for_a_missing_page) {
  EXPECT_TRUE(readmeLineName("/nonexistent/readme.html").isEmpty());
}

TEST(DescribeLine, names_the_runs_whose_files_are_there_by_their_route_line_names) {
  LineHome home;
  const auto folder =
      home.makeLine(home.userLines() / "east",
                    {"<h1>東線</h1>",
                     test::titlePicture(Qt::red),
                     {{"train_201.dat", "x\n"},
                      {"train_183.dat", "x\n"},
                      {"LINE_RAPID1.DAT", "[LineName]\n東線 快速\n"},  // case as on Windows
                      {"line_rapid2.dat", "[StartPos]\n1\n"},  // no [LineName]: its file name
                      {"line_exp4.dat", "[LineName]\n東線 特急\n"},
                      {"line_rapid5.dat", "[LineName]\nno vehicle? it has one\n"},
                      {"line_local6.dat", "[LineName]\n東線 普通\n"}}});
  std::filesystem::remove(folder / "train_183.dat");  // run 4 loses its vehicle

  const LineSummary line = describeLine(folder);
  EXPECT_EQ(line.folder, folder);
  EXPECT_EQ(line.name.toStdString(), "東線");
  ASSERT_FALSE(line.picture.isNull());
  EXPECT_EQ(line.picture.size(), QSize(640, 480));
  std::vector<std::pair<int, std::string>> runs;
  for (const auto& run : line.runs) runs.emplace_back(run.run, run.name.toStdString());
  EXPECT_EQ(runs, (std::vector<std::pair<int, std::string>>{{1, "東線 快速"},
                                                            {2, "line_rapid2.dat"},
                                                            {5, "no vehicle? it has one"},
                                                            {6, "東線 普通"}}));
}

TEST(DescribeLine, falls_back_to_the_folder_name_and_no_picture) {
  LineHome home;
  const auto folder = home.makeLine(home.userLines() / "bare-line", {});
  const LineSummary line = describeLine(folder);
  EXPECT_EQ(line.name.toStdString(), "bare-line");
  EXPECT_TRUE(line.picture.isNull());
  EXPECT_TRUE(line.runs.empty());
}

}  // namespace
}  // namespace velmoria
