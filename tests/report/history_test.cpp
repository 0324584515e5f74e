#include "report/history.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace velmoria::report {
namespace {

namespace fs = std::filesystem;

class History : public testing::Test {
 protected:
  History() : dir(fs::temp_directory_path() / ("velmoria-history-" + std::to_string(getpid()))) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (const char* d = std::getenv("XDG_DATA_HOME")) savedData = d;
    if (const char* h = std::getenv("HOME")) savedHome = h;
  }
  ~History() override {
    restore("XDG_DATA_HOME", savedData);
    restore("HOME", savedHome);
    fs::remove_all(dir);
  }
  static void restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      setenv(name, value->c_str(), 1);
    else
      unsetenv(name);
  }
  static std::string read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  size_t entries() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(dir / "runs"), fs::directory_iterator()));
  }

  fs::path dir;
  std::optional<std::string> savedData, savedHome;
};

TEST_F(History, folder_follows_the_xdg_base_directories) {
  setenv("XDG_DATA_HOME", "/data/here", 1);
  EXPECT_EQ(historyFolder(), fs::path("/data/here/velmoria/runs"));
  setenv("HOME", "/home/driver", 1);
  setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(historyFolder(), fs::path("/home/driver/.local/share/velmoria/runs"));
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(historyFolder(), fs::path("/home/driver/.local/share/velmoria/runs"));
  unsetenv("HOME");
  EXPECT_FALSE(historyFolder());
}

TEST_F(History, run_folder_names_carry_the_time_and_the_files) {
  const char* tz = std::getenv("TZ");
  const std::optional<std::string> savedTz = tz ? std::optional<std::string>(tz) : std::nullopt;
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(runFolderName(0, "train_201.dat", "line_rapid1.dat"),
            "19700101-000000-train_201-line_rapid1");
  // Two three-byte characters and a blank.
  EXPECT_EQ(runFolderName(0, "電車 1.dat", "../line/x.dat"), "19700101-000000-_______1-x");
  restore("TZ", savedTz);
  tzset();
}

TEST_F(History, a_finished_writer_puts_the_three_files_in_place) {
  std::optional<fs::path> folder;
  {
    RunFolderWriter w(dir / "runs", "run-a");
    ASSERT_TRUE(w.ok()) << w.error();
    w.trace() << "t_ms\n100\n";
    // Nothing shows among the runs until the run is complete.
    for (const auto& e : fs::directory_iterator(dir / "runs"))
      EXPECT_EQ(e.path().filename().string().front(), '.');
    folder = w.finish("{}\n", "0 start\n");
  }
  ASSERT_TRUE(folder);
  EXPECT_EQ(*folder, dir / "runs" / "run-a");
  EXPECT_EQ(read(*folder / kTraceFile), "t_ms\n100\n");
  EXPECT_EQ(read(*folder / kReportFile), "{}\n");
  EXPECT_EQ(read(*folder / kRecordFile), "0 start\n");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(History, a_name_taken_gets_a_number) {
  fs::create_directories(dir / "runs" / "run-a");
  std::ofstream(dir / "runs" / "run-a" / "mine.txt") << "keep";
  RunFolderWriter w(dir / "runs", "run-a");
  const auto folder = w.finish("{}", "");
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->filename(), "run-a-2");
  EXPECT_EQ(read(dir / "runs" / "run-a" / "mine.txt"), "keep");
}

TEST_F(History, an_unfinished_writer_leaves_nothing_behind) {
  fs::create_directories(dir / "runs");
  std::ofstream(dir / "runs" / "notes.txt") << "a file of the user's";
  {
    RunFolderWriter w(dir / "runs", "run-b");
    ASSERT_TRUE(w.ok());
    w.trace() << "t_ms\n";
  }
  EXPECT_EQ(entries(), 1u);
  EXPECT_EQ(read(dir / "runs" / "notes.txt"), "a file of the user's");
}

TEST_F(History, a_folder_that_cannot_be_made_is_an_error_not_a_crash) {
  std::ofstream(dir / "runs") << "a file where the folder should be";
  RunFolderWriter w(dir / "runs", "run-c");
  EXPECT_FALSE(w.ok());
  EXPECT_FALSE(w.finish("{}", ""));
  EXPECT_NE(w.error().find("runs"), std::string::npos);
  EXPECT_EQ(read(dir / "runs"), "a file where the folder should be");
}

}  // namespace
}  // namespace velmoria::report
