// The Controls dialog: keys taken by pressing them, pad buttons and axes chosen from lists,
// each given to one action only, and the defaults back at one click.
#include "controls/controls_dialog_qt.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace velmoria::controls {
namespace {

TEST(ControlsDialog, a_key_pressed_after_the_click_is_the_actions_new_key) {
  ControlsDialog dialog(Bindings::defaults());
  QPushButton* horn = dialog.keyButton(Action::Horn);
  EXPECT_EQ(horn->text(), "3");
  horn->click();
  QTest::keyClick(horn, Qt::Key_H);
  EXPECT_EQ(dialog.bindings().key(Action::Horn), "H");
  EXPECT_EQ(horn->text(), "H");
  // Taking another action's key leaves that one without a key.
  dialog.keyButton(Action::Doors)->click();
  QTest::keyClick(dialog.keyButton(Action::Doors), Qt::Key_Space);
  EXPECT_EQ(dialog.bindings().key(Action::Doors), "Space");
  EXPECT_EQ(dialog.bindings().key(Action::Acknowledge), "");
  // Return is a key like any other while waiting: it does not press OK.
  dialog.keyButton(Action::Reset)->click();
  QTest::keyClick(dialog.keyButton(Action::Reset), Qt::Key_Return);
  EXPECT_EQ(dialog.bindings().key(Action::Reset), "Return");
  EXPECT_EQ(dialog.bindings().key(Action::CallOut), "");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(ControlsDialog, escape_function_keys_and_modifiers_do_not_take_a_key) {
  ControlsDialog dialog(Bindings::defaults());
  QPushButton* horn = dialog.keyButton(Action::Horn);
  horn->click();
  QTest::keyClick(horn, Qt::Key_F5);     // the value display's own key
  QTest::keyClick(horn, Qt::Key_Shift);  // a modifier alone
  EXPECT_EQ(dialog.bindings().key(Action::Horn), "3");
  QTest::keyClick(horn, Qt::Key_Escape);
  EXPECT_EQ(dialog.bindings().key(Action::Horn), "3");
  EXPECT_EQ(horn->text(), "3");
  // Not waiting any more: a key now changes nothing.
  QTest::keyClick(horn, Qt::Key_J);
  EXPECT_EQ(dialog.bindings().key(Action::Horn), "3");
}

TEST(ControlsDialog, a_pad_button_chosen_is_taken_from_the_action_that_had_it) {
  ControlsDialog dialog(Bindings::defaults());
  QComboBox* doors = dialog.buttonBox(Action::Doors);
  doors->setCurrentIndex(doors->findData("a"));  // the horn's
  EXPECT_EQ(dialog.bindings().button(Action::Doors), PadButton::A);
  EXPECT_EQ(dialog.bindings().button(Action::Horn), std::nullopt);
  EXPECT_EQ(dialog.buttonBox(Action::Horn)->currentIndex(), 0);  // shown as none
}

TEST(ControlsDialog, one_half_axis_works_one_handle) {
  ControlsDialog dialog(Bindings::defaults());
  QComboBox* power = dialog.powerAxisBox();
  power->setCurrentIndex(power->findData("+lefttrigger"));  // the brake's
  EXPECT_EQ(dialog.bindings().powerAxis, (AxisBinding{PadAxis::LeftTrigger, 1}));
  EXPECT_EQ(dialog.bindings().brakeAxis, AxisBinding{});
  dialog.brakeAxisBox()->setCurrentIndex(dialog.brakeAxisBox()->findData("+lefty"));
  EXPECT_EQ(dialog.bindings().brakeAxis, (AxisBinding{PadAxis::LeftY, 1}));
  EXPECT_EQ(dialog.bindings().powerAxis, (AxisBinding{PadAxis::LeftTrigger, 1}));
}

TEST(ControlsDialog, defaults_puts_everything_back) {
  Bindings b = Bindings::defaults();
  bindKey(b, Action::Horn, "H");
  bindButton(b, Action::Horn, PadButton::B);
  b.powerAxis = AxisBinding{};
  ControlsDialog dialog(b);
  EXPECT_EQ(dialog.keyButton(Action::Horn)->text(), "H");
  dialog.defaultsButton()->click();
  EXPECT_EQ(dialog.bindings(), Bindings::defaults());
  EXPECT_EQ(dialog.keyButton(Action::Horn)->text(), "3");
  EXPECT_EQ(dialog.powerAxisBox()->currentData().toString(), "+righttrigger");
}

}  // namespace
}  // namespace velmoria::controls
