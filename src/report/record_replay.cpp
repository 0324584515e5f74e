#include "report/record_replay.h"

#include "replay/headless_run.h"
#include "report/report_builder.h"
#include "run/trace.h"

namespace velmoria::report {

HashingStream::HashingStream(std::ostream* out) : std::ostream(nullptr) {
  m_buf.out = out;
  rdbuf(&m_buf);
}

int HashingStream::Buf::overflow(int c) {
  if (c == traits_type::eof()) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  xsputn(&ch, 1);
  return c;
}

std::streamsize HashingStream::Buf::xsputn(const char* s, std::streamsize n) {
  for (std::streamsize i = 0; i < n; ++i)
    hash = (hash ^ static_cast<unsigned char>(s[i])) * 1099511628211ull;
  if (out) out->write(s, n);
  return n;
}

ReplayedRun replayRecord(const std::string& dataDir, const std::string& vehicleFile,
                         const std::string& routeFile, std::unique_ptr<VideoSource> video,
                         const KeyValueStore* buttons, replay::Script script, std::ostream* trace) {
  replay::HeadlessRun headless(dataDir, vehicleFile, routeFile, std::move(video), buttons);
  Run& run = headless.run();
  replay::VirtualDrive drive(run, headless.app(), headless.joystick(), headless.clock(),
                             std::move(script));
  headless.onVideoSwitch = [&] { drive.videoSwitched(); };
  HashingStream hashed(trace);
  TraceWriter writer(hashed);
  writer.writeHeader();
  ReportBuilder builder(run.observe());
  drive.onJump = [&] { builder.noteJump(); };
  drive.afterTick = [&] {
    writer.writeRow(run, headless.clock().nowMs());
    builder.observe(run.observe(), headless.clock().nowMs());
  };
  ReplayedRun result;
  result.end = drive.drive(std::nullopt, false);
  result.report = builder.report();
  result.traceHash = hashed.hash();
  return result;
}

}  // namespace velmoria::report
