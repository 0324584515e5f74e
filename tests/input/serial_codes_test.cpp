#include <gtest/gtest.h>

#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

// mascon.dat lines 1..22 in the controller's own codes.
ControllerCodeTable codes() {
  return {"TSA50", "TSA55", "TSA65", "TSA75", "TSA85", "TSA86", "TSA45", "TSE99",
          "TSE98", "TSE97", "TSE96", "TSE95", "TSE94", "TSE93", "TSE92", "TSB40",
          "TSG99", "TSG50", "TSG00", "TSK99", "TSX99", "TSY99"};
}

class Serial : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run* run = nullptr;
  velmoria::Run& make(int power = 5) {
    t.data.vehicle.Power = power;
    t.data.vehicle.NotchTable.assign(power, NotchEntry{3, 3, 40, 60, 0.97});
    t.data.codes = codes();
    run = &t.make();
    return *run;
  }
};

TEST_F(Serial, a_code_sets_the_handle_outright) {
  make();
  poke(*run).handle.hold = true;
  run->RxChar("TSE97");
  EXPECT_EQ(poke(*run).handle.brakeStep, -3);
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
  EXPECT_TRUE(poke(*run).handle.hold);  // the hold position is not the controller's business
  EXPECT_TRUE(poke(*run).handle.powerPending && poke(*run).handle.brakePending &&
              poke(*run).handle.sapPending);
  EXPECT_EQ(poke(*run).display.values.caption, "TSE97");
  poke(*run).handle.hold = false;
  run->RxChar("TSE96");
  EXPECT_EQ(poke(*run).display.BrakeLabel.text, "B4");
}

TEST_F(Serial, seven_characters_compare_by_their_first_five) {
  make();
  run->RxChar("TSA65\r\n");
  EXPECT_EQ(poke(*run).handle.powerNotch, 3);
  EXPECT_EQ(poke(*run).handle.brakeStep, 0);
  EXPECT_EQ(poke(*run).display.values.caption, "TSA65\r\n");
}

TEST_F(Serial, a_code_of_six_characters_never_matches) {
  t.data.codes = codes();
  make();
  poke(*run).data.codes[6] = "TSA450";  // N
  poke(*run).handle.brakeStep = -5;
  run->RxChar("TSA450");
  EXPECT_EQ(poke(*run).handle.brakeStep, -5);
}

TEST_F(Serial, a_split_or_unknown_code_changes_nothing) {
  make();
  poke(*run).handle.brakeStep = -5;
  run->RxChar("TSA");
  run->RxChar("65");
  run->RxChar("");
  run->RxChar("QQQQQ");
  EXPECT_EQ(poke(*run).handle.brakeStep, -5);
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
}

TEST_F(Serial, an_empty_chunk_does_not_match_unused_entries) {
  make();
  poke(*run).data.codes.resize(10);  // entries 11..26 are empty
  poke(*run).handle.brakeStep = -2;
  run->RxChar("");
  EXPECT_EQ(poke(*run).handle.brakeStep, -2);
}

TEST_F(Serial, fifth_notch_is_ignored_for_the_201) {
  t.data.vehicle.fileName = "train_201.dat";
  make();
  run->RxChar("TSA85");
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
  run->RxChar("TSA86");
  EXPECT_EQ(poke(*run).handle.powerNotch, 0);
}

TEST_F(Serial, fifth_notch_acts_for_other_trains) {
  t.data.vehicle.fileName = "train_E233.dat";
  make();
  run->RxChar("TSA85");
  EXPECT_EQ(poke(*run).handle.powerNotch, 5);
}

TEST_F(Serial, positions_beyond_the_train_are_clamped) {
  make(4);
  run->RxChar("TSA85");
  EXPECT_EQ(poke(*run).handle.powerNotch, 4);
  run->RxChar("TSB40");  // EB code: -9 is this train's EB, -8
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  EXPECT_EQ(poke(*run).display.BrakeLabel.text, poke(*run).data.strings.EB);
}

