#include "frontend/line_start_qt.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <fstream>

#include "frontend/desktop_app_qt.h"
#include "support/line_folders.h"
#include "support/shell_fixture.h"

namespace velmoria {
namespace {

namespace fs = std::filesystem;
using test::LineHome;

class LineStartTest : public ::testing::Test {
 protected:
  LineStartTest() : generated(VELMORIA_TEST_DATA) {
    // What the stand-in generator writes: the test data folder with a title picture and help.
    generated.write("operation.dat", "Help\r\nline 1\r\n");
    fs::create_directories(generated.path() / "image" / "title");
    test::titlePicture(Qt::darkGreen)
        .save(QString::fromStdString((generated.path() / "image/title/01.jpg").string()), "JPG");
    hooks = recorder.hooks();
  }

  void begin(GeneratorCommand generator, std::optional<fs::path> data = std::nullopt) {
    LineStartOptions options;
    options.data = data;
    options.current = home.current();
    options.environment = home.environment();
    options.generator = std::move(generator);
    start = std::make_unique<LineStart>(std::move(options), hooks);
    start->onReady = [this](const fs::path& folder) { ready.push_back(folder); };
    start->onQuit = [this] { ++quits; };
    start->begin();
  }

  // Runs the event loop until `done` or 20 s.
  template <typename Done>
  bool waitUntil(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 20000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  // The hidden folders directly in the user's lines folder.
  std::vector<std::string> hiddenFolders() const {
    std::vector<std::string> hidden;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(home.userLines(), ec))
      if (entry.path().filename().string().front() == '.' && entry.is_directory())
        hidden.push_back(entry.path().filename().string());
    return hidden;
  }

