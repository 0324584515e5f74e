#include "progress.h"

#include <algorithm>
#include <cstdio>

namespace velmoria::import {

Progress::Progress(bool terminal) : m_terminal(terminal) {}

void Progress::step(const std::string& name) {
  if (m_open) done();
  m_name = name;
  m_open = true;
  m_lastPermille = -1;
  m_start = std::chrono::steady_clock::now();
  if (m_terminal)
    draw(0);
  else
    std::fprintf(stderr, "velmoria-import: %s ...\n", name.c_str());
}

void Progress::update(double fraction) {
  if (m_open && m_terminal) draw(std::clamp(fraction, 0.0, 1.0));
}

void Progress::draw(double fraction) {
  const int permille = static_cast<int>(fraction * 1000);
  const auto now = std::chrono::steady_clock::now();
  // At most ten redraws a second, and only when the bar moved.
  if (permille == m_lastPermille ||
      (permille < 1000 && m_lastPermille >= 0 && now - m_lastDraw < std::chrono::milliseconds(100)))
    return;
  m_lastPermille = permille;
  m_lastDraw = now;
  constexpr int kWidth = 30;
  const int filled = static_cast<int>(fraction * kWidth);
  std::string bar(static_cast<size_t>(filled), '#');
  bar.append(static_cast<size_t>(kWidth - filled), '.');
  std::fprintf(stderr, "\r%-34s [%s] %5.1f%%", m_name.c_str(), bar.c_str(), fraction * 100);
  std::fflush(stderr);
}

void Progress::done(const std::string& result) {
  if (!m_open) return;
  m_open = false;
  const double s =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
  if (m_terminal) {
    m_lastPermille = -1;
    draw(1);
    std::fprintf(stderr, "  %.1f s%s%s\n", s, result.empty() ? "" : "  ", result.c_str());
  } else if (!result.empty()) {
    std::fprintf(stderr, "velmoria-import: %s: %s (%.1f s)\n", m_name.c_str(), result.c_str(), s);
  }
}

}  // namespace velmoria::import
