// The serial "TS" master controller: each received chunk is compared by its first five
// characters with the codes of mascon.dat. A code sets the handle outright, moves the reverser
// or posts a key for drainPostedKeys. UI thread, after the port's data arrived.
#include <filesystem>

#include "frame/common_util.h"
#include "run/run.h"

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

void Run::RxChar(const std::string& chunk) {
  signals.vigilanceCounter = 0;
  if (services.sound) services.sound->stop(vehicle.Sound_EBring);
  display.Lamp_EB = false;

  display.values.caption = chunk;
  const std::string k = chunk.substr(0, 5);
  // An empty chunk would equal every unused (empty) entry of a short table.
  if (k.empty()) return;

  // The 201's controller reports a fifth notch the train does not have.
  const bool skipP5 = std::filesystem::path(vehicle.fileName).filename() == "train_201.dat";
  const auto code = [&](int entry) -> const std::string& {
    static const std::string kNone;
    return static_cast<size_t>(entry - 1) < data.codes.size() ? data.codes[entry - 1] : kNone;
  };

  for (int entry = 1; entry <= 22; ++entry) {
    if ((entry == 5 || entry == 6) && skipP5) continue;
    if (code(entry) != k) continue;
    if (entry <= 16) {
      // Positions the vehicle does not have are taken as its nearest: -9 is its EB.
      const HandleCode& c = kHandleCodes[entry - 1];
      handle.powerNotch = ClampToRange(c.power, vehicle.Power, vehicle.Brake);
      handle.brakeStep = ClampToRange(c.brake, vehicle.Power, vehicle.Brake);
      handle.powerPending = handle.brakePending = handle.sapPending = true;
      if (entry == kEbEntry) startOnce(vehicle.Sound_EB);
      masconupdate();
    } else if (entry <= 19) {
      const int64_t raw = train.speed.raw;
      if ((raw < 0 ? -raw : raw) > Fixed::kScale) continue;
      handle.reverser = entry == 17 ? 1 : entry == 18 ? 0 : -1;
      display.Lamp_Fwd = handle.reverser == 1;
      display.Lamp_Bck = handle.reverser == -1;
      masconupdate();
    } else if (entry == 20) {
      postedKeys.push_back(PostedKey{false, ' '});
    } else if (entry == 21) {
      postedKeys.push_back(PostedKey{false, '3'});
    } else {
      postedKeys.push_back(PostedKey{true, 0, VirtualKey::Enter, false});
    }
  }
}

}  // namespace velmoria
