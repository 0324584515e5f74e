#include "replay/script.h"

#include <gtest/gtest.h>

#include <sstream>

namespace velmoria::replay {
namespace {

ScriptCommand one(const std::string& line) {
  std::optional<ScriptError> error;
  auto c = parseScriptLine(line, 7, error);
  EXPECT_FALSE(error) << (error ? error->message : "");
  EXPECT_TRUE(c) << line;
  return c.value_or(ScriptCommand{});
}

TEST(DriveScript, simple_commands) {
  EXPECT_EQ(one("0 start").kind, CommandKind::Start);
  EXPECT_EQ(one("5 voice").kind, CommandKind::Voice);
  const auto q = one("  120000   quit   # the end");
  EXPECT_EQ(q.kind, CommandKind::Quit);
  EXPECT_EQ(q.timeMs, 120000);
  EXPECT_EQ(q.line, 7);
}

struct KeyCase {
  const char* line;
  char key;
};
class DriveScriptKeys : public testing::TestWithParam<KeyCase> {};
TEST_P(DriveScriptKeys, name_or_character_gives_the_key) {
  const auto c = one(GetParam().line);
  EXPECT_EQ(c.kind, CommandKind::Key);
  EXPECT_EQ(c.key, GetParam().key);
}
INSTANTIATE_TEST_SUITE_P(Cases, DriveScriptKeys,
                         testing::Values(KeyCase{"1 key 8", '8'}, KeyCase{"1 key z", 'z'},
                                         KeyCase{"1 key space", ' '}, KeyCase{"1 key comma", ','},
                                         KeyCase{"1 key period", '.'}, KeyCase{"1 key slash", '/'},
                                         KeyCase{"1 key -", '-'}, KeyCase{"1 key .", '.'},
                                         KeyCase{"1 key hash", '#'}));

TEST(DriveScript, virtual_keys_with_and_without_shift) {
  auto c = one("10 vkey F11 shift");
  EXPECT_EQ(c.kind, CommandKind::VKey);
  EXPECT_EQ(c.vkey, VirtualKey::F11);
  EXPECT_TRUE(c.shift);
  c = one("10 vkey Enter");
  EXPECT_EQ(c.vkey, VirtualKey::Enter);
  EXPECT_FALSE(c.shift);
  EXPECT_EQ(one("10 vkey ScrollLock").vkey, VirtualKey::ScrollLock);
  EXPECT_EQ(one("10 vkey F1").vkey, VirtualKey::F1);
}

TEST(DriveScript, wheel_directions) {
  EXPECT_TRUE(one("3 wheel up").wheelUp);
  EXPECT_FALSE(one("3 wheel down").wheelUp);
}

TEST(DriveScript, serial_text_keeps_inner_spaces_and_resolves_escapes) {
  EXPECT_EQ(one("4 serial TSA50").text, "TSA50");
  EXPECT_EQ(one("4 serial a b\\r\\n").text, "a b\r\n");
  EXPECT_EQ(one("4 serial \\x23x\\\\\\s").text, "#x\\ ");
}

TEST(DriveScript, usb_state) {
  const auto c = one("300 usb 1 2000 -6000 1 0 0 0 0 0 0 0 0 1 0 0 0 0 0 1");
  EXPECT_EQ(c.kind, CommandKind::Usb);
  EXPECT_EQ(c.usbKind, 1);
  EXPECT_EQ(c.x, 2000);
  EXPECT_EQ(c.y, -6000);
  EXPECT_TRUE(c.buttons[0]);
  EXPECT_FALSE(c.buttons[1]);
  EXPECT_TRUE(c.buttons[9]);
  EXPECT_TRUE(c.buttons[15]);
}

TEST(DriveScript, station_entry) {
  const auto c = one("9 station 3");
  EXPECT_EQ(c.kind, CommandKind::Station);
  EXPECT_EQ(c.station, 3);
}

TEST(DriveScript, blank_and_comment_lines_are_skipped) {
  std::optional<ScriptError> error;
  EXPECT_FALSE(parseScriptLine("", 1, error));
  EXPECT_FALSE(parseScriptLine("   # nothing", 1, error));
  EXPECT_FALSE(parseScriptLine("\r", 1, error));
  EXPECT_FALSE(error);
}

class DriveScriptBad : public testing::TestWithParam<const char*> {};
TEST_P(DriveScriptBad, is_an_error_on_its_line) {
  std::optional<ScriptError> error;
  EXPECT_FALSE(parseScriptLine(GetParam(), 12, error));
  ASSERT_TRUE(error) << GetParam();
  EXPECT_EQ(error->line, 12);
  EXPECT_FALSE(error->message.empty());
}
INSTANTIATE_TEST_SUITE_P(
    Cases, DriveScriptBad,
    testing::Values("start", "-5 start", "1.5 start", "10", "10 jump", "10 start now", "10 key",
                    "10 key ab", "10 key space comma", "10 vkey F13", "10 vkey Enter ctrl",
                    "10 wheel left", "10 serial", "10 serial \\q", "10 serial ab\\x2",
                    "10 usb 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                    "10 usb 1 40000 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                    "10 usb 1 0 0 0 0 2 0 0 0 0 0 0 0 0 0 0 0 0 0", "10 usb 1 0 0", "10 station",
                    "10 station -1", "10 station x"));

TEST(DriveScript, whole_script_in_time_order) {
  std::istringstream in("# a drive\n0 start\n\n100 key 8\n100 key 8\r\n3300 quit\n");
  const auto r = parseScript(in);
  ASSERT_TRUE(r.script);
  ASSERT_EQ(r.script->commands.size(), 4u);
  EXPECT_EQ(r.script->commands[1].line, 4);
  EXPECT_EQ(r.script->commands[2].line, 5);
  EXPECT_EQ(r.script->commands[3].timeMs, 3300);
}

TEST(DriveScript, time_going_backwards_is_refused) {
  std::istringstream in("0 start\n200 key 8\n100 key 2\n");
  const auto r = parseScript(in);
  EXPECT_FALSE(r.script);
  ASSERT_TRUE(r.error);
  EXPECT_EQ(r.error->line, 3);
}

TEST(DriveScript, formatted_commands_read_back_unchanged) {
  const char* lines[] = {
      "0 start",      "12 key space",      "12 key comma",
      "13 key 8",     "14 vkey F11 shift", "15 vkey ScrollLock",
      "16 wheel up",  "17 serial VMP01",   "18 usb 2 -32768 32767 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1",
      "19 station 3", "20 voice",          "21 quit"};
  for (const char* line : lines) EXPECT_EQ(formatScriptCommand(one(line)), line);
  // Bytes a line cannot hold come back escaped and read back to the same chunk.
  ScriptCommand serial;
  serial.kind = CommandKind::Serial;
  serial.timeMs = 5;
  serial.text = "a b#\\\r\n";
  const std::string text = formatScriptCommand(serial);
  EXPECT_EQ(text, "5 serial a\\x20b\\x23\\\\\\x0d\\x0a");
  EXPECT_EQ(one(text).text, serial.text);
}

TEST(DriveScript, every_character_key_reads_back_as_itself) {
  // The desktop program records every character key the cab window gives the run.
  for (int ch = 0x20; ch < 0x7f; ++ch) {
    ScriptCommand key;
    key.kind = CommandKind::Key;
    key.timeMs = 7;
    key.key = static_cast<char>(ch);
    const std::string line = formatScriptCommand(key);
    EXPECT_EQ(one(line).key, key.key) << line;
  }
}

}  // namespace
}  // namespace velmoria::replay
