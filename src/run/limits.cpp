// Speed-limit boards, speed checks, the gradient board, tunnels and wayside signs.
#include "run/limits.h"

#include <cstdlib>

#include "run/run.h"
#include "run/signals.h"
#include "run/stations.h"

namespace velmoria {

namespace {

constexpr int32_t kNoSign = 999;

void clearSlope(Run& run) {
  run.display.SlopeImage.picture = -1;
  run.train.currentGradient = Fixed{};
  run.display.SlopeText.text.clear();
}

}  // namespace

std::string gradientText(Fixed perMille) {
  // Unsigned, so that the largest gradient a file can hold rounds without overflowing.
  const uint64_t raw = static_cast<uint64_t>(perMille.raw);
  const uint64_t magnitude = perMille.raw < 0 ? 0 - raw : raw;
  const uint64_t tenths = (magnitude + 500) / 1000;
  std::string s = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  return perMille.raw < 0 && tenths != 0 ? "-" + s : s;
}

void Run::initLimits() {
  limits = LimitState{};
}

void speedLimitBlink(Run& run) {
  if (run.limits.blink) blink(run.display.SpeedLimitImage.visible, run.tickCount);
}

void slopeDisplay(Run& run) {
  const auto& table = run.route.SlopeTable;
  const int32_t frame = run.pos.frame;
  const size_t signs = run.data.images.SignImageList.size();
  for (const uint32_t i : run.index.slopes.at(int64_t{frame})) {
    const SlopeEntry& e = table[i];
    if (e.startFrame < frame && frame < e.endFrame) {
      if (e.gradient.raw > 0 && e.gradient != run.train.currentGradient)
        drawPicture(run.display.SlopeImage, 1, signs);
      if (e.gradient.raw < 0 && e.gradient != run.train.currentGradient)
        drawPicture(run.display.SlopeImage, 2, signs);
      run.train.currentGradient = e.gradient;
      run.display.SlopeText.text = gradientText(e.gradient);
    }
    if (i + 1 < table.size() && e.endFrame < frame && frame < table[i + 1].startFrame &&
        run.display.SlopeImage.picture >= 0)
      clearSlope(run);
  }
  if (!table.empty() && frame > table.back().endFrame && run.display.SlopeImage.picture >= 0)
    clearSlope(run);
}

void tunnels(Run& run) {
  const auto& table = run.route.TunnelTable;
  const int32_t frame = run.pos.frame;
  bool inside = false;
  for (const uint32_t i : run.index.tunnels.at(int64_t{frame}))
    if (table[i].startFrame < frame && frame < table[i].endFrame) inside = true;
  run.display.Panel2 = inside;
}

void speedLimits(Run& run) {
  LimitState& st = run.limits;
  PictureView& board = run.display.SpeedLimitImage;
  const size_t pictures = run.data.images.OtherImageList.size();
  const long double v = run.train.speed.ld();
  const long double a = run.vehicle.BrakeRate.ld();
  const long double x = run.pos.distance;
  const int32_t frame = run.pos.frame;
  const auto& table = run.route.SpeedLimitTable;
  // Within 600 m: warned of inside the braking distance, or in the last 100 frames.
  const auto warned = [&](size_t i) {
    const SpeedLimitEntry& e = table[i];
    const long double ahead = e.distance - x;
    if (!(ahead > 0 && ahead < 60000)) return false;
    return brakingDistance(v, e.limit, 0.6L * a) > ahead / 100 - 100 ||
           (e.startFrame - 100 < frame && frame < e.startFrame);
  };
  bool any = false;
  RouteIndex& index = run.index;
  mergeCandidates(index.limitWarnings.at(x), index.limitBoards.at(int64_t{frame}),
                  index.limitCandidates);
  for (const uint32_t i : index.limitCandidates) {
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

void speedChecks(Run& run) {
  const auto& table = run.route.SpeedCheckTable;
  for (const uint32_t i : run.index.speedChecks.at(int64_t{run.pos.frame})) {
    const SpeedCheckEntry& e = table[i];
    const int64_t past = static_cast<int64_t>(run.pos.frame) - e.frame;
    if (past >= 1 && past <= 9 && run.train.speed.ld() > e.speed) {
      run.signals.alarm = true;
      run.signals.acknowledged = false;
    }
  }
}

void waysideSigns(Run& run) {
  LimitState& st = run.limits;
  PictureView& image = run.display.OtherImage;
  const size_t pictures = run.data.images.OtherImageList.size();
  const int32_t frame = run.pos.frame;
  bool matched = false;
  for (const uint32_t i : run.index.signs.at(int64_t{frame})) {
    const SignEntry& s = run.route.SignTable[i];
    if (s.startFrame <= frame && frame < s.endFrame) {
      matched = true;
      if (st.signTarget == kNoSign) {
        drawPicture(image, s.picture, pictures);
        st.signTarget = s.picture;
      }
    }
  }
  // A timetable-check board shows only while running and away from the stopping point.
  const bool boardsApply = run.train.speed.ld() > 1 && run.pos.remaining > 10000;
  for (const uint32_t i : run.index.timeEvents.at(int64_t{frame})) {
    const TimeEventEntry& t = run.route.TimeEventTable[i];
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
