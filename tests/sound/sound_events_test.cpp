#include "sound/sound_events.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/run_ticks.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::attachWave;
using test::TestRun;

constexpr int kSqueal = 15;

struct SoundRun : TestRun {
  SoundRun() {
    data.vehicle.Sound_squeak = kSqueal;
    data.route.SoundDataList = {"a.wav", "b.wav", "c.wav"};
  }
  Run& start() {
    Run& r = makeUnlocked();
    for (int ch = 20; ch < 23; ++ch) attachWave(*this, ch, 5000);
    return r;
  }
};

// --- Running sound ------------------------------------------------------------------------

struct BandCase {
  double speed;
  int lower;  // channel b
  int lowerVolume, upperVolume;
};
class RunningSoundTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(RunningSoundTest, crossfades_between_two_bands) {
  SoundRun t;
  auto& r = t.start();
  poke(r).train.speed = Fixed::from(GetParam().speed);
  r.tickStep(TickStep::RunningSound);
  const int b = GetParam().lower;
  EXPECT_TRUE(t.sound.isLooping(b));
  EXPECT_TRUE(t.sound.isLooping(b + 1));
  EXPECT_EQ(t.sound.volume(b), GetParam().lowerVolume);
  EXPECT_EQ(t.sound.volume(b + 1), GetParam().upperVolume);
}

// 2000 log10(w / 100): w = 10 gives -2000, 90 gives -91.5, 50 gives -602.1, 1 gives -4000.
INSTANTIATE_TEST_SUITE_P(Speeds, RunningSoundTest,
                         ::testing::Values(BandCase{0, 0, 0, -4000}, BandCase{9, 0, -2000, -92},
                                           BandCase{-9, 0, -2000, -92}, BandCase{15, 1, -602, -602},
                                           BandCase{10.4, 1, 0, -4000}));

TEST(RunningSound, entering_a_band_stops_the_one_below_and_above_120_nothing_changes) {
  SoundRun t;
  auto& r = t.start();
  r.tickStep(TickStep::RunningSound);  // bands 0 and 1
  poke(r).train.speed = Fixed::fromInt(25);
  r.tickStep(TickStep::RunningSound);  // bands 2 and 3; band 1 (b - 1) stops, band 0 keeps looping
  EXPECT_FALSE(t.sound.isPlaying(1));
  EXPECT_TRUE(t.sound.isPlaying(2));
  poke(r).train.speed = Fixed::fromInt(15);
  r.tickStep(TickStep::RunningSound);  // b = 1: band 3 (b + 2) stops
  EXPECT_FALSE(t.sound.isPlaying(3));
  poke(r).train.speed = Fixed::fromInt(120);
  const int volume = t.sound.volume(1);
  r.tickStep(TickStep::RunningSound);
  EXPECT_EQ(t.sound.volume(1), volume);
  EXPECT_FALSE(t.sound.isPlaying(12));
}

// --- Doppler ---------------------------------------------------------------------------------

// A source 1000 m along the line with a 50 m radius; the train 20 m before or after it at
// 60 km/h: c = cos(atan(300 / 2000)) = 0.98894, so 1220 / (1220 -+ 59.34).
TEST(Doppler, the_pitch_rises_approaching_and_falls_receding) {
  SoundRun t;
  DopplerEntry e;
  e.sound = 1;
  e.radius = 5000;
  e.distance = 100000;
  t.data.route.DopplerTable = {e};
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(60);
  poke(r).pos.distance = 98000;
  r.tickStep(TickStep::DopplerSources);
  EXPECT_TRUE(t.sound.isLooping(21));
  EXPECT_NEAR(t.sound.frequencyFactor(21), 1.051123, 1e-6);
  EXPECT_EQ(t.sound.volume(21), -444);  // 2000 log10(0.6)
  poke(r).pos.distance = 102000;
  r.tickStep(TickStep::DopplerSources);
  EXPECT_NEAR(t.sound.frequencyFactor(21), 0.953620, 1e-6);
  poke(r).pos.distance = 100000;  // at the source the pitch stays
  r.tickStep(TickStep::DopplerSources);
  EXPECT_NEAR(t.sound.frequencyFactor(21), 0.953620, 1e-6);
  EXPECT_EQ(t.sound.volume(21), 0);
  poke(r).pos.distance = 105000;  // out of range: stopped
  r.tickStep(TickStep::DopplerSources);
  EXPECT_FALSE(t.sound.isPlaying(21));
}

