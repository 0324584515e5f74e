#include "routes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "pictures.h"
#include "text_file.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

constexpr int kHour = 108000;  // clock ticks per hour
int hms(int h, int m, int s) {
  return (h * 3600 + m * 60 + s) * 30;
}
std::string clockText(int ticks) {
  const int t = ticks / 30;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d:%02d:%02d", t / 3600, t / 60 % 60, t % 60);
  return buf;
}
int roundUp15(double seconds) {
  return static_cast<int>(std::ceil(seconds / 15.0)) * 15;
}

// Route sound indices ([SoundData]).
enum : int {
  kOverrun = 0,
  kMelody0 = 1,
  kCrossingBell = 5,
  kTunnel = 6,
  kBridge = 7,
  kPoints = 8,
  kArrive0 = 9
};
int arriveSound(int st) {
  return kArrive0 + st;
}
int nextSound(int st) {
  return kArrive0 + 16 + st;
}
int soonSound(int st) {
  return kArrive0 + 32 + st;
}
int welcomeSound(int run) {
  return kArrive0 + 48 + run;
}

// Other-display pictures.
const int kLimits[] = {45, 55, 60, 65, 70, 75, 85};
int limitPicture(int kmh) {
  for (int i = 0; i < 7; ++i)
    if (kLimits[i] == kmh) return 1 + i;
  return 1;
}
enum : int { kBoardWhistle = 8, kBoardCrossing = 9, kBoardStation = 10, kBoardJunction = 11 };

struct Run {
  const char* file;
  int vehicle;  // 0 201, 1 E233, 2 183
  bool branch;
  std::vector<int> stops;  // stations where the train stops; first and last are the ends
  int depart;              // ticks
  int lateSeconds;
  int preTime;
  int oneMan;
  const char* kind;
  const char* number;
  const char* lineName;
  const char* welcome;  // kana
};

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

struct RouteStation {
  int station;
  int frame;
  double s;
  bool stop;
  int arrive = 0, depart = 0;  // ticks (timetable)
};

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

std::string csv(std::initializer_list<std::string> f) {
  std::string s;
  for (const auto& x : f) s += (s.empty() ? "" : ",") + x;
  return s;
}
std::string n(long v) {
  return std::to_string(v);
}

}  // namespace

