#pragma once
// One train, as its vehicle file describes it. Members are named after the file's sections.
// Filled once while the cab window is created; read-only during the run.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/fixed.h"

namespace velmoria {

struct NotchEntry {  // one electric power notch
  double a0 = 0;     // acceleration at standstill, km/h/s
  double a1 = 0;     // acceleration at s1, km/h/s
  int32_t s1 = 0;    // end of the linear region, km/h
  int32_t s2 = 0;    // end of the constant-power region, km/h
  double k = 0;      // decay factor per km/h above s2
};

struct GearEntry {  // one diesel gear
  int32_t sa = 0, sb = 0, sc = 0;  // lower, middle, upper speed, km/h
  double aa = 0, ab = 0, ac = 0;   // accelerations at sa, sb, sc, km/h/s
};

struct MotorSoundEntry {
  std::string file;
  int32_t kind = 0;  // 0 while powering, 1 while braking, 2 always
  long double s0 = 0, s1 = 0;  // speed band, km/h
  long double f0 = 0, f1 = 0;  // playback-rate factors at s0 and s1
  long double l0 = 0, l1 = 0;  // volume factors at s0 and s1
};

struct PanelImageSpec {  // [Panel], [Lamp_...], [Others] entries
  std::string file;
  int32_t left = 0;
  int32_t top = 0;
};

struct NeedleSpec {
  std::string file;
  int32_t left = 0, top = 0, width = 0, height = 0;
  int32_t zeroAngle = 0;          // degrees at a reading of zero
  long double anglePerUnit = 0;   // degrees per unit of the reading
};

struct ClockSpec {
  int32_t x = 0, y = 0;  // centre on the panel; drawn only when both are above 0
  int32_t length = 0;    // minute and second hands; the hour hand is 0.6 of it
};

constexpr size_t kNotchCapacity = 11;
constexpr size_t kGearCapacity = 11;
constexpr size_t kMotorSoundCapacity = 100;
constexpr size_t kOthersCapacity = 11;
constexpr size_t kDriveSoundCapacity = 501;

struct Vehicle {
  std::string fileName;  // as chosen on the title window ("train_201.dat"); some rules look at it

  int32_t Handle = 0;     // 0 one handle, 1 separate power and brake handles
  int32_t BrakeType = 0;  // 0 three named positions, 1 and 2 numbered steps
  int32_t Brake = 0;      // brake positions counted with EB
  int32_t Power = 0;      // power notches
  int32_t Hold = 0;       // 1: a hold position between release and B1
  Fixed BrakeRate;        // km/h/s at BC = EBPress
  int32_t PowerDelay = 0, BrakeDelay = 0, SAPDelay = 0;  // 33 ms ticks
  int32_t BrakeUp = 0, BrakeDown = 0;                    // kPa/s
  int32_t EBPress = 0, SAPPress = 0;                     // kPa
  int32_t HighAirPress = 0, LowAirPress = 0;             // kPa
  int32_t Curr1 = 0, Curr2 = 0;
  int32_t Engine_Type = 0;  // 1 electric, 0 diesel
  int32_t DoorType = 0;
  Fixed Mt, Tt;
  int32_t Cars = 0;
  std::string StopLine;
  Fixed Tons;
  int32_t EB = 0;  // vigilance device fitted
  int32_t MaxSpeed = 0, Lose_elec = 0;
  int32_t Mc = 0;
  int32_t ATS_Type = 0, ATS_Alert = 0, ATS_Time = 0, ATS_Cnt = 0;
  // Sound numbers: channels of the [DriveSound] list.
  int32_t Sound_br1 = 0, Sound_br2 = 0, Sound_EB = 0, Sound_Ats1 = 0, Sound_Ats2 = 0;
  int32_t Sound_Atc = 0, Sound_Horn = 0, Sound_Horn2 = 0, Sound_Horn3 = 0;
  int32_t Sound_DoorOpen = 0, Sound_DoorClose = 0, Sound_EBring = 0, Sound_squeak = 0;
  int32_t CP_Start = 0, CP_Cnt = 0, CP_End = 0;
  int32_t Stop = 0;
  std::array<int32_t, 2> Buzzer{};
  int32_t DepSign = 0;
  std::array<int32_t, 3> EngineSound{};
  bool manualGears = false;  // [Gear_Type] "MT"

  std::vector<NotchEntry> NotchTable;  // entry k is notch k + 1
  std::vector<GearEntry> GearTable;    // entry k is gear position k
  std::vector<MotorSoundEntry> MotorSoundTable;
  std::vector<std::string> DriveSoundList;  // an empty line keeps its place

  ClockSpec Clock;
  PanelImageSpec Panel, Panel2, Lamp_Door, Lamp_Power, Lamp_EB, Lamp_Gen, Lamp_Air, Lamp_Ele,
      Lamp_Ats, Lamp_ATSP1, Lamp_ATSP2, Lamp_G, Lamp_YG, Lamp_Y, Lamp_YY, Lamp_R, Lamp_Fwd,
      Lamp_Back;
  NeedleSpec Needle_Speed, Needle_BC, Needle_SAP, Needle_ER, Needle_BP, Needle_MR, Needle_V,
      Needle_I;
  std::vector<PanelImageSpec> OthersTable;
};

}  // namespace velmoria
