// velmoria-demo-gen: builds the demo line's data folder (route, vehicle and string files,
// pictures, sounds, the two track videos and the opening movie) deterministically, offline.
//   velmoria-demo-gen --out DIR [--quick] [--threads N] [--no-progress] [--progress-lines]
//   velmoria-demo-gen --out FILE.bmp --preview FRAME [--branch]
// DIR/.complete is written last; scripts/demo skips the generator while it exists.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include "demo_folder.h"

int main(int argc, char** argv) {
  demo::FolderOptions opt;
  std::filesystem::path out;
  int preview = -1;
  bool previewBranch = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--out" && i + 1 < argc)
      out = argv[++i];
    else if (a == "--quick")
      opt.quick = true;
    else if (a == "--no-progress")
      opt.progress = false;
    else if (a == "--progress-lines")
      opt.progressLines = true;
    else if (a == "--threads" && i + 1 < argc)
      opt.threads = std::max(1, std::atoi(argv[++i]));
    else if (a == "--preview" && i + 1 < argc)
      preview = std::atoi(argv[++i]);
    else if (a == "--branch")
      previewBranch = true;
    else {
      std::fprintf(stderr,
                   "usage: velmoria-demo-gen --out DIR [--quick] [--threads N] [--no-progress]\n"
                   "                         [--progress-lines]\n"
                   "       velmoria-demo-gen --out FILE.bmp --preview FRAME [--branch]\n");
      return 2;
    }
  }
  if (out.empty()) {
    std::fprintf(stderr, "velmoria-demo-gen: --out DIR is required\n");
    return 2;
  }
  try {
    if (preview >= 0) {
      demo::writePreview(out, preview, previewBranch);
      return 0;
    }
    const auto t0 = std::chrono::steady_clock::now();
    demo::buildFolder(out, opt);
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::fprintf(stderr, "velmoria-demo-gen: %s written in %.1f s\n", out.c_str(), secs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "\nvelmoria-demo-gen: %s\n", e.what());
    return 1;
  }
  return 0;
}
