#include "import_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <ostream>
#include <set>

#include "data_folder_writer.h"
#include "frame/startup_error.h"
#include "frame/strings_reader.h"
#include "gradient.h"
#include "media/ffmpeg/ffmpeg_video_source.h"
#include "media/null/null_image_loader.h"
#include "progress.h"
#include "reencode.h"
#include "ride_distance.h"
#include "route/route_file.h"
#include "route_builder.h"
#include "route_writer/route_writer.h"
#include "run/branch_video.h"
#include "run/track_video.h"
#include "speed_fit.h"
#include "stops.h"
#include "track_readers.h"
#include "vehicle_source.h"
#include "video_probe.h"

namespace velmoria::import {

namespace fs = std::filesystem;

namespace {

// The title window's runs: each names one of these route files. The branch runs switch
// videos at the branch frame, so they can drive only a ride that ends before it.
struct RunFile {
  const char* route;
  bool switchesVideo;
};
constexpr RunFile kRunRoutes[] = {{"line_rapid1.dat", false},      {"line_rapid2.dat", false},
                                  {"line_rapid2_E233.dat", false}, {"line_rapid3.dat", false},
                                  {"line_rapid3_E233.dat", false}, {"line_exp4.dat", false},
                                  {"line_rapid5.dat", true},       {"line_local6.dat", true}};

void say(const std::string& text) {
  std::fprintf(stderr, "velmoria-import: %s\n", text.c_str());
}

std::string utc(double t) {
  const std::time_t s = static_cast<std::time_t>(std::floor(t));
  std::tm tm{};
  gmtime_r(&s, &tm);
  char buf[40];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S UTC", &tm);
  return buf;
}

std::string fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The video's name in the data folder: the same container family under a name the run
// looks for.
std::string videoExtension(const fs::path& video) {
  const std::string ext = lower(video.extension().string());
  if (ext == ".avi" || ext == ".mkv" || ext == ".webm" || ext == ".mp4") return ext;
  return ".mp4";  // .mov, .m4v, .3gp ...: FFmpeg tells the container from its bytes
}

// Seconds east of UTC of the local time zone at t.
long utcOffsetAt(double t) {
  const std::time_t s = static_cast<std::time_t>(t);
  std::tm tm{};
  localtime_r(&s, &tm);
  return tm.tm_gmtoff;
}

struct Source {
  Route templ;
  std::string path;                  // korvelan.dat's [Path], the videos' folder
  std::set<std::string> videoStems;  // lower-case Path + DataName of its routes' videos
};

Source readSource(const fs::path& dir) {
  Source s;
  const DataFolder folder(dir);
  ReaderContext context;
  s.path = readStringsFile(folder, kStringsFileName, context).Path;
  const auto stem = [&](const std::string& dataName) {
    std::string p = lower(s.path + dataName);
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
  };
  for (std::string_view v : {branch::kMainVideo, branch::kBranchVideo}) {
    std::string p = lower(std::string(v.substr(0, v.size() - 4)));
    std::replace(p.begin(), p.end(), '\\', '/');
    s.videoStems.insert(p);
  }
  bool haveTemplate = false;
  for (const RunFile& run : kRunRoutes) {
    if (!fs::exists(folder.resolve(run.route))) continue;
    try {
      NullImageLoader images;
      ImageLists lists;
      ReaderContext c;
      Route r = readRouteFile(folder, run.route, c, images, lists);
      s.videoStems.insert(stem(r.DataName));
      if (!haveTemplate) s.templ = std::move(r), haveTemplate = true;
    } catch (const StartupError&) {
      // A route that does not read lends nothing.
    }
  }
  return s;
}

bool sameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

bool inside(const fs::path& child, const fs::path& parent) {
  std::error_code ec;
  const fs::path c = fs::weakly_canonical(child, ec), p = fs::weakly_canonical(parent, ec);
  const auto [pe, ce] = std::mismatch(p.begin(), p.end(), c.begin(), c.end());
  return pe == p.end();
}

}  // namespace

int runImport(const ImportOptions& o, SessionIo& io) {
  Progress progress(io.terminal);
  fs::path from = o.vehicleFrom;
  if (from.empty()) from = defaultVehicleSource(processEnvironment(), fs::current_path());
  if (!fs::exists(from / "korvelan.dat")) {
    say(from.string() + " is not a data folder (no korvelan.dat): give --vehicle-from DIR" +
        (o.vehicleFrom.empty()
             ? " (the desktop program generates the demo line on its first start; scripts/demo "
               "makes it in ./demo)"
             : ""));
    return kUnusable;
  }
  if (sameFolder(from, o.out) || inside(o.out, from)) {
    say("--out must not be the --vehicle-from folder or inside it");
    return kBadArguments;
  }

  // The track.
  Track track;
  progress.step("reading the track");
  try {
    track = readTrackFile(o.track);
  } catch (const TrackError& e) {
    progress.done();
    say(e.what());
    return kUnusable;
  }
  progress.done(std::to_string(track.points.size()) + " fixes" +
                (track.skipped ? ", " + std::to_string(track.skipped) + " lines skipped" : ""));
  if (!track.warning.empty()) say(o.track.string() + ": " + track.warning);

  // The video.
  VideoFacts video;
  progress.step("opening the video");
  try {
    video = probeVideo(o.video);
  } catch (const VideoError& e) {
    progress.done();
    say(e.what());
    return kUnusable;
  }
  progress.done(std::to_string(video.frames) + " frames, " + fixed(video.fps, 3) + " fps, " +
                std::to_string(video.width) + "x" + std::to_string(video.height) + " " +
                video.codec);

  // One on the other.
  double videoStart = 0;
  if (o.offset) {
    videoStart = track.start() + *o.offset;
  } else if (video.creationTime && track.dated) {
    videoStart = *video.creationTime;
  } else {
    say(video.creationTime
            ? o.track.string() + " has times of day but no dates (an NMEA log without RMC): " +
                  "give --offset SECONDS, the video's first frame after the track's first fix"
            : o.video.string() + " states no creation time: give --offset SECONDS, the " +
                  "video's first frame after the track's first fix");
    return kUnusable;
  }
  const double videoEnd = videoStart + (video.frames - 1) / video.fps;
  const auto when = [&](double t) {
    return track.dated ? utc(t) : fixed(t - track.start(), 1) + " s";
  };
  const int firstFrame =
      std::max(0, static_cast<int>(std::ceil((track.start() - videoStart) * video.fps - 1e-6)));
  const int lastFrame =
      std::min(video.frames - 1,
               static_cast<int>(std::floor((track.end() - videoStart) * video.fps + 1e-6)));
  if (lastFrame - firstFrame < static_cast<int>(std::ceil(video.fps))) {
    say("the track (" + when(track.start()) + " to " + when(track.end()) +
        ") does not overlap the video (" + when(videoStart) + " to " + when(videoEnd) +
        (o.offset ? ", placed by --offset" : ", by its creation time") + ") by a second or more");
    return kUnusable;
  }
  if (firstFrame > 0 || lastFrame < video.frames - 1)
    say("the track covers frames " + std::to_string(firstFrame) + " to " +
        std::to_string(lastFrame) + " of " + std::to_string(video.frames) +
        "; the route uses those");

  // The ride.
  progress.step("the distance along the line");
  const RideProfile ride = rideProfile(track);
  RideOnVideo onVideo;
  onVideo.videoStart = videoStart;
  onVideo.fps = video.fps;
  onVideo.firstFrame = firstFrame;
  onVideo.lastFrame = lastFrame;
  onVideo.utcOffset = utcOffsetAt(videoStart);
  const double origin = ride.at(onVideo.timeOf(firstFrame));
  onVideo.metres.reserve(static_cast<size_t>(lastFrame - firstFrame + 1));
  for (int f = firstFrame; f <= lastFrame; ++f) {
    onVideo.metres.push_back(ride.at(onVideo.timeOf(f)) - origin);
    if ((f - firstFrame) % 4096 == 0)
      progress.update(static_cast<double>(f - firstFrame) / std::max(1, lastFrame - firstFrame));
  }
  progress.done(
      fixed(onVideo.metres.back() / 1000, 3) + " km" +
      (ride.gaps.empty() ? "" : ", " + std::to_string(ride.gaps.size()) + " gaps bridged"));

  progress.step("fitting the recorded speed");
  const SpeedFit fit = fitSpeedTable(onVideo.metres, firstFrame, 1.0, kRouteTableCapacity,
                                     [&](double f) { progress.update(f); });
  progress.done(std::to_string(fit.segments.size()) + " segments, largest error " +
                fixed(fit.maxError, 2) + " m");
  if (fit.tolerance > 1.0 + 1e-9)
    say("the route file holds 501 segments: the distance is kept within " +
        fixed(fit.tolerance, 2) + " m instead of 1 m");
  const std::vector<Stop> stops = findStops(ride);
  const std::vector<GradeSection> grades =
      track.hasElevation() ? gradeSections(track, ride) : std::vector<GradeSection>{};

  Source source;
  try {
    source = readSource(from);
  } catch (const StartupError& e) {
    say(from.string() + ": " + e.what());
    return kUnusable;
  }
  const std::string still = "image\\" + o.name + "_start.bmp";
  const BuiltRoute built = buildRoute(o.name, source.templ, onVideo, fit, stops, grades, still);

  // Jumps through the video.
  progress.step("measuring jumps through the video");
  AccessTimes access = measureAccess(o.video, 24, [&](double f) { progress.update(f); });
  progress.done(std::to_string(access.jumps) + " jumps, median " + fixed(access.jumpMedianMs, 1) +
                " ms, worst " + fixed(access.jumpWorstMs, 1) + " ms; " + fixed(access.aheadFps, 0) +
                " frames/s in order");
  const bool slow = access.jumpWorstMs > kSlowJumpMs;
  bool reencode = o.reencode.value_or(false);
  if (slow && !o.reencode) {
    const std::string why = "a jump to a station takes up to " + fixed(access.jumpWorstMs, 0) +
                            " ms (keyframes up to " + std::to_string(video.longestGop) +
                            " frames apart)";
    if (io.ask)
      reencode = io.ask(why + ". Re-encode the video with a keyframe every 15 frames? [y/N] ");
    else
      say(why + "; --reencode makes a copy with a keyframe every 15 frames");
  }
  if (access.aheadFps > 0 && access.aheadFps < video.fps * 1.5)
    say("the video decodes at only " + fixed(access.aheadFps, 0) +
        " frames/s on one core: the picture lags when the train runs faster than " +
        fixed(access.aheadFps / video.fps, 1) + " x the recorded speed");

  // The data folder.
  const fs::path& out = o.out;
  try {
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) throw FolderError(out.string() + ": " + ec.message());
    progress.step("copying " + from.filename().string());
    const std::string staf = "image/staf/";
    copyFolder(
        from, out,
        [&](const std::string& rel) {
          if (rel == ".complete" || rel.rfind(staf, 0) == 0) return true;
          if (rel.find('/') == std::string::npos && rel.rfind("line_", 0) == 0 && rel.size() > 4 &&
              rel.compare(rel.size() - 4, 4, ".dat") == 0)
            return true;
          const size_t dot = rel.rfind('.');
          if (dot == std::string::npos) return false;
          const std::string ext = rel.substr(dot);
          const bool media =
              ext == ".avi" || ext == ".mp4" || ext == ".mkv" || ext == ".webm" || ext == ".gpx";
          return media && source.videoStems.count(rel.substr(0, dot)) > 0;
        },
        [&](double f) { progress.update(f); });
    progress.done();

    std::string videoRel = source.path + o.name + videoExtension(o.video);
    std::replace(videoRel.begin(), videoRel.end(), '\\', '/');
    // Anything of the name from an earlier import would be found before the new video.
    for (const char* ext : {".avi", ".mp4", ".mkv", ".webm"}) {
      std::string p = source.path + o.name + ext;
      std::replace(p.begin(), p.end(), '\\', '/');
      fs::remove(out / p, ec);
    }
    const Placed placed = placeVideo(o.video, out / videoRel, o.copyVideo);

    VideoFrame first;
    FfmpegVideoSource frames(1);
    if (frames.open(o.video)) frames.decode(built.route.StartPos, first);
    fs::create_directories(out / "image", ec);
    writeStill(out / "image" / (o.name + "_start.bmp"), first);

    progress.step("writing the route");
    Route route = built.route;
    writeRouteFile(out / (o.name + ".dat"), route);
    std::vector<std::string> runs;
    for (const RunFile& run : kRunRoutes) {
      if (run.switchesVideo && lastFrame >= branch::kFrame + 1) continue;
      route.fileName = run.route;
      writeRouteFile(out / run.route, route);
      runs.push_back(run.route);
    }
    progress.done();
    if (runs.size() < std::size(kRunRoutes))
      say("the ride passes frame " + std::to_string(branch::kFrame + 1) +
          ", where runs 5 and 6 switch to a branch video: they are left out");

    if (reencode) {
      progress.step("re-encoding (keyframe every 15)");
      std::string mp4 = source.path + o.name + ".mp4";
      std::replace(mp4.begin(), mp4.end(), '\\', '/');
      const fs::path target = out / mp4;
      const fs::path temp = target.string() + ".source";
      fs::rename(out / videoRel, temp, ec);
      if (ec) throw FolderError(temp.string() + ": " + ec.message());
      try {
        reencodeShortGop(o.video, target, {}, [&](double f) { progress.update(f); });
      } catch (...) {
        fs::rename(temp, out / videoRel, ec);
        throw;
      }
      fs::remove(temp, ec);
      progress.done();
      videoRel = target.lexically_relative(out).generic_string();
      // The copy is what the route drives: the summary gives its jumps, and says so when even
      // they stay slow (a picture too heavy for this machine, not the GOP).
      progress.step("measuring jumps through the copy");
      access = measureAccess(target, 24, [&](double f) { progress.update(f); });
      progress.done(std::to_string(access.jumps) + " jumps, median " +
                    fixed(access.jumpMedianMs, 1) + " ms, worst " + fixed(access.jumpWorstMs, 1) +
                    " ms");
      if (access.jumpWorstMs > kSlowJumpMs)
        say("even the copy takes up to " + fixed(access.jumpWorstMs, 0) +
            " ms a jump on this machine: the station jump and the branch switch will pause");
    }

    io.summary << "route " << (out / (o.name + ".dat")).string() << '\n'
               << "video " << videoRel << " ("
               << (reencode                         ? "re-encoded"
                   : placed == Placed::HardLink     ? "hard link"
                   : placed == Placed::SymbolicLink ? "symbolic link"
                                                    : "copy")
               << ")\n"
               << "frames " << firstFrame << " to " << lastFrame << " of " << video.frames << ", "
               << fixed(onVideo.metres.back() / 1000, 3) << " km\n"
               << "speed segments " << fit.segments.size() << ", largest error "
               << fixed(fit.maxError, 3) << " m (bound " << fixed(fit.tolerance, 2) << " m)\n"
               << "stations " << built.route.StationTable.size() << " (stops of 10 s or more)"
               << (built.hasTerminus ? "" : ", no terminus") << '\n';
    for (size_t i = 0; i < built.stopFrames.size(); ++i)
      io.summary << "  " << built.route.StationTable[i].name << " frame " << built.stopFrames[i]
                 << " at "
                 << fixed(onVideo.metres[static_cast<size_t>(built.stopFrames[i] - firstFrame)], 1)
                 << " m\n";
    io.summary << "gradients " << built.route.SlopeTable.size() << " sections"
               << (track.hasElevation() ? "" : " (the track has no elevations)") << '\n'
               << (reencode ? "jumps (the copy) median " : "jumps median ")
               << fixed(access.jumpMedianMs, 1) << " ms, worst " << fixed(access.jumpWorstMs, 1)
               << " ms; in order " << fixed(access.aheadFps, 0) << " frames/s\n"
               << "runs";
    for (const auto& r : runs) io.summary << ' ' << r;
    io.summary << '\n';
  } catch (const FolderError& e) {
    progress.done();
    say(e.what());
    return kWriteFailed;
  } catch (const RouteWriteError& e) {
    progress.done();
    say(e.what());
    return kWriteFailed;
  } catch (const VideoError& e) {
    progress.done();
    say(e.what());
    return kWriteFailed;
  }
  return kDone;
}

}  // namespace velmoria::import
