#include <gtest/gtest.h>

#include "frame/startup_error.h"
#include "support/steps.h"
#include "support/test_run.h"

namespace velmoria {
namespace {

Strings cabStrings() {
  Strings s;
  s.Forward = "前";
  s.Neutral = "中";
  s.Reverse = "後";
  s.Neut = "運転";
  s.Neut2 = "切";
  s.Apply = "重なり込め";
  s.Maintain = "保ち";
  s.Hold = "重なり";
  s.Hold2 = "抑速";
  s.EB = "非常";
  return s;
}

IndicatorList pictures(int count) {
  IndicatorList l;
  for (int i = 0; i < count; ++i) l.images.push_back(ImageInfo{i, 10, 10});
  return l;
}

class Handle : public ::testing::Test {
 protected:
  test::TestRun t;
  velmoria::Run& make() {
    t.data.strings = cabStrings();
    t.data.images.NotchImageP = pictures(t.data.vehicle.Power + 1);
    t.data.images.NotchImageB = pictures(t.data.vehicle.Brake + 1 + t.data.vehicle.Hold);
    return t.make();
  }
};

TEST_F(Handle, starts_in_emergency_forward_with_power_off) {
  velmoria::Run& run = make();
  EXPECT_EQ(poke(run).display.BrakeLabel.text, "非常");
  EXPECT_EQ(poke(run).display.PowerLabel.text, "切");
  EXPECT_EQ(poke(run).display.Label1.text, "前");
  EXPECT_EQ(poke(run).display.Lamp_B.picture, 8);
  EXPECT_EQ(poke(run).display.Lamp_P.picture, 0);
  EXPECT_EQ(poke(run).handle.brakeStep, -8);
  EXPECT_EQ(poke(run).handle.effectiveBrake, -8);
  EXPECT_EQ(poke(run).handle.sapStep, 0);
  EXPECT_TRUE(poke(run).handle.doorOpen);
  EXPECT_TRUE(poke(run).handle.inputLock);
}

TEST_F(Handle, numbered_steps_and_notches_are_labelled) {
  velmoria::Run& run = make();
  poke(run).handle.brakeStep = -3;
  poke(run).handle.powerNotch = 2;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.BrakeLabel.text, "B3");
  EXPECT_EQ(poke(run).display.PowerLabel.text, "P2");
  poke(run).handle.brakeStep = 0;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.BrakeLabel.text, "運転");
}

TEST_F(Handle, brake_type_0_has_four_named_positions) {
  t.data.vehicle.BrakeType = 0;
  t.data.vehicle.Brake = 9;
  velmoria::Run& run = make();
  EXPECT_EQ(run.vehicle().Brake, 4);
  EXPECT_EQ(poke(run).handle.brakeStep, -4);
  const std::pair<int, const char*> names[] = {
      {-4, "非常"}, {-3, "重なり込め"}, {-2, "重なり"}, {-1, "保ち"}, {0, "運転"}};
  for (auto [step, text] : names) {
    poke(run).handle.brakeStep = step;
    test::masconupdate(run);
    EXPECT_EQ(poke(run).display.BrakeLabel.text, text) << step;
  }
}

TEST_F(Handle, hold_position_has_its_own_text_and_picture) {
  t.data.vehicle.Hold = 1;
  velmoria::Run& run = make();
  poke(run).handle.brakeStep = 0;
  poke(run).handle.hold = true;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.BrakeLabel.text, "抑速");
  EXPECT_EQ(poke(run).display.Lamp_B.picture, 1);
  poke(run).handle.hold = false;
  poke(run).handle.brakeStep = -1;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.BrakeLabel.text, "B1");
  EXPECT_EQ(poke(run).display.Lamp_B.picture, 2);
  poke(run).handle.brakeStep = 0;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.Lamp_B.picture, 0);
}

TEST_F(Handle, protection_pictures_override_the_handles_but_not_the_labels) {
  velmoria::Run& run = make();
  poke(run).handle.brakeStep = 0;
  poke(run).handle.powerNotch = 3;
  poke(run).handle.atsEmergency = true;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.Lamp_P.picture, 0);
  EXPECT_EQ(poke(run).display.Lamp_B.picture, 8);  // EB picture
  EXPECT_EQ(poke(run).display.PowerLabel.text, "P3");
  poke(run).handle.protectionBrake = true;  // both: the maximum-service picture stays
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.Lamp_B.picture, 7);
  poke(run).handle.atsEmergency = poke(run).handle.protectionBrake = false;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.Lamp_P.picture, 3);
  EXPECT_EQ(poke(run).display.Lamp_B.picture, 0);
}

