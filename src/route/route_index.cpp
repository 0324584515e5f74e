#include "route/route_index.h"

#include <algorithm>

namespace velmoria {

namespace {

using Span = SpanIndex::Span;

// Inclusive frames first..last; nothing when last < first.
Span frames(int64_t first, int64_t last) {
  return {first, last};
}

template <class Table, class F>
SpanIndex indexOf(const Table& table, F spanOf) {
  std::vector<Span> spans;
  spans.reserve(table.size());
  for (size_t i = 0; i < table.size(); ++i) spans.push_back(spanOf(i, table[i]));
  return SpanIndex(spans);
}

// A span unioned with a second one; an empty part adds nothing.
Span join(Span a, Span b) {
  if (a.lo > a.hi) return b;
  if (b.lo > b.hi) return a;
  return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

}  // namespace

RouteIndex buildRouteIndex(const Route& r, std::vector<PatternTarget> patternTargets,
                           int routeChannelBase) {
  RouteIndex x;
  x.patternTargetList = std::move(patternTargets);

  // Each span below is the union of the frames at which the step's own tests can hold for that
  // entry; the step still applies the tests.
  x.soundCues = indexOf(r.SoundCueTable, [](size_t, const SoundCueEntry& c) {
    Span s = join(frames(c.startFrame - 4, c.startFrame + 4),
                  frames(int64_t{c.startFrame} + 1, int64_t{c.endFrame} - 1));
    if (c.type >= 1) s = join(s, frames(c.endFrame - 4, c.endFrame + 4));
    return s;
  });
  x.announcements = indexOf(r.AnnounceTable, [](size_t i, const AnnounceEntry& a) {
    // The first entry is the overrun announcement, never played by place.
    return i == 0 ? Span{} : frames(int64_t{a.frame} - 4, int64_t{a.frame} + 4);
  });
  x.slopes = indexOf(r.SlopeTable, [&](size_t i, const SlopeEntry& e) {
    Span s = frames(int64_t{e.startFrame} + 1, int64_t{e.endFrame} - 1);
    if (i + 1 < r.SlopeTable.size())
      s = join(s, frames(int64_t{e.endFrame} + 1, int64_t{r.SlopeTable[i + 1].startFrame} - 1));
    return s;
  });
  x.tunnels = indexOf(r.TunnelTable, [](size_t, const TunnelEntry& t) {
    return frames(int64_t{t.startFrame} + 1, int64_t{t.endFrame} - 1);
  });
  x.signals = indexOf(r.SignalTable, [](size_t, const SignalEntry& s) {
    const int64_t view = s.viewFrame, signal = s.signalFrame, warning = s.warningFrame,
                  check = s.checkFrame;
    Span in = join(frames(view, signal - 1), frames(warning + 1, warning + 9));
    in = join(in, frames(check + 1, check + 29));
    return join(in, frames(signal + 1, signal + 9));
  });
  x.limitBoards = indexOf(r.SpeedLimitTable, [](size_t, const SpeedLimitEntry& e) {
    return frames(int64_t{e.startFrame} + 1, int64_t{e.endFrame} - 1);
  });
  x.limitWarnings = indexOf(r.SpeedLimitTable, [](size_t, const SpeedLimitEntry& e) {
    return spanAround(e.distance - 60000, e.distance);  // within 600 m ahead
  });
  x.speedChecks = indexOf(r.SpeedCheckTable, [](size_t, const SpeedCheckEntry& e) {
    return frames(int64_t{e.frame} + 1, int64_t{e.frame} + 9);
  });
  x.signs = indexOf(r.SignTable, [](size_t, const SignEntry& s) {
    return frames(s.startFrame, int64_t{s.endFrame} - 1);
  });
  x.timeEvents = indexOf(r.TimeEventTable, [](size_t, const TimeEventEntry& t) {
    return frames(int64_t{t.startFrame} + 1, int64_t{t.endFrame} - 1);
  });
  x.stations = indexOf(r.StationTable, [&](size_t j, const StationEntry& s) {
    Span in = frames(s.zoneStart, s.stopFrame);
    if (j + 1 < r.StationTable.size())
      in = join(in, frames(int64_t{s.stopFrame} + 1, int64_t{r.StationTable[j + 1].zoneStart} - 1));
    return in;
  });
  x.doppler = indexOf(r.DopplerTable, [](size_t, const DopplerEntry& e) {
    return spanAround(e.distance - e.radius, e.distance + e.radius);
  });
  x.patternTargets = indexOf(x.patternTargetList, [](size_t, const PatternTarget& t) {
    return spanAround(t.distance - 60000, t.distance);  // within 600 m ahead
  });

  // A block runs from its signal to the next block signal; the last one to the end of the line.
  const auto& sig = r.SignalTable;
  const size_t n = sig.size();
  x.nextBlock.assign(n, n);
  for (size_t i = n, next = n; i-- > 0;) {
    x.nextBlock[i] = next;
    if (sig[i].kind != 0) next = i;
  }
  x.blocks = indexOf(sig, [&](size_t i, const SignalEntry& s) {
    if (s.kind == 0) return Span{};
    const size_t next = x.nextBlock[i];
    return Span{s.signalFrame, next < n ? int64_t{sig[next].signalFrame} : SpanIndex::kAboveAll};
  });
  for (size_t i = 0; i < n; ++i)
    if (sig[i].mode == 1 || sig[i].mode == 2) x.fixedSignals.push_back(static_cast<uint32_t>(i));

  for (const DopplerEntry& e : r.DopplerTable) {
    const int ch = routeChannelBase + e.sound;
    if (std::find(x.dopplerChannels.begin(), x.dopplerChannels.end(), ch) ==
        x.dopplerChannels.end())
      x.dopplerChannels.push_back(ch);
  }
  return x;
}

}  // namespace velmoria
