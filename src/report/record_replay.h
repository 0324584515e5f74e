#pragma once
// A record driven again without a window, exactly as `velmoria-drive --script RECORD --trace
// --report` drives it: the desktop program stores a run as its record replays, so that the
// stored trace and report, a replay in the cab window and velmoria-drive all agree. Runs on
// the calling thread; a day-long drive takes well under a second.
#include <memory>
#include <ostream>
#include <string>

#include "media/key_value_store.h"
#include "media/video_source.h"
#include "replay/script.h"
#include "replay/virtual_drive.h"
#include "report/run_report.h"

namespace velmoria::report {

struct ReplayedRun {
  RunReport report;
  replay::DriveEnd end;
  uint64_t traceHash = 0;  // FNV-1a of the trace's bytes
};

// Throws StartupError when the files cannot be read as the desktop program read them.
// `trace` may be null.
ReplayedRun replayRecord(const std::string& dataDir, const std::string& vehicleFile,
                         const std::string& routeFile, std::unique_ptr<VideoSource> video,
                         const KeyValueStore* buttons, replay::Script script, std::ostream* trace);

// A stream that sums up what is written to it (64-bit FNV-1a) and passes it on to `out` when
// given one.
class HashingStream : public std::ostream {
 public:
  explicit HashingStream(std::ostream* out = nullptr);
  uint64_t hash() const { return m_buf.hash; }

 private:
  struct Buf : std::streambuf {
    std::ostream* out = nullptr;
    uint64_t hash = 14695981039346656037ull;
    int overflow(int c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
  };
  Buf m_buf;
};

}  // namespace velmoria::report
