#pragma once
// The data a run is built from: all of it is read before the run exists, and the run only
// reads it (the set-up places the route's distances into its tables once).
#include "frame/image_lists.h"
#include "frame/strings_file.h"
#include "input/controller_settings.h"
#include "route/route.h"
#include "sound/sound_bank.h"
#include "vehicle/vehicle.h"
#include "view/cab_display.h"

namespace velmoria {

struct RunData {
  Vehicle vehicle;
  Route route;
  Strings strings;
  ImageLists images;
  ControllerCodeTable codes;
  SoundBank sounds;
  CardSize card;
};

}  // namespace velmoria
