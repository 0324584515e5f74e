#include "vehicle/vehicle_file.h"

#include <gtest/gtest.h>

#include "media/null/null_image_loader.h"
#include "support/data_files.h"

namespace velmoria {
namespace {

const std::string kError = "車両ファイルに誤りがあります";

// Reads `text` as the vehicle file "v.dat" of a fresh folder.
struct VehicleFixture {
  test::TempDataFolder dir;
  NullImageLoader images;
  ImageLists lists;
  ReaderContext context;

  Vehicle read(const std::string& text) {
    dir.write("v.dat", text);
    return readVehicleFile(dir.folder(), "v.dat", context, images, lists);
  }
};

// --- The committed EMU fixture, value by value ---

class EmuFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    NullImageLoader images;
    ReaderContext context;
    lists = new ImageLists;
    v = new Vehicle(
        readVehicleFile(test::fixtureFolder(), "train_test.dat", context, images, *lists));
  }
  static void TearDownTestSuite() {
    delete v;
    delete lists;
  }
  static Vehicle* v;
  static ImageLists* lists;
};
Vehicle* EmuFixture::v = nullptr;
ImageLists* EmuFixture::lists = nullptr;

TEST_F(EmuFixture, single_values_hold_the_file_lines) {
  EXPECT_EQ(v->Handle, 0);
  EXPECT_EQ(v->BrakeType, 1);
  EXPECT_EQ(v->Brake, 8);
  EXPECT_EQ(v->Power, 4);
  EXPECT_EQ(v->Hold, 0);
  EXPECT_EQ(v->BrakeRate.raw, 42000);
  EXPECT_EQ(v->PowerDelay, 3);
  EXPECT_EQ(v->EBPress, 440);
  EXPECT_EQ(v->HighAirPress, 880);
  EXPECT_EQ(v->Engine_Type, 1);
  EXPECT_EQ(v->Mt.raw, 2100000);
  EXPECT_EQ(v->Tt.raw, 1100000);
  EXPECT_EQ(v->Tons.raw, 3200000);
  EXPECT_EQ(v->Cars, 10);
  EXPECT_EQ(v->StopLine, "image\\sign\\stopline.bmp");
  EXPECT_EQ(v->EB, 1);
  EXPECT_EQ(v->MaxSpeed, 100);
  EXPECT_EQ(v->Lose_elec, 7);
  EXPECT_EQ(v->ATS_Type, 0);
  EXPECT_EQ(v->ATS_Time, 5);
  EXPECT_EQ(v->Sound_br1, 11);
  EXPECT_EQ(v->Sound_Horn, 17);
  EXPECT_EQ(v->Stop, 27);
  EXPECT_EQ(v->Buzzer, (std::array<int32_t, 2>{28, 29}));
  EXPECT_EQ(v->DepSign, 30);
  EXPECT_EQ(v->EngineSound, (std::array<int32_t, 3>{31, 31, 31}));
  EXPECT_EQ(v->fileName, "train_test.dat");
}

TEST_F(EmuFixture, the_notch_table_has_five_lines_per_notch) {
  ASSERT_EQ(v->NotchTable.size(), 4u);
  const NotchEntry& n4 = v->NotchTable[3];
  EXPECT_EQ(n4.a0, 2.5);
  EXPECT_EQ(n4.a1, 2.5);
  EXPECT_EQ(n4.s1, 36);
  EXPECT_EQ(n4.s2, 60);
  EXPECT_EQ(n4.k, 0.97);
  EXPECT_EQ(v->NotchTable[0].a1, 1.0);
}

TEST_F(EmuFixture, sound_lists_keep_their_positions) {
  ASSERT_EQ(v->MotorSoundTable.size(), 3u);
  EXPECT_EQ(v->MotorSoundTable[1].file, "sound\\emu\\motor1.wav");
  EXPECT_EQ(v->MotorSoundTable[1].kind, 1);
  EXPECT_EQ(v->MotorSoundTable[1].s0, 7.0L);
  EXPECT_EQ(v->MotorSoundTable[1].f1, 1.5L);
  EXPECT_EQ(v->MotorSoundTable[1].l1, 0.9L);
  ASSERT_EQ(v->DriveSoundList.size(), 32u);
  EXPECT_EQ(v->DriveSoundList[0], "sound\\emu\\run000.wav");
  EXPECT_EQ(v->DriveSoundList[30], "sound\\emu\\dep_sign.wav");
  EXPECT_EQ(v->DriveSoundList[31], "");
}

