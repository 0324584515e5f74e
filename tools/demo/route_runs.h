#pragma once
// The six runs of the demo line, eight route files (two runs come again with the E233 series),
// and their timetables, worked out from what each train can do on the line.
#include <span>
#include <string>
#include <vector>

#include "line.h"

namespace demo {

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

// In the order of the route files' welcome announcements.
std::span<const Run> runs();

struct RouteStation {
  int station;
  int frame;
  double s;
  bool stop;
  int arrive = 0, depart = 0;  // ticks (timetable)
};

// Every station of the path from the run's first stop to its last, with the times of a driver
// of the given performance (passed stations get the time the train passes them).
std::vector<RouteStation> timetable(const Run& run, const Path& path, const Perf& perf);

std::string clockText(int ticks);  // "7:31:00"

}  // namespace demo
