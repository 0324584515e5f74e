#include "vehicles.h"

#include "train_design.h"
#include "vehicle_file.h"
#include "vehicle_sounds.h"

namespace demo {

namespace fs = std::filesystem;

std::vector<VehicleInfo> writeVehicles(const fs::path& dir, const Font& font, const Font& bold) {
  writeCommonSounds(dir);
  TrainDesign s201;
  s201.key = "201";
  s201.info = {"train_201.dat", "201系", Perf{2.4, 1.5, 0.75, 2.8, 2.2, 95}, 100, 10, 36};
  s201.notches = {{0.8, 0.8, 20, 25, 0.97},
                  {1.5, 1.5, 30, 40, 0.975},
                  {2.1, 2.1, 36, 55, 0.985},
                  {2.5, 2.5, 40, 65, 0.99}};
  s201.plate = "クハ201";
  s201.motorKind = 0;
  TrainDesign e233;
  e233.key = "E233";
  e233.info = {"train_E233.dat", "E233系", Perf{2.9, 2.3, 1.4, 3.2, 2.6, 95}, 120, 10, 36};
  e233.handle = 0, e233.brakeType = 2, e233.brake = 9, e233.power = 5, e233.hold = 0;
  e233.brakeRate = 4.5, e233.brakeUp = 330, e233.brakeDown = 300, e233.tons = 305, e233.mt = 190,
  e233.tt = 115;
  e233.eb = 1, e233.loseElec = 3, e233.mc = 1, e233.atsType = 2, e233.atsAlert = 1, e233.atsCnt = 1;
  e233.notches = {{1.0, 1.0, 25, 40, 0.99},
                  {1.6, 1.6, 35, 60, 0.992},
                  {2.2, 2.2, 40, 70, 0.994},
                  {2.6, 2.6, 45, 75, 0.995},
                  {3.0, 3.0, 45, 80, 0.995}};
  e233.motorKind = 1, e233.hornF1 = 660, e233.hornF2 = 880, e233.electricHorn = true,
  e233.doorChime = true, e233.digital = true;
  e233.plate = "クハE233";
  TrainDesign s183;
  s183.key = "183";
  s183.info = {"train_183.dat", "183系", Perf{1.9, 1.3, 0.8, 2.6, 2.1, 100}, 120, 9, 36};
  s183.handle = 1, s183.brakeType = 0, s183.brake = 4, s183.power = 4, s183.hold = 1;
  s183.brakeRate = 4.0, s183.brakeUp = 250, s183.brakeDown = 200, s183.ebPress = 390,
  s183.sapPress = 390;
  s183.tons = 400, s183.mt = 260, s183.tt = 140;
  s183.eb = 1, s183.loseElec = 30, s183.mc = 0, s183.atsType = 0, s183.atsAlert = 0,
  s183.atsCnt = 0;
  s183.notches = {{0.7, 0.7, 20, 25, 0.97},
                  {1.2, 1.2, 30, 45, 0.98},
                  {1.7, 1.7, 40, 60, 0.99},
                  {2.0, 2.0, 45, 75, 0.993}};
  s183.motorKind = 2, s183.hornF1 = 311, s183.hornF2 = 392;
  s183.plate = "クハ183";
  TrainDesign kiha;
  kiha.key = "kiha40";
  kiha.info = {"train_kiha40.dat", "キハ40系", Perf{1.2, 0.8, 0.5, 2.6, 2.1, 85}, 95, 2, 36};
  kiha.handle = 1, kiha.brakeType = 0, kiha.brake = 4, kiha.power = 5, kiha.hold = 0,
  kiha.engineType = 0;
  kiha.brakeRate = 3.6, kiha.tons = 80, kiha.mt = 40, kiha.tt = 40, kiha.eb = 1, kiha.loseElec = 0,
  kiha.mc = 0;
  kiha.atsType = 0, kiha.atsAlert = 0, kiha.ebPress = 390, kiha.sapPress = 390, kiha.motorKind = 3;
  kiha.plate = "キハ40";
  std::vector<VehicleInfo> out;
  for (TrainDesign* v : {&s201, &e233, &s183, &kiha}) {
    writeVehicleFile(dir, *v, font, bold);
    if (v != &kiha) out.push_back(v->info);
  }
  return out;
}

}  // namespace demo