TEST_F(EmuFixture, panel_sections_hold_file_and_place) {
  EXPECT_EQ(v->Clock.x, 600);
  EXPECT_EQ(v->Clock.length, 20);
  EXPECT_EQ(v->Panel.file, "image\\emu\\panel.bmp");
  EXPECT_EQ(v->Panel.top, 240);
  EXPECT_EQ(v->Lamp_Back.left, 530);
  EXPECT_EQ(v->Needle_Speed.zeroAngle, -135);
  EXPECT_EQ(v->Needle_Speed.anglePerUnit, 2.25L);
  EXPECT_EQ(v->Needle_I.left, 460);
  ASSERT_EQ(v->OthersTable.size(), 3u);
  EXPECT_EQ(v->OthersTable[2].top, 300);
}

TEST_F(EmuFixture, pictures_are_loaded_while_reading) {
  ASSERT_EQ(lists->SignImageList.size(), 1u);
  EXPECT_EQ(lists->SignImageList[0].width, 50);
  EXPECT_EQ(lists->NotchImageP.left, 300);
  EXPECT_EQ(lists->NotchImageP.images.size(), 5u);
  EXPECT_EQ(lists->NotchImageB.images.size(), 9u);
  EXPECT_EQ(lists->NotchImageB.width, 40);
  EXPECT_EQ(lists->NotchImageB.height, 20);
  EXPECT_TRUE(lists->GearImageList.images.empty());
}

// --- Headers and order ---

TEST(VehicleFileTest, a_header_with_a_comment_after_it_is_recognised) {
  VehicleFixture f;
  EXPECT_EQ(f.read("[Power] ; notches\n4\n").Power, 4);
}

TEST(VehicleFileTest, a_header_in_other_case_or_after_a_blank_is_skipped) {
  VehicleFixture f;
  const Vehicle v = f.read("[power]\n4\n [Brake]\n8\n[Cars]\n10\n");
  EXPECT_EQ(v.Power, 0);
  EXPECT_EQ(v.Brake, 0);
  EXPECT_EQ(v.Cars, 10);
}

TEST(VehicleFileTest, numbers_may_have_leading_blanks) {
  VehicleFixture f;
  const Vehicle v = f.read("[Cars]\n  10\n[Tons]\n\t32.5\n");
  EXPECT_EQ(v.Cars, 10);
  EXPECT_EQ(v.Tons.raw, 325000);
}

// --- Traction checks ---

struct CheckCase {
  const char* what;
  std::string file;
  std::string message;
};

class VehicleTractionCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(VehicleTractionCheck, ends_with_its_own_message) {
  VehicleFixture f;
  SCOPED_TRACE(GetParam().what);
  EXPECT_STARTUP_ERROR(f.read(GetParam().file), GetParam().message);
}

const std::string kNotch1 = "1.0\n1.0\n10\n20\n0.9\n";

INSTANTIATE_TEST_SUITE_P(
    Files, VehicleTractionCheck,
    ::testing::Values(CheckCase{"diesel with notches",
                                "[Engine_Type]\n0\n[Power]\n1\n[Notch]\n" + kNotch1 + "#\n",
                                "動力が気動車なのにNotch指定があります"},
                      CheckCase{"diesel with an empty notch list", "[Engine_Type]\n0\n[Notch]\n#\n",
                                "動力が気動車なのにNotch指定があります"},
                      CheckCase{"five notches announced, four given",
                                "[Engine_Type]\n1\n[Power]\n5\n[Notch]\n" + kNotch1 + kNotch1 +
                                    kNotch1 + kNotch1 + "#\n",
                                "Power指定とNotch指定が矛盾しています"},
                      CheckCase{"[Power] after [Notch] is judged with the earlier value",
                                "[Engine_Type]\n1\n[Notch]\n" + kNotch1 + "#\n[Power]\n1\n",
                                "Power指定とNotch指定が矛盾しています"},
                      CheckCase{"[Engine_Type] after [Notch] is judged as diesel",
                                "[Power]\n1\n[Notch]\n" + kNotch1 + "#\n[Engine_Type]\n1\n",
                                "動力が気動車なのにNotch指定があります"},
                      CheckCase{"electric with gears",
                                "[Engine_Type]\n1\n[Engine]\n0\n20\n45\n1.2\n1.0\n0.6\n#\n",
                                "動力が電車なのにEngine指定があります"},
                      CheckCase{"a notch list cut off by the end of the file is still checked",
                                "[Engine_Type]\n1\n[Power]\n2\n[Notch]\n" + kNotch1,
                                "Power指定とNotch指定が矛盾しています"}));

