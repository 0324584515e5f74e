#include "input/serial_codes.h"

namespace velmoria {

namespace {

struct HandleCode {
  int power;
  int brake;
};
// Entries 1 to 16 of the code table: P1..P5 (twice), N, B1..B8, EB.
constexpr HandleCode kHandleCodes[16] = {{1, 0},  {2, 0},  {3, 0},  {4, 0},  {5, 0},  {5, 0},
                                         {0, 0},  {0, -1}, {0, -2}, {0, -3}, {0, -4}, {0, -5},
                                         {0, -6}, {0, -7}, {0, -8}, {0, -9}};
constexpr int kEbEntry = 16;

}  // namespace

std::vector<SerialMatch> matchSerialCodes(const std::string& chunk,
                                          const ControllerCodeTable& codes, bool skipFifthNotch) {
  std::vector<SerialMatch> matches;
  const std::string k = chunk.substr(0, 5);
  // An empty chunk would equal every unused (empty) entry of a short table.
  if (k.empty()) return matches;
  const auto code = [&](int entry) -> const std::string& {
    static const std::string kNone;
    return static_cast<size_t>(entry - 1) < codes.size() ? codes[entry - 1] : kNone;
  };
  for (int entry = 1; entry <= 22; ++entry) {
    if ((entry == 5 || entry == 6) && skipFifthNotch) continue;
    if (code(entry) != k) continue;
    SerialMatch m;
    if (entry <= 16) {
      m.action = SerialAction::Handle;
      m.power = kHandleCodes[entry - 1].power;
      m.brake = kHandleCodes[entry - 1].brake;
      m.emergency = entry == kEbEntry;
    } else if (entry <= 19) {
      m.action = SerialAction::Reverser;
      m.reverser = entry == 17 ? 1 : entry == 18 ? 0 : -1;
    } else {
      m.action = entry == 20   ? SerialAction::Acknowledge
                 : entry == 21 ? SerialAction::Horn
                               : SerialAction::CallOut;
    }
    matches.push_back(m);
  }
  return matches;
}

}  // namespace velmoria
