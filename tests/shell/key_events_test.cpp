#include "input/key_events_qt.h"

#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QWheelEvent>

namespace velmoria {
namespace {

struct KeyCase {
  const char* what;
  int key;
  Qt::KeyboardModifiers mods;
  QString text;
  std::optional<VirtualKey> virtualKey;
  bool shiftOnly;
  std::optional<char> character;
};

class TranslateKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(TranslateKey, gives_the_virtual_key_and_the_character_windows_would) {
  const KeyCase& c = GetParam();
  QKeyEvent event(QEvent::KeyPress, c.key, c.mods, c.text);
  const TranslatedKey out = translateKey(event);
  EXPECT_EQ(out.key, c.virtualKey);
  EXPECT_EQ(out.shiftOnly, c.shiftOnly);
  EXPECT_EQ(out.character, c.character);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TranslateKey,
    ::testing::Values(
        KeyCase{"digit", Qt::Key_8, Qt::NoModifier, "8", std::nullopt, false, '8'},
        KeyCase{"keypad digit", Qt::Key_2, Qt::KeypadModifier, "2", std::nullopt, false, '2'},
        KeyCase{"letter", Qt::Key_Z, Qt::NoModifier, "z", std::nullopt, false, 'z'},
        KeyCase{"space", Qt::Key_Space, Qt::NoModifier, " ", std::nullopt, false, ' '},
        KeyCase{"slash", Qt::Key_Slash, Qt::NoModifier, "/", std::nullopt, false, '/'},
        KeyCase{"ctrl letter has no character", Qt::Key_A, Qt::ControlModifier, "\x01",
                std::nullopt, false, std::nullopt},
        KeyCase{"enter", Qt::Key_Return, Qt::NoModifier, "\r", VirtualKey::Enter, false,
                std::nullopt},
        KeyCase{"keypad enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", VirtualKey::Enter, false,
                std::nullopt},
        KeyCase{"F1", Qt::Key_F1, Qt::NoModifier, "", VirtualKey::F1, false, std::nullopt},
        KeyCase{"shift F5", Qt::Key_F5, Qt::ShiftModifier, "", VirtualKey::F5, true, std::nullopt},
        KeyCase{"ctrl shift F8 is not shift only", Qt::Key_F8,
                Qt::ShiftModifier | Qt::ControlModifier, "", VirtualKey::F8, false, std::nullopt},
        KeyCase{"F12", Qt::Key_F12, Qt::NoModifier, "", VirtualKey::F12, false, std::nullopt},
        KeyCase{"scroll lock", Qt::Key_ScrollLock, Qt::NoModifier, "", VirtualKey::ScrollLock,
                false, std::nullopt},
        KeyCase{"shifted letter keeps its case", Qt::Key_F, Qt::ShiftModifier, "F", std::nullopt,
                true, 'F'}),
    [](const auto& info) {
      std::string name = info.param.what;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

QWheelEvent wheel(int deltaY) {
  return QWheelEvent(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, deltaY), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
}

TEST(WheelSteps, one_notch_is_one_step_toward_or_away_from_the_user) {
  WheelSteps steps;
  EXPECT_EQ(steps.add(wheel(-120)), -1);  // toward the user: WheelD
  EXPECT_EQ(steps.add(wheel(120)), 1);    // away: WheelU
  EXPECT_EQ(steps.add(wheel(-240)), -2);
}

TEST(WheelSteps, fine_wheels_step_once_a_whole_notch_has_turned) {
  WheelSteps steps;
  EXPECT_EQ(steps.add(wheel(50)), 0);
  EXPECT_EQ(steps.add(wheel(50)), 0);
  EXPECT_EQ(steps.add(wheel(50)), 1);    // 150: one step, 30 kept
  EXPECT_EQ(steps.add(wheel(-100)), 0);  // -70
  EXPECT_EQ(steps.add(wheel(-50)), -1);  // -120
}

}  // namespace
}  // namespace velmoria
