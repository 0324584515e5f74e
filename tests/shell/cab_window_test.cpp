#include "view/cab_window_qt.h"

#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>

#include <filesystem>
#include <fstream>

#include "frame/startup_error.h"
#include "media/null/null_image_loader.h"
#include "run/creation.h"
#include "support/desktop_fixture.h"
#include "support/language_fixture.h"
#include "support/steps.h"
#include "view/panel_pictures.h"

namespace velmoria {
namespace {

using test::DesktopFixture;
using test::processEvents;

QString u(const char* text) {
  return QString::fromUtf8(text);
}

class CabWindowTest : public DesktopFixture {};

TEST_F(CabWindowTest, the_status_line_shows_the_creation_phases_in_order) {
  choose();
  EXPECT_EQ(statuses,
            (QStringList{u("Formを作成しています"), u("設定ファイルを読み込んでいます"),
                         u("運転台を描画しています"), u("DirectSoundオブジェクトを作成しています"),
                         u("サウンドを読み込んでいます"), u("環境をセットアップしています")}));
  EXPECT_EQ(app->title().size(), QSize(640, 498));
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
  EXPECT_TRUE(cab().isVisible());
  EXPECT_FALSE(app->title().isVisible());
  EXPECT_EQ(cab().surface()->size(), QSize(640, 440));
}

struct FailureCase {
  const char* what;
  std::function<void(test::DataCopy&, std::string& vehicle, std::string& route)> damage;
  const char* messageStart;
  const char* messageEnd;
  const char* lastStatus;
};

class CabCreationFailure : public DesktopFixture,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CabCreationFailure, shows_one_message_and_ends_the_process) {
  const FailureCase& c = GetParam();
  std::string vehicle = "train_test.dat", route = "line_test.dat";
  c.damage(data, vehicle, route);
  EXPECT_THROW(choose(vehicle, route), ProcessEnded);
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(recorder.messages[0].startsWith(u(c.messageStart)))
      << recorder.messages[0].toStdString();
  EXPECT_TRUE(recorder.messages[0].endsWith(u(c.messageEnd))) << recorder.messages[0].toStdString();
  EXPECT_EQ(recorder.exits, 1);
  ASSERT_FALSE(statuses.isEmpty());
  EXPECT_EQ(statuses.back(), u(c.lastStatus));
  EXPECT_FALSE(statuses.contains(u("サウンドを読み込んでいます")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, CabCreationFailure,
    ::testing::Values(
        FailureCase{"vehicle",
                    [](test::DataCopy& d, std::string&, std::string&) {
                      d.write("train_test.dat", "[Brake]\r\nabc\r\n");
                      d.remove("train_test.dat");
                    },
                    "車両ファイルに誤りがあります", "", "設定ファイルを読み込んでいます"},
        FailureCase{
            "route",
            [](test::DataCopy&, std::string&, std::string& route) { route = "line_missing.dat"; },
            "", "", "設定ファイルを読み込んでいます"},
        FailureCase{"strings",
                    [](test::DataCopy& d, std::string&, std::string&) { d.remove("korvelan.dat"); },
                    "stringファイルに誤りがあります", "stringファイルに誤りがあります",
                    "設定ファイルを読み込んでいます"},
        FailureCase{
            "panel_picture",
            [](test::DataCopy& d, std::string&, std::string&) { d.remove("image/emu/panel.bmp"); },
            "image\\emu\\panel.bmpが見つかりません", "が見つかりません", "運転台を描画しています"}),
    [](const auto& info) { return std::string(info.param.what); });

// Each panel picture the cab window cannot load ends the creation with the message
// velmoria-drive's check gives for the same folder, so a route author sees it first.
struct PanelPictureCase {
  const char* what;
  const char* file;  // as the data files name it
  bool refusedNotMissing;
};

class CabPanelPicture : public DesktopFixture,
                        public ::testing::WithParamInterface<PanelPictureCase> {};

TEST_P(CabPanelPicture, is_refused_as_velmoria_drive_refuses_it) {
  const PanelPictureCase& c = GetParam();
  const DataFolder folder(data.path());
  const auto path = folder.resolve(c.file);
  ASSERT_TRUE(std::filesystem::exists(path)) << c.file;
  if (c.refusedNotMissing)  // a BMP header without a bit depth
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        << std::string("BM\0\0\0\0\0\0\0\0\0\0\0\0\x28\0\0\0\x08\0\0\0\x08\0\0\0\x01\0\0\0", 30)
        << std::string(40, '\0');
  else
    std::filesystem::remove(path);

  std::string drive;
  try {
    AppState app;
    app.vehicleFile = "train_test.dat";
    app.routeFile = "line_test.dat";
    NullImageLoader images;
    const RunData d = readRunData(app, folder, images, nullptr, {});
    checkPanelPictures(d.vehicle, d.route, folder, images);
  } catch (const StartupError& e) {
    drive = e.what();
  }
  EXPECT_EQ(drive, missingPictureMessage(c.file));

  EXPECT_THROW(choose(), ProcessEnded);
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_EQ(recorder.messages[0].toStdString(), drive);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, CabPanelPicture,
    ::testing::Values(PanelPictureCase{"door_lamp", "image\\emu\\lamp_door.bmp", false},
                      PanelPictureCase{"speed_needle", "image\\emu\\needle_speed.bmp", false},
                      PanelPictureCase{"others", "image\\emu\\others_plate.bmp", false},
                      PanelPictureCase{"timetable_card", "image\\staf\\staf_test.bmp", false},
                      PanelPictureCase{"door_lamp_without_depth", "image\\emu\\lamp_door.bmp",
                                       true}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(CabWindowTest, a_broken_route_file_names_the_route_error) {
  EXPECT_THROW(choose("train_test.dat", "line_missing.dat"), ProcessEnded);
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(recorder.messages[0].contains(u("路線ファイルに誤りがあります。")));
}

TEST_F(CabWindowTest, menu_captions_come_from_the_strings_file) {
  choose();
  EXPECT_EQ(cab().action("start1")->text(), u("運転開始(&S)"));
  EXPECT_EQ(cab().stationMenu()->title(), u("駅へ移動(&M)"));
  EXPECT_EQ(cab().findChild<QMenu*>("Show1")->title(), u("表示(&V)"));
  EXPECT_EQ(cab().action("menu_d1")->text(), u("操作説明(&H)"));
  EXPECT_EQ(cab().action("menu_d2")->text(), u("再描画(&R)"));
  EXPECT_EQ(cab().findChild<QMenu*>("Controller1")->title(), u("コントローラ(&C)"));
  // Items the strings file does not name keep the design's captions.
  EXPECT_EQ(cab().action("D1")->text(), u("解説モード(&D)"));
  EXPECT_FALSE(cab().action("D1")->isEnabled());
  EXPECT_EQ(cab().action("S1")->text(), u("音声初期化(&S)"));
  EXPECT_EQ(cab().action("COM31")->text(), u("PS用電車でGO! コントローラ(&M)"));
  EXPECT_EQ(cab().action("Connect1")->text(), u("TSマスコン（接続）(&C)"));
}

TEST_F(CabWindowTest, start_and_pause_switch_the_timers_and_the_caption) {
  choose();
  EXPECT_FALSE(cab().timer1().isActive());
  cab().start1Click();
  EXPECT_EQ(cab().action("start1")->text(), u("一時停止(&S)"));
  EXPECT_TRUE(cab().timer1().isActive());
  EXPECT_TRUE(cab().mmTimer().isActive());
  EXPECT_EQ(cab().timer1().interval(), 100);
  EXPECT_EQ(cab().mmTimer().interval(), 33);
  EXPECT_EQ(cab().mmTimer().timerType(), Qt::PreciseTimer);
  cab().start1Click();
  EXPECT_EQ(cab().action("start1")->text(), u("運転再開(&S)"));
  EXPECT_FALSE(cab().timer1().isActive());
  EXPECT_FALSE(cab().mmTimer().isActive());
}

TEST_F(CabWindowTest, back_returns_to_the_title_and_the_next_run_gets_a_new_window) {
  choose();
  CabWindow* first = app->cab();
  app->state().e233 = true;
  cab().BackClick();
  processEvents(20);
  EXPECT_FALSE(first->isVisible());
  EXPECT_TRUE(app->title().isVisible());
  EXPECT_EQ(app->title().size(), QSize(640, 480));
  EXPECT_FALSE(app->state().e233);
  EXPECT_FALSE(app->title().findChild<QWidget*>("loading")->isVisibleTo(&app->title()));

  statuses.clear();
  choose();
  EXPECT_EQ(app->cabWindowsCreated(), 2);
  EXPECT_TRUE(cab().isVisible());
  EXPECT_EQ(statuses.size(), 6);
  EXPECT_EQ(cab().action("start1")->text(), u("運転開始(&S)"));
}

TEST_F(CabWindowTest, the_view_menu_offers_the_languages_in_japanese) {
  choose();
  const QMenu* view = cab().findChild<QMenu*>("View1");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->title(), u("表示(&W)"));
  const QMenu* languages = view->findChild<QMenu*>("Language1");
  ASSERT_NE(languages, nullptr);
  EXPECT_EQ(languages->title(), u("言語(&L)"));
  EXPECT_EQ(languages->actions().size(), 3);
}

// The program's own texts in English; what the line's files say stays as they say it.
class EnglishCabWindowTest : public test::EnglishTexts, public DesktopFixture {};

TEST_F(EnglishCabWindowTest, shows_the_programs_texts_in_english_and_the_datas_as_they_are) {
  ASSERT_TRUE(englishLoaded());
  choose();
  EXPECT_EQ(statuses,
            (QStringList{"Creating the cab window", "Reading the settings files", "Drawing the cab",
                         "Opening the sound device", "Loading the sounds", "Setting up the run"}));
  EXPECT_TRUE(recorder.messages.isEmpty()) << recorder.messages.join("|").toStdString();
  EXPECT_EQ(cab().action("D1")->text(), "&Commentary Mode");
  EXPECT_EQ(cab().action("S1")->text(), "Reset &Sound");
  EXPECT_EQ(cab().action("COM11")->text(), "Standard / TS Master Controller (&N)");
  EXPECT_EQ(cab().action("Setup1")->text(), "TS Master Controller Settings... (&P)");
  EXPECT_EQ(cab().action("Connect1")->text(), "Connect TS Master Controller (&C)");
  EXPECT_EQ(cab().findChild<QMenu*>("Language1")->title(), "&Language");
  // The strings file names these, in Japanese.
  EXPECT_EQ(cab().action("start1")->text(), u("運転開始(&S)"));
  EXPECT_EQ(cab().findChild<QMenu*>("Show1")->title(), u("表示(&V)"));
  EXPECT_EQ(cab().action("menu_d1")->text(), u("操作説明(&H)"));
  // The Start item's own captions are the program's.
  cab().start1Click();
  EXPECT_EQ(cab().action("start1")->text(), "Pau&se");
  cab().start1Click();
  EXPECT_EQ(cab().action("start1")->text(), "Re&sume");
  EXPECT_EQ(app->values().windowTitle(), "Value Display");
  QStringList captions;
  for (const QLabel* label : app->values().findChildren<QLabel*>()) captions << label->text();
  EXPECT_TRUE(captions.contains("Acceleration")) << captions.join("|").toStdString();
}

TEST_F(EnglishCabWindowTest, a_data_error_names_the_data_in_an_english_message) {
  EXPECT_THROW(choose("train_test.dat", "line_missing.dat"), ProcessEnded);
  ASSERT_EQ(recorder.messages.size(), 1);
  EXPECT_TRUE(recorder.messages[0].startsWith("The route file contains an error."))
      << recorder.messages[0].toStdString();
}

TEST_F(CabWindowTest, keys_typed_into_the_value_display_drive_the_cab) {
  choose();
  cab().start1Click();
  const int before = poke(run()).handle.brakeStep;
  ASSERT_EQ(before, -8);
  QKeyEvent eight(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, "8");
  QCoreApplication::sendEvent(&app->values(), &eight);
  EXPECT_EQ(poke(run()).handle.brakeStep, -7);
  QKeyEvent two(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2");
  QCoreApplication::sendEvent(app->help().memo(), &two);
  EXPECT_EQ(poke(run()).handle.brakeStep, -7);  // '2' stops at the last service step, B7
  QCoreApplication::sendEvent(app->help().memo(), &eight);
  EXPECT_EQ(poke(run()).handle.brakeStep, -6);
}

TEST_F(CabWindowTest, f5_shows_and_hides_the_value_display) {
  choose();
  QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
  QCoreApplication::sendEvent(&cab(), &f5);
  EXPECT_TRUE(app->values().isVisible());
  QCoreApplication::sendEvent(&app->values(), &f5);
  EXPECT_FALSE(app->values().isVisible());
}

TEST_F(CabWindowTest, before_start_characters_do_nothing_but_the_wheel_steps) {
  choose();
  QKeyEvent eight(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, "8");
  QCoreApplication::sendEvent(&cab(), &eight);
  EXPECT_EQ(poke(run()).handle.brakeStep, -8);
  QWheelEvent toward(QPointF(100, 300), QPointF(100, 300), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&cab(), &toward);
  EXPECT_EQ(poke(run()).handle.brakeStep, -7);
  EXPECT_EQ(panelText("BrakeLabel"), "B7");
}

TEST_F(CabWindowTest, the_station_menu_lists_the_stops_and_jumps_to_them) {
  choose();
  QStringList names;
  for (QAction* a : cab().stationMenu()->actions()) names << a->objectName();
  // 桜川 is passed (kind 1) and 港町 is the last station: neither is listed.
  EXPECT_EQ(names, (QStringList{"Sta0", "Sta1", "Sta3"}));
  EXPECT_EQ(cab().stationMenu()->actions()[1]->text(), u("南台"));
  cab().stationMenu()->actions()[1]->trigger();
  EXPECT_EQ(poke(run()).pos.frame, 4190);  // the middle of the zone 4090-4290
  EXPECT_EQ(panelText("Label4"), u("南台"));
}

TEST_F(CabWindowTest, the_controller_menu_checks_exactly_the_chosen_kind) {
  choose();
  EXPECT_TRUE(cab().action("COM11")->isChecked());
  cab().action("COM31")->trigger();
  EXPECT_EQ(app->state().controllerKind, 2);
  EXPECT_FALSE(cab().action("COM11")->isChecked());
  EXPECT_FALSE(cab().action("COM21")->isChecked());
  EXPECT_TRUE(cab().action("COM31")->isChecked());
  cab().action("COM21")->trigger();
  EXPECT_EQ(app->state().controllerKind, 1);
  EXPECT_FALSE(cab().action("COM31")->isChecked());
}

TEST_F(CabWindowTest, the_panel_is_built_from_the_vehicle_file) {
  choose();
  QWidget* panel = cab().panel().component("Panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->pos(), QPoint(0, 240));
  QWidget* clock = cab().panel().component("clock");
  EXPECT_EQ(clock->geometry(), QRect(575, 375, 50, 50));
  EXPECT_EQ(cab().panel().component("Lamp_stopalert")->geometry(), QRect(258, 291, 35, 17));
  EXPECT_FALSE(cab().panel().component("Lamp_Ats")->isVisibleTo(&cab()));
  EXPECT_TRUE(cab().panel().component("Lamp_Fwd")->isVisibleTo(&cab()));
  EXPECT_EQ(cab().panel().component("timetable")->x(), 640);
  EXPECT_EQ(panelText("CarsLabel"), u("10両"));
  // The video area lies above every panel picture, the timetable card alone above it.
  std::vector<QWidget*> widgets;
  for (QObject* child : cab().surface()->children())
    if (auto* widget = qobject_cast<QWidget*>(child)) widgets.push_back(widget);
  ASSERT_GE(widgets.size(), 2u);
  EXPECT_EQ(widgets.back(), cab().panel().component("timetable"))
      << widgets.back()->objectName().toStdString();
  EXPECT_EQ(widgets[widgets.size() - 2], cab().video())
      << widgets[widgets.size() - 2]->objectName().toStdString();
}

TEST_F(CabWindowTest, a_card_wider_than_the_room_beside_the_video_is_read_whole) {
  const QColor paper(250, 248, 236);
  QImage card(224, 374, QImage::Format_RGB32);
  card.fill(paper);
  ASSERT_TRUE(card.save(
      QString::fromStdString((data.path() / "image" / "staf" / "staf_test.bmp").string()), "BMP"));
  choose();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  cab().handleKey(&f1);
  for (int i = 0; i < 10; ++i) cab().Timer1Timer();  // 30 pixels a tick, to 640 - 224
  QWidget* shown = cab().panel().component("timetable");
  ASSERT_EQ(shown->geometry(), QRect(416, 0, 224, 374));
  // Its left 64 pixels lie over the video area: the card is on top there too.
  EXPECT_EQ(cab().surface()->childAt(420, 100), shown);
  const QImage drawn = cab().surface()->grab().toImage();
  EXPECT_EQ(drawn.pixelColor(420, 100), paper);
  EXPECT_EQ(drawn.pixelColor(470, 230), paper);
  EXPECT_NE(drawn.pixelColor(410, 100), paper) << "left of the card the video shows";
}

}  // namespace
}  // namespace velmoria