TEST(VehicleFileTest, matching_notches_and_gears_pass_the_checks) {
  VehicleFixture f;
  EXPECT_EQ(f.read("[Engine_Type]\n1\n[Power]\n2\n[Notch]\n" + kNotch1 + kNotch1 + "#\n")
                .NotchTable.size(),
            2u);
  VehicleFixture g;
  const Vehicle d = g.read("[Engine_Type]\n0\n[Engine]\n0\n20\n45\n1.2\n1.0\n0.6\n#\n");
  ASSERT_EQ(d.GearTable.size(), 1u);
  EXPECT_EQ(d.GearTable[0].sc, 45);
  EXPECT_EQ(d.GearTable[0].ab, 1.0);
}

// --- Failure messages name the label of the group being read ---

struct LabelCase {
  std::string file;
  std::string label;
};

class VehicleFailureLabel : public ::testing::TestWithParam<LabelCase> {};

TEST_P(VehicleFailureLabel, the_message_ends_with_the_label) {
  VehicleFixture f;
  f.dir.writeBmp("ok.bmp", 40, 20);
  EXPECT_STARTUP_ERROR(f.read(GetParam().file), kError + GetParam().label);
}

const std::string kNeedleBad = "n.bmp\n1\n2\n3\n4\n5\nsteep\n";

INSTANTIATE_TEST_SUITE_P(
    Files, VehicleFailureLabel,
    ::testing::Values(
        LabelCase{"[Handle]\none\n", "- 列車の基本設定"},
        LabelCase{"[BrakeRate]\n4,2\n", "- 列車の基本設定"},
        LabelCase{"[Buzzer]\n1\n", "- 列車の基本設定"},  // the second line is past the end
        LabelCase{"[StopLine]\nmissing.bmp\n", "- 列車の基本設定"},
        LabelCase{"[StopLine]\n\n", "- 列車の基本設定"},
        LabelCase{"[Engine_Type]\n1\n[Power]\n1\n[Notch]\n1.0\n1.0\nten\n", "[Notch]"},
        LabelCase{"[Engine]\n0\n20\n45\n1.2\n1.0\nfast\n#\n", "[Engine]"},
        LabelCase{"[MotorSound]\nm.wav\n0\n0\n100\n1\n1\n1\nloud\n#\n", "[MotorSound]"},
        LabelCase{"[Clock]\n600\n\n20\n", "- アナログ時計"},
        LabelCase{"[Lamp_R]\nr.bmp\n10\nx\n", "- 運転台パネル"},
        LabelCase{"[Needle_Speed]\n" + kNeedleBad, "- 速度計"},
        LabelCase{"[Needle_BC]\n" + kNeedleBad, "- BC圧力計"},
        LabelCase{"[Needle_SAP]\n" + kNeedleBad, "- SAP圧力計"},
        LabelCase{"[Needle_ER]\n" + kNeedleBad, "- ER圧力計"},
        LabelCase{"[Needle_BP]\n" + kNeedleBad, "- BP圧力計"},
        LabelCase{"[Needle_MR]\n" + kNeedleBad, "- MR圧力計"},
        LabelCase{"[Needle_V]\n" + kNeedleBad, "- 電圧計"},
        LabelCase{"[Needle_I]\n" + kNeedleBad, "- 電流計"},
        LabelCase{"[NotchImageP]\n1\n2\nmissing.bmp\n#\n", "[NotchImageP]"},
        LabelCase{"[NotchImageB]\nleft\n", "[NotchImageB]"},
        LabelCase{"[GearImageList]\n1\n2\nok.bmp\nnone.bmp\n#\n", "[GearImageList]"},
        LabelCase{"[Others]\no.bmp\n1\n#\n", "[Others]"},
        // A bad basic value after the lists is read in a new pass: its label is set again.
        LabelCase{"[Others]\n#\n[Cars]\nten\n", "- 列車の基本設定"}));

