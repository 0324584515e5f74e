#include <gtest/gtest.h>

#include <stdexcept>

#include "support/data_files.h"
#include "support/run_ticks.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::attachWave;
using test::TestRun;
using test::tick;

TEST(RunLoop, counts_ticks_and_puts_the_line_name_in_the_caption) {
  TestRun t;
  t.data.route.LineName = "快速線";
  auto& r = t.makeUnlocked();
  EXPECT_EQ(poke(r).display.caption, "Velmoria");
  tick(t, 3);
  EXPECT_EQ(poke(r).tickCount, 3);
  EXPECT_EQ(poke(r).display.caption, "快速線");
  poke(r).display.caption = "something else";
  tick(t);
  EXPECT_EQ(poke(r).display.caption, "something else");
}

TEST(RunLoop, the_supplied_hook_never_fires) {
  TestRun t;
  auto& r = t.makeUnlocked();
  poke(r).commentaryMode = true;
  tick(t, 5);
  EXPECT_EQ(poke(r).eventCommand, "");
  EXPECT_FALSE(poke(r).display.commentary.visible);
  EXPECT_EQ(t.sound.playCount(kEventChannel), 0);
}

TEST(RunLoop, a_commentary_command_shows_only_in_commentary_mode) {
  TestRun t;
  auto& r = t.makeUnlocked();
  EventHookInput seen;
  poke(r).services.hook = [&](const EventHookInput& in) {
    seen = in;
    return std::string("0解説です");
  };
  tick(t);
  EXPECT_FALSE(poke(r).display.commentary.visible);
  EXPECT_TRUE(seen.doorOpen);
  EXPECT_EQ(seen.brakeStep, -8);
  EXPECT_EQ(seen.vehicleFile, "train_test.dat");
  r.D1Click();
  poke(r).eventCommand.clear();  // a new command
  tick(t);
  EXPECT_TRUE(poke(r).display.commentary.visible);
  EXPECT_EQ(poke(r).display.commentary.text, "解説です");
  tick(t);  // the same command again keeps the caption up
  EXPECT_TRUE(poke(r).display.commentary.visible);
  poke(r).services.hook = [](const EventHookInput&) { return std::string("9"); };
  tick(t);
  EXPECT_FALSE(poke(r).display.commentary.visible);
}

TEST(RunLoop, a_wave_command_plays_the_named_file_on_channel_255_once_per_change) {
  test::TempDataFolder dir;
  dir.writeWav("sound/event.wav", 300);
  TestRun t;
  auto& r = t.makeUnlocked();
  const DataFolder folder = dir.folder();
  poke(r).services.folder = &folder;
  poke(r).services.hook = [](const EventHookInput&) { return std::string("1SOUND\\Event.wav"); };
  tick(t);
  EXPECT_TRUE(t.sound.isPlaying(kEventChannel));
  EXPECT_FALSE(t.sound.isLooping(kEventChannel));
  tick(t, 3);  // unchanged command: the 300 ms wave ends and is not replayed
  EXPECT_FALSE(t.sound.isPlaying(kEventChannel));
  EXPECT_EQ(t.sound.playCount(kEventChannel), 1);
  poke(r).services.hook = [](const EventHookInput&) { return std::string("2sound\\event.wav"); };
  tick(t);
  EXPECT_TRUE(t.sound.isLooping(kEventChannel));
  r.closeRun();
  EXPECT_FALSE(t.sound.isPlaying(kEventChannel));
  EXPECT_EQ(t.sound.attachedWave(kEventChannel), -1);
}

TEST(RunLoop, a_step_that_throws_abandons_the_rest_of_the_tick_only) {
  TestRun t;
  auto& r = t.makeUnlocked();
  attachWave(t, 0, 1000);
  poke(r).data.sounds.kanko = {t.sound.addWave(500)};
  poke(r).callouts_.kanko_queue_add(0);
  bool fail = true;
  poke(r).services.hook = [&](const EventHookInput&) -> std::string {
    if (fail) throw std::runtime_error("hook failed");
    return {};
  };
  tick(t);  // step 40 throws: step 42 does not serve the queue
  EXPECT_EQ(poke(r).tickCount, 1);
  EXPECT_EQ(t.sound.playCount(kCalloutChannel), 0);
  EXPECT_EQ(poke(r).display.caption, "Test line");  // step 38 ran
  tick(t);
  EXPECT_EQ(poke(r).tickCount, 2);
  EXPECT_EQ(t.sound.playCount(kCalloutChannel), 0);
  fail = false;
  tick(t);
  EXPECT_EQ(t.sound.playCount(kCalloutChannel), 1);
}

