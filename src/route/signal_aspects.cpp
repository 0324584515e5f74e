#include "route/signal_aspects.h"

namespace velmoria {

AspectGroup aspectGroup(int index) {
  switch (index) {
    case 0:
    case 3:
    case 6:
    case 9:
    case 13:
    case 17:
      return AspectGroup::R;
    case 14:
    case 18:
      return AspectGroup::YY;
    case 4:
    case 7:
    case 10:
    case 15:
    case 19:
      return AspectGroup::Y;
    case 11:
    case 20:
      return AspectGroup::YG;
    case 2:
    case 5:
    case 8:
    case 12:
    case 16:
    case 21:
      return AspectGroup::G;
    default:
      return AspectGroup::None;
  }
}

}  // namespace velmoria
