#include "route/route_file.h"

#include <limits>

#include "frame/startup_error.h"
#include "frame/text.h"

namespace velmoria {

namespace {

constexpr std::string_view kRouteError = "路線ファイルに誤りがあります。";

// Each list clears its table when its header is met and adds one entry per line.
template <typename Entry>
Section list(std::string_view header, std::vector<Entry>& table, size_t capacity,
             std::function<Entry(SectionWalker&)> entry,
             std::optional<char> commentMark = std::nullopt) {
  return {header, [&table, capacity, entry, commentMark](SectionWalker& w) {
            table.clear();
            w.readList(
                capacity, [&] { table.push_back(entry(w)); }, commentMark);
          }};
}

class RouteReader {
 public:
  RouteReader(const DataFolder& folder, ImageLoader& images, ImageLists& lists, Route& r)
      : m_folder(folder), m_images(images), m_lists(lists), m_r(r) {}

  SectionTable table();

 private:
  using W = SectionWalker;

  static Section intValue(std::string_view header, int32_t& target) {
    return {header, [&target](W& w) { target = w.readInt(); }};
  }
  static Section textValue(std::string_view header, std::string& target) {
    return {header, [&target](W& w) { target = w.readText(); }};
  }
  // A list section whose label is its own header.
  static SectionGroup own(Section s) {
    const std::string_view label = s.header;
    return {label, {std::move(s)}};
  }

  // Image lines may not be empty and must load.
  Section imageList(std::string_view header, std::vector<ImageInfo>& target,
                    std::vector<std::string>& files) {
    return {header, [this, &target, &files](W& w) {
              w.readList(kImageListCapacity, [&] {
                target.push_back(load(w, w.line()));
                files.push_back(w.line());
              });
            }};
  }
  ImageInfo load(W& w, const std::string& file) {
    if (file.empty()) w.fail();
    auto info = m_images.load(m_folder.resolve(file));
    if (!info) w.fail();
    return *info;
  }

  // Picture lists have no capacity of their own; the bound keeps a damaged file from loading
  // pictures without end.
  static constexpr size_t kImageListCapacity = 501;