// --- The order of the steps, seen from what one step leaves for a later one ------------------

SignalEntry signalAt(int32_t frame) {
  SignalEntry s;
  s.kind = 1;
  s.viewFrame = frame - 600;
  s.signalFrame = frame;
  s.warningFrame = frame - 100;
  s.checkFrame = frame - 10;
  return s;
}

TEST(RunLoopOrder, fixed_aspects_override_the_block_aspects_before_the_display) {
  TestRun t;
  t.data.route.SignalTable = {signalAt(1000)};
  t.data.route.SignalTable[0].mode = 2;
  t.data.route.SignalTable[0].fixedLevel = 0;
  t.data.images.SignalImageList.resize(22);
  auto& r = t.makeUnlocked();
  poke(r).pos.frame = 500;
  tick(t);
  EXPECT_EQ(poke(r).signals.shownIndex, 3);  // stop, though no train is ahead
  EXPECT_EQ(poke(r).display.SignalImage.picture, 3);
}

struct AlarmRun : TestRun {
  AlarmRun() {
    data.vehicle.Sound_Ats1 = 15;
    data.vehicle.ATS_Time = 5;
    data.route.SignalTable = {signalAt(1000)};
    data.route.SignalTable[0].mode = 2;  // always stop
    data.route.SpeedCheckTable = {{30, 5000}};
  }
  Run& start() {
    Run& r = makeUnlocked();
    poke(r).handle.brakeStep = poke(r).handle.effectiveBrake = 0;
    poke(r).handle.doorOpen = false;
    return r;
  }
};

TEST(RunLoopOrder, a_warning_point_rings_the_bell_in_the_same_tick) {
  AlarmRun t;
  auto& r = t.start();
  poke(r).pos.frame = 905;  // step 23 sets the warning, step 25 rings
  tick(t);
  EXPECT_TRUE(t.sound.isPlaying(15));
}

TEST(RunLoopOrder, a_speed_check_rings_the_bell_on_the_next_tick) {
  AlarmRun t;
  auto& r = t.start();
  poke(r).train.speed = Fixed::fromInt(50);
  poke(r).pos.frame = 5005;
  tick(t);  // step 28 raises the alarm after step 25 has run
  EXPECT_TRUE(poke(r).signals.alarm);
  EXPECT_FALSE(t.sound.isPlaying(15));
  tick(t);
  EXPECT_TRUE(t.sound.isPlaying(15));
}

TEST(RunLoopOrder, the_stop_marker_and_hook_see_this_ticks_station_stop) {
  TestRun t;
  StationEntry s;
  s.name = "A";
  s.zoneStart = 1000;
  s.stopFrame = 1100;
  s.departureTime = 999999;
  s.closeTime = 999999;
  t.data.route.StationTable = {s};
  t.data.vehicle.Sound_DoorOpen = 4;
  auto& r = t.makeUnlocked();
  poke(r).handle.doorOpen = false;
  poke(r).handle.doorSoundOpening = false;
  poke(r).pos.frame = 1050;
  bool doorSeen = false;
  poke(r).services.hook = [&](const EventHookInput& in) {
    doorSeen = in.doorOpen;
    return std::string();
  };
  tick(t);
  EXPECT_TRUE(doorSeen);  // step 29 opened the doors before step 40
}

// --- Video switch -------------------------------------------------------------------------------

struct RecordingHost : RunHost {
  std::vector<bool> switches;
  void videoSwitched(bool toBranch) override { switches.push_back(toBranch); }
};

