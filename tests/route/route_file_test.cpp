#include "route/route_file.h"

#include <gtest/gtest.h>

#include "media/null/null_image_loader.h"
#include "support/data_files.h"

namespace velmoria {
namespace {

const std::string kError = "路線ファイルに誤りがあります。";

struct RouteFixture {
  test::TempDataFolder dir;
  NullImageLoader images;
  ImageLists lists;
  ReaderContext context;

  RouteFixture() { dir.writeBmp("s.bmp", 50, 50); }
  Route read(const std::string& text) {
    dir.write("r.dat", text);
    return readRouteFile(dir.folder(), "r.dat", context, images, lists);
  }
};

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// --- The committed route fixture ---

class LineFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    NullImageLoader images;
    ReaderContext context;
    lists = new ImageLists;
    r = new Route(readRouteFile(test::fixtureFolder(), "line_test.dat", context, images, *lists));
  }
  static void TearDownTestSuite() {
    delete r;
    delete lists;
  }
  static Route* r;
  static ImageLists* lists;
};
Route* LineFixture::r = nullptr;
ImageLists* LineFixture::lists = nullptr;

TEST_F(LineFixture, settings_hold_the_file_lines) {
  // The wave dash of the file (CP932 0x8160) arrives as U+FF5E.
  EXPECT_EQ(r->LineName, "ヴェルモリア本線 北野\xEF\xBD\x9E港町");
  EXPECT_EQ(r->StartPos, 200);
  EXPECT_EQ(r->FrameRate, 30);
  EXPECT_EQ(r->StafCard, "image\\staf\\staf_test.bmp");
  EXPECT_EQ(r->StafStill, "image\\staf\\still_test.bmp");
  EXPECT_EQ(r->StartTime, 1080000);
  EXPECT_EQ(r->Speed_YY, 25);
  EXPECT_EQ(r->Speed_G, 100);
  EXPECT_EQ(r->DataName, "line_test");
  EXPECT_EQ(r->Pre_Time, 180 * 30);
  EXPECT_EQ(r->OneMan, 0);
  EXPECT_EQ(r->fileName, "line_test.dat");
}

TEST_F(LineFixture, stations_arrive_with_utf8_names_in_line_order) {
  ASSERT_EQ(r->StationTable.size(), 5u);
  const StationEntry& first = r->StationTable[0];
  EXPECT_EQ(first.name, "北野");
  EXPECT_EQ(first.type, 0);
  EXPECT_EQ(first.zoneStart, 100);
  EXPECT_EQ(first.stopFrame, 300);
  EXPECT_EQ(first.arrivalSound, 6);
  EXPECT_EQ(first.departureSound, 7);
  EXPECT_EQ(first.departureTime, 1080900);
  EXPECT_EQ(first.closeTime, 1081200);
  EXPECT_EQ(r->StationTable[2].name, "桜川");
  EXPECT_EQ(r->StationTable[2].type, 1);
  EXPECT_EQ(r->StationTable[4].name, "港町");
  EXPECT_EQ(r->StationTable[4].closeTime, kTerminusTime);
  // Kinds 0, 0, 1, 2, 0: the passed station and the terminus get no jump entry.
  EXPECT_EQ(r->stationMenu, (std::vector<int>{0, 1, 3}));
}

