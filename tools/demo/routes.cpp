#include "routes.h"

#include "pictures.h"
#include "route_file.h"
#include "route_media.h"
#include "route_runs.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

void writeTimetableCard(const fs::path& file, const RouteRun& r, const VehicleInfo& veh,
                        const Font& font, const Font& bold) {
  const Run& run = r.run;
  CardContents card;
  card.trainNumber = run.number;
  card.trainKind = run.kind;
  card.vehicle =
      veh.series + " " + std::to_string(veh.cars) + "両" + (run.oneMan ? "  ワンマン" : "");
  card.note = run.lateSeconds ? "3分遅れ 回復運転"
              : run.oneMan    ? "* 泉沢は運転停車(ドア扱いなし)"
              : run.branch    ? "椿から湖畔線に直通"
                              : "";
  for (size_t i = 0; i < r.stations.size(); ++i) {
    const auto& st = r.stations[i];
    CardRow row;
    row.station = r.line.stations[static_cast<size_t>(st.station)].name;
    if (run.oneMan && st.station == 13) row.station += "*";
    row.pass = !st.stop;
    if (i > 0 && st.stop) row.arrive = clockText(st.arrive);
    if (i + 1 < r.stations.size()) row.depart = clockText(st.depart);
    card.rows.push_back(row);
  }
  timetableCard(card, font, bold).saveBmp(file);
}

// The view at the first stop, darkened, with the train, its destination and departure.
void writeStartScreen(const fs::path& file, const RouteRun& r, const VehicleInfo& veh,
                      const Renderer& renderer, const Font& font, const Font& bold) {
  const Run& run = r.run;
  const auto& stations = r.stations;
  Image start(480, 240);
  renderer.render(r.path, nullptr, stations.front().frame, start);
  for (int y = 60; y < 180; ++y)
    for (int x = 40; x < 440; ++x) start.set(x, y, mix(start.get(x, y), Rgb{10, 14, 30}, 0.72));
  bold.drawFitted(start, 240, 72, 380,
                  std::string(run.kind) + " " + run.number + "  " +
                      r.line.stations[static_cast<size_t>(stations.back().station)].name + "行",
                  24, Rgb{255, 255, 255});
  font.drawFitted(start, 240, 108, 380,
                  veh.series + "  " +
                      r.line.stations[static_cast<size_t>(stations.front().station)].name + " " +
                      clockText(stations.front().depart) + "発",
                  16, Rgb{220, 230, 255});
  font.drawFitted(start, 240, 140, 380, "メニューの「開始」で運転を始めます", 14,
                  Rgb{255, 220, 120});
  start.saveBmp(file);
}

}  // namespace

void writeRoutes(const fs::path& dir, const Line& line, const std::vector<VehicleInfo>& vehicles,
                 const Renderer& renderer, const Voice& voice, const Font& font, const Font& bold) {
  const RouteLists lists = writeRouteMedia(dir, line, voice, font, bold);
  for (size_t i = 0; i < runs().size(); ++i) {
    const Run& run = runs()[i];
    const Path& path = run.branch ? line.branch : line.main;
    const VehicleInfo& veh = vehicles[static_cast<size_t>(run.vehicle)];
    const RouteRun r{run, static_cast<int>(i), line, path, timetable(run, path, veh.perf), lists};
    writeRouteFile(dir / run.file, r);
    const std::string stem = fs::path(run.file).stem().string();
    writeTimetableCard(dir / "image" / "staf" / (stem + ".bmp"), r, veh, font, bold);
    writeStartScreen(dir / "image" / "staf" / (stem + "_start.bmp"), r, veh, renderer, font, bold);
  }
}

}  // namespace demo