TEST(VehicleFileTest, a_file_that_cannot_be_opened_shows_the_message_alone) {
  test::TempDataFolder dir;
  NullImageLoader images;
  ImageLists lists;
  ReaderContext context;
  EXPECT_STARTUP_ERROR(readVehicleFile(dir.folder(), "none.dat", context, images, lists), kError);
  // A file that opens and then fails while being read is one that cannot be read.
  EXPECT_STARTUP_ERROR(readVehicleFile(dir.folder(), "/proc/self/mem", context, images, lists),
                       kError);
}

// --- [Gear_Type] keywords ---

struct GearCase {
  const char* lines;
  bool manual;
};

class VehicleGearType : public ::testing::TestWithParam<GearCase> {};

TEST_P(VehicleGearType, only_the_exact_words_change_the_setting) {
  VehicleFixture f;
  EXPECT_EQ(f.read(GetParam().lines).manualGears, GetParam().manual) << GetParam().lines;
}

INSTANTIATE_TEST_SUITE_P(Files, VehicleGearType,
                         ::testing::Values(GearCase{"[Gear_Type]\nMT\n", true},
                                           GearCase{"[Gear_Type]\nAT\n", false},
                                           GearCase{"[Gear_Type]\nmt\n", false},
                                           GearCase{"[Gear_Type]\nMT \n", false},
                                           // Any other line leaves what an earlier section set.
                                           GearCase{"[Gear_Type]\nMT\n[Gear_Type]\nat\n", true},
                                           GearCase{"[Gear_Type]\nMT\n[Gear_Type]\nAT\n", false}));

// --- Lists ---

