// The driver's own keys and any game pad as the cab window wires them: rebound keys go to the
// run as the keys they stand for, the pad is read every 100 ms through the bindings, the
// Controls dialog saves what it changed, and the help window lists the bindings in force.
#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "controls/bindings_store_qt.h"
#include "controls/controls_dialog_qt.h"
#include "frontend/run_history_qt.h"
#include "report/history.h"
#include "support/desktop_fixture.h"
#include "support/scripted_gamepad.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using controls::Action;
using test::ScriptedGamepad;

// A config folder of the test's own, in place before the program reads its bindings.
struct OwnConfigFolder {
  OwnConfigFolder() : saved(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  }
  ~OwnConfigFolder() { qputenv("XDG_CONFIG_HOME", saved); }
  QTemporaryDir dir;
  QByteArray saved;
};

class GamePadTest : public OwnConfigFolder, public test::DesktopFixture {
 protected:
  GamePadTest() {
    auto scripted = std::make_unique<ScriptedGamepad>();
    pad = scripted.get();
    app->media().gamepad = std::move(scripted);
    pad->state.connected = true;
    pad->state.id = 1;
  }
  void press(Qt::Key key, const char* text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&cab(), &event);
  }
  int brake() { return poke(run()).handle.brakeStep; }
  int notch() { return poke(run()).handle.powerNotch; }
  QString help() { return app->help().memo()->toPlainText(); }

  ScriptedGamepad* pad = nullptr;
};

TEST_F(GamePadTest, without_a_rebinding_the_keys_drive_as_always) {
  choose();  // train_test.dat: 4 notches, 8 brake steps; the run starts in EB
  cab().start1Click();
  press(Qt::Key_8, "8");
  EXPECT_EQ(brake(), -7);
  press(Qt::Key_W, "w");
  EXPECT_EQ(brake(), -7);
}

TEST_F(GamePadTest, a_rebound_key_is_its_action_and_the_old_key_does_nothing) {
  controls::bindKey(app->bindings(), Action::PowerStep, "W");
  choose();
  cab().start1Click();
  press(Qt::Key_W, "w");
  EXPECT_EQ(brake(), -7);
  press(Qt::Key_8, "8");
  EXPECT_EQ(brake(), -7);
  press(Qt::Key_2, "2");   // keys not rebound keep going as always
  EXPECT_EQ(brake(), -7);  // B7 is the last service step
  press(Qt::Key_5, "5");
  EXPECT_EQ(brake(), 0);
}

TEST_F(GamePadTest, the_keypads_enter_is_return_in_the_bindings) {
  controls::bindKey(app->bindings(), Action::PowerStep, "Return");
  choose();
  cab().start1Click();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier, "\r");
  QCoreApplication::sendEvent(&cab(), &enter);
  EXPECT_EQ(brake(), -7);
  QKeyEvent eight(QEvent::KeyPress, Qt::Key_8, Qt::KeypadModifier, "8");
  QCoreApplication::sendEvent(&cab(), &eight);  // the keypad's 8 has moved with the main one
  EXPECT_EQ(brake(), -7);
}

TEST_F(GamePadTest, the_pad_is_read_from_the_creation_on_and_works_power_and_brake) {
  choose();
  EXPECT_TRUE(cab().padTimer().isActive());
  cab().start1Click();
  cab().padTick();  // the first look at the pad
  pad->state.axes[static_cast<size_t>(PadAxis::LeftTrigger)] = 0;
  pad->state.axes[static_cast<size_t>(PadAxis::RightTrigger)] = 32767;
  cab().padTick();
  EXPECT_EQ(notch(), 4);
  EXPECT_EQ(brake(), 0);
  EXPECT_EQ(panelText("PowerLabel"), "P4");  // the cab is drawn again
  pad->state.axes[static_cast<size_t>(PadAxis::RightTrigger)] = 0;
  pad->state.axes[static_cast<size_t>(PadAxis::LeftTrigger)] = 16384;  // B4
  cab().padTick();
  EXPECT_EQ(notch(), 0);
  EXPECT_EQ(brake(), -4);
  // The window's own timer reads it too.
  const int polls = pad->polls;
  QElapsedTimer timer;
  timer.start();
  while (pad->polls == polls && timer.elapsed() < 2000) test::processEvents(5);
  EXPECT_GT(pad->polls, polls);
}

TEST_F(GamePadTest, with_no_pad_attached_nothing_changes) {
  pad->state = GamepadState{};
  choose();
  cab().start1Click();
  for (int i = 0; i < 3; ++i) cab().padTick();
  EXPECT_EQ(brake(), -8);
  EXPECT_EQ(notch(), 0);
}

