#pragma once
// The folder's remaining files: korvelan.dat, mascon.dat, operation.dat, readme.html, the
// title picture, the opening movie, the train-protection overlay and the loading picture.
// Main thread only.
#include <filesystem>

#include "font.h"
#include "line.h"
#include "scene.h"

namespace demo {

void writeStringsAndHelp(const std::filesystem::path& dir);
void writeFrontPictures(const std::filesystem::path& dir, const Line& line,
                        const Renderer& renderer, const Font& font, const Font& bold, bool quick);

}  // namespace demo
