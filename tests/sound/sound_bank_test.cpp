#include "sound/sound_bank.h"

#include <gtest/gtest.h>

#include "media/clock.h"
#include "media/null/null_sound_device.h"
#include "route/route.h"
#include "support/data_files.h"
#include "vehicle/vehicle.h"

namespace velmoria {
namespace {

struct BankTest : ::testing::Test {
  test::TempDataFolder dir;
  ManualClock clock;
  NullSoundDevice device{clock};
  Vehicle vehicle;
  Route route;
  std::vector<std::string> status;

  BankTest() { dir.writeWav("s/a.wav", 100); }
  void give(std::vector<std::string>& list, int count) { list.assign(count, "S\\A.WAV"); }
  void motors(int count) {
    MotorSoundEntry m;
    m.file = "s\\a.wav";
    vehicle.MotorSoundTable.assign(count, m);
  }
  SoundBank load() {
    return loadSoundBank(device, vehicle, route, dir.folder(),
                         [&](const std::string& s) { status.push_back(s); });
  }
};

TEST_F(BankTest, route_sounds_follow_the_drive_sounds) {
  give(vehicle.DriveSoundList, 20);
  give(route.SoundDataList, 30);
  motors(2);
  const SoundBank bank = load();
  EXPECT_EQ(bank.driveCount, 20);
  EXPECT_EQ(device.attachedWave(20), bank.route[0]);
  EXPECT_EQ(device.attachedWave(49), bank.route[29]);
  EXPECT_EQ(device.attachedWave(19), bank.drive[19]);
  EXPECT_EQ(device.attachedWave(241), bank.motor[1]);
  EXPECT_EQ(device.attachedWave(50), -1);
  EXPECT_EQ(status, (std::vector<std::string>{"DirectSoundオブジェクトを作成しています",
                                              "サウンドを読み込んでいます"}));
  for (int ch = 0; ch < kSoundChannels; ++ch) EXPECT_FALSE(device.isPlaying(ch)) << ch;
}

TEST_F(BankTest, an_empty_name_keeps_its_place_without_a_wave) {
  vehicle.DriveSoundList = {"s\\a.wav", "", "s\\a.wav"};
  route.KankoSound1[3] = "s\\a.wav";
  route.hasKankoSound2 = true;
  route.KankoSound2 = {"", "s\\a.wav"};
  route.OtherImageTexts = {"s\\a.wav"};
  const SoundBank bank = load();
  EXPECT_EQ(bank.drive[1], -1);
  EXPECT_EQ(device.attachedWave(1), -1);
  EXPECT_GE(device.attachedWave(2), 0);
  ASSERT_EQ(bank.kanko.size(), 20u);
  EXPECT_GE(bank.kanko[3], 0);
  EXPECT_EQ(bank.kanko[18], -1);
  EXPECT_GE(bank.kanko[19], 0);
  EXPECT_GE(bank.boards[0], 0);
}

TEST_F(BankTest, sixteen_motor_sounds_fit_and_a_seventeenth_does_not) {
  motors(16);
  EXPECT_NO_THROW(load());
  EXPECT_GE(device.attachedWave(255), 0);
  motors(17);
  EXPECT_STARTUP_ERROR(load(),
                       "DirectSoundの割り当てに失敗しました。256チャンネルを超えています。");
}

TEST_F(BankTest, more_drive_and_route_sounds_than_channels_is_refused) {
  give(vehicle.DriveSoundList, 200);
  give(route.SoundDataList, 56);
  EXPECT_NO_THROW(load());
  give(route.SoundDataList, 57);
  EXPECT_STARTUP_ERROR(load(),
                       "DirectSoundの割り当てに失敗しました。256チャンネルを超えています。");
}

TEST_F(BankTest, route_sounds_past_239_give_way_to_the_motor_sounds) {
  give(vehicle.DriveSoundList, 200);
  give(route.SoundDataList, 50);
  motors(3);
  const SoundBank bank = load();
  EXPECT_EQ(device.attachedWave(240), bank.motor[0]);
  EXPECT_EQ(device.attachedWave(243), bank.route[43]);
}

TEST_F(BankTest, freeing_stops_and_empties_every_channel) {
  give(vehicle.DriveSoundList, 3);
  give(route.SoundDataList, 2);
  motors(1);
  SoundBank bank = load();
  device.playLooped(4);
  device.playLooped(240);
  freeSoundBank(device, bank);
  EXPECT_FALSE(device.isPlaying(4));
  EXPECT_EQ(device.attachedWave(4), -1);
  EXPECT_EQ(device.attachedWave(240), -1);
  EXPECT_TRUE(bank.drive.empty());
  EXPECT_TRUE(bank.motor.empty());
}

}  // namespace
}  // namespace velmoria