TEST_F(GamePadTest, a_densha_de_go_kind_keeps_the_first_joystick_for_the_usb_scan) {
  choose();
  cab().padTick();
  EXPECT_FALSE(pad->leavingFirst);
  cab().action("COM31")->trigger();
  cab().padTick();
  EXPECT_TRUE(pad->leavingFirst);
  cab().action("COM11")->trigger();
  cab().padTick();
  EXPECT_FALSE(pad->leavingFirst);
}

TEST_F(GamePadTest, the_help_window_lists_the_bindings_in_force) {
  EXPECT_TRUE(help().startsWith("line 1"));  // operation.dat's text first
  EXPECT_TRUE(help().contains(QString::fromUtf8("警笛 : 3 / a"))) << help().toStdString();
  EXPECT_TRUE(help().contains(QString::fromUtf8("力行 (パッドの軸) : +righttrigger")));
}

TEST_F(GamePadTest, the_controls_dialog_saves_a_rebinding_and_the_help_shows_it) {
  choose();
  cab().start1Click();
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<controls::ControlsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = true;
    QPushButton* key = dialog->keyButton(Action::PowerStep);
    key->click();
    QTest::keyClick(key, Qt::Key_W);
    dialog->accept();
  });
  cab().action("Controls1")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(app->bindings().key(Action::PowerStep), "W");
  EXPECT_TRUE(help().contains(QString::fromUtf8("力行側へ1段 : W / rightshoulder")));
  EXPECT_EQ(controls::loadBindings(), app->bindings());
  EXPECT_TRUE(QFile::exists(dir.path() + "/Velmoria/controls.conf"));
  press(Qt::Key_W, "w");
  EXPECT_EQ(brake(), -7);
}

TEST_F(GamePadTest, a_dialog_cancelled_changes_and_writes_nothing) {
  choose();
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<controls::ControlsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->keyButton(Action::PowerStep)->click();
    QTest::keyClick(dialog->keyButton(Action::PowerStep), Qt::Key_W);
    dialog->reject();
  });
  cab().action("Controls1")->trigger();
  EXPECT_EQ(app->bindings(), controls::Bindings::defaults());
  EXPECT_FALSE(QFile::exists(dir.path() + "/Velmoria/controls.conf"));
}

}  // namespace
}  // namespace velmoria

namespace velmoria {
namespace {

// What the pad and a rebound key did is in the run's record, so the stored run replays to the
// drive that was shown.
class GamePadRecordTest : public GamePadTest {
 protected:
  GamePadRecordTest() {
    runs = *report::historyFolder();
    std::filesystem::remove_all(runs.parent_path());
    setHistoryEnabled(true);
  }
  ~GamePadRecordTest() override {
    std::error_code ec;
    std::filesystem::remove_all(runs.parent_path(), ec);
  }
  void runFor(int64_t ms) {
    for (int64_t i = 0; i < ms; ++i) {
      clock->advance(1);
      const int64_t since = clock->nowMs() - startedAt;
      if (since % 33 == 0) cab().MMTimer1Timer();
      if (since % 100 == 0) {
        cab().Timer1Timer();
        cab().padTick();
      }
    }
  }
  std::filesystem::path runs;
  int64_t startedAt = 0;
};

TEST_F(GamePadRecordTest, the_pads_and_rebound_keys_presses_replay_to_the_same_drive) {
  controls::bindKey(app->bindings(), Action::PowerStep, "W");
  choose();
  clock->advance(750);
  startedAt = clock->nowMs();
  cab().start1Click();
  runFor(400);
  QKeyEvent doors(QEvent::KeyPress, Qt::Key_F10, Qt::ShiftModifier);
  cab().handleKey(&doors);  // the clock on to the departure: the doors shut
  runFor(217);
  cab().handleKey(&doors);
  runFor(3000);
  press(Qt::Key_W, "w");  // the rebound key: one step off the emergency brake
  runFor(300);
  pad->state.axes[static_cast<size_t>(PadAxis::LeftTrigger)] = 0;
  pad->state.axes[static_cast<size_t>(PadAxis::RightTrigger)] = 32767;
  runFor(15000);  // full power from the pad
  ASSERT_EQ(notch(), 4);
  pad->state.axes[static_cast<size_t>(PadAxis::RightTrigger)] = 0;
  pad->state.axes[static_cast<size_t>(PadAxis::LeftTrigger)] = 16384;
  runFor(8000);
  cab().BackClick();
  test::processEvents(50);

  const HistoryListing history = readHistory(runs);
  ASSERT_EQ(history.runs.size(), 1u);
  const report::StoredFacts& facts = history.runs[0].stored;
  ASSERT_TRUE(facts.replayExact);
  EXPECT_TRUE(*facts.replayExact) << "the record drives the same run again";
  EXPECT_GT(history.runs[0].report.endM, history.runs[0].report.startM + 5);
}

}  // namespace
}  // namespace velmoria
