#pragma once
// The sounds and pictures every route file names, written once for all of them, and where
// each one stands in its list: the route files name them by index.
#include <filesystem>
#include <string>
#include <vector>

#include "font.h"
#include "line.h"
#include "sounds.h"

namespace demo {

// Route sound indices ([SoundData]).
enum : int {
  kOverrun = 0,
  kMelody0 = 1,
  kCrossingBell = 5,
  kTunnel = 6,
  kBridge = 7,
  kPoints = 8,
  kArrive0 = 9
};
inline int arriveSound(int st) {
  return kArrive0 + st;
}
inline int nextSound(int st) {
  return kArrive0 + 16 + st;
}
inline int soonSound(int st) {
  return kArrive0 + 32 + st;
}
inline int welcomeSound(int run) {
  return kArrive0 + 48 + run;
}

// Other-display pictures ([OtherImageList]): the time board, the limits, then the boards.
inline constexpr int kLimits[] = {45, 55, 60, 65, 70, 75, 85};
int limitPicture(int kmh);
enum : int { kBoardWhistle = 8, kBoardCrossing = 9, kBoardStation = 10, kBoardJunction = 11 };

struct RouteLists {
  std::vector<std::string> soundData;       // [SoundData]
  std::vector<std::string> kanko1, kanko2;  // [KankoSound1], [KankoSound2]
  std::vector<std::string> otherImages;     // [OtherImageList]: picture and call-out
  std::vector<std::string> signalImages;    // [SignalImageList]
};

// Writes the sounds and pictures into dir and returns their lists, as the route files give them.
RouteLists writeRouteMedia(const std::filesystem::path& dir, const Line& line, const Voice& voice,
                           const Font& font, const Font& bold);

}  // namespace demo
