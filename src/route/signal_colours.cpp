#include "route/signal_colours.h"

namespace velmoria {

ColourGroup colourGroup(int index) {
  switch (index) {
    case 0:
    case 3:
    case 6:
    case 9:
    case 13:
    case 17:
      return ColourGroup::R;
    case 14:
    case 18:
      return ColourGroup::YY;
    case 4:
    case 7:
    case 10:
    case 15:
    case 19:
      return ColourGroup::Y;
    case 11:
    case 20:
      return ColourGroup::YG;
    case 2:
    case 5:
    case 8:
    case 12:
    case 16:
    case 21:
      return ColourGroup::G;
    default:
      return ColourGroup::None;
  }
}

}  // namespace velmoria
