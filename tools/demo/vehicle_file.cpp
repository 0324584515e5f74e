#include "vehicle_file.h"

#include <algorithm>

#include "cab_panel.h"
#include "text_file.h"
#include "vehicle_sounds.h"

namespace demo {

namespace {

// The basic settings: handle and brake, air, masses, safety system, then the sound channels
// (positions in the [DriveSound] list).
void writeBasicSettings(TextFile& f, const TrainDesign& v) {
  f.value("[Handle]", v.handle)
      .value("[BrakeType]", v.brakeType)
      .value("[Brake]", v.brake)
      .value("[Power]", v.power);
  f.value("[Hold]", v.hold).value("[BrakeRate]", fmtReal(v.brakeRate, 2));
  f.value("[PowerDelay]", 6).value("[BrakeDelay]", 5).value("[SAPDelay]", 4);
  f.value("[BrakeUp]", v.brakeUp)
      .value("[BrakeDown]", v.brakeDown)
      .value("[EBPress]", v.ebPress)
      .value("[SAPPress]", v.sapPress);
  f.value("[HighAirPress]", 880)
      .value("[LowAirPress]", 780)
      .value("[Curr1]", 300)
      .value("[Curr2]", 500);
  f.value("[Engine_Type]", v.engineType).value("[DoorType]", 1);
  f.value("[Mt]", fmtReal(v.mt, 1)).value("[Tt]", fmtReal(v.tt, 1)).value("[Cars]", v.info.cars);
  f.value("[StopLine]", "image\\" + v.key + "\\stopline.bmp").value("[Tons]", fmtReal(v.tons, 1));
  f.value("[EB]", v.eb)
      .value("[MaxSpeed]", v.info.maxSpeed)
      .value("[Lose_elec]", v.loseElec)
      .value("[Mc]", v.mc);
  f.value("[ATS_Type]", v.atsType)
      .value("[ATS_Alert]", v.atsAlert)
      .value("[ATS_Time]", v.atsTime)
      .value("[ATS_Cnt]", v.atsCnt);
  f.value("[Sound_br1]", 13)
      .value("[Sound_br2]", 14)
      .value("[Sound_EB]", 15)
      .value("[Sound_Ats1]", 16);
  f.value("[Sound_Ats2]", 17)
      .value("[Sound_Atc]", 18)
      .value("[Sound_Horn]", 19)
      .value("[Sound_Horn2]", 20);
  f.value("[Sound_Horn3]", 21)
      .value("[Sound_DoorOpen]", 22)
      .value("[Sound_DoorClose]", 23)
      .value("[Sound_EBring]", 24);
  f.value("[Sound_squeak]", 25)
      .value("[CP_Start]", 26)
      .value("[CP_Cnt]", 27)
      .value("[CP_End]", 28)
      .value("[Stop]", 29);
  f.value("[Buzzer]", 30, 31)
      .value("[DepSign]", 32)
      .value("[EngineSound]", 33, 34, 35)
      .value("[Gear_Type]", "AT");
}

// Electric trains: one entry per power notch (accelerations a0 and a1, speeds s1 and s2, k).
void writeNotchSection(TextFile& f, const TrainDesign& v) {
  f.line("[Notch]");
  for (const auto& n : v.notches)
    f.lines({fmtReal(n[0], 2), fmtReal(n[1], 2), std::to_string(static_cast<int>(n[2])),
             std::to_string(static_cast<int>(n[3])), fmtReal(n[4], 4)});
  f.line("#");
}

// The diesel railcar: one entry per gear (three speeds, three accelerations).
void writeEngineSection(TextFile& f) {
  f.line("[Engine]");
  f.lines({"0", "20", "45", "2.0", "1.6", "0.9"});
  f.lines({"40", "55", "70", "1.1", "0.9", "0.6"});
  f.lines({"60", "80", "95", "0.7", "0.55", "0.3"});
  f.line("#");
}

// The motor when powering and when braking electrically, and the blower fan.
void writeMotorSoundSection(TextFile& f, const TrainDesign& v) {
  const std::string sd = "sound\\" + v.key + "\\";
  f.line("[MotorSound]");
  f.lines(
      {sd + "motor.wav", "0", "0", std::to_string(v.info.maxSpeed), "0.35", "1.9", "60", "110"});
  f.lines({sd + "motor_brake.wav", "1", fmtReal(std::max(v.loseElec, 3), 1),
           std::to_string(v.info.maxSpeed), "0.45", "1.6", "30", "100"});
  f.lines({"sound\\common\\fan.wav", "2", "0", "160", "1.0", "1.2", "12", "20"});
  f.line("#");
}

void writeDriveSoundSection(TextFile& f, const TrainDesign& v) {
  f.section("[DriveSound]", driveSoundList(v.key)).line("#");
}

}  // namespace

void writeVehicleFile(const std::filesystem::path& dir, const TrainDesign& v, const Font& font,
                      const Font& bold) {
  writeTrainSounds(dir, v);
  writeStopLinePicture(dir, v, font, bold);
  TextFile f;
  f.line("; " + v.info.series + " (Velmoria demo line)");
  writeBasicSettings(f, v);
  if (v.engineType == 1)
    writeNotchSection(f, v);
  else
    writeEngineSection(f);
  writeMotorSoundSection(f, v);
  writeDriveSoundSection(f, v);
  writePanelSections(f, dir, v, font, bold);
  f.save(dir / v.info.file);
}

}  // namespace demo