void writeRoutes(const fs::path& dir, const Line& line, const std::vector<VehicleInfo>& vehicles,
                 const Renderer& renderer, const Voice& voice, const Font& font, const Font& bold) {
  const fs::path ld = dir / "sound" / "line", kd = dir / "sound" / "kanko";
  fs::create_directories(ld), fs::create_directories(kd);
  fs::create_directories(dir / "image" / "signal"), fs::create_directories(dir / "image" / "sign");
  fs::create_directories(dir / "image" / "board"), fs::create_directories(dir / "image" / "staf");

  // Route sounds, the same list for every run.
  std::vector<std::string> soundData;
  voice.speak(ld / "overrun.wav",
              "ていしいちを、しゅうせいいたします。しょうしょう、おまちください。");
  soundData.push_back("sound\\line\\overrun.wav");
  for (int m = 0; m < 4; ++m) {
    const std::string f = "melody" + std::to_string(m) + ".wav";
    saveWav(ld / f, melody(m));
    soundData.push_back("sound\\line\\" + f);
  }
  saveWav(ld / "crossing.wav", crossingBell());
  saveWav(ld / "tunnel.wav", tunnelRoar());
  saveWav(ld / "bridge.wav", bridgeRumble());
  saveWav(ld / "points.wav", pointClatter());
  for (const char* f : {"crossing", "tunnel", "bridge", "points"})
    soundData.push_back(std::string("sound\\line\\") + f + ".wav");
  for (int kind = 0; kind < 3; ++kind)
    for (size_t st = 0; st < line.stations.size(); ++st) {
      const auto& S = line.stations[st];
      static const char* prefix[] = {"arrive", "next", "soon"};
      const std::string f = std::string(prefix[kind]) + std::to_string(st) + ".wav";
      std::string text =
          kind == 0 ? S.reading + "、" + S.reading + "です。ごじょうしゃ、ありがとうございます。"
          : kind == 1 ? "つぎは、" + S.reading + "です。"
                      : "まもなく、" + S.reading + "です。おでぐちは、ひだりがわです。";
      voice.speak(ld / f, text);
      soundData.push_back("sound\\line\\" + f);
    }
  for (size_t r = 0; r < std::size(kRuns); ++r) {
    const std::string f = "welcome" + std::to_string(r) + ".wav";
    voice.speak(ld / f, kRuns[r].welcome);
    soundData.push_back("sound\\line\\" + f);
  }
  // Call-out clips.
  const char* k1[18] = {"ていし",
                        "けいかい",
                        "ちゅうい",
                        "げんそく",
                        "しんこう",
                        "ちゅうけい、せいげん",
                        "さんじゅうびょう",
                        "よんじゅうごびょう",
                        "いっぷん",
                        "いっぷんじゅうごびょう",
                        "いっぷんさんじゅうびょう",
                        "いっぷんよんじゅうごびょう",
                        "にふん",
                        "おくれ",
                        "かくにん",
                        "はやい",
                        "よし",
                        "ていじ"};
  std::vector<std::string> kanko1, kanko2;
  for (int i = 0; i < 18; ++i) {
    const std::string f = "k" + std::to_string(i) + ".wav";
    voice.speak(kd / f, k1[i], 190);
    kanko1.push_back("sound\\kanko\\" + f);
  }
  const char* k2[8] = {"しゅっぱつ",       "じょうない", "だいいちへいそく", "だいにへいそく",
                       "だいさんへいそく", "ちゅうけい", "へいそく",         "よし"};
  for (int i = 0; i < 8; ++i) {
    const std::string f = "s" + std::to_string(i) + ".wav";
    voice.speak(kd / f, k2[i], 190);
    kanko2.push_back("sound\\kanko\\" + f);
  }
  // Pictures named by the routes.
  std::vector<std::string> signalImages;
  const auto sig = signalPictures(font);
  for (size_t i = 0; i < sig.size(); ++i) {
    char f[32];
    std::snprintf(f, sizeof f, "sig%02zu.bmp", i);
    sig[i].saveBmp(dir / "image" / "signal" / f);
    signalImages.push_back(std::string("image\\signal\\") + f);
  }
  slopeBoard(true, font).saveBmp(dir / "image" / "sign" / "up.bmp");
  slopeBoard(false, font).saveBmp(dir / "image" / "sign" / "down.bmp");
  std::vector<std::string> otherImages;
  auto board = [&](const std::string& file, const Image& img, const std::string& kana) {
    img.saveBmp(dir / "image" / "board" / (file + ".bmp"));
    voice.speak(kd / ("b_" + file + ".wav"), kana, 190);
    otherImages.push_back("image\\board\\" + file + ".bmp");
    otherImages.push_back("sound\\kanko\\b_" + file + ".wav");
  };
  board("time", textBoard("時刻確認", Rgb{250, 250, 250}, Rgb{20, 60, 160}, bold), "じこく");
  const char* limitKana[] = {"よんじゅうご", "ごじゅうご",   "ろくじゅう",  "ろくじゅうご",
                             "ななじゅう",   "ななじゅうご", "はちじゅうご"};
  for (int i = 0; i < 7; ++i)
    board("limit" + std::to_string(kLimits[i]), limitBoard(kLimits[i], bold),
          std::string("せいげん、") + limitKana[i]);
  board("whistle", textBoard("汽笛吹鳴", Rgb{250, 250, 250}, Rgb{20, 20, 20}, bold), "きてき");
  board("crossing", textBoard("踏切注意", Rgb{244, 200, 30}, Rgb{20, 20, 20}, bold), "ふみきり");
  board("station", textBoard("停車場接近", Rgb{250, 250, 250}, Rgb{20, 60, 160}, bold),
        "ていしゃじょう");
  board("junction", textBoard("分岐注意", Rgb{250, 250, 250}, Rgb{160, 30, 30}, bold), "ぶんき");

  for (size_t r = 0; r < std::size(kRuns); ++r) {
    const Run& run = kRuns[r];
    const Path& path = run.branch ? line.branch : line.main;
    const VehicleInfo& veh = vehicles[static_cast<size_t>(run.vehicle)];
    const auto stations = timetable(run, path, veh.perf);
    const int startFrame = stations.front().frame;
    const int endFrame = stations.back().frame;
    const Profile& prof = path.profile;
    auto fr = [&](double s) { return prof.frameAt(s); };
    auto inRange = [&](double s) {
      return s >= stations.front().s - 50 && s <= stations.back().s + 50;
    };
    const std::string stem = fs::path(run.file).stem().string();
    // A late run starts with its doors due to close at once, so it leaves lateSeconds behind time.
    const int startTime =
        run.lateSeconds ? run.depart + (run.lateSeconds - 10) * 30 : run.depart - 60 * 30;

    TextFile f;
    f.line("; Velmoria demo line: " + std::string(run.lineName));
    f.value("[LineName]", run.lineName).value("[StartPos]", startFrame).value("[FrameRate]", 30);
    f.value("[Staf]", "image\\staf\\" + stem + ".bmp", "image\\staf\\" + stem + "_start.bmp");
    f.value("[StartTime]", startTime);
    f.value("[Speed_YY]", 25)
        .value("[Speed_Y]", 45)
        .value("[Speed_YG]", 65)
        .value("[Speed_G]", run.branch && run.oneMan ? 85 : 100);
    f.value("[DataName]", "tavo").value("[Pre_Time]", run.preTime).value("[OneMan]", run.oneMan);
    f.section("[SoundData]", soundData).line("#");

    // Announcements: entry 0 answers an overrun; then the welcome and, per stop, "next" and "soon".
    f.line("[Announce]").line(csv({n(kOverrun), "0"}));
    f.line(csv({n(welcomeSound(static_cast<int>(r))), n(startFrame + 450)}));
    for (size_t i = 0; i + 1 < stations.size(); ++i) {
      if (!stations[i].stop) continue;
      size_t j = i + 1;
      while (!stations[j].stop) ++j;
      f.line(csv({n(nextSound(stations[j].station)), n(fr(stations[i].s + 420))}));
      f.line(csv({n(soonSound(stations[j].station)), n(fr(stations[j].s - 1100))}));
    }
    f.line("#");
    f.section("[KankoSound1]", kanko1);
    f.section("[KankoSound2]", kanko2).line("#");

    f.line("[Sound]").line("; tunnels roar, bridges rumble, the junction's points clatter");
    for (const auto& t : path.tunnels)
      if (inRange(t.s0))
        f.line(csv({n(kTunnel), n(fr(t.s0 - 10)), n(fr(t.s1 + 20)), "80", "1", "1", "1"}));
    for (const auto& b : path.bridges)
      if (inRange(b.s0))
        f.line(csv({n(kBridge), n(fr(b.s0 - 5)), n(fr(b.s1 + 5)), "70", "1", "1", "1"}));
    for (double t : path.turnouts)
      if (inRange(t)) f.line(csv({n(kPoints), n(fr(t)), n(fr(t + 40)), "40", "0", "1", "0"}));
    f.line("#");
    f.line("[Doppler]");
    for (double c : path.crossings)
      if (inRange(c)) f.line(csv({n(kCrossingBell), n(fr(c)), "30000", "0"}));
    f.line("#");
    f.line("[Tunnel]");
    for (const auto& t : path.tunnels)
      if (inRange(t.s0)) f.lines({n(fr(t.s0)), n(fr(t.s1))});
    f.line("#");

    f.line("[Station]");
    for (size_t i = 0; i < stations.size(); ++i) {
      const auto& st = stations[i];
      const bool first = i == 0, last = i + 1 == stations.size();
      int type = st.stop ? 0 : 1;
      // On the one-man branch the train waits at 泉沢 for the opposite train without opening.
      if (run.oneMan && st.station == 13) type = 2;
      const int half = first && st.frame < 600 ? st.frame : 600;
      const int melodyIdx = kMelody0 + st.station % 4;
      const int f7 = last ? st.arrive + 60 * 30 : st.depart - 15 * 30;
      const long f8 = last ? 9999999 : st.depart - 5 * 30;
      f.line(csv({line.stations[static_cast<size_t>(st.station)].name, n(type), n(st.frame - half),
                  n(st.frame + half), n(arriveSound(st.station)), n(melodyIdx), n(f7), n(f8)}));
    }
    f.line("#");
    f.line("[StopSound]").lines({"0", "1"}).line("#");

    // Signals.
    f.line("[Signal]");
    std::vector<std::pair<int, int>> kanko;  // (signal index, clip, kind)
    std::vector<int> kankoKind;
    int idx = 0;
    double prevS = -1e9;
    bool branchRepeaterDone = false;
    for (const auto& sg : path.signals) {
      if (sg.s < stations.front().s - 200 || sg.s > stations.back().s) continue;
      const double viewFrom = std::max(prevS + 5, sg.s - 700);
      int f5 = fr(std::max(viewFrom, stations.front().s - 100));
      const int f6 = fr(sg.s);
      int f7 = fr(std::max(sg.s - 600, viewFrom + 30));
      const int f8 = fr(sg.s - 20);
      int mode = 0, level = 4, until = 0;
      const Stop& from = path.stops[static_cast<size_t>(sg.fromStop)];
      auto rs = std::find_if(stations.begin(), stations.end(),
                             [&](const RouteStation& x) { return x.station == from.station; });
      if (sg.role == SignalRole::Starting) {
        f5 = fr(std::max(prevS + 5, from.s - 150));
        f7 = fr(from.s + 15);
        if (rs != stations.end() && rs->stop) mode = 1, level = 0, until = rs->depart - 15 * 30;
      }
      if (sg.role == SignalRole::Repeater) {
        mode = 2, level = 4;
        if (run.branch && !branchRepeaterDone && sg.s > path.divergeS)
          mode = 2, level = 2, branchRepeaterDone = true;
      }
      f7 = std::clamp(f7, f5 + 1, f8 - 1);
      f.line(csv({n(mode), sg.label, n(sg.number), n(sg.kind), n(f5), n(f6), n(f7), n(f8), n(level),
                  n(until)}));
      if (sg.role == SignalRole::Home) kanko.push_back({idx, 16}), kankoKind.push_back(1);
      if (sg.role == SignalRole::Starting) kanko.push_back({idx, 14}), kankoKind.push_back(0);
      prevS = sg.s;
      ++idx;
    }
    f.line("#");
    f.line("[Slope]");
    for (const auto& g : path.grades)
      if (inRange(g.s0)) f.line(csv({fmtReal(g.permille, 1), n(fr(g.s0)), n(fr(g.s1))}));
    f.line("#");
    f.line("[Sign]");
    for (const auto& b : path.boards) {
      if (!inRange(b.s)) continue;
      int pic = -1;
      if (b.kind == BoardKind::Whistle) pic = kBoardWhistle;
      if (b.kind == BoardKind::Crossing) pic = kBoardCrossing;
      if (b.kind == BoardKind::StationAhead) pic = kBoardStation;
      if (b.kind == BoardKind::Junction) pic = kBoardJunction;
      if (pic >= 0) f.line(csv({n(pic), n(fr(b.s - 220)), n(fr(b.s + 5))}));
    }
    f.line("#");
    f.line("[SignalKanko]");
    for (size_t k = 0; k < kanko.size(); ++k)
      f.line(csv({n(kanko[k].first), n(kankoKind[k]), n(kanko[k].second)}));
    f.line("#");
    f.line("[StationKanko]");
    for (size_t i = 0; i < stations.size(); ++i)
      if (stations[i].stop) f.line(csv({n(static_cast<long>(i)), "0", "17"}));
    f.line("#");
    f.line("[SpeedLimit]");
    for (const auto& l : path.limits)
      if (inRange(l.s0))
        f.line(csv({n(l.kmh), n(limitPicture(l.kmh)), n(l.radius), n(fr(l.s0)), n(fr(l.s1))}));
    f.line("#");
    f.line("[SpeedCheck]");
    for (const auto& l : path.limits)
      if (inRange(l.s0) && l.kmh <= 60) f.line(csv({n(l.kmh + 15), n(fr(l.s0 + 40))}));
    f.line(csv({"55", n(fr(stations.back().s - 120))}));
    f.line("#");
    f.line("[SignImageList]").lines({"image\\sign\\up.bmp", "image\\sign\\down.bmp"}).line("#");
    f.section("[OtherImageList]", otherImages).line("#");
    f.section("[SignalImageList]", signalImages).line("#");
    f.line("[SpeedUnit]");
    for (const auto& g : prof.segs) f.line(csv({n(g.start), n(g.end), n(g.v0), n(g.v1)}));
    f.line("#");
    f.line("[Time]");
    for (size_t i = 1; i < stations.size(); ++i) {
      const auto& st = stations[i];
      if (st.stop)
        f.line(csv({"1", n(fr(st.s - 1300)), n(fr(st.s - 900)), n(st.arrive)}));
      else
        f.line(csv({"0", n(fr(st.s - 420)), n(fr(st.s - 120)), n(st.depart)}));
    }
    f.line("#");
    f.save(dir / run.file);
    (void)endFrame;

    // Timetable card and start screen.
    CardContents card;
    card.trainNumber = run.number;
    card.trainKind = run.kind;
    card.vehicle =
        veh.series + " " + std::to_string(veh.cars) + "両" + (run.oneMan ? "  ワンマン" : "");
    card.note = run.lateSeconds ? "3分遅れ 回復運転"
                : run.oneMan    ? "* 泉沢は運転停車(ドア扱いなし)"
                : run.branch    ? "椿から湖畔線に直通"
                                : "";
    for (size_t i = 0; i < stations.size(); ++i) {
      const auto& st = stations[i];
      CardRow row;
      row.station = line.stations[static_cast<size_t>(st.station)].name;
      if (run.oneMan && st.station == 13) row.station += "*";
      row.pass = !st.stop;
      if (i > 0 && st.stop) row.arrive = clockText(st.arrive);
      if (i + 1 < stations.size()) row.depart = clockText(st.depart);
      card.rows.push_back(row);
    }
    timetableCard(card, font, bold).saveBmp(dir / "image" / "staf" / (stem + ".bmp"));
    Image start(480, 240);
    renderer.render(path, nullptr, startFrame, start);
    for (int y = 60; y < 180; ++y)
      for (int x = 40; x < 440; ++x) start.set(x, y, mix(start.get(x, y), Rgb{10, 14, 30}, 0.72));
    bold.drawFitted(start, 240, 72, 380,
                    std::string(run.kind) + " " + run.number + "  " +
                        line.stations[static_cast<size_t>(stations.back().station)].name + "行",
                    24, Rgb{255, 255, 255});
    font.drawFitted(start, 240, 108, 380,
                    veh.series + "  " +
                        line.stations[static_cast<size_t>(stations.front().station)].name + " " +
                        clockText(stations.front().depart) + "発",
                    16, Rgb{220, 230, 255});
    font.drawFitted(start, 240, 140, 380, "メニューの「開始」で運転を始めます", 14,
                    Rgb{255, 220, 120});
    start.saveBmp(dir / "image" / "staf" / (stem + "_start.bmp"));
  }
}

}  // namespace demo
