#pragma once
// Everything that makes one of the demo's trains: the values of its vehicle file, its sounds
// and the look of its cab panel.
#include <string>
#include <vector>

#include "image.h"
#include "vehicles.h"

namespace demo {

struct TrainDesign {
  std::string key;  // folder under image\ and sound\ ("201")
  VehicleInfo info;
  int handle = 1, brakeType = 1, brake = 9, power = 4, hold = 0;
  double brakeRate = 3.6;
  int brakeUp = 300, brakeDown = 250, ebPress = 440, sapPress = 440;
  int engineType = 1;
  double tons = 370, mt = 250, tt = 120;
  int eb = 0, loseElec = 8, mc = 1, atsType = 1, atsAlert = 0, atsTime = 5, atsCnt = 1;
  std::vector<std::vector<double>> notches;  // a0, a1, s1, s2, k
  int motorKind = 0;
  double hornF1 = 330, hornF2 = 415;
  bool electricHorn = false, doorChime = false, digital = false;
  Rgb body{140, 150, 160};
  std::string plate;
};

}  // namespace demo
