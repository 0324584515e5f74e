#pragma once
// Where on the line each entry of the route's tables can act, built once per run: the route
// does not change while it is driven. The tick's table steps loop over the candidates the
// indexes give instead of over whole tables (see frame/span_index.h).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/span_index.h"

namespace velmoria {

class Run;

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
  // Kept between ticks so that the steps joining two lists do not allocate.
  std::vector<uint32_t> busyStations, stationCandidates, limitCandidates;
};

// Builds the indexes from the run's route, after the set-up has placed its distances.
RouteIndex buildRouteIndex(const Run& run);

}  // namespace velmoria
