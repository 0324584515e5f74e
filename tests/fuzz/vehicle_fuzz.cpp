// Any vehicle file either reads or ends with a start-up error; nothing else may happen.
#include "frame/startup_error.h"
#include "fuzz_input.h"
#include "media/null/null_image_loader.h"
#include "vehicle/vehicle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmoria;
  const DataFolder& folder = fuzz::writeInput("train.dat", data, size);
  NullImageLoader images;
  ImageLists lists;
  ReaderContext context;
  try {
    readVehicleFile(folder, "train.dat", context, images, lists);
  } catch (const StartupError&) {
  }
  return 0;
}
