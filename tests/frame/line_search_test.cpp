#include "frame/line_search.h"

#include <gtest/gtest.h>

#include <map>

#include "support/data_files.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup environment(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
}

struct FoldersCase {
  const char* what;
  std::map<std::string, std::string> env;
  std::vector<std::string> folders;
};

class LineFolders : public ::testing::TestWithParam<FoldersCase> {};

TEST_P(LineFolders, follow_the_xdg_data_folders_in_their_order) {
  std::vector<std::string> got;
  for (const auto& folder : lineFolders(environment(GetParam().env))) got.push_back(folder);
  EXPECT_EQ(got, GetParam().folders) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineFolders,
    ::testing::Values(
        FoldersCase{
            "both set",
            {{"XDG_DATA_HOME", "/h/data"}, {"XDG_DATA_DIRS", "/a:/b/share"}, {"HOME", "/h"}},
            {"/h/data/velmoria/lines", "/a/velmoria/lines", "/b/share/velmoria/lines"}},
        FoldersCase{"neither set: the defaults",
                    {{"HOME", "/home/d"}},
                    {"/home/d/.local/share/velmoria/lines", "/usr/local/share/velmoria/lines",
                     "/usr/share/velmoria/lines"}},
        FoldersCase{"empty values count as unset",
                    {{"XDG_DATA_HOME", ""}, {"XDG_DATA_DIRS", ""}, {"HOME", "/home/d"}},
                    {"/home/d/.local/share/velmoria/lines", "/usr/local/share/velmoria/lines",
                     "/usr/share/velmoria/lines"}},
        FoldersCase{
            "relative entries and empty list items are ignored",
            {{"XDG_DATA_HOME", "rel/data"}, {"XDG_DATA_DIRS", "::share:/c/"}, {"HOME", "/home/d"}},
            {"/home/d/.local/share/velmoria/lines", "/c/velmoria/lines"}},
        FoldersCase{"a folder named twice is kept once, at its first place",
                    {{"XDG_DATA_HOME", "/usr/share/"}, {"XDG_DATA_DIRS", "/x:/usr/share:/x/."}},
                    {"/usr/share/velmoria/lines", "/x/velmoria/lines"}},
        FoldersCase{"no home folder at all: only the system's",
                    {{"XDG_DATA_DIRS", "/s"}},
                    {"/s/velmoria/lines"}}));

TEST(UserLineFolder, is_the_first_folder_and_empty_without_a_home) {
  EXPECT_EQ(userLineFolder(environment({{"HOME", "/home/d"}})),
            fs::path("/home/d/.local/share/velmoria/lines"));
  EXPECT_EQ(userLineFolder(environment({{"XDG_DATA_HOME", "/x/"}, {"HOME", "/home/d"}})),
            fs::path("/x/velmoria/lines"));
  EXPECT_EQ(userLineFolder(environment({{"HOME", "relative"}})), fs::path());
  EXPECT_EQ(userLineFolder(environment({})), fs::path());
}

class FindLines : public ::testing::Test {
 protected:
  // A line: a folder with korvelan.dat.
  void line(const std::string& path) { dir.write(path + "/korvelan.dat", "[Path]\nmove\\\n"); }
  fs::path at(const std::string& path) const { return dir.root() / path; }
  test::TempDataFolder dir;
};

TEST_F(FindLines, takes_the_user_folder_first_then_each_system_folder_by_name) {
  line("user/b-line");
  line("user/a-line");
  line("sys1/z-line");
  line("sys2/c-line");
  const auto found = findLines({at("user"), at("sys1"), at("sys2")});
  EXPECT_EQ(found, (std::vector<fs::path>{at("user/a-line"), at("user/b-line"), at("sys1/z-line"),
                                          at("sys2/c-line")}));
}

TEST_F(FindLines, skips_what_is_not_a_line) {
  line("lines/good");
  dir.write("lines/no-strings/train_201.dat", "x\n");  // no korvelan.dat
  dir.write("lines/a-file", "x\n");                    // not a folder
  dir.write("lines/dir-named/korvelan.dat/x", "x\n");  // korvelan.dat is a folder
  line("lines/.demo-partial");                         // being written
  const auto found = findLines({at("lines"), at("missing")});
  EXPECT_EQ(found, std::vector<fs::path>{at("lines/good")});
}

