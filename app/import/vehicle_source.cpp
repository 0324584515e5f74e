#include "vehicle_source.h"

namespace velmoria::import {

namespace fs = std::filesystem;

fs::path defaultVehicleSource(const EnvironmentLookup& env, const fs::path& current) {
  if (const auto demo = env("VELMORIA_DEMO"); demo && !demo->empty()) return *demo;
  const fs::path local = current / "demo";
  if (isLine(local)) return local;
  for (const fs::path& line : findLines(lineFolders(env))) {
    const std::string name = line.filename().string();
    if (name == "demo" || name.rfind("demo-", 0) == 0) return line;
  }
  return local;
}

}  // namespace velmoria::import