  LineHome home;
  test::DataCopy generated;
  test::ShellRecorder recorder;
  ShellHooks hooks;
  std::unique_ptr<LineStart> start;
  std::vector<fs::path> ready;
  int quits = 0;
};

TEST_F(LineStartTest, first_start_with_no_line_offers_the_generator_and_opens_its_title_window) {
  recorder.answer = true;
  begin(home.fakeGenerator(generated.path()));
  ASSERT_EQ(recorder.questions.size(), 1);
  const fs::path demo = home.userLines() / "demo";
  EXPECT_TRUE(recorder.questions[0].contains(QString::fromStdString(demo.string())))
      << recorder.questions[0].toStdString();
  ASSERT_NE(start->generation(), nullptr);
  ASSERT_NE(start->generation()->dialog(), nullptr);
  EXPECT_TRUE(start->generation()->dialog()->isVisible()) << "the progress dialog";

  ASSERT_TRUE(waitUntil([&] { return !ready.empty(); }))
      << recorder.messages.join("|").toStdString();
  EXPECT_EQ(ready, std::vector<fs::path>{demo});
  EXPECT_TRUE(isLine(demo));
  EXPECT_EQ(start->generation()->dialog()->value(), 100);
  EXPECT_FALSE(start->generation()->dialog()->isVisible());
  EXPECT_TRUE(hiddenFolders().empty()) << "the half-written folder took the line's name";
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
  // Nothing was written anywhere but the user's lines folder.
  EXPECT_TRUE(home.contents(home.current()).empty());
  EXPECT_TRUE(home.contents(home.root() / "system").empty());

  // The desktop program then opens the new line's title window, as main() does.
  DesktopApp app(ready.front(), hooks, MediaSet::null());
  app.start();
  EXPECT_TRUE(app.title().isVisible());
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
  EXPECT_EQ(recorder.exits, 0);

  // The next start finds the line and opens it without asking.
  recorder.questions.clear();
  ready.clear();
  begin(home.fakeGenerator(generated.path()));
  EXPECT_TRUE(recorder.questions.isEmpty());
  EXPECT_EQ(ready, std::vector<fs::path>{demo});
}

TEST_F(LineStartTest, the_progress_dialog_follows_the_generators_progress_lines) {
  recorder.answer = true;
  begin(home.fakeGenerator(generated.path(), 0, 20));
  ASSERT_TRUE(waitUntil([&] { return start->generation()->dialog()->value() == 37; }));
  EXPECT_TRUE(start->generation()->dialog()->labelText().contains("move\\tavo.avi"))
      << start->generation()->dialog()->labelText().toStdString();
  start->generation()->cancel();
}

TEST_F(LineStartTest, declining_the_offer_opens_the_current_folder_which_then_fails_as_before) {
  recorder.answer = false;
  begin(home.fakeGenerator(generated.path()));
  EXPECT_EQ(recorder.questions.size(), 1);
  EXPECT_EQ(ready, std::vector<fs::path>{home.current()});
  EXPECT_FALSE(fs::exists(home.userLines())) << "nothing is written when the driver says no";

  // The title window of a folder without korvelan.dat shows the original message and ends.
  DesktopApp app(ready.front(), hooks, MediaSet::null());
  EXPECT_THROW(app.start(), ProcessEnded);
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_EQ(recorder.messages[0].toStdString(), "実行ファイルが正しい場所に配置されていません");
}

TEST_F(LineStartTest, without_a_generator_there_is_no_offer) {
  recorder.answer = true;
  begin(GeneratorCommand{});
  EXPECT_TRUE(recorder.questions.isEmpty());
  EXPECT_EQ(ready, std::vector<fs::path>{home.current()});
}

TEST_F(LineStartTest, cancelling_kills_the_generator_and_removes_what_it_wrote) {
  recorder.answer = true;
  begin(home.fakeGenerator(generated.path(), 0, 30));
  DemoGeneration* generation = start->generation();
  ASSERT_TRUE(waitUntil([&] { return generation->dialog()->value() == 37; }));
  EXPECT_EQ(hiddenFolders().size(), 1u) << "the generator writes into a hidden folder";
  auto* cancel = generation->dialog()->findChild<QPushButton*>();
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(cancel->text().toStdString(), "中止");
  cancel->click();
  EXPECT_EQ(generation->process().state(), QProcess::NotRunning);
  EXPECT_EQ(ready, std::vector<fs::path>{home.current()});
  EXPECT_TRUE(home.contents(home.userLines()).empty());
  EXPECT_TRUE(recorder.messages.isEmpty());
}

TEST_F(LineStartTest, a_failing_generator_is_reported_with_what_it_said_and_leaves_nothing) {
  recorder.answer = true;
  begin(home.fakeGenerator(generated.path(), 1, 0, "velmoria-demo-gen: disk full"));
  ASSERT_TRUE(waitUntil([&] { return !ready.empty(); }));
  EXPECT_EQ(ready, std::vector<fs::path>{home.current()});
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(
      recorder.messages[0].startsWith(QString::fromUtf8("デモ路線を生成できませんでした。")));
  EXPECT_TRUE(recorder.messages[0].contains("disk full")) << recorder.messages[0].toStdString();
  EXPECT_TRUE(home.contents(home.userLines()).empty());
}

TEST_F(LineStartTest, a_generator_that_writes_no_line_has_failed) {
  recorder.answer = true;
  const fs::path nothing = home.root() / "nothing";
  fs::create_directories(nothing);
  begin(home.fakeGenerator(nothing));
  ASSERT_TRUE(waitUntil([&] { return !ready.empty(); }));
  EXPECT_EQ(ready, std::vector<fs::path>{home.current()});
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(recorder.messages[0].contains("korvelan.dat"));
  EXPECT_TRUE(home.contents(home.userLines()).empty());
}

TEST_F(LineStartTest, a_generator_that_cannot_start_is_reported) {
  recorder.answer = true;
  begin(GeneratorCommand{QString::fromStdString((home.root() / "no-such-program").string()), {}});
  ASSERT_TRUE(waitUntil([&] { return !ready.empty(); }));
  EXPECT_EQ(ready, std::vector<fs::path>{home.current()});
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(recorder.messages[0].contains("no-such-program"))
      << recorder.messages[0].toStdString();
  EXPECT_TRUE(home.contents(home.userLines()).empty());
}

// What a killed program left behind goes with the next generation.
TEST_F(LineStartTest, a_generation_removes_what_an_abandoned_one_left) {
  const fs::path abandoned = home.userLines() / ".demo-Ab12Cd";
  fs::create_directories(abandoned / "move");
  std::ofstream(abandoned / "move" / "tavo.avi") << "half a video";
  std::ofstream(home.userLines() / ".demo-Ab12Cd.lock") << "";
  recorder.answer = true;
  begin(home.fakeGenerator(generated.path()));
  ASSERT_TRUE(waitUntil([&] { return !ready.empty(); }));
  EXPECT_EQ(home.contents(home.userLines()).front(), "demo");
  EXPECT_FALSE(fs::exists(abandoned));
  EXPECT_FALSE(fs::exists(home.userLines() / ".demo-Ab12Cd.lock"));
}

TEST_F(LineStartTest, a_folder_already_named_demo_is_left_alone) {
  fs::create_directories(home.userLines() / "demo");
  std::ofstream(home.userLines() / "demo" / "notes.txt") << "mine";
  recorder.answer = true;
  begin(home.fakeGenerator(generated.path()));
  ASSERT_TRUE(waitUntil([&] { return !ready.empty(); }));
  EXPECT_EQ(ready, std::vector<fs::path>{home.userLines() / "demo-2"});
  EXPECT_EQ(home.contents(home.userLines() / "demo"), std::vector<std::string>{"notes.txt"});
}

TEST_F(LineStartTest, two_lines_open_the_chooser_and_the_chosen_one_opens) {
  const auto mine = home.makeLine(home.userLines() / "mine", {"<h1>Mine</h1>", {}, {}});
  const auto shared = home.makeLine(home.systemLines() / "shared", {});
  begin(home.fakeGenerator(generated.path()));
  EXPECT_TRUE(recorder.questions.isEmpty());
  EXPECT_TRUE(ready.empty());
  LineChooser* chooser = start->chooser();
  ASSERT_NE(chooser, nullptr);
  EXPECT_TRUE(chooser->isVisible());
  ASSERT_EQ(chooser->list()->count(), 2);
  EXPECT_EQ(chooser->list()->item(0)->text().toStdString(), "Mine") << "the user's first";
  EXPECT_EQ(chooser->list()->item(1)->text().toStdString(), "shared");
  chooser->list()->setCurrentRow(1);
  chooser->openSelected();
  EXPECT_EQ(ready, std::vector<fs::path>{shared});
  EXPECT_EQ(quits, 0);
}

TEST_F(LineStartTest, closing_the_chooser_ends_the_program) {
  home.makeLine(home.userLines() / "a", {});
  home.makeLine(home.userLines() / "b", {});
  begin(GeneratorCommand{});
  ASSERT_NE(start->chooser(), nullptr);
  start->chooser()->close();
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(ready.empty());
}

TEST_F(LineStartTest, the_current_folder_and_data_option_open_without_the_chooser) {
  home.makeLine(home.userLines() / "a", {});
  home.makeLine(home.userLines() / "b", {});
  std::ofstream(home.current() / "korvelan.dat") << "[Path]\r\n";
  begin(GeneratorCommand{});
  EXPECT_EQ(ready, std::vector<fs::path>{home.current()});
  EXPECT_EQ(start->chooser(), nullptr);

  ready.clear();
  const fs::path given = home.root() / "given";
  begin(GeneratorCommand{}, given);
  EXPECT_EQ(ready, std::vector<fs::path>{given});
  EXPECT_EQ(start->chooser(), nullptr);
}

}  // namespace
}  // namespace velmoria
