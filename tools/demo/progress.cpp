#include "progress.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace demo {

void Progress::stage(const std::string& name, double weight) {
  std::lock_guard lock(m_mutex);
  m_base += m_weight;
  m_weight = weight;
  m_fraction = 0;
  m_name = name;
  m_lastDrawn = -1;
  m_lastPercent = -1;
  draw();
}

void Progress::update(double fraction) {
  std::lock_guard lock(m_mutex);
  m_fraction = std::clamp(fraction, 0.0, 1.0);
  draw();
}

void Progress::done() {
  std::lock_guard lock(m_mutex);
  m_base = 1, m_weight = 0, m_fraction = 0, m_name = "done";
  m_lastDrawn = -1;
  m_lastPercent = -1;
  draw();
  if (m_enabled && isatty(2)) std::fputc('\n', stderr);
}

void Progress::writeLine() {
  if (!m_lines) return;
  const int percent = static_cast<int>(std::min(1.0, m_base + m_weight * m_fraction) * 100);
  if (percent == m_lastPercent) return;
  m_lastPercent = percent;
  std::fprintf(m_lines, "progress %d %s\n", percent, m_name.c_str());
  std::fflush(m_lines);
}

void Progress::draw() {
  writeLine();
  if (!m_enabled) return;
  if (!isatty(2)) {  // a log, not a terminal: one line per stage
    if (m_lastDrawn == -1) std::fprintf(stderr, "velmoria-demo-gen: %s\n", m_name.c_str());
    m_lastDrawn = 0;
    return;
  }
  const double total = std::min(1.0, m_base + m_weight * m_fraction);
  const int permille = static_cast<int>(total * 1000);
  if (permille == m_lastDrawn) return;
  m_lastDrawn = permille;
  const int width = 40, filled = static_cast<int>(total * width);
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(width - filled), '.');
  std::fprintf(stderr, "\r[%s] %5.1f%%  %-28s", bar.c_str(), total * 100, m_name.c_str());
  std::fflush(stderr);
}

}  // namespace demo