TEST(Doppler, factor_formula) {
  EXPECT_NEAR(dopplerFactor(0, 300, 100), 1220 / (1220 - 100 / std::sqrt(2.0)), 1e-9);
  EXPECT_NEAR(dopplerFactor(600, 300, 100), 1220 / (1220 + 100 / std::sqrt(2.0)), 1e-9);
  EXPECT_EQ(dopplerFactor(300, 300, 100), 0);
}

// --- Route cues ------------------------------------------------------------------------------

TEST(RouteCues, a_cue_starts_once_per_run_and_follows_the_speed) {
  SoundRun t;
  SoundCueEntry c;
  c.sound = 2;
  c.startFrame = 1000;
  c.endFrame = 2000;
  c.referenceSpeed = 50;
  c.type = 1;
  c.followSpeed = 1;
  c.volumeFollows = 1;
  t.data.route.SoundCueTable = {c};
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(25);
  poke(r).pos.frame = 996;
  r.tickStep(TickStep::RouteSoundCues);
  EXPECT_TRUE(t.sound.isLooping(22));
  EXPECT_DOUBLE_EQ(t.sound.frequencyFactor(22), 0.5);
  EXPECT_EQ(t.sound.volume(22), -602);  // 2000 log10(0.5)
  poke(r).pos.frame = 1500;
  poke(r).train.speed = Fixed::fromInt(100);  // twice the reference: +602 clamps to full level
  r.tickStep(TickStep::RouteSoundCues);
  EXPECT_EQ(t.sound.volume(22), 0);
  EXPECT_DOUBLE_EQ(t.sound.frequencyFactor(22), 2.0);
  poke(r).train.speed = Fixed::from(0.5L);
  r.tickStep(TickStep::RouteSoundCues);
  EXPECT_EQ(t.sound.volume(22), -10000);
  poke(r).pos.frame = 1998;  // the looping cue ends at its end frame
  r.tickStep(TickStep::RouteSoundCues);
  EXPECT_FALSE(t.sound.isPlaying(22));
  poke(r).pos.frame = 1000;  // back at the start: never again in this run
  r.tickStep(TickStep::RouteSoundCues);
  EXPECT_EQ(t.sound.playCount(22), 1);
}

TEST(RouteCues, without_volume_following_the_cue_is_silent_between_its_frames) {
  SoundRun t;
  SoundCueEntry c;
  c.sound = 0;
  c.startFrame = 1000;
  c.endFrame = 2000;
  c.referenceSpeed = 50;
  c.type = 0;
  t.data.route.SoundCueTable = {c};
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(50);
  poke(r).pos.frame = 1000;
  r.tickStep(TickStep::RouteSoundCues);
  EXPECT_EQ(t.sound.volume(20), 0);
  EXPECT_TRUE(t.sound.isPlaying(20));
  EXPECT_FALSE(t.sound.isLooping(20));
  poke(r).pos.frame = 1001;
  r.tickStep(TickStep::RouteSoundCues);
  EXPECT_EQ(t.sound.volume(20), -10000);
}

TEST(RouteCues, marks_cover_a_table_longer_than_104_entries) {
  SoundRun t;
  SoundCueEntry c;
  c.sound = 1;
  c.referenceSpeed = 50;
  for (int i = 0; i < 200; ++i) {
    c.startFrame = 1000 * i;
    c.endFrame = 1000 * i + 10;
    t.data.route.SoundCueTable.push_back(c);
  }
  auto& r = t.start();
  poke(r).pos.frame = 150000;
  r.tickStep(TickStep::RouteSoundCues);
  ASSERT_EQ(poke(r).sounds.cueStarted.size(), 200u);
  EXPECT_TRUE(poke(r).sounds.cueStarted[150]);
}

// --- Announcements ----------------------------------------------------------------------------

TEST(Announcements, one_man_keys_step_through_the_table) {
  SoundRun t;
  t.data.route.OneMan = 1;
  t.data.route.AnnounceTable = {{0, 0}, {1, 500}, {2, 900}};
  auto& r = t.start();
  poke(r).soundEvents.nextAnnouncement();
  EXPECT_TRUE(t.sound.isPlaying(20));
  EXPECT_EQ(poke(r).sounds.announceIndex, 1);
  poke(r).soundEvents.nextAnnouncement();  // the next one cuts the one before it short
  EXPECT_FALSE(t.sound.isPlaying(20));
  EXPECT_TRUE(t.sound.isPlaying(21));
  EXPECT_EQ(poke(r).sounds.announceIndex, 2);
  poke(r).sounds.announceIndex = 1;  // the entry at the index still plays: refused
  poke(r).soundEvents.nextAnnouncement();
  EXPECT_EQ(poke(r).sounds.announceIndex, 1);
  EXPECT_EQ(t.sound.playCount(21), 1);
  poke(r).sounds.announceIndex = 2;
  poke(r).soundEvents.previousAnnouncement();
  EXPECT_FALSE(t.sound.isPlaying(21));
  EXPECT_EQ(poke(r).sounds.announceIndex, 1);
  poke(r).soundEvents.previousAnnouncement();
  poke(r).soundEvents.previousAnnouncement();
  EXPECT_EQ(poke(r).sounds.announceIndex, 0);
  poke(r).sounds.announceIndex = 3;
  poke(r).soundEvents.nextAnnouncement();  // past the table: nothing
  EXPECT_EQ(poke(r).sounds.announceIndex, 3);
}

