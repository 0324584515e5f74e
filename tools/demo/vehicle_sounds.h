#pragma once
// The trains' sounds: those every train shares (running, brakes, safety bells, compressor,
// engine) and each train's own (horns, doors, motors), and the [DriveSound] list naming them.
#include <filesystem>
#include <string>
#include <vector>

#include "train_design.h"

namespace demo {

void writeCommonSounds(const std::filesystem::path& dir);
void writeTrainSounds(const std::filesystem::path& dir, const TrainDesign& v);
// Channel numbers in the vehicle file's sound values are positions in this list.
std::vector<std::string> driveSoundList(const std::string& key);

}  // namespace demo
