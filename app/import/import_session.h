#pragma once
// One run of velmoria-import, from the options to the written data folder: read the track,
// probe the video, place the one on the other, compute the ride, measure the video's access
// times (and re-encode it where the user wants), write the folder. Progress and warnings go
// to standard error, the summary to `summary`. Main thread.
#include <functional>
#include <iosfwd>

#include "options.h"

namespace velmoria::import {

// Exit status of the program.
enum Exit : int { kDone = 0, kWriteFailed = 1, kUnusable = 2, kBadArguments = 64 };

struct SessionIo {
  std::ostream& summary;
  bool terminal = false;  // standard error is a terminal: progress bars
  // Asked "re-encode?" when the video's jumps are slow and no option decided; empty: no.
  std::function<bool(const std::string& question)> ask;
};

int runImport(const ImportOptions& options, SessionIo& io);

}  // namespace velmoria::import
