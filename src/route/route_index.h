#pragma once
// Where on the line each entry of the route's tables can act, built once per run: the route
// does not change while it is driven. Read-only during the run. The tick's table steps loop over
// the candidates the indexes give instead of over whole tables (see frame/span_index.h).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/span_index.h"
#include "route/route.h"

namespace velmoria {

// Where the pattern control must have the train down to a speed: a signal's check point (at
// stop when its signal shows stop) or the start of a speed limit.
struct PatternTarget {
  long double distance = 0;  // cm
  int32_t speed = 0;         // 0 for a signal, else the limit
  int signal = -1;           // index in the signal table for a signal
};

struct RouteIndex {
  // By frame.
  SpanIndex soundCues, announcements, slopes, tunnels, signals, limitBoards, speedChecks, signs,
      timeEvents, stations;
  // By distance (cm).
  SpanIndex doppler, limitWarnings, patternTargets;
  // By the preceding train's frame: the block each block signal stands at the start of.
  SpanIndex blocks;
  std::vector<size_t> nextBlock;       // per signal: the next block signal (table size: none)
  std::vector<uint32_t> fixedSignals;  // signals whose aspect may be fixed (modes 1 and 2)
  std::vector<int> dopplerChannels;    // each Doppler source's channel once, in table order
  std::vector<PatternTarget> patternTargetList;  // what patternTargets indexes
};

// Builds the indexes from the route, after the set-up has placed its distances. Route sounds
// play on the channels from routeChannelBase on.
RouteIndex buildRouteIndex(const Route& route, std::vector<PatternTarget> patternTargets,
                           int routeChannelBase);

}  // namespace velmoria
