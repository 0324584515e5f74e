#pragma once
// A one-line progress bar on stderr. Weights of the stages are fixed up front, so the bar moves
// evenly through the run; thread-safe (the video encoder reports from its own thread).
#include <mutex>
#include <string>

namespace demo {

class Progress {
 public:
  explicit Progress(bool enabled) : m_enabled(enabled) {}
  void stage(const std::string& name, double weight);  // begins a stage of the given weight
  void update(double fraction);                        // within the current stage, 0..1
  void done();

 private:
  void draw();
  std::mutex m_mutex;
  bool m_enabled;
  std::string m_name;
  double m_base = 0, m_weight = 0, m_fraction = 0;
  int m_lastDrawn = -1;
};

}  // namespace demo
