#include <gtest/gtest.h>

#include "sound/sound_bank.h"
#include "support/run_ticks.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::TestRun;
using test::tick;

// Commentary clips 0..19 (two [KankoSound2] entries) of 100 ms each, and three board clips.
struct CalloutRun : TestRun {
  std::vector<WaveId> clips, boards;
  CalloutRun() {
    data.route.hasKankoSound2 = true;
    data.route.KankoSound2 = {"n0.wav", "n1.wav"};
  }
  Run& start() {
    for (int i = 0; i < 20; ++i) clips.push_back(sound.addWave(100));
    for (int i = 0; i < 3; ++i) boards.push_back(sound.addWave(100));
    data.sounds.kanko = clips;
    data.sounds.boards = boards;
    Run& r = makeUnlocked();
    poke(r).handle.doorOpen = false;
    return r;
  }
  std::vector<WaveId> queued() const {
    std::vector<WaveId> out;
    for (WaveId w : poke(*run).callouts.queue)
      if (w >= 0) out.push_back(w);
    return out;
  }
  std::vector<WaveId> wavesOf(std::initializer_list<int> numbers) const {
    std::vector<WaveId> out;
    for (int n : numbers) out.push_back(clips[n]);
    return out;
  }
};

TEST(CalloutQueue, a_thirteenth_clip_is_dropped) {
  CalloutRun t;
  auto& r = t.start();
  for (int i = 0; i < 13; ++i) poke(r).callouts_.kanko_queue_add(i);
  EXPECT_EQ(t.queued(), t.wavesOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(CalloutQueue, clips_play_one_after_another_on_channel_254) {
  CalloutRun t;
  auto& r = t.start();
  poke(r).callouts_.kanko_queue_add(3);
  poke(r).callouts_.kanko_queue_add(7);
  tick(t);
  EXPECT_EQ(t.sound.attachedWave(kCalloutChannel), t.clips[3]);
  EXPECT_TRUE(t.sound.isPlaying(kCalloutChannel));
  EXPECT_TRUE(poke(r).callouts.playing);
  EXPECT_EQ(t.queued(), t.wavesOf({3, 7}));  // the playing clip keeps slot 0
  tick(t);                                   // the 100 ms clip has ended: the next one starts
  EXPECT_EQ(t.sound.attachedWave(kCalloutChannel), t.clips[7]);
  EXPECT_EQ(t.queued(), t.wavesOf({7}));
  tick(t);
  EXPECT_TRUE(t.queued().empty());
  EXPECT_FALSE(poke(r).callouts.playing);
  EXPECT_EQ(t.sound.playCount(kCalloutChannel), 2);
}

TEST(CalloutQueue, a_busy_queue_is_not_served) {
  CalloutRun t;
  auto& r = t.start();
  poke(r).callouts_.kanko_queue_add(1);
  poke(r).callouts.busy = true;
  r.tickStep(TickStep::CalloutQueue);
  EXPECT_EQ(t.sound.playCount(kCalloutChannel), 0);
}

TEST(CalloutQueue, an_absent_clip_is_not_queued) {
  CalloutRun t;
  t.start();
  poke(*t.run).data.sounds.kanko[4] = -1;
  poke(*t.run).callouts_.kanko_queue_add(4);
  poke(*t.run).callouts_.kanko_queue_add(40);  // beyond the clip table
  EXPECT_TRUE(t.queued().empty());
}

TEST(CalloutQueue, S1_empties_the_queue_and_leaves_the_playing_flag) {
  CalloutRun t;
  auto& r = t.start();
  poke(r).callouts_.kanko_queue_add(1);
  poke(r).callouts_.kanko_queue_add(2);
  tick(t);
  r.S1Click();
  EXPECT_TRUE(t.queued().empty());
  EXPECT_TRUE(poke(r).callouts.playing);
}

// --- Timekanko ---------------------------------------------------------------------------------

struct TimeCase {
  int32_t offset;  // clock minus timetable time, clock ticks
  std::vector<int> clips;
};
class TimekankoTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimekankoTest, says_how_early_or_late) {
  CalloutRun t;
  auto& r = t.start();
  poke(r).pos.clockTicks = 36000 + GetParam().offset;
  test::Timekanko(r, 36000);
  std::vector<WaveId> expected;
  for (int c : GetParam().clips) expected.push_back(t.clips[c]);
  EXPECT_EQ(t.queued(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, TimekankoTest,
    ::testing::Values(TimeCase{0, {17}}, TimeCase{449, {17}}, TimeCase{-449, {17}},
                      TimeCase{450, {13}}, TimeCase{-450, {15}}, TimeCase{451, {6, 13}},
                      TimeCase{900, {6, 13}}, TimeCase{901, {7, 13}}, TimeCase{-1351, {8, 15}},
                      TimeCase{2000, {9, 13}}, TimeCase{3150, {11, 13}}, TimeCase{3151, {12, 13}},
                      TimeCase{3600, {12, 13}}, TimeCase{3601, {}}, TimeCase{-3601, {}}));

TEST(Timecheck, calls_out_the_time_of_the_board_in_range) {
  CalloutRun t;
  t.data.route.TimeEventTable = {{0, 100, 200, 36000}, {1, 100, 200, 30000}};
  auto& r = t.start();
  poke(r).pos.clockTicks = 36000;
  poke(r).pos.frame = 150;
  test::Timecheck(r, 0);
  EXPECT_EQ(t.queued(), t.wavesOf({17}));
  poke(r).pos.frame = 200;
  test::Timecheck(r, 0);
  EXPECT_EQ(t.queued(), t.wavesOf({17}));
}

// --- The call-out key ------------------------------------------------------------------------

TEST(CalloutRequest, calls_out_the_signal_with_its_entries_before_and_after) {
  CalloutRun t;
  SignalEntry s;
  s.kind = 4;
  s.viewFrame = 0;
  s.signalFrame = 1000;
  s.number = 1;  // [KankoSound2] entry 1 names this signal
  t.data.route.SignalTable = {s};
  t.data.route.SignalKankoTable = {{0, 0, 9}, {0, 1, 10}, {1, 0, 11}};
  t.data.images.SignalImageList.resize(22);
  auto& r = t.start();
  poke(r).pos.precedingFrame = 0;
  poke(r).pos.frame = 500;
  tick(t);  // kind 4, level 4: index 16, clear
  ASSERT_EQ(poke(r).signals.shownIndex, 16);
  test::calloutRequest(r);
  EXPECT_EQ(t.queued(), t.wavesOf({9, 19, 4, 10}));
}

TEST(CalloutRequest, with_no_signal_shown_only_the_after_entries_of_the_signal_in_view) {
  CalloutRun t;
  t.data.route.SignalKankoTable = {{999, 1, 10}};
  auto& r = t.start();
  test::calloutRequest(r);
  EXPECT_EQ(t.queued(), t.wavesOf({10}));
}

TEST(CalloutRequest, a_board_is_called_out_once_while_passing_it) {
  CalloutRun t;
  auto& r = t.start();
  poke(r).limits.signTarget = 2;
  poke(r).train.speed = Fixed::fromInt(40);
  test::calloutRequest(r);
  test::calloutRequest(r);
  EXPECT_EQ(t.queued(), std::vector<WaveId>{t.boards[2]});
  EXPECT_EQ(poke(r).callouts.lastKey, 2 + 20 + 0 + 20);  // drive, route sounds, clips
}

TEST(CalloutRequest, a_timetable_board_can_be_called_out_again_and_again) {
  CalloutRun t;
  t.data.route.TimeEventTable = {{1, 100, 200, 36000}};
  auto& r = t.start();
  poke(r).pos.frame = 150;
  poke(r).pos.clockTicks = 36000;
  poke(r).limits.signTarget = 901;
  poke(r).train.speed = Fixed::fromInt(40);
  test::calloutRequest(r);
  test::calloutRequest(r);
  EXPECT_EQ(t.queued(), t.wavesOf({17, 17}));
}

TEST(CalloutRequest, a_blinking_speed_limit_is_called_out_when_no_sign_is_shown) {
  CalloutRun t;
  auto& r = t.start();
  poke(r).limits.blink = true;
  poke(r).limits.calloutPicture = 1;
  poke(r).train.speed = Fixed::fromInt(40);
  test::calloutRequest(r);
  EXPECT_EQ(t.queued(), std::vector<WaveId>{t.boards[1]});
}

TEST(CalloutRequest, at_a_standstill_the_key_calls_out_the_signal) {
  CalloutRun t;
  auto& r = t.start();
  poke(r).limits.signTarget = 2;
  poke(r).limits.blink = true;
  poke(r).signals.shownIndex = 1;
  poke(r).signals.shownNumber = 999;
  test::calloutRequest(r);
  EXPECT_EQ(t.queued(), t.wavesOf({5}));
}

}  // namespace
}  // namespace velmoria
