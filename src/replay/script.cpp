#include "replay/script.h"

#include <charconv>
#include <sstream>

namespace velmoria::replay {

namespace {

std::vector<std::string> splitWords(const std::string& s) {
  std::vector<std::string> words;
  std::istringstream in(s);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

template <typename T>
bool parseNumber(const std::string& text, T& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && !text.empty();
}

std::optional<char> keyFromWord(const std::string& w) {
  if (w == "space") return ' ';
  if (w == "comma") return ',';
  if (w == "period") return '.';
  if (w == "slash") return '/';
  if (w == "hash") return '#';  // '#' itself would start a comment
  if (w.size() == 1 && static_cast<unsigned char>(w[0]) > ' ' &&
      static_cast<unsigned char>(w[0]) < 0x7f)
    return w[0];
  return std::nullopt;
}

std::optional<VirtualKey> vkeyFromWord(const std::string& w) {
  static const std::pair<const char*, VirtualKey> kNames[] = {
      {"F1", VirtualKey::F1},       {"F2", VirtualKey::F2},
      {"F3", VirtualKey::F3},       {"F4", VirtualKey::F4},
      {"F5", VirtualKey::F5},       {"F6", VirtualKey::F6},
      {"F7", VirtualKey::F7},       {"F8", VirtualKey::F8},
      {"F9", VirtualKey::F9},       {"F10", VirtualKey::F10},
      {"F11", VirtualKey::F11},     {"F12", VirtualKey::F12},
      {"Enter", VirtualKey::Enter}, {"ScrollLock", VirtualKey::ScrollLock}};
  for (const auto& [name, key] : kNames)
    if (w == name) return key;
  return std::nullopt;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Serial chunks may need line ends or bytes that a script line cannot hold.
std::optional<std::string> unescape(const std::string& s, std::string& why) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i >= s.size()) {
      why = "a backslash ends the serial text";
      return std::nullopt;
    }
    switch (s[i]) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 's':
        out += ' ';
        break;
      case '\\':
        out += '\\';
        break;
      case 'x': {
        const int hi = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
        const int lo = i + 2 < s.size() ? hexDigit(s[i + 2]) : -1;
        if (hi < 0 || lo < 0) {
          why = "\\x needs two hexadecimal digits";
          return std::nullopt;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        why = std::string("unknown escape \\") + s[i];
        return std::nullopt;
    }
  }
  return out;
}

}  // namespace

std::optional<ScriptCommand> parseScriptLine(const std::string& rawLine, int lineNumber,
                                             std::optional<ScriptError>& error) {
  std::string line = rawLine.substr(0, rawLine.find('#'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
    line.pop_back();
  const auto words = splitWords(line);
  if (words.empty()) return std::nullopt;
  const auto fail = [&](std::string message) -> std::optional<ScriptCommand> {
    error = ScriptError{lineNumber, std::move(message)};
    return std::nullopt;
  };

  ScriptCommand c;
  c.line = lineNumber;
  if (!parseNumber(words[0], c.timeMs) || c.timeMs < 0)
    return fail("the line must start with a time in milliseconds: " + words[0]);
  if (words.size() < 2) return fail("a command must follow the time");
  const std::string& name = words[1];
  const size_t argCount = words.size() - 2;
  const auto expectArgs = [&](size_t n) { return argCount == n; };

  if (name == "start" || name == "voice" || name == "quit") {
    if (!expectArgs(0)) return fail(name + " takes no arguments");
    c.kind = name == "start"   ? CommandKind::Start
             : name == "voice" ? CommandKind::Voice
                               : CommandKind::Quit;
  } else if (name == "key") {
    if (!expectArgs(1)) return fail("key needs one character");
    const auto k = keyFromWord(words[2]);
    if (!k) return fail("not a key: " + words[2]);
    c.kind = CommandKind::Key;
    c.key = *k;
  } else if (name == "vkey") {
    if (argCount < 1 || argCount > 2) return fail("vkey needs a key name and maybe shift");
    const auto k = vkeyFromWord(words[2]);
    if (!k) return fail("not a virtual key (F1..F12, Enter, ScrollLock): " + words[2]);
    if (argCount == 2 && words[3] != "shift") return fail("vkey takes only shift after the key");
    c.kind = CommandKind::VKey;
    c.vkey = *k;
    c.shift = argCount == 2;
  } else if (name == "wheel") {
    if (!expectArgs(1) || (words[2] != "up" && words[2] != "down"))
      return fail("wheel needs up or down");
    c.kind = CommandKind::Wheel;
    c.wheelUp = words[2] == "up";
  } else if (name == "serial") {
    // The chunk is the rest of the line after one separator, spaces included.
    const size_t at = line.find("serial") + 6;
    if (at >= line.size()) return fail("serial needs the received text");
    std::string why;
    const auto text = unescape(line.substr(at + 1), why);
    if (!text) return fail(why);
    if (text->empty()) return fail("serial needs the received text");
    c.kind = CommandKind::Serial;
    c.text = *text;
  } else if (name == "usb") {
    if (!expectArgs(19)) return fail("usb needs KIND X Y and 16 buttons");
    if (!parseNumber(words[2], c.usbKind) || c.usbKind < 0 || c.usbKind > 2)
      return fail("usb controller kind must be 0, 1 or 2: " + words[2]);
    int32_t axis = 0;
    for (int i = 0; i < 2; ++i) {
      if (!parseNumber(words[3 + i], axis) || axis < -32768 || axis > 32767)
        return fail("usb axis must be -32768..32767: " + words[3 + i]);
      (i == 0 ? c.x : c.y) = axis;
    }
    for (int b = 0; b < 16; ++b) {
      const std::string& w = words[5 + b];
      if (w != "0" && w != "1") return fail("usb buttons are 0 or 1: " + w);
      c.buttons[b] = w == "1";
    }
    c.kind = CommandKind::Usb;
  } else if (name == "station") {
    if (!expectArgs(1) || !parseNumber(words[2], c.station) || c.station < 0)
      return fail("station needs a station index");
    c.kind = CommandKind::Station;
  } else {
    return fail("unknown command: " + name);
  }
  return c;
}

std::string formatScriptCommand(const ScriptCommand& c) {
  std::string s = std::to_string(c.timeMs) + ' ';
  switch (c.kind) {
    case CommandKind::Start:
      return s + "start";
    case CommandKind::Voice:
      return s + "voice";
    case CommandKind::Quit:
      return s + "quit";
    case CommandKind::Key:
      switch (c.key) {
        case ' ':
          return s + "key space";
        case ',':
          return s + "key comma";
        case '.':
          return s + "key period";
        case '/':
          return s + "key slash";
        case '#':
          return s + "key hash";
        default:
          return s + "key " + c.key;
      }
    case CommandKind::VKey: {
      static const char* const kNames[] = {"ScrollLock", "Enter", "F1", "F2", "F3",  "F4",  "F5",
                                           "F6",         "F7",    "F8", "F9", "F10", "F11", "F12"};
      return s + "vkey " + kNames[static_cast<int>(c.vkey)] + (c.shift ? " shift" : "");
    }
    case CommandKind::Wheel:
      return s + (c.wheelUp ? "wheel up" : "wheel down");
    case CommandKind::Serial: {
      s += "serial ";
      static const char kHex[] = "0123456789abcdef";
      for (unsigned char ch : c.text) {
        if (ch == '\\') {
          s += "\\\\";
        } else if (ch <= ' ' || ch == '#' || ch >= 0x7f) {
          s += "\\x";
          s += kHex[ch >> 4];
          s += kHex[ch & 15];
        } else {
          s += static_cast<char>(ch);
        }
      }
      return s;
    }
    case CommandKind::Usb: {
      s += "usb " + std::to_string(c.usbKind) + ' ' + std::to_string(c.x) + ' ' +
           std::to_string(c.y);
      for (bool b : c.buttons) s += b ? " 1" : " 0";
      return s;
    }
    case CommandKind::Station:
      return s + "station " + std::to_string(c.station);
  }
  return s;
}

ScriptResult parseScript(std::istream& in) {
  ScriptResult result;
  Script script;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::optional<ScriptError> error;
    auto command = parseScriptLine(line, number, error);
    if (error) {
      result.error = error;
      return result;
    }
    if (!command) continue;
    if (!script.commands.empty() && command->timeMs < script.commands.back().timeMs) {
      result.error =
          ScriptError{number, "time goes backwards: " + std::to_string(command->timeMs) +
                                  " after " + std::to_string(script.commands.back().timeMs)};
      return result;
    }
    script.commands.push_back(std::move(*command));
  }
  result.script = std::move(script);
  return result;
}

}  // namespace velmoria::replay
