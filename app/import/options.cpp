#include "options.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velmoria::import {

std::string usageLine() {
  return "usage: velmoria-import --video FILE --track FILE [--offset SECONDS] --name NAME "
         "--out DIR [--vehicle-from DIR] [--reencode | --no-reencode] [--copy-video]";
}

std::string helpText() {
  return usageLine() +
         "\n\n"
         "Makes a route from a cab-ride video and the GPS track recorded beside it, and writes a\n"
         "data folder that velmoria and velmoria-drive open.\n\n"
         "  --video FILE         the video (AVI, MP4, MKV, WebM ... whatever FFmpeg reads)\n"
         "  --track FILE         GPX 1.1 (trkpt with time), NMEA (RMC, GGA) or CSV\n"
         "                       (time,lat,lon[,speed in m/s], or named columns)\n"
         "  --offset SECONDS     the video's first frame is SECONDS after the track's first fix\n"
         "                       (without it, the video's own creation time places it)\n"
         "  --name NAME          the route: NAME.dat, the video move/NAME.*, the line's name\n"
         "  --out DIR            the data folder to write (made when missing)\n"
         "  --vehicle-from DIR   the data folder whose vehicles, panel, pictures and sounds are\n"
         "                       copied (default: the demo line: $VELMORIA_DEMO, ./demo, or the\n"
         "                       installed lines' demo)\n"
         "  --reencode           re-encode the video with a keyframe every 15 frames\n"
         "  --no-reencode        never re-encode (without either, a terminal asks when jumps\n"
         "                       through the video are too slow for the station jump)\n"
         "  --copy-video         copy the video instead of linking it\n\n"
         "Every stop of 10 s or more below 1 km/h becomes a station (駅1, 駅2 ...) with its\n"
         "stopping mark where the train stood; the clock is the track's, in the local time zone.\n"
         "The route is also written under the names of the title window's runs, so that each\n"
         "run button drives it (the two branch runs only when the ride is shorter than frame\n"
         "41301, where their video switch lies).\n\n"
         "Exit status: 0 done; 1 a file could not be written; 2 the track or the video cannot be\n"
         "used (unreadable, no times, no overlap, no creation time without --offset); 64 bad\n"
         "arguments.\n";
}

OptionsResult parseOptions(const std::vector<std::string>& args) {
  ImportOptions o;
  const auto fail = [](const std::string& e) { return OptionsResult{std::nullopt, e}; };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--video" || a == "--track" || a == "--out" || a == "--vehicle-from" ||
               a == "--name" || a == "--offset") {
      if (!value(v) || v.empty()) return fail(a + " needs a value");
      if (a == "--video") o.video = v;
      if (a == "--track") o.track = v;
      if (a == "--out") o.out = v;
      if (a == "--vehicle-from") o.vehicleFrom = v;
      if (a == "--name") o.name = v;
      if (a == "--offset") {
        char* end = nullptr;
        const double s = std::strtod(v.c_str(), &end);
        if (end != v.c_str() + v.size() || !std::isfinite(s))
          return fail("--offset wants seconds, not \"" + v + "\"");
        o.offset = s;
      }
    } else if (a == "--reencode") {
      o.reencode = true;
    } else if (a == "--no-reencode") {
      o.reencode = false;
    } else if (a == "--copy-video") {
      o.copyVideo = true;
    } else {
      return fail("unknown argument \"" + a + "\"");
    }
  }
  if (o.help) return {o, ""};
  if (o.video.empty()) return fail("--video FILE is required");
  if (o.track.empty()) return fail("--track FILE is required");
  if (o.name.empty()) return fail("--name NAME is required");
  if (o.out.empty()) return fail("--out DIR is required");
  if (o.name.find_first_of("/\\") != std::string::npos || o.name.front() == '.' ||
      std::any_of(o.name.begin(), o.name.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return fail("--name must be a plain file name, not \"" + o.name + "\"");
  return {o, ""};
}

}  // namespace velmoria::import
