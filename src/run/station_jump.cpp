// The Move menu: the train is put in the stopping zone of the chosen station, 5 s before its
// departure, standing in EB with the doors shut, and every subsystem forgets what it was doing.
#include <algorithm>

#include "run/run.h"

namespace velmoria {

void Run::StationClick(const std::string& entryName) {
  int b = 0;
  for (size_t i = 0; i < route().StationTable.size(); ++i)
    if (entryName == "Sta" + std::to_string(i)) b = static_cast<int>(i);
  StationClick(b);
}

void Run::StationClick(int index) {
  const auto& table = route().StationTable;
  if (table.empty()) return;
  const int b = index >= 0 && static_cast<size_t>(index) < table.size() ? index : 0;
  const StationEntry& s = table[b];
  const int stoppingBefore = static_cast<int>(
      std::count_if(table.begin(), table.begin() + b, [](const auto& e) { return e.type == 0; }));

  m_dynamics.setSpeed(Fixed{});
  m_stations.stationJump(b);
  const int last = std::min<int>(
      kSoundChannels - 1,
      static_cast<int>(vehicle().DriveSoundList.size() + route().SoundDataList.size()) +
          route().kankoClipCount());
  for (int ch = 1; ch <= last; ++ch) m_channels.stop(ch);
  m_position.jumpToStation(s);
  m_limits.stationJump();
  m_dynamics.clearGradient();
  m_handle.placeForStationJump();
  m_handle.masconupdate();
  m_sounds.setAnnouncement(2 * stoppingBefore);
  m_signals.stationJump(m_position.state().frame);
}

}  // namespace velmoria
