#pragma once
// One vehicle file with its sounds and cab pictures, written section by section after the
// vehicle reader's table.
#include <filesystem>

#include "font.h"
#include "train_design.h"

namespace demo {

void writeVehicleFile(const std::filesystem::path& dir, const TrainDesign& v, const Font& font,
                      const Font& bold);

}  // namespace demo
