// The desktop program as a process: what it says and how it ends when it cannot start.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QProcess>
#include <filesystem>

#ifdef VELMORIA_DESKTOP_EXE

namespace {

struct Outcome {
  int exitCode = -1;
  bool finished = false;
  QString standardError;
};

// Runs the program in `folder` with the given arguments, offscreen, messages on stderr.
Outcome runIn(const std::filesystem::path& folder, const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VELMORIA_MESSAGES", "stderr");
  env.insert("ALSOFT_DRIVERS", "null");
  env.insert("SDL_AUDIODRIVER", "dummy");
  env.insert("ASAN_OPTIONS", "detect_leaks=0");  // it ends through exit() on purpose
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(QString::fromStdString(folder.string()));
  process.start(VELMORIA_DESKTOP_EXE, arguments);
  Outcome outcome;
  outcome.finished = process.waitForFinished(30000);
  if (!outcome.finished) process.kill(), process.waitForFinished();
  outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  outcome.standardError = QString::fromUtf8(process.readAllStandardError());
  return outcome;
}

class DesktopProgram : public ::testing::Test {
 protected:
  DesktopProgram()
      : empty(std::filesystem::temp_directory_path() /
              ("velmoria-empty-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(empty);
  }
  ~DesktopProgram() override { std::filesystem::remove_all(empty); }
  std::filesystem::path empty;
};

TEST_F(DesktopProgram, the_route_editor_on_a_folder_without_routes_says_so_and_ends_with_2) {
  const Outcome r = runIn(empty, {"--edit", QString::fromStdString(empty.string())});
  ASSERT_TRUE(r.finished) << "the program waited: " << r.standardError.toStdString();
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.standardError.contains(QString::fromUtf8("路線ファイルがありません")))
      << r.standardError.toStdString();
}

TEST_F(DesktopProgram, a_route_without_the_editor_is_refused_with_2) {
  const Outcome r = runIn(empty, {"--route", "line_test.dat"});
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.standardError.contains("--route goes with --edit"))
      << r.standardError.toStdString();
}

TEST_F(DesktopProgram, started_without_data_says_where_it_looked_and_ends_with_1) {
  const Outcome r = runIn(empty, {});
  ASSERT_TRUE(r.finished) << "the program waited: " << r.standardError.toStdString();
  EXPECT_EQ(r.exitCode, 1);
  const QString folder = QString::fromStdString(std::filesystem::canonical(empty).string());
  EXPECT_TRUE(r.standardError.contains("korvelan.dat")) << r.standardError.toStdString();
  EXPECT_TRUE(r.standardError.contains(folder)) << r.standardError.toStdString();
  EXPECT_TRUE(r.standardError.contains("--data DIR")) << r.standardError.toStdString();
  EXPECT_TRUE(
      r.standardError.contains(QString::fromUtf8("実行ファイルが正しい場所に配置されていません")))
      << r.standardError.toStdString();
}

TEST_F(DesktopProgram, a_data_folder_without_data_is_named_as_given) {
  const std::filesystem::path other = empty / "elsewhere";
  std::filesystem::create_directories(other);
  const Outcome r = runIn(empty, {"--data", "elsewhere"});
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 1);
  const QString folder = QString::fromStdString(std::filesystem::canonical(other).string());
  EXPECT_TRUE(r.standardError.contains(folder)) << r.standardError.toStdString();
}

}  // namespace

#endif
