// The desktop program as a process: what it says and how it ends when it cannot start.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QImageReader>
#include <QProcess>
#include <filesystem>
#include <fstream>

#ifdef VELMORIA_DESKTOP_EXE

namespace {

struct Outcome {
  int exitCode = -1;
  bool finished = false;
  QString standardError;
};

// Runs the program in `folder` with the given arguments, offscreen, messages on stderr, and
// with XDG data and config folders of its own (`xdg`/home, `xdg`/system, `xdg`/config), so
// that no line installed on the machine is found and no language chosen there applies. The
// locale is Japanese unless `locale` names another.
Outcome runIn(const std::filesystem::path& folder, const QStringList& arguments,
              const std::filesystem::path& xdg, const QString& locale = "ja_JP.UTF-8") {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_DATA_HOME", QString::fromStdString((xdg / "home").string()));
  env.insert("XDG_DATA_DIRS", QString::fromStdString((xdg / "system").string()));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString((xdg / "config").string()));
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) env.remove(name);
  env.insert("LANG", locale);
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
              ("velmoria-empty-" + std::to_string(getpid()))),
        xdg(std::filesystem::temp_directory_path() / ("velmoria-xdg-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(empty);
    std::filesystem::create_directories(xdg);
  }
  ~DesktopProgram() override {
    std::filesystem::remove_all(empty);
    std::filesystem::remove_all(xdg);
  }
  Outcome runIn(const std::filesystem::path& folder, const QStringList& arguments,
                const QString& locale = "ja_JP.UTF-8") {
    return ::runIn(folder, arguments, xdg, locale);
  }
  void chooseLanguage(const char* kept) {
    std::filesystem::create_directories(xdg / "config" / "Velmoria");
    std::ofstream(xdg / "config" / "Velmoria" / "velmoria.conf")
        << "[view]\nlanguage=" << kept << "\n";
  }
  std::filesystem::path empty, xdg;
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

// The language follows the locale, and a remembered choice overrides the locale.
struct LanguageCase {
  const char* what;
  const char* locale;
  const char* kept;  // the remembered choice, or nullptr
  const char* said;
};

class DesktopProgramLanguage : public DesktopProgram,
                               public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(DesktopProgramLanguage, shows_its_messages_in_the_chosen_language) {
  const LanguageCase& c = GetParam();
  if (c.kept) chooseLanguage(c.kept);
  const Outcome r = runIn(empty, {"--data", "."}, c.locale);
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.standardError.contains(QString::fromUtf8(c.said))) << r.standardError.toStdString();
  EXPECT_FALSE(r.standardError.contains("cannot be loaded")) << r.standardError.toStdString();
}

constexpr const char* kJapanese = "実行ファイルが正しい場所に配置されていません";
constexpr const char* kEnglish = "The program is not in the right place";
INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopProgramLanguage,
    ::testing::Values(LanguageCase{"japanese_locale", "ja_JP.UTF-8", nullptr, kJapanese},
                      LanguageCase{"english_locale", "en_US.UTF-8", nullptr, kEnglish},
                      LanguageCase{"c_locale", "C.UTF-8", nullptr, kJapanese},
                      LanguageCase{"english_kept_over_japanese", "ja_JP.UTF-8", "en", kEnglish},
                      LanguageCase{"japanese_kept_over_english", "en_US.UTF-8", "ja", kJapanese},
                      LanguageCase{"automatic_kept", "en_US.UTF-8", "auto", kEnglish}),
    [](const auto& info) { return std::string(info.param.what); });

#ifdef VELMORIA_HAS_DEMO_GEN
// With no line installed anywhere the program offers the demo line; a headless run answers No
// and ends as it always did, having written nothing.
TEST_F(DesktopProgram, started_with_no_line_anywhere_offers_the_demo_line_and_declines_headless) {
  const Outcome r = runIn(empty, {});
  ASSERT_TRUE(r.finished) << r.standardError.toStdString();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.standardError.contains(QString::fromUtf8("デモ路線を生成して")))
      << r.standardError.toStdString();
  EXPECT_TRUE(r.standardError.contains("[no]")) << r.standardError.toStdString();
  EXPECT_TRUE(r.standardError.contains("no line installed in")) << r.standardError.toStdString();
  EXPECT_FALSE(std::filesystem::exists(xdg / "home" / "velmoria"));
  EXPECT_TRUE(std::filesystem::is_empty(empty));
}
#endif

// An explicit --data DIR is that folder and no other, even with a line installed.
TEST_F(DesktopProgram, an_explicit_data_folder_without_data_fails_even_with_a_line_installed) {
  const std::filesystem::path line = xdg / "home" / "velmoria" / "lines" / "demo";
  std::filesystem::create_directories(line);
  std::ofstream(line / "korvelan.dat") << "[Path]\r\n";
  const Outcome r = runIn(empty, {"--data", "."});
  ASSERT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(
      r.standardError.contains(QString::fromUtf8("実行ファイルが正しい場所に配置されていません")))
      << r.standardError.toStdString();
  EXPECT_FALSE(r.standardError.contains("[no]")) << "no offer for an explicit folder";
}

// The window icon is an SVG in the shell library's resources; Qt reads it only where its SVG
// plugins are installed, and says so on standard error when the resource is not in the program.
TEST_F(DesktopProgram, has_its_window_icon_built_in) {
  if (!QImageReader::supportedImageFormats().contains("svg"))
    GTEST_SKIP() << "no SVG support in this Qt (libqt6svg6)";
  const Outcome r = runIn(empty, {});
  ASSERT_TRUE(r.finished);
  EXPECT_FALSE(r.standardError.contains("velmoria.svg")) << r.standardError.toStdString();
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
