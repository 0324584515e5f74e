#include "route_runs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demo {

namespace {

int hms(int h, int m, int s) {
  return (h * 3600 + m * 60 + s) * 30;
}
int roundUp15(double seconds) {
  return static_cast<int>(std::ceil(seconds / 15.0)) * 15;
}

const Run kRuns[] = {
    {"line_rapid1.dat",
     0,
     false,
     {0, 3, 4, 6, 8, 9, 10, 11},
     hms(7, 31, 0),
     180,
     90,
     0,
     "快速",
     "731M",
     "ヴェルモリア本線 快速 星ノ宮行 (朝ラッシュ・3分遅れ)",
     "おはようございます。このでんしゃは、かいそく、ほしのみやゆきです。さんぷんおくれております"
     "。"},
    {"line_rapid2.dat",
     0,
     false,
     {0, 2, 3, 4, 6, 7, 8, 9, 10, 11},
     hms(11, 2, 30),
     0,
     300,
     0,
     "快速",
     "1103M",
     "ヴェルモリア本線 快速 星ノ宮行 (日中)",
     "ごじょうしゃありがとうございます。このでんしゃは、かいそく、ほしのみやゆきです。"},
    {"line_rapid2_E233.dat",
     1,
     false,
     {0, 2, 3, 4, 6, 7, 8, 9, 10, 11},
     hms(11, 2, 30),
     0,
     300,
     0,
     "快速",
     "1103M",
     "ヴェルモリア本線 快速 星ノ宮行 (日中・E233系)",
     "ごじょうしゃありがとうございます。このでんしゃは、かいそく、ほしのみやゆきです。"},
    {"line_rapid3.dat",
     0,
     false,
     {0, 1, 3, 4, 5, 6, 8, 9, 11},
     hms(9, 45, 0),
     0,
     240,
     0,
     "休日快速",
     "945M",
     "ヴェルモリア本線 休日快速 星ノ宮行",
     "ごじょうしゃありがとうございます。このでんしゃは、きゅうじつかいそく、ほしのみやゆきです。"},
    {"line_rapid3_E233.dat",
     1,
     false,
     {0, 1, 3, 4, 5, 6, 8, 9, 11},
     hms(9, 45, 0),
     0,
     240,
     0,
     "休日快速",
     "945M",
     "ヴェルモリア本線 休日快速 星ノ宮行 (E233系)",
     "ごじょうしゃありがとうございます。このでんしゃは、きゅうじつかいそく、ほしのみやゆきです。"},
    {"line_exp4.dat",
     2,
     false,
     {0, 4, 8, 11},
     hms(14, 20, 0),
     0,
     180,
     0,
     "臨時特急",
     "9021M",
     "ヴェルモリア本線 臨時特急ほしかぜ 星ノ宮行 (183系)",
     "ごじょうしゃありがとうございます。このでんしゃは、りんじとっきゅう、ほしかぜごう、ほしのみや"
     "ゆきです。"},
    {"line_rapid5.dat",
     0,
     true,
     {0, 3, 4, 6, 8, 12, 14, 15},
     hms(8, 15, 0),
     0,
     240,
     0,
     "特別快速",
     "815M",
     "ヴェルモリア本線・湖畔線直通 特別快速 湖畔行",
     "ごじょうしゃありがとうございます。このでんしゃは、とくべつかいそく、こはんゆきです。つばきか"
     "ら、こはんせんにはいります。"},
    {"line_local6.dat",
     0,
     true,
     {8, 12, 13, 14, 15},
     hms(13, 40, 0),
     0,
     150,
     1,
     "普通",
     "1341M",
     "湖畔線 普通 湖畔行 (ワンマン)",
     "ごじょうしゃありがとうございます。このでんしゃは、ワンマンでんしゃ、こはんゆきです。"},
};

}  // namespace

std::span<const Run> runs() {
  return kRuns;
}

std::vector<RouteStation> timetable(const Run& run, const Path& path, const Perf& perf) {
  std::vector<RouteStation> out;
  size_t first = 0, last = 0;
  for (size_t i = 0; i < path.stops.size(); ++i) {
    if (path.stops[i].station == run.stops.front()) first = i;
    if (path.stops[i].station == run.stops.back()) last = i;
  }
  for (size_t i = first; i <= last; ++i) {
    const bool stop =
        std::find(run.stops.begin(), run.stops.end(), path.stops[i].station) != run.stops.end();
    out.push_back({path.stops[i].station, path.stops[i].frame, path.stops[i].s, stop});
  }
  int clock = run.depart;
  out[0].depart = clock;
  size_t a = 0;
  for (size_t b = 1; b < out.size(); ++b) {
    if (!out[b].stop) continue;
    const double secs = runSeconds(path, out[a].s, out[b].s, perf);
    const int run_s = roundUp15(secs * 1.05 + 15);
    for (size_t p = a + 1; p < b; ++p)
      out[p].depart = out[p].arrive =
          clock +
          static_cast<int>(run_s * (out[p].s - out[a].s) / (out[b].s - out[a].s)) / 15 * 15 * 30;
    out[b].arrive = clock + run_s * 30;
    const int dwell = out[b].station == 8 ? 45 : (out[b].station == 4 ? 40 : 30);
    out[b].depart = out[b].arrive + dwell * 30;
    clock = out[b].depart;
    a = b;
  }
  return out;
}

std::string clockText(int ticks) {
  const int t = ticks / 30;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
  return buf;
}

}  // namespace demo
