#pragma once
// Where each field of an editor table lives in its entry, and which Route vector holds the
// table: the one place that ties the editor's tables to route/route.h.
#include <variant>
#include <vector>

#include "route_edit/route_document.h"

namespace velmoria::edit {

template <typename E>
using Member = std::variant<int32_t E::*, std::string E::*, Fixed E::*>;

// The entry's fields in the order of tableInfo(...).fields.
template <typename E>
const std::vector<Member<E>>& members();

// Calls f(route's vector of the table) with its entry type.
template <typename R, typename F>
decltype(auto) withTable(R& route, Table table, F&& f) {
  switch (table) {
    case Table::Station:
      return f(route.StationTable);
    case Table::Signal:
      return f(route.SignalTable);
    case Table::SpeedLimit:
      return f(route.SpeedLimitTable);
    case Table::Slope:
      return f(route.SlopeTable);
    case Table::Sign:
      return f(route.SignTable);
    case Table::SoundCue:
      return f(route.SoundCueTable);
    case Table::Announce:
      return f(route.AnnounceTable);
    case Table::SpeedCheck:
      return f(route.SpeedCheckTable);
    case Table::Tunnel:
      break;
  }
  return f(route.TunnelTable);
}

}  // namespace velmoria::edit
