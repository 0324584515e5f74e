// Speed-limit boards, speed checks, the gradient board, tunnels and wayside signs.
#include "run/limits.h"

#include <cstdlib>

#include "run/stations.h"

namespace velmoria {

std::string gradientText(Fixed perMille) {
  // Unsigned, so that the largest gradient a file can hold rounds without overflowing.
  const uint64_t raw = static_cast<uint64_t>(perMille.raw);
  const uint64_t magnitude = perMille.raw < 0 ? 0 - raw : raw;
  const uint64_t tenths = (magnitude + 500) / 1000;
  std::string s = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  return perMille.raw < 0 && tenths != 0 ? "-" + s : s;
}

void Limits::clearSlope() {
  m_display.SlopeImage.picture = -1;
  m_state.currentGradient = Fixed{};
  m_display.SlopeText.text.clear();
}

void Limits::stationJump() {
  m_state.currentGradient = Fixed{};
  m_state.blink = false;
}

void Limits::speedLimitBlink(int32_t tickCount) {
  if (m_state.blink) blink(m_display.SpeedLimitImage.visible, tickCount);
}

void Limits::slopeDisplay(int32_t frame) {
  const auto& table = m_route.SlopeTable;
  const size_t signs = m_images.SignImageList.size();
  for (const uint32_t i : m_index.slopes.at(int64_t{frame})) {
    const SlopeEntry& e = table[i];
    if (e.startFrame < frame && frame < e.endFrame) {
      if (e.gradient.raw > 0 && e.gradient != m_state.currentGradient)
        drawPicture(m_display.SlopeImage, 1, signs);
      if (e.gradient.raw < 0 && e.gradient != m_state.currentGradient)
        drawPicture(m_display.SlopeImage, 2, signs);
      m_state.currentGradient = e.gradient;
      m_display.SlopeText.text = gradientText(e.gradient);
    }
    if (i + 1 < table.size() && e.endFrame < frame && frame < table[i + 1].startFrame &&
        m_display.SlopeImage.picture >= 0)
      clearSlope();
  }
  if (!table.empty() && frame > table.back().endFrame && m_display.SlopeImage.picture >= 0)
    clearSlope();
}

void Limits::tunnels(int32_t frame) {
  const auto& table = m_route.TunnelTable;
  bool inside = false;
  for (const uint32_t i : m_index.tunnels.at(int64_t{frame}))
    if (table[i].startFrame < frame && frame < table[i].endFrame) inside = true;
  m_display.Panel2 = inside;
}

void Limits::speedLimits(Fixed speed, long double x, int32_t frame) {
  LimitState& st = m_state;
  PictureView& board = m_display.SpeedLimitImage;
  const size_t pictures = m_images.OtherImageList.size();
  const long double v = speed.ld();
  const long double a = m_vehicle.BrakeRate.ld();
  const auto& table = m_route.SpeedLimitTable;
  // Within 600 m: warned of inside the braking distance, or in the last 100 frames.
  const auto warned = [&](size_t i) {
    const SpeedLimitEntry& e = table[i];
    const long double ahead = e.distance - x;
    if (!(ahead > 0 && ahead < 60000)) return false;
    return brakingDistance(v, e.limit, 0.6L * a) > ahead / 100 - 100 ||
           (e.startFrame - 100 < frame && frame < e.startFrame);
  };
  bool any = false;
  mergeCandidates(m_index.limitWarnings.at(x), m_index.limitBoards.at(int64_t{frame}),
                  m_candidates);
  for (const uint32_t i : m_candidates) {
    const SpeedLimitEntry& e = table[i];
    if (warned(i)) {
      if (!st.blink) drawPicture(board, e.picture, pictures);
      st.calloutPicture = e.picture;
      st.blink = true;
      any = true;
    }
    if (e.startFrame < frame && frame < e.endFrame) {
      st.blink = false;
      board.visible = true;
      if (e.limit != st.lastDrawnLimit) drawPicture(board, e.picture, pictures);
      st.lastDrawnLimit = e.limit;
      any = true;
    }
  }
  if (!any) {
    board.picture = -1;
    st.lastDrawnLimit = 0;
  }
}

void Limits::speedChecks(int32_t frame, Fixed speed, Signals& signals) {
  const auto& table = m_route.SpeedCheckTable;
  for (const uint32_t i : m_index.speedChecks.at(int64_t{frame})) {
    const SpeedCheckEntry& e = table[i];
    const int64_t past = static_cast<int64_t>(frame) - e.frame;
    if (past >= 1 && past <= 9 && speed.ld() > e.speed) signals.speedCheckAlarm();
  }
}

void Limits::waysideSigns(int32_t frame, Fixed speed, long double remaining) {
  LimitState& st = m_state;
  PictureView& image = m_display.OtherImage;
  const size_t pictures = m_images.OtherImageList.size();
  bool matched = false;
  for (const uint32_t i : m_index.signs.at(int64_t{frame})) {
    const SignEntry& s = m_route.SignTable[i];
    if (s.startFrame <= frame && frame < s.endFrame) {
      matched = true;
      if (st.signTarget == kNoSign) {
        drawPicture(image, s.picture, pictures);
        st.signTarget = s.picture;
      }
    }
  }
  // A timetable-check board shows only while running and away from the stopping point.
  const bool boardsApply = speed.ld() > 1 && remaining > 10000;
  for (const uint32_t i : m_index.timeEvents.at(int64_t{frame})) {
    const TimeEventEntry& t = m_route.TimeEventTable[i];
    if (boardsApply && t.startFrame < frame && frame < t.endFrame) {
      matched = true;
      if (st.signTarget == kNoSign) {
        drawPicture(image, 0, pictures);
        st.signTarget = t.kind == 1 ? 901 : 900;
      }
    }
  }
  if (!matched) {
    image.picture = -1;
    st.signTarget = kNoSign;
  }
}

}  // namespace velmoria
