#pragma once
// One run over the recorded line, as its route file describes it. Positions are frame numbers
// of the track video; times of day are thirtieths of a second since midnight.
// Filled once while the cab window is created; the distances are added at set-up.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/fixed.h"

namespace velmoria {

constexpr size_t kRouteTableCapacity = 501;
constexpr size_t kTimeTableCapacity = 100;
constexpr size_t kOtherImageTextsCapacity = 100;
constexpr int kKankoSound1Count = 18;
constexpr size_t kKankoStoreCapacity = 501;  // commentary clips 0..500

struct AnnounceEntry {
  int32_t sound = 0;  // route sound index
  int32_t frame = 0;
};

struct SoundCueEntry {
  int32_t sound = 0;
  int32_t startFrame = 0;
  int32_t endFrame = 0;
  int32_t referenceSpeed = 0;  // km/h
  int32_t type = 0;            // 0 one-shot, 1+ looping
  int32_t followSpeed = 0;     // non-zero: rate = speed / referenceSpeed
  int32_t volumeFollows = 0;   // 1: volume follows the speed
};

struct DopplerEntry {
  int32_t sound = 0;
  int32_t frame = 0;
  int32_t radius = 0;  // cm
  int32_t unused = 0;
  long double distance = 0;  // cm along the line, computed at set-up
};

struct TunnelEntry {
  int32_t startFrame = 0;
  int32_t endFrame = 0;
};

struct StationEntry {
  std::string name;
  int32_t type = 0;       // 0 stop with doors, 1 pass, 2 stop without automatic doors
  int32_t zoneStart = 0;  // field 3
  int32_t stopFrame = 0;  // field 4: the stopping mark, last frame of the zone
  int32_t arrivalSound = 0;
  int32_t departureSound = 0;
  int32_t departureTime = 0;
  int32_t closeTime = 0;     // 9999999 marks the terminus
  long double distance = 0;  // cm of the zone's midpoint, computed at set-up (types 0 and 2)
};
constexpr int32_t kTerminusTime = 9999999;

struct SignalEntry {
  int32_t mode = 0;  // 0 from the preceding train, 1 fixed until fixedUntil, 2 fixed
  std::string label;
  int32_t number = 0;
  int32_t kind = 0;  // aspect set 0..5; 1 and more are block signals
  int32_t viewFrame = 0;
  int32_t signalFrame = 0;
  int32_t warningFrame = 0;
  int32_t checkFrame = 0;
  int32_t fixedLevel = 0;
  int32_t fixedUntil = 0;
};

struct SlopeEntry {
  Fixed gradient;  // per mille, uphill positive
  int32_t startFrame = 0;
  int32_t endFrame = 0;
};

struct SignEntry {
  int32_t picture = 0;     // in OtherImageList
  int32_t startFrame = 0;  // inclusive
  int32_t endFrame = 0;    // exclusive
};

struct SignalKankoEntry {
  int32_t signal = 0;  // index in the signal table
  int32_t kind = 0;    // 0 said before the aspect, 1 after
  int32_t clip = 0;    // commentary clip number
};

struct StationKankoEntry {
  int32_t a = 0, b = 0, c = 0;
};

struct SpeedLimitEntry {
  int32_t limit = 0;  // km/h
  int32_t picture = 0;
  int32_t unused = 0;
  int32_t startFrame = 0;
  int32_t endFrame = 0;
  long double distance = 0;  // cm of startFrame, computed at set-up
};

struct SpeedCheckEntry {
  int32_t speed = 0;
  int32_t frame = 0;
};

struct SpeedUnitEntry {
  int32_t startFrame = 0;  // inclusive
  int32_t endFrame = 0;    // exclusive
  int32_t startSpeed = 0;  // recorded km/h at startFrame
  int32_t endSpeed = 0;
  long double endDistance = 0;  // cumulative cm at the end, computed at set-up
};

struct TimeEventEntry {
  int32_t kind = 0;
  int32_t startFrame = 0;
  int32_t endFrame = 0;
  int32_t time = 0;
};

struct Route {
  std::string fileName;  // as chosen on the title window ("line_rapid5.dat")

  std::string LineName;
  int32_t StartPos = 0;
  int32_t FrameRate = 0;
  std::string StafCard;   // [Staf] line 1: the timetable card picture ("" for none)
  std::string StafStill;  // [Staf] line 2: the still shown before the start
  int32_t StartTime = 0;
  int32_t Speed_YY = 0, Speed_Y = 0, Speed_YG = 0, Speed_G = 0;
  std::string DataName;
  int32_t Pre_Time = 0;  // stored x 30: frames of head start
  int32_t OneMan = 0;

  std::vector<std::string> SoundDataList;
  std::array<std::string, kKankoSound1Count> KankoSound1;
  bool hasKankoSound2 = false;
  std::vector<std::string> KankoSound2;  // clip 18 + n is entry n
  std::vector<AnnounceEntry> AnnounceTable;
  std::vector<SoundCueEntry> SoundCueTable;
  std::vector<DopplerEntry> DopplerTable;
  std::vector<TunnelEntry> TunnelTable;
  std::vector<StationEntry> StationTable;
  std::vector<int32_t> StopSoundTable;
  std::vector<SignalEntry> SignalTable;
  std::vector<SlopeEntry> SlopeTable;
  std::vector<SignEntry> SignTable;
  std::vector<SignalKankoEntry> SignalKankoTable;
  std::vector<StationKankoEntry> StationKankoTable;
  std::vector<SpeedLimitEntry> SpeedLimitTable;
  std::vector<SpeedCheckEntry> SpeedCheckTable;
  std::vector<SpeedUnitEntry> SpeedUnitTable;
  std::vector<TimeEventEntry> TimeEventTable;
  std::vector<std::string> OtherImageTexts;  // the board clip of each OtherImageList picture
  // The picture files of the three image lists as the file names them (the pictures themselves
  // go to ImageLists), so that a route can be written back as it was read.
  std::vector<std::string> SignImageFiles;
  std::vector<std::string> OtherImageFiles;  // one beside each OtherImageTexts entry
  std::vector<std::string> SignalImageFiles;

  // Station jump entries ("Sta" + index) in station order: kinds 0 and 2, never the last.
  std::vector<int> stationMenu;

  // Number of commentary clips: 18 + KankoSound2 entries when [KankoSound2] is present.
  int kankoClipCount() const {
    return hasKankoSound2 ? kKankoSound1Count + static_cast<int>(KankoSound2.size()) : 0;
  }
};

}  // namespace velmoria