TEST(VehicleFileTest, an_empty_drive_sound_line_keeps_the_numbering) {
  VehicleFixture f;
  const Vehicle v = f.read("[DriveSound]\na.wav\n\nc.wav\n#\n[Sound_Horn]\n2\n");
  EXPECT_EQ(v.DriveSoundList, (std::vector<std::string>{"a.wav", "", "c.wav"}));
  EXPECT_EQ(v.DriveSoundList[v.Sound_Horn], "c.wav");
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct CapacityCase {
  const char* what;
  std::string full;      // a list exactly at its capacity
  std::string overfull;  // one entry more
  std::string label;
};

class VehicleListCapacity : public ::testing::TestWithParam<CapacityCase> {};

TEST_P(VehicleListCapacity, a_full_table_reads_and_one_more_entry_fails) {
  VehicleFixture f;
  SCOPED_TRACE(GetParam().what);
  EXPECT_NO_THROW(f.read(GetParam().full));
  VehicleFixture g;
  EXPECT_STARTUP_ERROR(g.read(GetParam().overfull), kError + GetParam().label);
}

const std::string kGear = "0\n20\n45\n1.2\n1.0\n0.6\n";
const std::string kMotor = "m.wav\n0\n0\n100\n1\n1\n1\n1\n";

INSTANTIATE_TEST_SUITE_P(
    Files, VehicleListCapacity,
    ::testing::Values(
        CapacityCase{
            "notches", "[Engine_Type]\n1\n[Power]\n11\n[Notch]\n" + repeat(kNotch1, 11) + "#\n",
            "[Engine_Type]\n1\n[Power]\n12\n[Notch]\n" + repeat(kNotch1, 12) + "#\n", "[Notch]"},
        CapacityCase{"gears", "[Engine]\n" + repeat(kGear, 11) + "#\n",
                     "[Engine]\n" + repeat(kGear, 12) + "#\n", "[Engine]"},
        CapacityCase{"gears over two sections (the count only grows)",
                     "[Engine]\n" + repeat(kGear, 6) + "#\n[Engine]\n" + repeat(kGear, 5) + "#\n",
                     "[Engine]\n" + repeat(kGear, 6) + "#\n[Engine]\n" + repeat(kGear, 6) + "#\n",
                     "[Engine]"},
        CapacityCase{"motor sounds", "[MotorSound]\n" + repeat(kMotor, 100) + "#\n",
                     "[MotorSound]\n" + repeat(kMotor, 101) + "#\n", "[MotorSound]"},
        CapacityCase{"drive sounds", "[DriveSound]\n" + repeat("d.wav\n", 501) + "#\n",
                     "[DriveSound]\n" + repeat("d.wav\n", 502) + "#\n", "[DriveSound]"},
        CapacityCase{"extra images", "[Others]\n" + repeat("o.bmp\n1\n2\n", 11) + "#\n",
                     "[Others]\n" + repeat("o.bmp\n1\n2\n", 12) + "#\n", "[Others]"}));

TEST(VehicleFileTest, gears_of_a_second_engine_section_are_added) {
  VehicleFixture f;
  const Vehicle v = f.read("[Engine]\n" + kGear + "#\n[Engine]\n" + kGear + kGear + "#\n");
  EXPECT_EQ(v.GearTable.size(), 3u);
}

TEST(VehicleFileTest, a_list_without_a_closing_line_ends_with_the_file) {
  VehicleFixture f;
  const Vehicle v = f.read("[Cars]\n4\n[DriveSound]\na.wav\nb.wav");
  EXPECT_EQ(v.DriveSoundList, (std::vector<std::string>{"a.wav", "b.wav"}));
  EXPECT_EQ(v.Cars, 4);
}

// --- Pictures loaded while reading ---

TEST(VehicleFileTest, indicator_pictures_resolve_backslashes_and_letter_case) {
  VehicleFixture f;
  f.dir.writeBmp("image/notch/p0.bmp", 40, 20);
  f.dir.writeBmp("image/notch/p1.bmp", 40, 20);
  f.read("[NotchImageP]\n300\n400\nImage\\Notch\\P0.BMP\nimage\\notch\\p1.bmp\n#\n");
  EXPECT_EQ(f.lists.NotchImageP.left, 300);
  EXPECT_EQ(f.lists.NotchImageP.top, 400);
  ASSERT_EQ(f.lists.NotchImageP.images.size(), 2u);
  EXPECT_NE(f.lists.NotchImageP.images[0].id, f.lists.NotchImageP.images[1].id);
}

TEST(VehicleFileTest, an_empty_indicator_line_adds_no_picture_but_takes_the_last_size) {
  VehicleFixture f;
  f.dir.writeBmp("stop.bmp", 50, 50);
  f.dir.writeBmp("b1.bmp", 40, 20);
  f.read("[StopLine]\nstop.bmp\n[NotchImageP]\n0\n0\n\n#\n[NotchImageB]\n0\n0\nb1.bmp\n\n#\n");
  // The empty line of [NotchImageP] still sets the size, from the picture loaded before it.
  EXPECT_TRUE(f.lists.NotchImageP.images.empty());
  EXPECT_EQ(f.lists.NotchImageP.width, 50);
  EXPECT_EQ(f.lists.NotchImageP.height, 50);
  EXPECT_EQ(f.lists.NotchImageB.images.size(), 1u);
  EXPECT_EQ(f.lists.NotchImageB.width, 40);
}

TEST(VehicleFileTest, the_stop_line_picture_goes_to_the_sign_list) {
  VehicleFixture f;
  f.dir.writeBmp("画像/停止線.bmp", 50, 50);
  const Vehicle v = f.read("[StopLine]\n画像\\停止線.bmp\n");
  EXPECT_EQ(v.StopLine, "画像\\停止線.bmp");
  ASSERT_EQ(f.lists.SignImageList.size(), 1u);
  EXPECT_EQ(f.lists.SignImageList[0].height, 50);
}

TEST(VehicleFileTest, panel_and_needle_pictures_are_only_named) {
  VehicleFixture f;
  const Vehicle v = f.read("[Panel]\nnot_there.bmp\n0\n240\n[Needle_V]\n\n1\n2\n3\n4\n5\n0.5\n");
  EXPECT_EQ(v.Panel.file, "not_there.bmp");
  EXPECT_EQ(v.Needle_V.file, "");
  EXPECT_EQ(v.Needle_V.anglePerUnit, 0.5L);
}

}  // namespace
}  // namespace velmoria
