#include "demo_folder.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>

#include "font.h"
#include "line.h"
#include "misc_files.h"
#include "pictures.h"
#include "progress.h"
#include "routes.h"
#include "run/branch_video.h"
#include "scene.h"
#include "sounds.h"
#include "vehicles.h"
#include "videos.h"

namespace demo {

namespace fs = std::filesystem;

void writePreview(const fs::path& bmp, int frame, bool branch) {
  const Line line = buildLine();
  Font font(false), bold(true);
  const SpriteBank sprites = makeSprites(line, font, bold);
  Renderer r(line, sprites);
  Image img(480, 240);
  const Path& p = branch ? line.branch : line.main;
  r.render(p, branch ? &line.main : &line.branch, frame, img);
  img.saveBmp(bmp);
  std::fprintf(stderr, "main %d frames, branch %d frames, junction stop %d, %zu/%zu segments\n",
               line.main.profile.frames(), line.branch.profile.frames(), line.main.stops[8].frame,
               line.main.profile.segs.size(), line.branch.profile.segs.size());
  for (const auto& st : p.stops)
    std::fprintf(stderr, "  %s frame %d at %.0f m\n", line.stations[st.station].name.c_str(),
                 st.frame, st.s);
}

void buildFolder(const fs::path& dir, const FolderOptions& opt) {
  Progress progress(opt.progress, opt.progressLines ? stdout : nullptr);
  progress.stage("line", 0.02);
  const Line line = buildLine();
  Font font(false), bold(true);
  const SpriteBank sprites = makeSprites(line, font, bold);
  fs::create_directories(dir / "move");
  fs::remove(dir / ".complete");
  Renderer renderer(line, sprites);
  progress.stage("vehicles, sounds", 0.03);
  writeStringsAndHelp(dir);
  const auto vehicles = writeVehicles(dir, font, bold);
  progress.stage("routes, announcements", 0.03);
  const Voice voice(!opt.quick);
  writeRoutes(dir, line, vehicles, renderer, voice, font, bold);
  progress.stage("title, opening movie", 0.02);
  writeFrontPictures(dir, line, renderer, font, bold, opt.quick);
  VideoOptions vo;
  vo.quick = opt.quick;
  vo.threads = opt.threads;
  // The two videos the run switches between, by the names the run opens.
  const auto inFolder = [&](std::string_view windowsName) {
    std::string name(windowsName);
    std::replace(name.begin(), name.end(), '\\', '/');
    return dir / name;
  };
  progress.stage(std::string(velmoria::branch::kMainVideo), 0.69);
  writeTrackVideo(inFolder(velmoria::branch::kMainVideo), renderer, line.main, &line.branch, 0,
                  line.main.profile.frames(), vo, progress);
  progress.stage(std::string(velmoria::branch::kBranchVideo), 0.21);
  writeTrackVideo(inFolder(velmoria::branch::kBranchVideo), renderer, line.branch, &line.main,
                  kBranchFrame, line.branch.profile.frames(), vo, progress);
  progress.done();
  std::ofstream(dir / ".complete") << "velmoria demo line\n";
}

}  // namespace demo
