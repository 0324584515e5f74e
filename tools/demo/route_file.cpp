#include "route_file.h"

#include <algorithm>
#include <string>

#include "text_file.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

std::string csv(std::initializer_list<std::string> f) {
  std::string s;
  for (const auto& x : f) s += (s.empty() ? "" : ",") + x;
  return s;
}
std::string n(long v) {
  return std::to_string(v);
}

// The single values at the top of the file.
void writeOtherValues(TextFile& f, const RouteRun& r) {
  const Run& run = r.run;
  const int startFrame = r.stations.front().frame;
  const std::string stem = fs::path(run.file).stem().string();
  // A late run starts with its doors due to close at once, so it leaves lateSeconds behind time.
  const int startTime =
      run.lateSeconds ? run.depart + (run.lateSeconds - 10) * 30 : run.depart - 60 * 30;
  f.value("[LineName]", run.lineName).value("[StartPos]", startFrame).value("[FrameRate]", 30);
  f.value("[Staf]", "image\\staf\\" + stem + ".bmp", "image\\staf\\" + stem + "_start.bmp");
  f.value("[StartTime]", startTime);
  f.value("[Speed_YY]", 25)
      .value("[Speed_Y]", 45)
      .value("[Speed_YG]", 65)
      .value("[Speed_G]", run.branch && run.oneMan ? 85 : 100);
  f.value("[DataName]", "tavo").value("[Pre_Time]", run.preTime).value("[OneMan]", run.oneMan);
}

void writeSoundDataSection(TextFile& f, const RouteRun& r) {
  f.section("[SoundData]", r.lists.soundData).line("#");
}

// Entry 0 answers an overrun; then the welcome and, per stop, "next" and "soon".
void writeAnnounceSection(TextFile& f, const RouteRun& r) {
  const auto& stations = r.stations;
  f.line("[Announce]").line(csv({n(kOverrun), "0"}));
  f.line(csv({n(welcomeSound(r.index)), n(stations.front().frame + 450)}));
  for (size_t i = 0; i + 1 < stations.size(); ++i) {
    if (!stations[i].stop) continue;
    size_t j = i + 1;
    while (!stations[j].stop) ++j;
    f.line(csv({n(nextSound(stations[j].station)), n(r.frameAt(stations[i].s + 420))}));
    f.line(csv({n(soonSound(stations[j].station)), n(r.frameAt(stations[j].s - 1100))}));
  }
  f.line("#");
}

// The first holds exactly 18 clips and has no closing line.
void writeKankoSoundSections(TextFile& f, const RouteRun& r) {
  f.section("[KankoSound1]", r.lists.kanko1);
  f.section("[KankoSound2]", r.lists.kanko2).line("#");
}

void writeSoundSection(TextFile& f, const RouteRun& r) {
  const Path& path = r.path;
  f.line("[Sound]").line("; tunnels roar, bridges rumble, the junction's points clatter");
  for (const auto& t : path.tunnels)
    if (r.inRange(t.s0))
      f.line(
          csv({n(kTunnel), n(r.frameAt(t.s0 - 10)), n(r.frameAt(t.s1 + 20)), "80", "1", "1", "1"}));
  for (const auto& b : path.bridges)
    if (r.inRange(b.s0))
      f.line(
          csv({n(kBridge), n(r.frameAt(b.s0 - 5)), n(r.frameAt(b.s1 + 5)), "70", "1", "1", "1"}));
  for (double t : path.turnouts)
    if (r.inRange(t))
      f.line(csv({n(kPoints), n(r.frameAt(t)), n(r.frameAt(t + 40)), "40", "0", "1", "0"}));
  f.line("#");
}

void writeDopplerSection(TextFile& f, const RouteRun& r) {
  f.line("[Doppler]");
  for (double c : r.path.crossings)
    if (r.inRange(c)) f.line(csv({n(kCrossingBell), n(r.frameAt(c)), "30000", "0"}));
  f.line("#");
}

void writeTunnelSection(TextFile& f, const RouteRun& r) {
  f.line("[Tunnel]");
  for (const auto& t : r.path.tunnels)
    if (r.inRange(t.s0)) f.lines({n(r.frameAt(t.s0)), n(r.frameAt(t.s1))});
  f.line("#");
}

