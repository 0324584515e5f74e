#pragma once
// velmoria-import's progress on standard error: a bar redrawn in place on a terminal, one line
// per step otherwise (a log). Main thread only.
#include <chrono>
#include <string>

namespace velmoria::import {

class Progress {
 public:
  explicit Progress(bool terminal);
  // A new step; the bar starts at 0.
  void step(const std::string& name);
  void update(double fraction);               // 0..1 of the step
  void done(const std::string& result = "");  // ends the step's line
  bool terminal() const { return m_terminal; }

 private:
  void draw(double fraction);
  bool m_terminal;
  bool m_open = false;
  std::string m_name;
  int m_lastPermille = -1;
  std::chrono::steady_clock::time_point m_start, m_lastDraw;
};

}  // namespace velmoria::import
