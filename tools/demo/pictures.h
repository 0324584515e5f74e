#pragma once
// The pictures of the demo folder that are not part of a cab panel: wayside sprites for the
// renderer, the signal, sign and board pictures of the route files, the train-protection
// overlay, the loading and start screens, the title picture and the timetable cards.
// Main thread only (text goes through FreeType).
#include <string>
#include <vector>

#include "font.h"
#include "image.h"
#include "line.h"
#include "scene.h"

namespace demo {

SpriteBank makeSprites(const Line& line, const Font& font, const Font& bold);

// Signal pictures by display index 0-21, 50 x 100.
std::vector<Image> signalPictures(const Font& font);
// Sign pictures 50 x 50: the uphill and downhill boards.
Image slopeBoard(bool uphill, const Font& font);
// Boards 100 x 50 for the other-display list.
Image limitBoard(int kmh, const Font& bold);
Image textBoard(const std::string& text, Rgb back, Rgb fore, const Font& bold);
Image atspOverlay(const Font& font);  // 120 x 100
Image loadingPicture(const Font& bold, const Font& font);

struct CardRow {
  std::string station;
  std::string arrive, depart;  // "" when none; depart "レ" style passing marked by pass = true
  bool pass = false;
  int track = 0;
};
struct CardContents {
  std::string trainNumber, trainKind, vehicle, note;
  std::vector<CardRow> rows;
};
Image timetableCard(const CardContents& card, const Font& font, const Font& bold);

}  // namespace demo