TEST_F(Serial, eb_code_sounds_even_when_already_in_eb) {
  make();
  EXPECT_EQ(poke(*run).handle.brakeStep, -8);
  run->RxChar("TSB40");
  run->RxChar("TSB40");
  EXPECT_EQ(t.sound.playCount(run->vehicle().Sound_EB), 2);
}

TEST_F(Serial, reverser_codes_switch_the_lamps_and_wait_for_a_standstill) {
  make();
  run->RxChar("TSG00");
  EXPECT_EQ(poke(*run).handle.reverser, -1);
  EXPECT_FALSE(poke(*run).display.Lamp_Fwd);
  EXPECT_TRUE(poke(*run).display.Lamp_Bck);
  run->RxChar("TSG50");
  EXPECT_EQ(poke(*run).handle.reverser, 0);
  EXPECT_FALSE(poke(*run).display.Lamp_Bck);
  poke(*run).train.speed = Fixed::from(1.5L);
  run->RxChar("TSG99");
  EXPECT_EQ(poke(*run).handle.reverser, 0);
  poke(*run).train.speed = Fixed::fromInt(1);
  run->RxChar("TSG99");
  EXPECT_EQ(poke(*run).handle.reverser, 1);
  EXPECT_TRUE(poke(*run).display.Lamp_Fwd);
}

TEST_F(Serial, buttons_post_keys_that_run_after_the_handler) {
  make();
  poke(*run).handle.inputLock = false;
  run->RxChar("TSX99");
  EXPECT_EQ(t.sound.playCount(run->vehicle().Sound_Horn), 0);  // posted, not called
  ASSERT_EQ(poke(*run).postedKeys.size(), 1u);
  run->drainPostedKeys();
  EXPECT_EQ(t.sound.playCount(run->vehicle().Sound_Horn), 1);
  EXPECT_TRUE(poke(*run).postedKeys.empty());
  run->RxChar("TSK99");
  run->RxChar("TSY99");
  ASSERT_EQ(poke(*run).postedKeys.size(), 2u);
  EXPECT_EQ(poke(*run).postedKeys[0].ch, ' ');
  EXPECT_TRUE(poke(*run).postedKeys[1].isVirtual);
  EXPECT_EQ(poke(*run).postedKeys[1].key, VirtualKey::Enter);
}

TEST_F(Serial, posted_keys_respect_the_input_lock_but_handle_codes_do_not) {
  make();
  run->RxChar("TSX99");
  run->drainPostedKeys();
  EXPECT_EQ(t.sound.playCount(run->vehicle().Sound_Horn), 0);
  run->RxChar("TSA50");
  EXPECT_EQ(poke(*run).handle.powerNotch, 1);
}

TEST_F(Serial, every_chunk_resets_the_vigilance_device) {
  make();
  poke(*run).vigilance.counter = 55;
  poke(*run).display.Lamp_EB = true;
  run->RxChar("junk!");
  EXPECT_EQ(poke(*run).vigilance.counter, 0);
  EXPECT_FALSE(poke(*run).display.Lamp_EB);
}

}  // namespace
}  // namespace velmoria

namespace velmoria {
namespace {

TEST(SerialAcknowledge, posted_space_acknowledges_once_rxchar_has_returned) {
  test::TestRun t;
  t.data.codes = codes();
  velmoria::Run& run = t.makeUnlocked();
  poke(run).handle.brakeStep = -3;
  poke(run).signals.alarm = true;
  run.RxChar("TSK99");
  EXPECT_TRUE(poke(run).signals.alarm);  // nothing acknowledged inside RxChar
  run.drainPostedKeys();
  EXPECT_FALSE(poke(run).signals.alarm);
  EXPECT_TRUE(poke(run).signals.acknowledged);
}

}  // namespace
}  // namespace velmoria
