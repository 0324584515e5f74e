// A readable strings-and-keys file never fails: every value is text.
#include <cstdlib>

#include "frame/startup_error.h"
#include "frame/strings_reader.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmoria;
  const DataFolder& folder = fuzz::writeInput("korvelan.dat", data, size);
  ReaderContext context;
  try {
    readStringsFile(folder, "korvelan.dat", context);
  } catch (const StartupError&) {
    std::abort();  // the file exists and is readable: no value can fail
  }
  return 0;
}
