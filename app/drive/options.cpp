#include "options.h"

#include <charconv>
#include <limits>

namespace velmoria::drive {

namespace {

bool parseInt32(const std::string& text, int32_t& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && !text.empty();
}

}  // namespace

std::optional<int64_t> parseSecondsToMs(const std::string& text) {
  const size_t dot = text.find('.');
  const std::string whole = text.substr(0, dot);
  const std::string frac = dot == std::string::npos ? "" : text.substr(dot + 1);
  if (whole.empty() && frac.empty()) return std::nullopt;
  if (frac.size() > 3) return std::nullopt;
  if (dot != std::string::npos && frac.empty()) return std::nullopt;
  for (char c : whole + frac)
    if (c < '0' || c > '9') return std::nullopt;
  if (whole.size() > 12) return std::nullopt;  // beyond 30 000 years of driving
  int64_t ms = 0;
  for (char c : whole) ms = ms * 10 + (c - '0');
  ms *= 1000;
  int64_t scale = 100;
  for (char c : frac) {
    ms += (c - '0') * scale;
    scale /= 10;
  }
  return ms;
}

OptionsResult parseOptions(const std::vector<std::string>& args) {
  DriveOptions o;
  OptionsResult result;
  const auto fail = [&](std::string why) {
    result.error = std::move(why);
    return result;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    const auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    const auto flag = [&](bool& target) {
      if (inlineValue) return false;
      target = true;
      return true;
    };
    if (name == "--help" || name == "-h") {
      if (!flag(o.help)) return fail(name + " takes no value");
    } else if (name == "--autopilot") {
      if (!flag(o.autopilot)) return fail(name + " takes no value");
    } else if (name == "--until-terminus") {
      if (!flag(o.untilTerminus)) return fail(name + " takes no value");
    } else if (name == "--data" || name == "--vehicle" || name == "--route" || name == "--script" ||
               name == "--trace" || name == "--until" || name == "--frames" || name == "--record" ||
               name == "--report") {
      const auto v = value();
      if (!v || v->empty()) return fail(name + " needs a value");
      if (name == "--data") {
        o.dataDir = *v;
      } else if (name == "--vehicle") {
        o.vehicleFile = *v;
      } else if (name == "--route") {
        o.routeFile = *v;
      } else if (name == "--script") {
        o.scriptFile = *v;
      } else if (name == "--trace") {
        o.traceFile = *v;
      } else if (name == "--record") {
        o.recordFile = *v;
      } else if (name == "--report") {
        o.reportFile = *v;
      } else if (name == "--until") {
        o.untilMs = parseSecondsToMs(*v);
        if (!o.untilMs) return fail("--until needs seconds, such as 90 or 12.5: " + *v);
      } else {
        int32_t frames = 0;
        if (!parseInt32(*v, frames) || frames < 0)
          return fail("--frames needs a whole number of frames: " + *v);
        o.frames = frames;
      }
    } else {
      return fail("unknown argument: " + args[i]);
    }
  }
  if (o.help) {
    result.options = o;
    return result;
  }
  if (o.vehicleFile.empty()) return fail("--vehicle is missing");
  if (o.routeFile.empty()) return fail("--route is missing");
  result.options = o;
  return result;
}

std::string usageLine() {
  return "usage: velmoria-drive [--data DIR] --vehicle FILE --route FILE [--script FILE] "
         "[--autopilot] [--trace FILE] [--record FILE] [--report FILE] [--until SECONDS] "
         "[--until-terminus] [--frames N]";
}

std::string helpText() {
  return usageLine() + R"(

Drives one run of Velmoria without windows, in virtual time, as fast as the machine allows.
The run reads and checks its files exactly as the desktop program's cab window does.

Options
  --data DIR        data folder (default: the current folder); names inside data files are
                    resolved against it, backslashes and letter case as on Windows
  --vehicle FILE    vehicle file, such as train_201.dat
  --route FILE      route file, such as line_rapid1.dat
  --script FILE     timed input (see Script below)
  --autopilot       a driver that starts the run and takes the train to the terminus
  --trace FILE      write a CSV row after every 100 ms tick ("-" for standard output)
  --record FILE     write every input of the run (script and autopilot) as a script that
                    replays the same run
  --report FILE     write the run report as JSON: each station stopped at (stop error,
                    arrival against the timetable, doors), every overspeed and train
                    protection event, ride comfort and the score (the README has the schema)
  --until SECONDS   end after this much virtual time (milliseconds allowed: 12.345)
  --until-terminus  end once the caption says the train has arrived at the terminus and the
                    train stands
  --frames N        frame count of the track video; without it the video file is measured
                    when velmoria was built with FFmpeg, otherwise the count is unknown (-1)
  --help            this text

Start-up reads, in this order, the button map (~/.config/Korvelan/dgcontroller.conf, INI,
optional), mascon.dat, the vehicle file, the route file and korvelan.dat; then opens the
track video ([Path][DataName].avi) and loads the sounds into a silent device that keeps
each sound playing for its real length.

Time
  Times are whole milliseconds from 0. After "start" at time s the 33 ms steps run at
  s+33, s+66 ... and the 100 ms ticks at s+100, s+200 ...; pausing cancels both. At one
  millisecond, script commands run first, then a 33 ms step, then a tick. Keys that the
  serial or USB controller posts run right after the handler that posted them. The
  autopilot takes the seat after the script's commands at 0 (pressing Start unless the
  script did) and acts 1 ms after every tick, on what the tick showed.

Script: one command a line, "TIME_MS COMMAND [ARGS]"; '#' starts a comment
  start                 Start / Pause / Resume (the Start menu item)
  key C                 a character key; also key space, key comma, key period, key slash,
                        key hash
  vkey NAME [shift]     F1..F12, Enter, ScrollLock
  wheel up|down         one mouse-wheel step (up: away from you, toward the brake)
  serial TEXT           a chunk received from the serial controller (\r \n \t \\ \xHH)
  usb KIND X Y B0..B15  USB controller kind 0/1/2, raw axes -32768..32767, 16 buttons 0/1
  station I             the Move menu entry "StaI"
  voice                 empty the call-out queue
  quit                  end the run

The run ends at quit, at --until, at the terminus with --until-terminus, and otherwise
at the terminus or after 24 hours of virtual time, whichever comes first.
A summary (time, stations stopped, stop errors, emergency brakes, overspeeds) goes to
standard output, or to standard error when the trace goes to standard output.

Exit status
  0   the run ended as asked
  1   a file could not be read or written (script, trace, record)
  2   a data file is faulty: the desktop program's message is printed on standard error
  3   --until-terminus was given but the run ended before the terminus
  64  bad arguments or a bad script line (file:line: reason)

Environment
  VELMORIA_DRIVE_LOG=1   the autopilot's decisions on standard error (2: with predictions)
)";
}

}  // namespace velmoria::drive
