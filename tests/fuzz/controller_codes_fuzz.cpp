// Any controller code table reads, and keeps at most 26 codes.
#include <cstdlib>

#include "fuzz_input.h"
#include "input/controller_settings_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmoria;
  const DataFolder& folder = fuzz::writeInput("mascon.dat", data, size);
  const ControllerCodeTable codes = readControllerCodes(folder, "mascon.dat");
  if (codes.size() > kControllerCodes) std::abort();
  return 0;
}
