#include "frontend/title_window_qt.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QKeyEvent>
#include <QTest>
#include <fstream>

#include "media/clock.h"
#include "media/null/null_sound_device.h"
#include "media/null/null_video_source.h"
#include "support/pattern_video.h"
#include "support/shell_fixture.h"

namespace velmoria {
namespace {

using test::ShellRecorder;

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

TEST_F(TitleWindowTest, without_korvelan_dat_stderr_names_the_folder_and_how_to_choose_one) {
  std::filesystem::remove(folder.root() / "korvelan.dat");
  ::testing::internal::CaptureStderr();
  EXPECT_THROW(window->create(), ProcessEnded);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("korvelan.dat"), std::string::npos) << err;
  EXPECT_NE(err.find(folder.root().string()), std::string::npos) << err;
  EXPECT_NE(err.find("--data DIR"), std::string::npos) << err;
  EXPECT_EQ(recorder.messages.size(), 1) << "the message box says only what it always said";
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
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
}

TEST_F(TitleWindowTest, help_without_a_browser_says_so_with_the_pages_full_path) {
  window->create();
  recorder.browser = false;
  window->helpclick();
  ASSERT_EQ(recorder.messages.size(), 1);
  const QString page = QString::fromStdString((folder.root() / "readme.html").string());
  ASSERT_TRUE(page.startsWith('/'));
  EXPECT_EQ(recorder.messages[0],
            QString::fromUtf8("readme.htmlを開くブラウザが見つかりません。\n") + page);
  EXPECT_EQ(recorder.exits, 0);
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

// The opening movie with its sound track, on the null sound device and a clock the test moves.
class TitleMovieTest : public TitleWindowTest {
 protected:
  static constexpr int kChannel = MovieArea::kSoundChannel;

  TitleMovieTest() {
    std::filesystem::create_directories(folder.root() / "move");
    std::ofstream(folder.root() / "move" / "opening.avi") << "a movie";
    reader = [this](const std::filesystem::path& file,
                    double maxSeconds) -> std::optional<PcmSound> {
      reads.emplace_back(file, maxSeconds);
      if (!track) return std::nullopt;
      return *track;
    };
    rebuild(15.0);
  }
  ~TitleMovieTest() override { window.reset(); }  // before the sound device and the clock

  void rebuild(double rate) {
    window.reset();
    window = std::make_unique<TitleWindow>(
        app, folder, hooks,
        [this, rate] {
          auto video = std::make_unique<test::PatternVideo>(300, 0, stats);
          video->setFrameRate(rate);
          return video;
        },
        MovieMedia{&sound, reader, &clock});
  }

  ManualClock clock;
  NullSoundDevice sound{clock};
  std::shared_ptr<test::PatternVideoStats> stats =
      std::make_shared<test::PatternVideoStats>();
  // Three seconds of mono sound at 22050 Hz.
  std::optional<PcmSound> track = PcmSound{22050, 1, std::vector<int16_t>(3 * 22050, 100)};
  std::vector<std::pair<std::filesystem::path, double>> reads;
  SoundTrackReader reader;
};

TEST_F(TitleMovieTest, the_sound_track_starts_once_with_the_first_picture) {
  window->create();
  ASSERT_EQ(reads.size(), 1u);
  EXPECT_EQ(reads[0].first.filename(), "opening.avi");
  EXPECT_GE(reads[0].second, 138.0) << "the movie may run for 138 s";
  const WaveId wave = window->movieArea()->soundWave();
  ASSERT_GE(wave, 0);
  EXPECT_EQ(sound.attachedWave(kChannel), wave);
  EXPECT_DOUBLE_EQ(sound.waveDurationMs(wave), 3000.0);
  EXPECT_EQ(sound.playCount(kChannel), 1);
  EXPECT_FALSE(sound.isLooping(kChannel));
  EXPECT_EQ(sound.volume(kChannel), 0);
  EXPECT_EQ(window->movieArea()->shownIndex(), 0);
  clock.set(2999);
  window->movieArea()->showDuePicture();
  EXPECT_TRUE(sound.isPlaying(kChannel));
  EXPECT_EQ(sound.playCount(kChannel), 1) << "pictures do not restart the sound";
  clock.set(3000);
  EXPECT_FALSE(sound.isPlaying(kChannel)) << "it plays once";
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
}

// However the movie ends, its sound stops and its wave is freed: a run started afterwards
// finds the channel empty and no wave left behind.
struct MovieEnd {
  const char* name;
  std::function<void(TitleWindow&)> end;
};

class TitleMovieEnd : public TitleMovieTest, public ::testing::WithParamInterface<MovieEnd> {};

TEST_P(TitleMovieEnd, stops_the_sound_and_frees_its_wave) {
  window->create();
  const WaveId wave = window->movieArea()->soundWave();
  ASSERT_GE(wave, 0);
  clock.set(1000);
  ASSERT_TRUE(sound.isPlaying(kChannel));
  GetParam().end(*window);
  EXPECT_FALSE(sound.isPlaying(kChannel));
  EXPECT_EQ(sound.attachedWave(kChannel), -1);
  EXPECT_FALSE(sound.hasWave(wave));
  EXPECT_EQ(window->movieArea()->soundWave(), -1);
  EXPECT_EQ(sound.playCount(kChannel), 1);
}

INSTANTIATE_TEST_SUITE_P(Ends, TitleMovieEnd,
                         ::testing::Values(MovieEnd{"click",
                                                    [](TitleWindow& w) {
                                                      QTest::mouseClick(w.movieArea(),
                                                                        Qt::LeftButton, {},
                                                                        QPoint(100, 100));
                                                    }},
                                           MovieEnd{"after_138_seconds",
                                                    [](TitleWindow& w) {
                                                      w.timer().stop();
                                                      for (int i = 0; i < 1381; ++i)
                                                        w.Timer1Timer();
                                                      EXPECT_FALSE(w.movieShown());
                                                    }},
                                           MovieEnd{"closing_the_window",
                                                    [](TitleWindow& w) { w.close(); }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TitleMovieTest, destroying_the_window_frees_the_sound) {
  window->create();
  const WaveId wave = window->movieArea()->soundWave();
  ASSERT_GE(wave, 0);
  window.reset();
  EXPECT_FALSE(sound.hasWave(wave));
  EXPECT_EQ(sound.attachedWave(kChannel), -1);
}

TEST_F(TitleMovieTest, a_movie_without_sound_plays_silently_without_a_message) {
  track.reset();
  window->create();
  EXPECT_EQ(reads.size(), 1u);
  EXPECT_EQ(window->movieArea()->soundWave(), -1);
  EXPECT_EQ(sound.attachedWave(kChannel), -1);
  EXPECT_EQ(sound.playCount(kChannel), 0);
  EXPECT_EQ(window->movieArea()->shownIndex(), 0);
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
}

TEST_F(TitleMovieTest, a_sound_the_device_refuses_leaves_the_movie_silent) {
  track = PcmSound{22050, 5, std::vector<int16_t>(500, 1)};  // five channels
  window->create();
  EXPECT_EQ(window->movieArea()->soundWave(), -1);
  EXPECT_EQ(sound.attachedWave(kChannel), -1);
  EXPECT_TRUE(window->movieShown());
  EXPECT_TRUE(recorder.messages.isEmpty());
}

struct PictureCase {
  double rate;  // as the movie states it
  int64_t ms;   // since the first picture
  int index;    // the picture due: floor(ms x rate / 1000)
};

class MoviePictures : public TitleMovieTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(MoviePictures, the_picture_due_follows_the_movies_own_rate) {
  const PictureCase& c = GetParam();
  rebuild(c.rate);
  window->create();
  EXPECT_EQ(window->movieArea()->shownIndex(), 0);
  clock.set(c.ms);
  window->movieArea()->showDuePicture();
  EXPECT_EQ(window->movieArea()->shownIndex(), c.index);
}

INSTANTIATE_TEST_SUITE_P(Rates, MoviePictures,
                         ::testing::Values(PictureCase{15, 66, 0},       // 0.99
                                           PictureCase{15, 67, 1},       // 1.005
                                           PictureCase{15, 999, 14},     // 14.985
                                           PictureCase{15, 1000, 15},    //
                                           PictureCase{15, 19999, 299},  // the last of 300 pictures
                                           PictureCase{25, 39, 0},       // 0.975
                                           PictureCase{25, 40, 1},       //
                                           PictureCase{25, 10000, 250},  //
                                           PictureCase{0, 34, 1},  // no stated rate: 30 a second
                                           PictureCase{0, 33, 0}));

TEST_F(TitleMovieTest, only_a_changed_picture_is_decoded) {
  window->create();
  ASSERT_EQ(stats->decodes, 1);
  clock.set(50);  // still picture 0 at 15 a second
  window->movieArea()->showDuePicture();
  EXPECT_EQ(stats->decodes, 1);
  clock.set(200);  // picture 3: the ones in between are skipped, not decoded
  window->movieArea()->showDuePicture();
  EXPECT_EQ(window->movieArea()->shownIndex(), 3);
  EXPECT_EQ(stats->decodes, 2);
  clock.set(19999);  // the last of the 300 pictures (20 s)
  window->movieArea()->showDuePicture();
  EXPECT_EQ(window->movieArea()->shownIndex(), 299);
  EXPECT_EQ(stats->decodes, 3);
  EXPECT_TRUE(window->movieShown());
}

// A movie shorter than 138 s ends with its file, as a click would end it; the title follows.
struct FileEnd {
  const char* name;
  double soundSeconds;  // the movie's pictures last 20 s
  int64_t lastShownMs;  // the movie is still shown here
  int64_t endedMs;      // and has ended here
};

class TitleMovieFileEnd : public TitleMovieTest, public ::testing::WithParamInterface<FileEnd> {};

TEST_P(TitleMovieFileEnd, ends_the_movie_when_the_file_ends) {
  const FileEnd& c = GetParam();
  if (c.soundSeconds > 0)
    track =
        PcmSound{22050, 1, std::vector<int16_t>(static_cast<size_t>(c.soundSeconds * 22050), 1)};
  else
    track.reset();
  window->create();
  window->timer().stop();
  window->move(400, 300);
  for (int i = 0; i < 50; ++i) window->Timer1Timer();  // the buttons stay hidden meanwhile
  clock.set(c.lastShownMs);
  window->movieArea()->showDuePicture();
  ASSERT_TRUE(window->movieShown());
  EXPECT_EQ(window->size(), QSize(320, 240));
  clock.set(c.endedMs);
  window->movieArea()->showDuePicture();
  EXPECT_FALSE(window->movieShown());
  EXPECT_FALSE(window->movieArea()->playing());
  EXPECT_EQ(window->size(), QSize(640, 480));
  EXPECT_EQ(window->pos(), QPoint(240, 180));
  EXPECT_EQ(window->tickCount(), 0) << "the buttons appear from here, one per tick";
  EXPECT_EQ(sound.attachedWave(kChannel), -1);
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Ends, TitleMovieFileEnd,
    ::testing::Values(FileEnd{"sound_shorter_than_the_pictures", 3, 19999, 20000},
                      FileEnd{"without_sound", 0, 19999, 20000},
                      FileEnd{"sound_longer_than_the_pictures", 25, 24999, 25000}),
    [](const auto& info) { return std::string(info.param.name); });

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
