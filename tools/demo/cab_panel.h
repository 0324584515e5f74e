#pragma once
// A train's cab panel: the panel pictures with their gauge faces, the lamps, needles, notch and
// gear indicators and plates, each written as a picture and as its vehicle-file section.
#include <filesystem>

#include "font.h"
#include "text_file.h"
#include "train_design.h"

namespace demo {

// Writes the pictures into dir and their sections into f: the cab panel group ([Panel],
// [Panel2], the lamps), the needles, [NotchImageP], [NotchImageB], [GearImageList], [Others]
// and [Clock], in that order.
void writePanelSections(TextFile& f, const std::filesystem::path& dir, const TrainDesign& v,
                        const Font& font, const Font& bold);

// The stopping mark shown in the station display, named by the vehicle file's [StopLine].
void writeStopLinePicture(const std::filesystem::path& dir, const TrainDesign& v, const Font& font,
                          const Font& bold);

}  // namespace demo