  const DataFolder& m_folder;
  ImageLoader& m_images;
  ImageLists& m_lists;
  Route& m_r;
};

SectionTable RouteReader::table() {
  Route& r = m_r;
  constexpr size_t kCap = kRouteTableCapacity;
  return {
      {"other",
       {
           textValue("[LineName]", r.LineName),
           intValue("[StartPos]", r.StartPos),
           intValue("[FrameRate]", r.FrameRate),
           {"[Staf]",
            [&r](W& w) {
              r.StafCard = w.readText();
              r.StafStill = w.readText();
            }},
           intValue("[StartTime]", r.StartTime),
           intValue("[Speed_YY]", r.Speed_YY),
           intValue("[Speed_Y]", r.Speed_Y),
           intValue("[Speed_YG]", r.Speed_YG),
           intValue("[Speed_G]", r.Speed_G),
           textValue("[DataName]", r.DataName),
           {"[Pre_Time]",
            [&r](W& w) {
              // Held in frames (x 30); a head start that does not fit is a bad value.
              const int64_t frames = int64_t{w.readInt()} * 30;
              if (frames > std::numeric_limits<int32_t>::max() ||
                  frames < std::numeric_limits<int32_t>::min())
                w.fail();
              r.Pre_Time = static_cast<int32_t>(frames);
            }},
           intValue("[OneMan]", r.OneMan),
       }},
      own(list<std::string>("[SoundData]", r.SoundDataList, kCap, [](W& w) { return w.line(); })),
      own(list<AnnounceEntry>("[Announce]", r.AnnounceTable, kCap,
                              [](W& w) {
                                return AnnounceEntry{w.fieldInt(1), w.fieldInt(2)};
                              })),
      own({"[KankoSound1]",
           [&r](W& w) {
             // Exactly 18 lines, without a '#' line.
             for (auto& clip : r.KankoSound1) clip = w.readText();
           }}),
      own({"[KankoSound2]",
           [&r](W& w) {
             r.hasKankoSound2 = true;
             r.KankoSound2.clear();
             w.readList(kKankoStoreCapacity - kKankoSound1Count,
                        [&] { r.KankoSound2.push_back(w.line()); });
           }}),
      own(list<SoundCueEntry>(
          "[Sound]", r.SoundCueTable, kCap,
          [](W& w) {
            return SoundCueEntry{w.fieldInt(1), w.fieldInt(2), w.fieldInt(3), w.fieldInt(4),
                                 w.fieldInt(5), w.fieldInt(6), w.fieldInt(7)};
          },
          ';')),
      own(list<DopplerEntry>(
          "[Doppler]", r.DopplerTable, kCap,
          [](W& w) {
            return DopplerEntry{w.fieldInt(1), w.fieldInt(2), w.fieldInt(3), w.fieldInt(4), 0};
          })),
      own(list<TunnelEntry>("[Tunnel]", r.TunnelTable, kCap,
                            [](W& w) {
                              TunnelEntry t;
                              t.startFrame = w.toInt(w.line());
                              t.endFrame = w.readInt();
                              return t;
                            })),
      own(list<StationEntry>("[Station]", r.StationTable, kCap,
                             [](W& w) {
                               StationEntry s;
                               s.name = w.field(1);
                               s.type = w.fieldInt(2);
                               s.zoneStart = w.fieldInt(3);
                               s.stopFrame = w.fieldInt(4);
                               s.arrivalSound = w.fieldInt(5);
                               s.departureSound = w.fieldInt(6);
                               s.departureTime = w.fieldInt(7);
                               s.closeTime = w.fieldInt(8);
                               return s;
                             })),
      own(list<int32_t>("[StopSound]", r.StopSoundTable, kCap,
                        [](W& w) { return w.toInt(w.line()); })),
      own(list<SignalEntry>("[Signal]", r.SignalTable, kCap,
                            [](W& w) {
                              SignalEntry s;
                              s.mode = w.fieldInt(1);
                              s.label = w.field(2);
                              s.number = w.fieldInt(3);
                              s.kind = w.fieldInt(4);
                              s.viewFrame = w.fieldInt(5);
                              s.signalFrame = w.fieldInt(6);
                              s.warningFrame = w.fieldInt(7);
                              s.checkFrame = w.fieldInt(8);
                              s.fixedLevel = w.fieldInt(9);
                              s.fixedUntil = w.fieldInt(10);
                              return s;
                            })),
      own(list<SlopeEntry>("[Slope]", r.SlopeTable, kCap,
                           [](W& w) {
                             return SlopeEntry{w.fieldFixed(1), w.fieldInt(2), w.fieldInt(3)};
                           })),
      own(list<SignEntry>("[Sign]", r.SignTable, kCap,
                          [](W& w) {
                            return SignEntry{w.fieldInt(1), w.fieldInt(2), w.fieldInt(3)};
                          })),
      own(list<SignalKankoEntry>(
          "[SignalKanko]", r.SignalKankoTable, kCap,
          [](W& w) {
            return SignalKankoEntry{w.fieldInt(1), w.fieldInt(2), w.fieldInt(3)};
          })),
      own(list<StationKankoEntry>(
          "[StationKanko]", r.StationKankoTable, kCap,
          [](W& w) {
            return StationKankoEntry{w.fieldInt(1), w.fieldInt(2), w.fieldInt(3)};
          })),
      own(list<SpeedLimitEntry>("[SpeedLimit]", r.SpeedLimitTable, kCap,
                                [](W& w) {
                                  SpeedLimitEntry s;
                                  s.limit = w.fieldInt(1);
                                  s.picture = w.fieldInt(2);
                                  s.unused = w.fieldInt(3);
                                  s.startFrame = w.fieldInt(4);
                                  s.endFrame = w.fieldInt(5);
                                  return s;
                                })),
      own(list<SpeedCheckEntry>("[SpeedCheck]", r.SpeedCheckTable, kCap,
                                [](W& w) {
                                  return SpeedCheckEntry{w.fieldInt(1), w.fieldInt(2)};
                                })),
      own(imageList("[SignImageList]", m_lists.SignImageList, r.SignImageFiles)),
      own({"[OtherImageList]",
           [this, &r](W& w) {
             r.OtherImageTexts.clear();
             r.OtherImageFiles.clear();
             w.readList(kOtherImageTextsCapacity, [&] {
               m_lists.OtherImageList.push_back(load(w, w.line()));
               r.OtherImageFiles.push_back(w.line());
               r.OtherImageTexts.push_back(w.readText());
             });
           }}),
      own(imageList("[SignalImageList]", m_lists.SignalImageList, r.SignalImageFiles)),
      own(list<SpeedUnitEntry>("[SpeedUnit]", r.SpeedUnitTable, kCap,
                               [](W& w) {
                                 SpeedUnitEntry s;
                                 s.startFrame = w.fieldInt(1);
                                 s.endFrame = w.fieldInt(2);
                                 s.startSpeed = w.fieldInt(3);
                                 s.endSpeed = w.fieldInt(4);
                                 return s;
                               })),
      own(list<TimeEventEntry>(
          "[Time]", r.TimeEventTable, kTimeTableCapacity,
          [](W& w) {
            return TimeEventEntry{w.fieldInt(1), w.fieldInt(2), w.fieldInt(3), w.fieldInt(4)};
          })),
  };
}

}  // namespace

std::vector<int> buildStationMenu(const std::vector<StationEntry>& stations) {
  std::vector<int> menu;
  // The last station is the end of the line: no jump to it.
  for (size_t i = 0; i + 1 < stations.size(); ++i)
    if (stations[i].type == 0 || stations[i].type == 2) menu.push_back(static_cast<int>(i));
  return menu;
}

Route readRouteFile(const DataFolder& folder, std::string_view name, ReaderContext& context,
                    ImageLoader& images, ImageLists& lists) {
  const auto message = [](const ReaderContext& c) {
    return std::string(kRouteError) + c.label + ":" + c.currentLine;
  };
  auto lines = readTextLines(folder.resolve(name));
  if (!lines) throw StartupError(message(context));
  Route r;
  r.fileName = std::string(name);
  RouteReader reader(folder, images, lists, r);
  SectionWalker walker(std::move(*lines), context, message);
  walker.walk(reader.table());
  r.stationMenu = buildStationMenu(r.StationTable);
  return r;
}

}  // namespace velmoria