TEST(Announcements, automatic_ones_play_near_their_frame_from_the_second_entry_on) {
  SoundRun t;
  t.data.route.AnnounceTable = {{0, 500}, {1, 500}};
  auto& r = t.start();
  poke(r).pos.frame = 504;
  r.tickStep(TickStep::Announcements);
  EXPECT_FALSE(t.sound.isPlaying(20));
  EXPECT_TRUE(t.sound.isPlaying(21));
  poke(r).soundEvents.nextAnnouncement();  // only for one-man routes
  EXPECT_EQ(poke(r).sounds.announceIndex, 0);
  t.sound.stop(21);
  poke(r).pos.frame = 505;
  r.tickStep(TickStep::Announcements);
  EXPECT_FALSE(t.sound.isPlaying(21));
}

// --- Brake squeal and release ------------------------------------------------------------------

TEST(BrakeSqueal, starts_below_25_louder_with_pressure_and_fades_when_stopped) {
  SoundRun t;
  auto& r = t.start();
  poke(r).handle.effectiveBrake = -4;
  poke(r).train.speed = Fixed::fromInt(24);
  poke(r).air.bc = Fixed::fromInt(100);
  r.tickStep(TickStep::BrakeSqueal);
  EXPECT_TRUE(t.sound.isLooping(kSqueal));
  EXPECT_EQ(t.sound.volume(kSqueal), -2500);
  poke(r).air.bc = Fixed::fromInt(250);
  r.tickStep(TickStep::BrakeSqueal);
  EXPECT_EQ(t.sound.volume(kSqueal), -1000);
  poke(r).train.speed = Fixed::from(0.5L);
  for (int i = 0; i < 4; ++i) r.tickStep(TickStep::BrakeSqueal);
  EXPECT_EQ(t.sound.volume(kSqueal), -5000);
  EXPECT_TRUE(t.sound.isPlaying(kSqueal));
  r.tickStep(TickStep::BrakeSqueal);
  EXPECT_FALSE(t.sound.isPlaying(kSqueal));
}

TEST(BrakeRelease, release_from_a_high_step_plays_the_release_sound_once) {
  SoundRun t;
  auto& r = t.start();
  poke(r).air.bc = Fixed::fromInt(200);
  poke(r).handle.brakeStep = 0;
  poke(r).handle.effectiveBrake = -4;
  r.tickStep(TickStep::BrakeRelease);
  r.tickStep(TickStep::BrakeRelease);
  EXPECT_EQ(t.sound.playCount(14), 1);  // [Sound_br2]
  poke(r).handle.effectiveBrake = 0;
  poke(r).air.bc = Fixed{};
  r.tickStep(TickStep::BrakeRelease);
  EXPECT_FALSE(poke(r).sounds.releaseMark);
}

TEST(BrakeRelease, easing_the_brake_plays_the_step_sound_while_pressure_is_high) {
  SoundRun t;
  auto& r = t.start();
  poke(r).handle.brakeStep = -2;  // 440 x 2 / 8 = 110 kPa
  poke(r).handle.effectiveBrake = -6;
  poke(r).air.bc = Fixed::fromInt(120);
  r.tickStep(TickStep::BrakeRelease);
  EXPECT_EQ(t.sound.playCount(13), 0);  // 110 is not below 120 - 10
  poke(r).air.bc = Fixed::fromInt(121);
  r.tickStep(TickStep::BrakeRelease);
  EXPECT_EQ(t.sound.playCount(13), 1);
  poke(r).handle.atsEmergency = true;
  poke(r).sounds.releaseMark = false;
  t.sound.stop(13);
  r.tickStep(TickStep::BrakeRelease);
  EXPECT_EQ(t.sound.playCount(13), 1);
}

// --- Motor and engine -----------------------------------------------------------------------