TEST(VideoSwitch, the_branch_routes_change_videos_at_frame_41300) {
  test::TempDataFolder dir;
  dir.writeBytes("move/selo.avi", "x");
  dir.writeBytes("move/tavo.avi", "x");
  TestRun t;
  t.data.route.fileName = "line_rapid5.dat";
  auto& r = t.makeUnlocked();
  const DataFolder folder = dir.folder();
  RecordingHost host;
  poke(r).services.folder = &folder;
  poke(r).services.host = &host;
  poke(r).pos.frame = 41300;
  tick(t);
  EXPECT_FALSE(poke(r).onBranch);
  poke(r).pos.frame = 41301;
  tick(t);
  EXPECT_TRUE(poke(r).onBranch);
  EXPECT_EQ(t.video.openedFile(), dir.root() / "move" / "selo.avi");
  EXPECT_EQ(host.switches, std::vector<bool>{true});
  poke(r).pos.frame = 41300;
  tick(t);
  EXPECT_TRUE(poke(r).onBranch);
  poke(r).pos.frame = 41299;
  tick(t);
  EXPECT_FALSE(poke(r).onBranch);
  EXPECT_EQ(t.video.openedFile(), dir.root() / "move" / "tavo.avi");
  EXPECT_EQ(host.switches, (std::vector<bool>{true, false}));
}

TEST(VideoSwitch, the_branch_video_may_be_an_mp4_or_a_webm) {
  test::TempDataFolder dir;
  dir.writeBytes("move/selo.mp4", "x");
  dir.writeBytes("move/tavo.webm", "x");
  TestRun t;
  t.data.route.fileName = "line_local6.dat";
  auto& r = t.makeUnlocked();
  const DataFolder folder = dir.folder();
  poke(r).services.folder = &folder;
  poke(r).pos.frame = 41301;
  tick(t);
  EXPECT_EQ(t.video.openedFile(), dir.root() / "move" / "selo.mp4");
  EXPECT_EQ(r.observe().videoFile, dir.root() / "move" / "selo.mp4");
  poke(r).pos.frame = 41000;
  tick(t);
  EXPECT_EQ(t.video.openedFile(), dir.root() / "move" / "tavo.webm");
}

TEST(VideoSwitch, other_routes_never_switch) {
  TestRun t;
  auto& r = t.makeUnlocked();
  poke(r).pos.frame = 50000;
  tick(t);
  EXPECT_FALSE(poke(r).onBranch);
}

// --- Start, pause, close -----------------------------------------------------------------------

TEST(Lifecycle, start_toggles_running_and_unlocks_the_keys) {
  TestRun t;
  auto& r = t.make();
  EXPECT_TRUE(poke(r).handle.inputLock);
  r.start1Click();
  EXPECT_TRUE(r.running());
  EXPECT_FALSE(poke(r).handle.inputLock);
  EXPECT_EQ(poke(r).display.start1Caption, "一時停止(&S)");
  r.start1Click();
  EXPECT_FALSE(r.running());
  EXPECT_EQ(poke(r).display.start1Caption, "運転再開(&S)");
}

TEST(Lifecycle, closing_stops_and_frees_every_sound_and_clears_the_protection) {
  TestRun t;
  auto& r = t.makeUnlocked();
  poke(r).data.sounds.drive.clear();
  for (int ch = 0; ch < 20; ++ch) poke(r).data.sounds.drive.push_back(t.sound.attachedWave(ch));
  poke(r).data.sounds.kanko = {t.sound.addWave(100)};
  poke(r).callouts_.kanko_queue_add(0);
  t.sound.playLooped(3);
  poke(r).handle.atsEmergency = poke(r).handle.protectionBrake = true;
  poke(r).signals.patternState = poke(r).signals.previousPatternState = 2;
  poke(r).pos.remaining = 5000;
  r.closeRun();
  EXPECT_FALSE(t.sound.isPlaying(3));
  EXPECT_EQ(t.sound.attachedWave(3), -1);
  EXPECT_TRUE(poke(r).data.sounds.drive.empty());
  EXPECT_EQ(poke(r).callouts.queue[0], -1);
  EXPECT_FALSE(poke(r).handle.atsEmergency);
  EXPECT_FALSE(poke(r).handle.protectionBrake);
  EXPECT_EQ(poke(r).signals.patternState, 0);
  EXPECT_EQ(poke(r).pos.remaining, 0);
}

}  // namespace
}  // namespace velmoria
