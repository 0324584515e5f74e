#pragma once
// The eight route files of the six runs, with their sounds (announcements, melodies, crossing
// bells, call-outs), the signal, sign and board pictures, the timetable cards and the start
// screens. Main thread only.
#include <filesystem>
#include <vector>

#include "font.h"
#include "line.h"
#include "scene.h"
#include "sounds.h"
#include "vehicles.h"

namespace demo {

void writeRoutes(const std::filesystem::path& dir, const Line& line,
                 const std::vector<VehicleInfo>& vehicles, const Renderer& renderer,
                 const Voice& voice, const Font& font, const Font& bold);

}  // namespace demo
