#include "demo_folder.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <thread>

#include "camera_ride.h"
#include "font.h"
#include "line.h"
#include "misc_files.h"
#include "mp4_writer.h"
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
  {
    // Beside the main line's video, the camera train's own recording of the same ride, with
    // its GPS log: what velmoria-import is tested on.
    const CameraRide ride(line.main);
    Mp4Writer mp4(inFolder("move\\tavo.mp4"), opt.quick ? 96 : 480, opt.quick ? 48 : 240, 250,
                  opt.quick ? 30 : 23, kRideStartUtc);
    writeTrackVideo(inFolder(velmoria::branch::kMainVideo), renderer, line.main, &line.branch, 0,
                    line.main.profile.frames(), vo, progress, [&](int frame, const Image& picture) {
                      for (int k = ride.copiesOf(frame); k > 0; --k) mp4.addFrame(picture);
                    });
    mp4.finish();
    writeGpsTrack(inFolder("move\\tavo.gpx"), line.main, ride);
  }
  progress.stage(std::string(velmoria::branch::kBranchVideo), 0.21);
  writeTrackVideo(inFolder(velmoria::branch::kBranchVideo), renderer, line.branch, &line.main,
                  kBranchFrame, line.branch.profile.frames(), vo, progress);
  progress.done();
  std::ofstream(dir / ".complete") << "velmoria demo line\n";
}

}  // namespace demo
