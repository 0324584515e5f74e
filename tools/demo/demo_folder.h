#pragma once
// Builds the whole demo data folder from the line description: the order of the work and the
// folder layout. Called once from main().
#include <filesystem>

namespace demo {

struct FolderOptions {
  bool quick = false;  // plain video frames and tone call-outs: the files, fast (tests)
  bool progress = true;
  bool progressLines = false;  // "progress PERCENT STAGE" lines on standard output
  int threads = 2;
};

void buildFolder(const std::filesystem::path& dir, const FolderOptions& opt);
void writePreview(const std::filesystem::path& bmp, int frame, bool branch);

}  // namespace demo
