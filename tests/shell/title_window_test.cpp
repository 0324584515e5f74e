#include "frontend/title_window_qt.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QKeyEvent>
#include <QTest>
#include <fstream>

#include "media/null/null_video_source.h"
#include "support/shell_fixture.h"

namespace velmoria {
namespace {

using testing::ShellRecorder;

class TitleWindowTest : public ::testing::Test {
 protected:
  TitleWindowTest() : folder(makeFolder()) {
    hooks = recorder.hooks();
    window = std::make_unique<TitleWindow>(app, folder, hooks,
                                           [] { return std::make_unique<NullVideoSource>(300); });
    window->onRun = [this](const std::string& v, const std::string& r) {
      chosen.emplace_back(v, r);
    };
  }
  ~TitleWindowTest() override { std::filesystem::remove_all(folder.root()); }

  static DataFolder makeFolder() {
    static int n = 0;
    auto dir = std::filesystem::temp_directory_path() /
               ("velmoria-title-" + std::to_string(getpid()) + "-" + std::to_string(n++));
    std::filesystem::create_directories(dir / "image" / "title");
    std::ofstream(dir / "korvelan.dat") << "[Path]\r\nmove\\\r\n";
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    picture.save(QString::fromStdString((dir / "image" / "title" / "01.jpg").string()), "JPG");
    return DataFolder(dir);
  }

  void tick(int n) {
    for (int i = 0; i < n; ++i) window->Timer1Timer();
  }

  ShellRecorder recorder;
  ShellHooks hooks;
  AppState app;
  DataFolder folder;
  std::unique_ptr<TitleWindow> window;
  std::vector<std::pair<std::string, std::string>> chosen;
};

TEST_F(TitleWindowTest, starts_small_with_the_movie_area_and_no_buttons) {
  window->create();
  EXPECT_EQ(window->size(), QSize(320, 240));
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
  for (int run = 1; run <= 6; ++run) EXPECT_FALSE(window->button(run)->isVisibleTo(window.get()));
}

TEST_F(TitleWindowTest, clicking_the_movie_grows_the_window_about_the_same_centre) {
  window->create();
  window->move(400, 300);
  window->aviclick();
  EXPECT_EQ(window->size(), QSize(640, 480));
  EXPECT_EQ(window->pos(), QPoint(240, 180));
  EXPECT_FALSE(window->movieShown());
}

TEST_F(TitleWindowTest, buttons_appear_one_per_tick_from_the_third) {
  window->create();
  window->aviclick();
  // After tick n the counter is n: run k shows once it is above k + 1, HELP above 8, Quit 9.
  const auto shown = [&](PanelImage* b) { return b->isVisibleTo(window.get()); };
  tick(2);
  EXPECT_FALSE(shown(window->button(1)));
  tick(1);  // 3
  EXPECT_TRUE(shown(window->button(1)));
  EXPECT_FALSE(shown(window->button(2)));
  tick(4);  // 7
  EXPECT_FALSE(shown(window->button(6)));
  EXPECT_TRUE(shown(window->button(5)));
  tick(1);  // 8
  EXPECT_TRUE(shown(window->button(6)));
  EXPECT_FALSE(shown(window->helpButton()));
  tick(1);  // 9
  EXPECT_TRUE(shown(window->helpButton()));
  EXPECT_FALSE(shown(window->quitButton()));
  tick(1);  // 10
  EXPECT_TRUE(shown(window->quitButton()));
}

TEST_F(TitleWindowTest, the_movie_ends_by_itself_after_138_seconds) {
  window->create();
  window->timer().stop();
  tick(1380);
  EXPECT_TRUE(window->movieShown());
  tick(1);  // the 1381st tick finds the counter at 1380
  EXPECT_FALSE(window->movieShown());
  EXPECT_EQ(window->tickCount(), 1);
}

TEST_F(TitleWindowTest, without_korvelan_dat_the_program_ends_with_its_message) {
  std::filesystem::remove(folder.root() / "korvelan.dat");
  EXPECT_THROW(window->create(), ProcessEnded);
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_EQ(recorder.messages[0],
            QString::fromUtf8("実行ファイルが正しい場所に配置されていません"));
  EXPECT_EQ(recorder.exits, 1);
}

TEST_F(TitleWindowTest, a_missing_title_picture_is_reported_and_start_up_goes_on) {
  std::filesystem::remove(folder.root() / "image" / "title" / "01.jpg");
  window->create();
  EXPECT_EQ(recorder.messages.size(), 1);
  EXPECT_EQ(recorder.exits, 0);
}

struct RunCase {
  int run;
  bool shift;
  const char* vehicle;
  const char* route;
};

class TitleRunChoice : public TitleWindowTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(TitleRunChoice, picks_the_vehicle_and_route_of_the_button) {
  const RunCase& c = GetParam();
  window->create();
  window->aviclick();
  if (c.shift) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QCoreApplication::sendEvent(window.get(), &press);
  }
  window->TrainClick(c.run);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0].first, c.vehicle);
  EXPECT_EQ(chosen[0].second, c.route);
  EXPECT_FALSE(window->timer().isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TitleRunChoice,
    ::testing::Values(RunCase{1, false, "train_201.dat", "line_rapid1.dat"},
                      RunCase{1, true, "train_201.dat", "line_rapid1.dat"},
                      RunCase{2, false, "train_201.dat", "line_rapid2.dat"},
                      RunCase{2, true, "train_E233.dat", "line_rapid2_E233.dat"},
                      RunCase{3, false, "train_201.dat", "line_rapid3.dat"},
                      RunCase{3, true, "train_E233.dat", "line_rapid3_E233.dat"},
                      RunCase{4, true, "train_183.dat", "line_exp4.dat"},
                      RunCase{5, false, "train_201.dat", "line_rapid5.dat"},
                      RunCase{6, false, "train_201.dat", "line_local6.dat"}));