TEST(MotorSounds, pitch_and_level_follow_the_speed_band) {
  SoundRun t;
  MotorSoundEntry m;
  m.kind = 0;
  m.s0 = 0;
  m.s1 = 100;
  m.f0 = 0.5L;
  m.f1 = 1.5L;
  m.l0 = 1;
  m.l1 = 3;
  t.data.vehicle.MotorSoundTable = {m};
  auto& r = t.start();
  attachWave(t, kMotorChannelBase, 1000);
  poke(r).handle.effectivePower = 2;
  poke(r).handle.effectiveBrake = 0;
  poke(r).train.speed = Fixed::fromInt(50);
  for (int i = 0; i < 5; ++i)
    r.tickStep(TickStep::MotorSounds);  // the master gain 1, 21, 41, 61, 81, 101
  EXPECT_EQ(poke(r).sounds.masterGain, 101);
  EXPECT_DOUBLE_EQ(t.sound.frequencyFactor(kMotorChannelBase), 1.0);
  // level 2 x gain 100 x master 101 / 1e6 = 0.0202: 2000 log10 = -3389.3
  EXPECT_EQ(t.sound.volume(kMotorChannelBase), -3389);
  EXPECT_TRUE(t.sound.isLooping(kMotorChannelBase));
  poke(r).handle.effectivePower = 0;
  r.tickStep(TickStep::MotorSounds);  // gain 90, master 91, level 2: 0.01638 -> -3571.2
  EXPECT_EQ(t.sound.volume(kMotorChannelBase), -3571);
}

TEST(EngineSound, diesel_volume_rises_by_five_and_falls_by_three) {
  SoundRun t;
  t.data.vehicle.Engine_Type = 0;
  t.data.vehicle.EngineSound = {16, 17, 18};
  auto& r = t.start();
  poke(r).handle.doorOpen = false;
  poke(r).handle.effectivePower = 1;
  poke(r).traction.engineLevel = 50;
  r.tickStep(TickStep::DieselEngine);
  r.tickStep(TickStep::DieselEngine);
  EXPECT_EQ(poke(r).sounds.engineVolume, 10);
  EXPECT_EQ(t.sound.volume(16), -2000);
  EXPECT_DOUBLE_EQ(t.sound.frequencyFactor(16), 0.75);
  EXPECT_TRUE(t.sound.isLooping(17));
  EXPECT_FALSE(t.sound.isPlaying(18));
  poke(r).handle.effectivePower = 0;
  poke(r).handle.doorOpen = true;
  r.tickStep(TickStep::DieselEngine);
  EXPECT_EQ(poke(r).sounds.engineVolume, 7);
  EXPECT_TRUE(t.sound.isLooping(18));
  EXPECT_FALSE(t.sound.isPlaying(17));
}

TEST(GearIndicator, shows_the_gear_while_powering_and_zero_otherwise) {
  SoundRun t;
  auto& r = t.start();
  poke(r).data.images.GearImageList.images.resize(4);
  poke(r).handle.effectivePower = 1;
  poke(r).handle.gearIndex = 2;
  poke(r).train.speed = Fixed::fromInt(60);
  r.tickStep(TickStep::DieselEngine);
  EXPECT_EQ(poke(r).display.Lamp_Gear.picture, 3);
  poke(r).handle.gearChange = true;
  r.tickStep(TickStep::DieselEngine);
  EXPECT_EQ(poke(r).display.Lamp_Gear.picture, 0);
  poke(r).train.speed = Fixed::fromInt(20);  // below 25 the gear returns to the converter
  r.tickStep(TickStep::DieselEngine);
  EXPECT_EQ(poke(r).handle.gearIndex, 0);
  EXPECT_FALSE(poke(r).handle.gearChange);
}

}  // namespace
}  // namespace velmoria

namespace velmoria {
namespace {

TEST(RouteCues, a_channel_beyond_255_is_skipped) {
  SoundRun t;
  SoundCueEntry c;
  c.sound = 300;  // channel 320
  c.startFrame = 1000;
  c.endFrame = 2000;
  c.referenceSpeed = 50;
  t.data.route.SoundCueTable = {c};
  t.data.route.AnnounceTable = {{0, 0}, {400, 1000}};
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(50);
  poke(r).pos.frame = 1000;
  r.tickStep(TickStep::RouteSoundCues);
  r.tickStep(TickStep::Announcements);
  for (int ch = 0; ch < kSoundChannels; ++ch) EXPECT_FALSE(t.sound.isPlaying(ch)) << ch;
}

}  // namespace
}  // namespace velmoria
