#pragma once
// A one-line progress bar on stderr (one line per stage when stderr is not a terminal).
// Weights of the stages are fixed up front, so the bar moves evenly through the run;
// thread-safe (the video encoder reports from its own thread). For a program that shows the
// progress itself (the desktop program's first start), `lines` receives "progress PERCENT
// STAGE" at each stage and at each whole percent, 100 last.
#include <cstdio>
#include <mutex>
#include <string>

namespace demo {

class Progress {
 public:
  explicit Progress(bool enabled, std::FILE* lines = nullptr)
      : m_enabled(enabled), m_lines(lines) {}
  void stage(const std::string& name, double weight);  // begins a stage of the given weight
  void update(double fraction);                        // within the current stage, 0..1
  void done();

 private:
  void draw();
  void writeLine();
  std::mutex m_mutex;
  bool m_enabled;
  std::FILE* m_lines;
  int m_lastPercent = -1;
  std::string m_name;
  double m_base = 0, m_weight = 0, m_fraction = 0;
  int m_lastDrawn = -1;
};

}  // namespace demo