TEST_F(TitleWindowTest, releasing_any_key_drops_the_e233_variant) {
  window->create();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
  QCoreApplication::sendEvent(window.get(), &press);
  EXPECT_TRUE(app.e233);
  EXPECT_TRUE(window->findChild<QLabel*>("TrainE233")->isVisibleTo(window.get()));
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
  QCoreApplication::sendEvent(window.get(), &release);
  EXPECT_FALSE(app.e233);
  EXPECT_FALSE(window->findChild<QLabel*>("TrainE233_2")->isVisibleTo(window.get()));
  window->TrainClick(2);
  EXPECT_EQ(chosen.at(0).first, "train_201.dat");
}

TEST_F(TitleWindowTest, help_opens_the_readme_page) {
  window->create();
  window->helpclick();
  ASSERT_EQ(recorder.opened.size(), 1);
  EXPECT_TRUE(recorder.opened[0].endsWith("readme.html"));
}

TEST_F(TitleWindowTest, the_status_line_shows_only_in_the_taller_window) {
  window->create();
  window->aviclick();
  window->showStatusLine(true);
  window->setStatus(QString::fromUtf8("Formを作成しています"));
  EXPECT_EQ(window->size(), QSize(640, 498));
  EXPECT_EQ(window->statusLine()->geometry(), QRect(0, 480, 640, 18));
  EXPECT_EQ(window->statusLine()->text(), QString::fromUtf8("Formを作成しています"));
  window->showStatusLine(false);
  EXPECT_EQ(window->size(), QSize(640, 480));
}

TEST(RunHints, every_button_has_a_japanese_hint) {
  ShellRecorder recorder;
  ShellHooks hooks = recorder.hooks();
  AppState app;
  DataFolder folder("/nonexistent");
  TitleWindow window(app, folder, hooks, [] { return std::make_unique<NullVideoSource>(); });
  EXPECT_EQ(window.button(1)->toolTip(),
            QString::fromUtf8("通勤時間帯の快速です。3分遅れでスタートします。"));
  EXPECT_EQ(window.button(2)->toolTip(), QString::fromUtf8("日中時間帯の快速です。"));
  EXPECT_EQ(window.button(3)->toolTip(), QString::fromUtf8("休日ダイヤの快速です。"));
  EXPECT_TRUE(window.button(4)->toolTip().contains(QString::fromUtf8("183")));
  EXPECT_TRUE(window.button(5)->toolTip().contains(QString::fromUtf8("支線")));
  EXPECT_TRUE(window.button(6)->toolTip().contains(QString::fromUtf8("支線")));
  EXPECT_EQ(window.button(4)->pos(), QPoint(480, 292));
  EXPECT_EQ(window.button(3)->pos(), QPoint(340, 382));
  EXPECT_EQ(window.button(1)->size(), QSize(130, 36));
}

}  // namespace
}  // namespace velmoria