void writeStationSection(TextFile& f, const RouteRun& r) {
  const auto& stations = r.stations;
  f.line("[Station]");
  for (size_t i = 0; i < stations.size(); ++i) {
    const auto& st = stations[i];
    const bool first = i == 0, last = i + 1 == stations.size();
    int type = st.stop ? 0 : 1;
    // On the one-man branch the train waits at 泉沢 for the opposite train without opening.
    if (r.run.oneMan && st.station == 13) type = 2;
    const int half = first && st.frame < 600 ? st.frame : 600;
    const int melodyIdx = kMelody0 + st.station % 4;
    const int f7 = last ? st.arrive + 60 * 30 : st.depart - 15 * 30;
    const long f8 = last ? 9999999 : st.depart - 5 * 30;
    f.line(csv({r.line.stations[static_cast<size_t>(st.station)].name, n(type), n(st.frame - half),
                n(st.frame + half), n(arriveSound(st.station)), n(melodyIdx), n(f7), n(f8)}));
  }
  f.line("#");
}

void writeStopSoundSection(TextFile& f) {
  f.line("[StopSound]").lines({"0", "1"}).line("#");
}

// One [Signal] line, named as the reader names its fields.
struct RouteSignal {
  const SignalPost* post;
  int mode, viewFrame, signalFrame, warningFrame, checkFrame, fixedLevel, fixedUntil;
};

// The signals from just before the first stop to the last. A starting signal at a stop is held
// at danger until shortly before departure; the first repeater past the junction shows the
// diverging aspect on a through run.
std::vector<RouteSignal> routeSignals(const RouteRun& r) {
  const Path& path = r.path;
  const auto& stations = r.stations;
  auto fr = [&](double s) { return r.frameAt(s); };
  std::vector<RouteSignal> out;
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
      if (r.run.branch && !branchRepeaterDone && sg.s > path.divergeS)
        mode = 2, level = 2, branchRepeaterDone = true;
    }
    f7 = std::clamp(f7, f5 + 1, f8 - 1);
    out.push_back({&sg, mode, f5, f6, f7, f8, level, until});
    prevS = sg.s;
  }
  return out;
}

void writeSignalSection(TextFile& f, const std::vector<RouteSignal>& signals) {
  f.line("[Signal]");
  for (const auto& s : signals)
    f.line(csv({n(s.mode), s.post->label, n(s.post->number), n(s.post->kind), n(s.viewFrame),
                n(s.signalFrame), n(s.warningFrame), n(s.checkFrame), n(s.fixedLevel),
                n(s.fixedUntil)}));
  f.line("#");
}

void writeSlopeSection(TextFile& f, const RouteRun& r) {
  f.line("[Slope]");
  for (const auto& g : r.path.grades)
    if (r.inRange(g.s0))
      f.line(csv({fmtReal(g.permille, 1), n(r.frameAt(g.s0)), n(r.frameAt(g.s1))}));
  f.line("#");
}

// Boards shown on the other display; limit and gradient boards are shown by their own sections.
void writeSignSection(TextFile& f, const RouteRun& r) {
  f.line("[Sign]");
  for (const auto& b : r.path.boards) {
    if (!r.inRange(b.s)) continue;
    int pic = -1;
    if (b.kind == BoardKind::Whistle) pic = kBoardWhistle;
    if (b.kind == BoardKind::Crossing) pic = kBoardCrossing;
    if (b.kind == BoardKind::StationAhead) pic = kBoardStation;
    if (b.kind == BoardKind::Junction) pic = kBoardJunction;
    if (pic >= 0) f.line(csv({n(pic), n(r.frameAt(b.s - 220)), n(r.frameAt(b.s + 5))}));
  }
  f.line("#");
}

