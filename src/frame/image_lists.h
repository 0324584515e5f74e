#pragma once
// The image lists of the cab window, filled by the vehicle and route readers in reading order
// and indexed by the run (picture numbers). SignImageList starts with the vehicle's stop line.
#include <vector>

#include "media/image_loader.h"

namespace velmoria {

struct IndicatorList {
  int left = 0;
  int top = 0;
  int width = 0;  // of one picture (taken from the last picture loaded)
  int height = 0;
  std::vector<ImageInfo> images;
};

struct ImageLists {
  std::vector<ImageInfo> SignImageList;    // 50 x 50: [StopLine], then the route's signs
  std::vector<ImageInfo> OtherImageList;   // 100 x 50: boards and limit signs
  std::vector<ImageInfo> SignalImageList;  // 50 x 100: signal aspects by display index
  IndicatorList NotchImageP;               // power notch pictures, index = notch
  IndicatorList NotchImageB;               // brake position pictures
  IndicatorList GearImageList;             // gear pictures
};

}  // namespace velmoria