TEST_F(LineFixture, event_tables_hold_every_field) {
  ASSERT_EQ(r->SignalTable.size(), 10u);
  const SignalEntry& s = r->SignalTable[0];
  EXPECT_EQ(s.mode, 1);
  EXPECT_EQ(s.label, "北野 出発");
  EXPECT_EQ(s.number, 1);
  EXPECT_EQ(s.kind, 3);
  EXPECT_EQ(s.viewFrame, 0);
  EXPECT_EQ(s.signalFrame, 600);
  EXPECT_EQ(s.warningFrame, 50);
  EXPECT_EQ(s.checkFrame, 580);
  EXPECT_EQ(s.fixedLevel, 0);
  EXPECT_EQ(s.fixedUntil, 1080900);
  ASSERT_EQ(r->SlopeTable.size(), 4u);
  EXPECT_EQ(r->SlopeTable[1].gradient.raw, -50000);
  EXPECT_EQ(r->SlopeTable[2].gradient.raw, 35000);
  EXPECT_EQ(r->SlopeTable[1].startFrame, 5690);
  ASSERT_EQ(r->SpeedLimitTable.size(), 2u);
  EXPECT_EQ(r->SpeedLimitTable[0].limit, 65);
  EXPECT_EQ(r->SpeedLimitTable[0].picture, 1);
  EXPECT_EQ(r->SpeedLimitTable[0].startFrame, 7865);
  EXPECT_EQ(r->SpeedLimitTable[0].endFrame, 8765);
  ASSERT_EQ(r->SpeedCheckTable.size(), 2u);
  EXPECT_EQ(r->SpeedCheckTable[1].speed, 50);
  ASSERT_EQ(r->SpeedUnitTable.size(), 22u);
  EXPECT_EQ(r->SpeedUnitTable[1].startFrame, 200);
  EXPECT_EQ(r->SpeedUnitTable[1].endFrame, 1175);
  EXPECT_EQ(r->SpeedUnitTable[1].startSpeed, 5);
  EXPECT_EQ(r->SpeedUnitTable[1].endSpeed, 70);
  EXPECT_EQ(r->SpeedUnitTable.back().endFrame, 16340);
  ASSERT_EQ(r->TunnelTable.size(), 2u);
  EXPECT_EQ(r->TunnelTable[1].startFrame, 11240);
  EXPECT_EQ(r->TunnelTable[1].endFrame, 11940);
  ASSERT_EQ(r->TimeEventTable.size(), 4u);
  EXPECT_EQ(r->TimeEventTable[1].kind, 1);
  EXPECT_EQ(r->DopplerTable.size(), 1u);
  EXPECT_EQ(r->DopplerTable[0].radius, 15000);
  EXPECT_EQ(r->SignTable.size(), 3u);
  EXPECT_EQ(r->SignalKankoTable.size(), 9u);
  EXPECT_EQ(r->StationKankoTable.size(), 2u);
  EXPECT_EQ(r->StopSoundTable, (std::vector<int32_t>{6}));
}

TEST_F(LineFixture, sounds_and_commentary_keep_their_numbers) {
  ASSERT_EQ(r->SoundDataList.size(), 15u);
  EXPECT_EQ(r->SoundDataList[0], "Sound\\Route\\announce_overrun.wav");
  ASSERT_EQ(r->AnnounceTable.size(), 7u);
  EXPECT_EQ(r->AnnounceTable[1].sound, 1);
  EXPECT_EQ(r->AnnounceTable[1].frame, 1300);
  // The comment lines of [Sound] take no entry.
  ASSERT_EQ(r->SoundCueTable.size(), 3u);
  const SoundCueEntry& point = r->SoundCueTable[0];
  EXPECT_EQ(point.sound, 3);
  EXPECT_EQ(point.startFrame, 650);
  EXPECT_EQ(point.endFrame, 720);
  EXPECT_EQ(point.referenceSpeed, 40);
  EXPECT_EQ(point.type, 0);
  EXPECT_EQ(point.followSpeed, 1);
  EXPECT_EQ(point.volumeFollows, 1);
  EXPECT_EQ(r->KankoSound1[0], "sound\\kanko\\signal_r.wav");
  EXPECT_EQ(r->KankoSound1[14], "");
  EXPECT_EQ(r->KankoSound1[17], "sound\\kanko\\ontime.wav");
  EXPECT_TRUE(r->hasKankoSound2);
  EXPECT_EQ(r->KankoSound2.size(), 14u);
  EXPECT_EQ(r->kankoClipCount(), 32);
  EXPECT_EQ(r->OtherImageTexts.size(), 6u);
  EXPECT_EQ(r->OtherImageTexts[0], "");
  EXPECT_EQ(r->OtherImageTexts[1], "sound\\kanko\\seigen65.wav");
}

TEST_F(LineFixture, the_three_picture_lists_are_loaded) {
  EXPECT_EQ(lists->SignImageList.size(), 2u);
  EXPECT_EQ(lists->OtherImageList.size(), 6u);
  ASSERT_EQ(lists->SignalImageList.size(), 22u);
  EXPECT_EQ(lists->SignalImageList[21].width, 50);
  EXPECT_EQ(lists->SignalImageList[21].height, 100);
  EXPECT_EQ(lists->OtherImageList[0].width, 100);
}

TEST_F(LineFixture, the_picture_names_are_kept_as_the_file_gives_them) {
  EXPECT_EQ(r->SignImageFiles,
            (std::vector<std::string>{"image\\sign\\slope_up.bmp", "image\\sign\\slope_down.bmp"}));
  ASSERT_EQ(r->OtherImageFiles.size(), r->OtherImageTexts.size());
  EXPECT_EQ(r->OtherImageFiles[0], "image\\sign\\board_jikoku.bmp");
  EXPECT_EQ(r->OtherImageFiles[1], "image\\sign\\limit65.bmp");
  EXPECT_EQ(r->SignalImageFiles.size(), lists->SignalImageList.size());
}

