#pragma once
// The three vehicle files (201 series, E233 series, 183 series) with their cab panels drawn as
// bitmaps, and a diesel railcar for velmoria-drive (the title's runs are all electric trains).
// Main thread only.
#include <filesystem>
#include <string>
#include <vector>

#include "font.h"
#include "line.h"

namespace demo {

struct VehicleInfo {
  std::string file;    // "train_201.dat"
  std::string series;  // "201系"
  Perf perf;           // what a good driver gets out of it, for the timetables
  int maxSpeed = 100;
  int cars = 10;
  int driveSounds = 0;  // number of [DriveSound] entries: route sounds start at this channel
};

// Writes the vehicle files, their pictures and sounds into dir; returns the vehicles in the
// order 201, E233, 183 (the diesel railcar is written too but not returned).
std::vector<VehicleInfo> writeVehicles(const std::filesystem::path& dir, const Font& font,
                                       const Font& bold);

}  // namespace demo
