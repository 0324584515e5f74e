#pragma once
// The demo line: one description from which both the route files and the videos are made, so
// that what the driver sees agrees with what the route says. Everything is placed in metres
// along a path; the recording profile (piecewise-linear speed over frames, exactly the form of
// the route's speed-unit table) turns metres into frame numbers and back.
//
// Two paths share their first part: the main line (video move\tavo.avi) and the branch
// (move\selo.avi, whose frame i is route frame kBranchFrame + i). Built once on the main thread;
// read-only afterwards, so the render threads may share it.
#include <string>
#include <vector>

#include "run/branch_video.h"

namespace demo {

// Where the branch routes leave the main line: the run's own rule.
constexpr int kBranchFrame = velmoria::branch::kFrame;
constexpr int kFps = 30;

struct StationInfo {
  std::string name;     // shown on the panel and the cards
  std::string reading;  // kana, for the spoken announcements
  std::string english;
};

struct SpeedSeg {
  int start = 0, end = 0;  // frames [start, end)
  int v0 = 0, v1 = 0;      // recorded km/h at start and end
  double cum0 = 0;         // metres at start
};

class Profile {
 public:
  std::vector<SpeedSeg> segs;
  int frames() const { return segs.empty() ? 0 : segs.back().end; }
  double sAt(double frame) const;  // metres travelled by the camera at a frame
  double vAt(double frame) const;  // recorded km/h
  int frameAt(double s) const;     // first frame whose position is at least s
};

struct Curve {
  double s0 = 0, s1 = 0;
  double curvature = 0;  // 1/m, positive turning left
};
struct Grade {
  double s0 = 0, s1 = 0;
  double permille = 0;  // positive uphill
};
struct Span {
  double s0 = 0, s1 = 0;
};
struct Restriction {
  double s0 = 0, s1 = 0;  // where the front of the train must keep the limit
  int kmh = 0;
  int radius = 0;  // curve radius (0: turnout)
};
enum class SignalRole { Starting, Home, Block, Repeater };
struct SignalPost {
  double s = 0;
  int kind = 0;    // aspect set, 0 to 5
  int number = 0;  // call-out number: 0 starting, 1 home, 2-4 blocks 1-3, 5 repeater, 6 block
  SignalRole role = SignalRole::Block;
  int fromStop = 0;  // index (in the path's stops) of the station behind it
  std::string label;
};
enum class BoardKind {
  Whistle,
  Crossing,
  StationAhead,
  Junction,
  LimitStart,
  LimitEnd,
  GradeChange
};
struct Board {
  double s = 0;
  BoardKind kind = BoardKind::Whistle;
  int value = 0;  // limit speed or gradient (per mille x 10)
};
struct Stop {
  int station = 0;  // index into Line::stations
  int frame = 0;    // stop frame of the recording (the stopping mark)
  double s = 0;
  int track = 1;  // platform number shown on the card
};
enum class Scenery { Town, Fields, Hills, Forest, Lake };
struct SceneryZone {
  double s0 = 0, s1 = 0;
  Scenery kind = Scenery::Fields;
};
struct Prop {                // building, tree, fence... placed beside the line
  double s = 0, offset = 0;  // offset: metres, positive to the left of the track
  float width = 0, height = 0;
  int type = 0;  // 0 building, 1 tree, 2 conifer, 3 shed, 4 wall, 5 sound barrier
  uint32_t colour = 0;
};

struct Path {
  Profile profile;
  std::vector<Stop> stops;
  std::vector<Curve> curves;
  std::vector<Grade> grades;
  std::vector<Span> tunnels, bridges;
  std::vector<double> crossings;
  std::vector<double> turnouts;
  std::vector<Restriction> limits;
  std::vector<SignalPost> signals;
  std::vector<Board> boards;
  std::vector<SceneryZone> scenery;
  std::vector<Prop> props;  // sorted by s
  bool doubleTrack = true;
  double divergeS = -1;  // branch path: where it leaves the main line
  // Geometry every metre from s = 0 to length + lookahead.
  std::vector<float> X, Y, Z, heading, gradeAt, cosH, sinH;
  double length = 0;           // metres at the last frame
  int lookup(double s) const;  // index into the geometry arrays, clamped
};

struct Line {
  std::vector<StationInfo> stations;  // 0-11 main line, 12-15 branch
  Path main, branch;
  int junctionStation = 8;
};

// Builds the whole line; deterministic.
Line buildLine();

// Recording performance used to plan the camera train, and the drivers' runs for timetables.
struct Perf {
  double a1 = 2.6, a2 = 1.6, a3 = 1.0;  // km/h/s below 40, 40-70, above 70 km/h
  double b1 = 2.8, b2 = 2.2;            // km/h/s above and below 30 km/h
  double vmax = 95;                     // km/h
};
// Seconds a train of the given performance needs from a stop at s0 to a stop at s1 of a path,
// keeping the path's speed limits.
double runSeconds(const Path& path, double s0, double s1, const Perf& perf);

}  // namespace demo