TEST_F(Handle, missing_pictures_leave_the_image_empty) {
  velmoria::Run& run = make();
  poke(run).data.images.NotchImageB.images.resize(3);
  poke(run).handle.brakeStep = -5;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).display.Lamp_B.picture, -1);
}

TEST_F(Handle, update_resets_vigilance_and_softens_the_stop_alert) {
  velmoria::Run& run = make();
  poke(run).vigilance.counter = 77;
  t.sound.playLooped(run.vehicle().Stop);
  poke(run).handle.brakeStep = -2;
  test::masconupdate(run);
  EXPECT_EQ(poke(run).vigilance.counter, 0);
  EXPECT_EQ(t.sound.volume(run.vehicle().Stop), -800);
}

TEST_F(Handle, refuses_a_stepped_brake_with_fewer_than_three_positions) {
  t.data.vehicle.Brake = 2;
  try {
    make();
    FAIL() << "no error";
  } catch (const StartupError& e) {
    EXPECT_STREQ(e.what(), "ブレーキの段数を3段以上に設定してください");
  }
}

TEST_F(Handle, doors_act_only_at_a_rounded_standstill) {
  velmoria::Run& run = make();
  poke(run).train.speed = Fixed::from(0.6L);
  test::Door_operate(run);
  EXPECT_TRUE(poke(run).handle.doorOpen);
  EXPECT_EQ(t.sound.playCount(run.vehicle().Sound_DoorClose), 0);
  poke(run).train.speed = Fixed::from(0.4L);
  test::Door_operate(run);  // open doors: the closing sound; the run loop closes them later
  EXPECT_EQ(t.sound.playCount(run.vehicle().Sound_DoorClose), 1);
  EXPECT_TRUE(poke(run).handle.doorOpen);
  EXPECT_FALSE(poke(run).handle.doorSoundOpening);
  poke(run).handle.doorOpen = false;
  test::Door_operate(run);
  EXPECT_EQ(t.sound.playCount(run.vehicle().Sound_DoorOpen), 1);
  EXPECT_TRUE(poke(run).handle.doorOpen);
  EXPECT_TRUE(poke(run).handle.doorSoundOpening);
}

struct StepCase {
  int hold;
  int fromBrake;
  bool fromHold;
  int fromPower;
  bool towardPower;
  int toBrake;
  bool toHold;
  int toPower;
};
class HandleSteps : public Handle, public ::testing::WithParamInterface<StepCase> {};

TEST_P(HandleSteps, move_one_position) {
  const StepCase& c = GetParam();
  t.data.vehicle.Hold = c.hold;
  velmoria::Run& run = make();
  poke(run).handle.brakeStep = c.fromBrake;
  poke(run).handle.hold = c.fromHold;
  poke(run).handle.powerNotch = c.fromPower;
  poke(run).handle.powerPending = poke(run).handle.brakePending = poke(run).handle.sapPending =
      false;
  if (c.towardPower)
    poke(run).handleModel.StepTowardPower();
  else
    poke(run).handleModel.StepTowardBrake(-7);
  EXPECT_EQ(poke(run).handle.brakeStep, c.toBrake);
  EXPECT_EQ(poke(run).handle.hold, c.toHold);
  EXPECT_EQ(poke(run).handle.powerNotch, c.toPower);
  EXPECT_TRUE(poke(run).handle.powerPending && poke(run).handle.brakePending &&
              poke(run).handle.sapPending);
}
INSTANTIATE_TEST_SUITE_P(
    Positions, HandleSteps,
    ::testing::Values(
        // hold, from (brake, hold, power), toward power, to (brake, hold, power)
        StepCase{0, -2, false, 0, true, -1, false, 0}, StepCase{0, -1, false, 0, true, 0, false, 0},
        StepCase{0, 0, false, 0, true, 0, false, 1}, StepCase{0, 0, false, 4, true, 0, false, 4},
        StepCase{1, -1, false, 0, true, 0, true, 0}, StepCase{1, 0, true, 0, true, 0, false, 0},
        StepCase{0, 0, false, 2, false, 0, false, 1}, StepCase{0, 0, false, 0, false, -1, false, 0},
        StepCase{0, -7, false, 0, false, -7, false, 0}, StepCase{1, 0, false, 0, false, 0, true, 0},
        StepCase{1, 0, true, 0, false, -1, false, 0},
        // [Hold] other than 0 or 1 never lowers the brake
        StepCase{2, -1, false, 0, false, -1, false, 0}));

}  // namespace
}  // namespace velmoria
