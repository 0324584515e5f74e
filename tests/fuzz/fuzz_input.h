#pragma once
// A private data folder for one fuzzing process: the input goes to a file in it and a reader
// reads it back. The folder holds a few real pictures so that image lines can succeed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frame/data_folder.h"

namespace velmoria::fuzz {

// Writes the input as the file `name` of the fuzzing folder and returns the folder.
const DataFolder& writeInput(const std::string& name, const uint8_t* data, size_t size);

}  // namespace velmoria::fuzz
