#include "vehicle_sounds.h"

#include <cstdio>

#include "sounds.h"

namespace demo {

namespace fs = std::filesystem;

void writeCommonSounds(const fs::path& dir) {
  const fs::path sd = dir / "sound" / "common";
  fs::create_directories(sd);
  for (int b = 0; b <= 12; ++b) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "run%02d.wav", b);
    saveWav(sd / buf, runningSound(b));
  }
  saveWav(sd / "brake_apply.wav", airBurst(0.6, 0.02, 1.0));
  saveWav(sd / "brake_release.wav", airBurst(1.4, 0.01, 1.3));
  saveWav(sd / "eb.wav", airBurst(2.2, 0.01, 0.7));
  saveWav(sd / "ats_bell.wav", bell(1250, 1.0, 16));
  saveWav(sd / "ats_chime.wav", chime({1319, 1047}, 0.3, 0.1, 1.2));
  saveWav(sd / "atc.wav", chime({1568}, 0.4, 0, 0.6));
  saveWav(sd / "eb_ring.wav", bell(900, 2.0, 10));
  saveWav(sd / "squeal.wav", squeal());
  saveWav(sd / "cp_start.wav", compressorStart());
  saveWav(sd / "cp_run.wav", compressorRun());
  saveWav(sd / "cp_end.wav", compressorEnd());
  saveWav(sd / "stop_alert.wav", chime({880, 698}, 0.35, 0.15, 1.4));
  saveWav(sd / "buzzer1.wav", buzzer(520, 1));
  saveWav(sd / "buzzer2.wav", buzzer(520, 2));
  saveWav(sd / "depsign.wav", buzzer(440, 3));
  saveWav(sd / "engine.wav", engineLoop(false));
  saveWav(sd / "engine_idle.wav", engineLoop(true));
  Samples open = engineLoop(true);
  for (auto& x : open) x *= 0.7f;
  saveWav(sd / "engine_idle_open.wav", open);
  saveWav(sd / "fan.wav", motorTone(3));
}

void writeTrainSounds(const fs::path& dir, const TrainDesign& v) {
  const fs::path sd = dir / "sound" / v.key;
  fs::create_directories(sd);
  saveWav(sd / "horn1.wav", horn(v.hornF1, v.hornF2, 1.3, v.electricHorn));
  saveWav(sd / "horn2.wav", horn(v.hornF1 * 2.2, v.hornF2 * 2.2, 0.7, true));
  saveWav(sd / "door_open.wav", doorSound(true, v.doorChime));
  saveWav(sd / "door_close.wav", doorSound(false, v.doorChime));
  saveWav(sd / "motor.wav", motorTone(v.motorKind));
  saveWav(sd / "motor_brake.wav", motorBrakeTone(v.motorKind));
}

std::vector<std::string> driveSoundList(const std::string& key) {
  std::vector<std::string> l;
  for (int b = 0; b <= 12; ++b) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "sound\\common\\run%02d.wav", b);
    l.push_back(buf);
  }
  const std::string v = "sound\\" + key + "\\";
  for (const char* f : {"brake_apply", "brake_release", "eb", "ats_bell", "ats_chime", "atc"})
    l.push_back(std::string("sound\\common\\") + f + ".wav");
  l.push_back(v + "horn1.wav");       // 19
  l.push_back(v + "horn2.wav");       // 20
  l.push_back(v + "horn1.wav");       // 21
  l.push_back(v + "door_open.wav");   // 22
  l.push_back(v + "door_close.wav");  // 23
  for (const char* f :
       {"eb_ring", "squeal", "cp_start", "cp_run", "cp_end", "stop_alert", "buzzer1", "buzzer2",
        "depsign", "engine", "engine_idle", "engine_idle_open"})
    l.push_back(std::string("sound\\common\\") + f + ".wav");  // 24-35
  return l;
}

}  // namespace demo