TEST_F(FindLines, a_users_line_hides_the_systems_line_of_the_same_name) {
  line("user/demo");
  line("sys/demo");
  line("sys/other");
  EXPECT_EQ(findLines({at("user"), at("sys")}),
            (std::vector<fs::path>{at("user/demo"), at("sys/other")}));
}

TEST_F(FindLines, a_line_reached_twice_through_a_link_counts_once) {
  line("sys/real");
  fs::create_directories(at("user"));
  fs::create_directory_symlink(at("sys/real"), at("user/linked"));
  EXPECT_EQ(findLines({at("user"), at("sys")}), std::vector<fs::path>{at("user/linked")});
}

TEST_F(FindLines, a_folder_listed_twice_gives_its_lines_once) {
  line("lines/one");
  EXPECT_EQ(findLines({at("lines"), at("lines")}), std::vector<fs::path>{at("lines/one")});
}

struct StartCase {
  const char* what;
  bool dataOption;     // --data DIR given (DIR is "given")
  bool currentIsLine;  // korvelan.dat in the current folder
  int lines;           // lines found
  StartChoice::Kind kind;
  const char* folder;  // "" for none
};

class ChooseStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(ChooseStart, decides_from_the_option_the_current_folder_and_the_lines) {
  const StartCase& c = GetParam();
  test::TempDataFolder dir;
  fs::create_directories(dir.root() / "current");
  if (c.currentIsLine) dir.write("current/korvelan.dat", "[Path]\n");
  std::vector<fs::path> lines;
  for (int i = 0; i < c.lines; ++i) lines.push_back(dir.root() / ("line" + std::to_string(i)));
  const std::optional<fs::path> option =
      c.dataOption ? std::optional<fs::path>(dir.root() / "given") : std::nullopt;

  const StartChoice choice = chooseStart(option, dir.root() / "current", lines);
  EXPECT_EQ(choice.kind, c.kind) << c.what;
  EXPECT_EQ(choice.folder, *c.folder ? dir.root() / c.folder : fs::path()) << c.what;
  if (c.kind == StartChoice::Kind::Choose)
    EXPECT_EQ(choice.lines, lines) << c.what;
  else
    EXPECT_TRUE(choice.lines.empty()) << c.what;
}

using K = StartChoice::Kind;
INSTANTIATE_TEST_SUITE_P(
    Cases, ChooseStart,
    ::testing::Values(StartCase{"--data wins over everything, even without korvelan.dat", true,
                                true, 2, K::Open, "given"},
                      StartCase{"--data with no line anywhere still opens it (and fails there)",
                                true, false, 0, K::Open, "given"},
                      StartCase{"started in a data folder: that folder", false, true, 2, K::Open,
                                "current"},
                      StartCase{"one line found opens at once", false, false, 1, K::Open, "line0"},
                      StartCase{"two lines are offered", false, false, 2, K::Choose, ""},
                      StartCase{"no line: the demo offer, the current folder named", false, false,
                                0, K::OfferDemo, "current"}));

TEST(RouteLineName, is_the_line_after_the_header) {
  test::TempDataFolder dir;
  dir.write("line_a.dat", "; comment\n[StartPos]\n200\n[LineName]\nヴェルモリア本線 快速\n");
  dir.write("line_b.dat", "[StartPos]\n200\n");
  dir.write("line_c.dat", "[LineName]");
  EXPECT_EQ(routeLineName(dir.root() / "line_a.dat"),
            std::optional<std::string>("ヴェルモリア本線 快速"));
  EXPECT_EQ(routeLineName(dir.root() / "line_b.dat"), std::nullopt);
  EXPECT_EQ(routeLineName(dir.root() / "line_c.dat"), std::nullopt) << "no line after it";
  EXPECT_EQ(routeLineName(dir.root() / "missing.dat"), std::nullopt);
}

}  // namespace
}  // namespace velmoria
