#include "support/test_run.h"

#include "support/state_access.h"

namespace velmoria::test {

Vehicle electricVehicle() {
  Vehicle v;
  v.fileName = "train_test.dat";
  v.Handle = 0;
  v.BrakeType = 1;
  v.Brake = 8;
  v.Power = 4;
  v.Hold = 0;
  v.BrakeRate = Fixed::fromInt(4);
  v.PowerDelay = v.BrakeDelay = v.SAPDelay = 1;
  v.BrakeUp = 300;
  v.BrakeDown = 300;
  v.EBPress = 440;
  v.SAPPress = 440;
  v.HighAirPress = 880;
  v.LowAirPress = 780;
  v.Engine_Type = 1;
  v.Mt = Fixed::fromInt(120);
  v.Tons = Fixed::fromInt(300);
  v.Cars = 10;
  v.MaxSpeed = 120;
  v.Lose_elec = 10;
  v.Mc = 0;
  // Channels: 0 running, 1 EB, 2 horn, 3 horn2, 4 door open, 5 door close, 6 EB ring,
  // 7..9 compressor, 10 stop alert, 11/12 buzzers, 13/14 brake sounds.
  v.Sound_EB = 1;
  v.Sound_Horn = 2;
  v.Sound_Horn2 = 3;
  v.Sound_DoorOpen = 4;
  v.Sound_DoorClose = 5;
  v.Sound_EBring = 6;
  v.CP_Start = 7;
  v.CP_Cnt = 8;
  v.CP_End = 9;
  v.Stop = 10;
  v.Buzzer = {11, 12};
  v.Sound_br1 = 13;
  v.Sound_br2 = 14;
  for (int n = 0; n < 4; ++n) v.NotchTable.push_back({3.0, 3.0, 40, 60, 0.97});
  v.DriveSoundList.assign(20, "x.wav");
  return v;
}

Vehicle dieselVehicle() {
  Vehicle v = electricVehicle();
  v.Engine_Type = 0;
  v.NotchTable.clear();
  v.GearTable = {{0, 20, 40, 2.0, 1.5, 1.0}, {30, 50, 70, 1.0, 0.8, 0.6},
                 {60, 80, 100, 0.6, 0.5, 0.4}};
  return v;
}

void clearSoundNumbers(Vehicle& v) {
  for (int* channel : {&v.Sound_EB, &v.Sound_Horn, &v.Sound_Horn2, &v.Sound_DoorOpen,
                       &v.Sound_DoorClose, &v.Sound_EBring, &v.CP_Start, &v.CP_Cnt, &v.CP_End,
                       &v.Stop, &v.Buzzer[0], &v.Buzzer[1], &v.Sound_br1, &v.Sound_br2})
    *channel = 0;
}

Route flatRoute() {
  Route r;
  r.fileName = "line_test.dat";
  r.LineName = "Test line";
  r.FrameRate = 30;
  r.SpeedUnitTable.push_back({0, 100000, 60, 60, 0});
  return r;
}

TestRun::TestRun() {
  data.vehicle = electricVehicle();
  data.route = flatRoute();
  data.sounds.driveCount = 20;
}

Run& TestRun::make() {
  for (int c = 0; c < data.sounds.driveCount; ++c) sound.attach(c, sound.addWave(1000));
  RunServices services;
  services.sound = &sound;
  services.video = &video;
  services.clock = &clock;
  video.setOpen(true);
  run = std::make_unique<Run>(app, data, std::move(services));
  return *run;
}

Run& TestRun::makeUnlocked() {
  make();
  poke(*run).handle.inputLock = false;
  return *run;
}

}  // namespace velmoria::test
