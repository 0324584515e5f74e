#pragma once
// Opening the default sound output probes the sound system, and on a machine without a sound
// card that probe complains at every start: ALSA through its error handler (eight lines from
// its configuration) and OpenAL Soft through its log on standard error (one line). OpenAL
// Soft 1.19 reads its log level once per process, so its log cannot be lowered for the probe
// alone; what it writes meanwhile is held back instead.
// While a QuietProbe lives, ALSA's error handler is a silent one and standard error goes to a
// temporary file. finish() puts both back; with keep true, what was held back is written out
// after all (a device did open, so the lines are worth reading). When ALSOFT_LOGLEVEL is set
// nothing is held back: whoever set it wants to read OpenAL's messages.
// UI thread, around the one call that opens a device; not nestable.
#include <cstdio>

namespace velmoria {

class QuietProbe {
 public:
  QuietProbe();
  ~QuietProbe();  // finish(false) when not finished yet
  QuietProbe(const QuietProbe&) = delete;
  QuietProbe& operator=(const QuietProbe&) = delete;
  void finish(bool keep);

 private:
  void* m_alsa = nullptr;       // libasound, when the machine has it
  int m_savedStderr = -1;       // the real standard error while it is held back
  std::FILE* m_held = nullptr;  // what was written meanwhile
  bool m_finished = false;
};

}  // namespace velmoria