// Home signals are called out with "よし", starting signals with "かくにん".
void writeSignalKankoSection(TextFile& f, const std::vector<RouteSignal>& signals) {
  f.line("[SignalKanko]");
  for (size_t i = 0; i < signals.size(); ++i) {
    const SignalRole role = signals[i].post->role;
    if (role == SignalRole::Home) f.line(csv({n(static_cast<long>(i)), n(1), n(16)}));
    if (role == SignalRole::Starting) f.line(csv({n(static_cast<long>(i)), n(0), n(14)}));
  }
  f.line("#");
}

void writeStationKankoSection(TextFile& f, const RouteRun& r) {
  f.line("[StationKanko]");
  for (size_t i = 0; i < r.stations.size(); ++i)
    if (r.stations[i].stop) f.line(csv({n(static_cast<long>(i)), "0", "17"}));
  f.line("#");
}

void writeSpeedLimitSection(TextFile& f, const RouteRun& r) {
  f.line("[SpeedLimit]");
  for (const auto& l : r.path.limits)
    if (r.inRange(l.s0))
      f.line(csv(
          {n(l.kmh), n(limitPicture(l.kmh)), n(l.radius), n(r.frameAt(l.s0)), n(r.frameAt(l.s1))}));
  f.line("#");
}

// A check 40 m into each limit of 60 km/h or less, at 15 km/h above it; one before the end.
void writeSpeedCheckSection(TextFile& f, const RouteRun& r) {
  f.line("[SpeedCheck]");
  for (const auto& l : r.path.limits)
    if (r.inRange(l.s0) && l.kmh <= 60) f.line(csv({n(l.kmh + 15), n(r.frameAt(l.s0 + 40))}));
  f.line(csv({"55", n(r.frameAt(r.stations.back().s - 120))}));
  f.line("#");
}

void writeSignImageListSection(TextFile& f) {
  f.line("[SignImageList]").lines({"image\\sign\\up.bmp", "image\\sign\\down.bmp"}).line("#");
}

void writeOtherImageListSection(TextFile& f, const RouteRun& r) {
  f.section("[OtherImageList]", r.lists.otherImages).line("#");
}

void writeSignalImageListSection(TextFile& f, const RouteRun& r) {
  f.section("[SignalImageList]", r.lists.signalImages).line("#");
}

// The recording's speed over frames, exactly as the line was planned.
void writeSpeedUnitSection(TextFile& f, const RouteRun& r) {
  f.line("[SpeedUnit]");
  for (const auto& g : r.path.profile.segs) f.line(csv({n(g.start), n(g.end), n(g.v0), n(g.v1)}));
  f.line("#");
}

// Time call-outs: before each stop its arrival time, before each passed station its time.
void writeTimeSection(TextFile& f, const RouteRun& r) {
  f.line("[Time]");
  for (size_t i = 1; i < r.stations.size(); ++i) {
    const auto& st = r.stations[i];
    if (st.stop)
      f.line(csv({"1", n(r.frameAt(st.s - 1300)), n(r.frameAt(st.s - 900)), n(st.arrive)}));
    else
      f.line(csv({"0", n(r.frameAt(st.s - 420)), n(r.frameAt(st.s - 120)), n(st.depart)}));
  }
  f.line("#");
}

}  // namespace

void writeRouteFile(const fs::path& file, const RouteRun& r) {
  const std::vector<RouteSignal> signals = routeSignals(r);
  TextFile f;
  f.line("; Velmoria demo line: " + std::string(r.run.lineName));
  writeOtherValues(f, r);
  writeSoundDataSection(f, r);
  writeAnnounceSection(f, r);
  writeKankoSoundSections(f, r);
  writeSoundSection(f, r);
  writeDopplerSection(f, r);
  writeTunnelSection(f, r);
  writeStationSection(f, r);
  writeStopSoundSection(f);
  writeSignalSection(f, signals);
  writeSlopeSection(f, r);
  writeSignSection(f, r);
  writeSignalKankoSection(f, signals);
  writeStationKankoSection(f, r);
  writeSpeedLimitSection(f, r);
  writeSpeedCheckSection(f, r);
  writeSignImageListSection(f);
  writeOtherImageListSection(f, r);
  writeSignalImageListSection(f, r);
  writeSpeedUnitSection(f, r);
  writeTimeSection(f, r);
  f.save(file);
}

}  // namespace demo