// --- Failure messages: label, ':' and the current line ---

struct FailureCase {
  const char* what;
  std::string file;
  std::string tail;  // what follows the route message
};

class RouteFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(RouteFailure, names_the_label_and_quotes_the_line) {
  RouteFixture f;
  SCOPED_TRACE(GetParam().what);
  EXPECT_STARTUP_ERROR(f.read(GetParam().file), kError + GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RouteFailure,
    ::testing::Values(
        FailureCase{"a bad setting", "[StartPos]\nabc\n", "other:abc"},
        FailureCase{"a signal line of nine fields", "[Signal]\n0,A,1,1,10,20,5,15,0\n#\n",
                    "[Signal]:0,A,1,1,10,20,5,15,0"},
        FailureCase{"a station name with a comma", "[Station]\n港,町,0,1,2,0,0,0,0\n#\n",
                    "[Station]:港,町,0,1,2,0,0,0,0"},
        FailureCase{"a bad gradient", "[Slope]\n1.5.0,1,2\n#\n", "[Slope]:1.5.0,1,2"},
        FailureCase{"the second line of a tunnel", "[Tunnel]\n10\nend\n#\n", "[Tunnel]:end"},
        FailureCase{"a time line with three fields", "[Time]\n0,1,2\n#\n", "[Time]:0,1,2"},
        FailureCase{"a sound cue with a blank before a field", "[Sound]\n1,2,3,4,5,6,7 \n#\n",
                    "[Sound]:1,2,3,4,5,6,7 "},
        FailureCase{"an empty sign picture line", "[SignImageList]\n\n#\n", "[SignImageList]:"},
        FailureCase{"a folder is not a picture", "[SignImageList]\n.\n#\n", "[SignImageList]:."},
        FailureCase{"a missing picture", "[OtherImageList]\nmissing.bmp\nm.wav\n#\n",
                    "[OtherImageList]:missing.bmp"},
        FailureCase{"a missing signal picture", "[SignalImageList]\ns.bmp\nno.bmp\n#\n",
                    "[SignalImageList]:no.bmp"},
        FailureCase{"a head start too long to hold in frames", "[Pre_Time]\n100000000\n",
                    "other:100000000"},
        // A setting read after a list gets the label "other" again at the start of its pass.
        FailureCase{"a setting after a list", "[Station]\n#\n[OneMan]\nyes\n", "other:yes"}));

TEST(RouteFileTest, a_file_that_cannot_be_opened_shows_what_the_previous_reader_left) {
  test::TempDataFolder dir;
  NullImageLoader images;
  ImageLists lists;
  ReaderContext context{"[Others]", "#"};
  EXPECT_STARTUP_ERROR(readRouteFile(dir.folder(), "none.dat", context, images, lists),
                       kError + "[Others]:#");
}

// --- Capacities ---

struct CapacityCase {
  const char* header;
  std::string entry;
  int capacity;
};

class RouteListCapacity : public ::testing::TestWithParam<CapacityCase> {};

TEST_P(RouteListCapacity, a_full_table_reads_and_one_more_entry_fails) {
  const CapacityCase& c = GetParam();
  const std::string header = c.header;
  RouteFixture f;
  EXPECT_NO_THROW(f.read(header + "\n" + repeat(c.entry + "\n", c.capacity) + "#\n")) << c.header;
  RouteFixture g;
  std::string firstLine = c.entry.substr(0, c.entry.find('\n'));
  EXPECT_STARTUP_ERROR(g.read(header + "\n" + repeat(c.entry + "\n", c.capacity + 1) + "#\n"),
                       kError + header + ":" + firstLine);
}

INSTANTIATE_TEST_SUITE_P(Lists, RouteListCapacity,
                         ::testing::Values(CapacityCase{"[SoundData]", "a.wav", 501},
                                           CapacityCase{"[Station]", "S,0,1,2,0,0,0,0", 501},
                                           CapacityCase{"[Tunnel]", "1\n2", 501},
                                           CapacityCase{"[SpeedUnit]", "0,10,60,60", 501},
                                           CapacityCase{"[Time]", "0,1,2,3", 100},
                                           CapacityCase{"[KankoSound2]", "k.wav", 483},
                                           CapacityCase{"[OtherImageList]", "s.bmp\nb.wav", 100}));

TEST(RouteFileTest, comment_lines_of_sound_cues_take_no_place_in_the_table) {
  RouteFixture f;
  const std::string cue = "1,2,3,4,5,6,7\n;note\n";
  const Route r = f.read("[Sound]\n;first\n" + repeat(cue, 501) + "#\n");
  EXPECT_EQ(r.SoundCueTable.size(), 501u);
}

TEST(RouteFileTest, a_list_without_a_closing_line_ends_with_the_file) {
  RouteFixture f;
  const Route r = f.read("[OneMan]\n1\n[SoundData]\na.wav\nb.wav");
  EXPECT_EQ(r.SoundDataList, (std::vector<std::string>{"a.wav", "b.wav"}));
  EXPECT_EQ(r.OneMan, 1);
}

// --- Station jump entries ---

struct MenuCase {
  std::vector<int> kinds;
  std::vector<int> menu;
};

class StationMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(StationMenu, lists_stops_but_never_the_last_station) {
  std::vector<StationEntry> stations;
  for (int kind : GetParam().kinds) {
    StationEntry s;
    s.type = kind;
    stations.push_back(s);
  }
  EXPECT_EQ(buildStationMenu(stations), GetParam().menu);
}

INSTANTIATE_TEST_SUITE_P(Kinds, StationMenu,
                         ::testing::Values(MenuCase{{}, {}}, MenuCase{{0}, {}},
                                           MenuCase{{0, 0}, {0}}, MenuCase{{1, 2, 0}, {1}},
                                           MenuCase{{0, 1, 2, 3, 0}, {0, 2}},
                                           MenuCase{{2, 2, 2}, {0, 1}}));

TEST(StationMenuTest, more_than_a_hundred_stations_are_all_offered) {
  std::vector<StationEntry> stations(150);
  const auto menu = buildStationMenu(stations);
  ASSERT_EQ(menu.size(), 149u);
  EXPECT_EQ(menu[120], 120);
}

// --- Sections ---

TEST(RouteFileTest, commentary_sound_1_reads_exactly_18_lines_without_a_closing_line) {
  RouteFixture f;
  std::string lines;
  for (int i = 0; i < 18; ++i) lines += (i == 3 ? "#3" : "k" + std::to_string(i)) + "\n";
  const Route r = f.read("[KankoSound1]\n" + lines + "[OneMan]\n1\n");
  EXPECT_EQ(r.KankoSound1[3], "#3");
  EXPECT_EQ(r.KankoSound1[17], "k17");
  EXPECT_EQ(r.OneMan, 1);
  EXPECT_FALSE(r.hasKankoSound2);
  EXPECT_EQ(r.kankoClipCount(), 0);
}

TEST(RouteFileTest, commentary_sound_1_cut_off_by_the_end_of_the_file_has_empty_names) {
  RouteFixture f;
  const Route r = f.read("[KankoSound1]\na.wav\n");
  EXPECT_EQ(r.KankoSound1[0], "a.wav");
  EXPECT_EQ(r.KankoSound1[1], "");
}

TEST(RouteFileTest, a_list_met_again_starts_its_table_afresh) {
  RouteFixture f;
  const Route r = f.read(
      "[StopSound]\n1\n2\n#\n[StopSound]\n3\n#\n[KankoSound2]\na\nb\n#\n"
      "[KankoSound2]\nc\n#\n");
  EXPECT_EQ(r.StopSoundTable, (std::vector<int32_t>{3}));
  EXPECT_EQ(r.KankoSound2, (std::vector<std::string>{"c"}));
  EXPECT_EQ(r.kankoClipCount(), 19);
}

TEST(RouteFileTest, the_head_start_is_held_in_frames) {
  RouteFixture f;
  EXPECT_EQ(f.read("[Pre_Time]\n2\n").Pre_Time, 60);
  RouteFixture g;
  EXPECT_EQ(g.read("[Pre_Time]\n-3\n").Pre_Time, -90);
}

TEST(RouteFileTest, route_pictures_follow_the_vehicles_stop_line) {
  RouteFixture f;
  f.lists.SignImageList.push_back(ImageInfo{99, 50, 50});  // the vehicle's [StopLine]
  f.dir.writeBmp("pics/up.bmp", 50, 50);
  f.read("[SignImageList]\nPICS\\UP.bmp\ns.bmp\n#\n");
  ASSERT_EQ(f.lists.SignImageList.size(), 3u);
  EXPECT_EQ(f.lists.SignImageList[0].id, 99);
}

TEST(RouteFileTest, an_empty_text_field_is_an_empty_text) {
  // The label is field 2, empty between two commas.
  RouteFixture f;
  const Route r = f.read("[Signal]\n0,,1,1,10,20,5,15,0,0\n#\n");
  EXPECT_EQ(r.SignalTable.at(0).label, "");
}

}  // namespace
}  // namespace velmoria
