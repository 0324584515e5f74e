#include "vehicles.h"

#include <cmath>
#include <cstdio>

#include "image.h"
#include "sounds.h"
#include "text_file.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

struct Gauge {
  const char* section;
  int cx, cy, r;
  double max;        // full-scale reading
  const char* unit;  // caption on the face
  int majorStep;     // labelled every
  Rgb needle;
  bool present = true;
};

constexpr int kPanelTop = 240;
const Rgb kFace{236, 232, 218}, kInk{24, 24, 24};

// Angle on the face (counter-clockwise degrees from straight up) of a reading.
double faceAngle(const Gauge& g, double v) {
  return 135.0 - 270.0 * v / g.max;
}

void drawFace(Image& panel, const Gauge& g, const Font& font, const std::vector<Gauge>& shared) {
  const double cx = g.cx, cy = g.cy - kPanelTop;
  panel.disc(cx, cy, g.r + 3, Rgb{60, 60, 64});
  panel.disc(cx, cy, g.r, kFace);
  const int steps = static_cast<int>(g.max / g.majorStep * 2);
  for (int k = 0; k <= steps; ++k) {
    const double a = faceAngle(g, g.majorStep / 2.0 * k) * M_PI / 180;
    const double r0 = g.r - (k % 2 ? 4 : 8), r1 = g.r - 1;
    panel.line(cx - std::sin(a) * r0, cy - std::cos(a) * r0, cx - std::sin(a) * r1,
               cy - std::cos(a) * r1, kInk, k % 2 ? 1 : 1.8);
    if (k % 2 == 0) {
      const int px = std::max(7, g.r / 6);
      const double rt = g.r - 8 - px * 0.8;
      char buf[16];
      std::snprintf(buf, sizeof buf, "%d",
                    static_cast<int>(g.majorStep / 2.0 * k / (g.max >= 1000 ? 100 : 1)));
      font.drawCentred(panel, static_cast<int>(cx - std::sin(a) * rt),
                       static_cast<int>(cy - std::cos(a) * rt - px / 2), buf, px, kInk);
    }
  }
  std::string caption = g.unit;
  for (const auto& o : shared) caption += std::string(" ") + o.unit;
  font.drawCentred(panel, static_cast<int>(cx), static_cast<int>(cy + g.r * 0.35), caption,
                   std::max(8, g.r / 5), Rgb{80, 80, 80});
  panel.disc(cx, cy, 3, Rgb{40, 40, 40});
}

Image needleImage(const Gauge& g) {
  const int size = 2 * g.r + 2;
  Image img(size, size, kKey);
  const double c = size / 2.0;
  img.fillPolygon({c - 2.2, c + 8, c + 2.2, c + 8, c + 0.8, c - (g.r - 4), c - 0.8, c - (g.r - 4)},
                  g.needle);
  img.disc(c, c, 3.5, Rgb{30, 30, 30});
  // Keep the corners keyed: the lower-left pixel names the transparent colour.
  img.set(0, size - 1, kKey);
  return img;
}

Image lamp(int w, int h, Rgb lit, const std::string& text, const Font& font, bool round = false) {
  Image img(w, h, kKey);
  if (round)
    img.disc(w / 2.0, h / 2.0, std::min(w, h) / 2.0 - 0.5, lit);
  else
    img.fillRect(1, 1, w - 1, h - 1, lit);
  const double lum = 0.3 * lit.r + 0.6 * lit.g + 0.1 * lit.b;
  font.drawFitted(img, w / 2, (h - std::min(h - 2, 12)) / 2, w - 4, text, std::min(h - 2, 12),
                  lum > 140 ? kInk : Rgb{250, 250, 250});
  img.set(0, h - 1, kKey);
  return img;
}

Image notchPicture(int w, int h, int lit, int total, Rgb col, const std::string& text,
                   const Font& font) {
  Image img(w, h, kKey);
  img.fillRect(0, 0, w, h - 1, Rgb{20, 20, 22});
  const int boxes = std::max(total, 1);
  const int bw = std::max(2, (w - 30) / boxes);
  for (int k = 0; k < total; ++k)
    img.fillRect(28 + k * bw, 3, 28 + (k + 1) * bw - 1, h - 4, k < lit ? col : Rgb{60, 60, 60});
  font.drawFitted(img, 14, 0, 26, text, h - 2, Rgb{240, 240, 240});
  img.set(0, h - 1, kKey);
  return img;
}

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

void writeSounds(const fs::path& dir, const TrainDesign& v) {
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

std::vector<std::string> writePanel(const fs::path& dir, const TrainDesign& v, const Font& font,
                                    const Font& bold) {
  const fs::path id = dir / "image" / v.key;
  fs::create_directories(id);
  const std::string rel = "image\\" + v.key + "\\";
  std::vector<std::string> out;
  auto put = [&](std::initializer_list<std::string> l) { out.insert(out.end(), l); };

  // Gauges.
  std::vector<Gauge> gauges = {
      {"[Needle_BC]", 48, 292, 42, 1000, "BC", 200, Rgb{220, 30, 30}},
      {"[Needle_SAP]", 48, 292, 42, 1000, "SAP", 200, Rgb{20, 20, 20}},
      {"[Needle_MR]", 48, 390, 42, 1000, "MR", 200, Rgb{220, 30, 30}},
      {"[Needle_ER]", 48, 390, 42, 1000, "ER", 200, Rgb{20, 20, 20}},
      {"[Needle_BP]", 48, 390, 42, 1000, "BP", 200, Rgb{40, 80, 200}},
      {"[Needle_V]", 205, 300, 36, 2000, "kV", 500, Rgb{20, 20, 20}, !v.digital},
      {"[Needle_I]", 205, 392, 36, 1000, "A", 250, Rgb{20, 20, 20}, !v.digital},
      {"[Needle_Speed]", 350, 352, 66, v.info.maxSpeed >= 120 ? 140.0 : 120.0, "km/h", 20,
       Rgb{200, 30, 30}},
  };
  Image panel(480, 200, Rgb{64, 70, 78});
  panel.verticalGradient(0, 200, Rgb{86, 94, 104}, Rgb{48, 52, 58});
  panel.fillRect(0, 0, 480, 2, Rgb{30, 30, 30});
  // Room for the window's own bar gauges (BC bar, MR marker and their scale).
  panel.fillRect(96, 60, 158, 200, kKey);
  panel.frameRect(94, 58, 160, 200, Rgb{30, 30, 30}, 2);
  font.drawCentred(panel, 127, 46, v.digital ? "BC  MR" : "圧力", 10, Rgb{220, 220, 220});
  drawFace(panel, gauges[0], font, {gauges[1]});
  drawFace(panel, gauges[2], font, {gauges[3]});
  if (v.digital) {  // the monitor display where the digital speed is shown
    panel.fillRect(164, 24, 252, 194, Rgb{12, 16, 24});
    panel.frameRect(164, 24, 252, 194, Rgb{110, 110, 120}, 2);
    font.drawCentred(panel, 208, 32, "モニタ", 11, Rgb{120, 200, 255});
    font.drawCentred(panel, 208, 128, "速度", 11, Rgb{120, 200, 255});
    for (int k = 0; k < 5; ++k)
      panel.fillRect(172, 56 + k * 12, 172 + 20 + k * 12, 62 + k * 12, Rgb{40, 140, 220});
  } else {
    drawFace(panel, gauges[5], font, {});
    drawFace(panel, gauges[6], font, {});
  }
  drawFace(panel, gauges[7], font, {});
  bold.drawCentred(panel, 350, 352 - kPanelTop - 30, v.plate, 10, Rgb{90, 90, 90});
  // The clock's bezel (the window draws the face and the hands).
  panel.disc(445, 415 - kPanelTop, 29, Rgb{40, 40, 40});
  panel.fillRect(420, 390 - kPanelTop, 470, 440 - kPanelTop, Rgb{240, 240, 240});
  // Label plates for the lamp rows.
  font.draw(panel, 162, 262 - kPanelTop, "表示灯", 9, Rgb{200, 200, 200});
  panel.set(0, 199, kKey);
  panel.saveBmp(id / "panel.bmp");
  Image dark(320, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) {
      const Rgb c = panel.get(160 + x, y);
      dark.set(x, y, c == kKey ? Rgb{30, 30, 34} : mix(shade(c, 0.55), Rgb{70, 50, 20}, 0.15));
    }
  dark.saveBmp(id / "panel2.bmp");
  put({"[Panel]", rel + "panel.bmp", "0", std::to_string(kPanelTop)});
  put({"[Panel2]", rel + "panel2.bmp", "160", std::to_string(kPanelTop)});

  // Lamps: a row along the top of the panel, cab signals and reverser on the right.
  struct L {
    const char* section;
    const char* file;
    int x, y, w, h;
    Rgb col;
    const char* text;
    bool round;
  };
  const L lamps[] = {
      {"[Lamp_Door]", "lamp_door", 160, 243, 32, 16, Rgb{255, 160, 40}, "戸閉", false},
      {"[Lamp_Power]", "lamp_power", 196, 243, 32, 16, Rgb{80, 220, 90}, "力行", false},
      {"[Lamp_EB]", "lamp_eb", 376, 243, 32, 16, Rgb{255, 50, 40}, "EB", false},
      {"[Lamp_Gen]", "lamp_gen", 232, 243, 32, 16, Rgb{80, 200, 255}, "回生", false},
      {"[Lamp_Air]", "lamp_air", 304, 243, 32, 16, Rgb{255, 220, 60}, "空制", false},
      {"[Lamp_Ele]", "lamp_ele", 268, 243, 32, 16, Rgb{120, 255, 200}, "電制", false},
      {"[Lamp_Ats]", "lamp_ats", 340, 243, 32, 16, Rgb{255, 40, 40}, "ATS", false},
      {"[Lamp_ATSP1]", "lamp_atsp1", 412, 243, 32, 16, Rgb{255, 170, 30}, "P接近", false},
      {"[Lamp_ATSP2]", "lamp_atsp2", 446, 243, 32, 16, Rgb{255, 60, 40}, "Pブレ", false},
      {"[Lamp_G]", "lamp_g", 420, 314, 56, 11, Rgb{40, 230, 120}, "G 進行", false},
      {"[Lamp_YG]", "lamp_yg", 420, 302, 56, 11, Rgb{170, 230, 60}, "YG 減速", false},
      {"[Lamp_Y]", "lamp_y", 420, 290, 56, 11, Rgb{255, 200, 30}, "Y 注意", false},
      {"[Lamp_YY]", "lamp_yy", 420, 278, 56, 11, Rgb{255, 170, 20}, "YY 警戒", false},
      {"[Lamp_R]", "lamp_r", 420, 266, 56, 11, Rgb{255, 40, 30}, "R 停止", false},
      {"[Lamp_Fwd]", "lamp_fwd", 420, 330, 26, 14, Rgb{120, 240, 120}, "前", true},
      {"[Lamp_Back]", "lamp_back", 450, 330, 26, 14, Rgb{255, 200, 80}, "後", true},
  };
  for (const auto& l : lamps) {
    lamp(l.w, l.h, l.col, l.text, font, l.round).saveBmp(id / (std::string(l.file) + ".bmp"));
    put({l.section, rel + l.file + ".bmp", std::to_string(l.x), std::to_string(l.y)});
  }
  // Needles.
  for (const auto& g : gauges) {
    const int size = 2 * g.r + 2;
    std::string file;
    if (g.present) {
      file = std::string("needle_") +
             std::string(g.section).substr(8, std::string(g.section).size() - 9) + ".bmp";
      needleImage(g).saveBmp(id / file);
      file = rel + file;
    }
    char scale[32];
    std::snprintf(scale, sizeof scale, "%.6f", -270.0 / g.max);
    put({g.section, file, std::to_string(g.cx - size / 2), std::to_string(g.cy - size / 2),
         std::to_string(size), std::to_string(size), "135", scale});
  }
  // Notch and brake indicators; gear indicator.
  out.push_back("[NotchImageP]");
  put({"420", "346"});
  for (int p = 0; p <= v.power; ++p) {
    const std::string f = "notch_p" + std::to_string(p) + ".bmp";
    notchPicture(56, 12, p, v.power, Rgb{80, 220, 90}, p ? "P" + std::to_string(p) : "N", font)
        .saveBmp(id / f);
    out.push_back(rel + f);
  }
  out.push_back("#");
  out.push_back("[NotchImageB]");
  put({"420", "360"});
  std::vector<std::string> bl;
  const int service = v.brake - 1;
  if (v.brakeType == 0)
    bl = {"運転", "保ち", "重り", "制動", "非常"};
  else {
    bl.push_back("緩");
    for (int b = 1; b <= service; ++b) bl.push_back("B" + std::to_string(b));
    bl.push_back("EB");
  }
  if (v.hold) bl.insert(bl.begin() + 1, "抑速");
  for (size_t k = 0; k < bl.size(); ++k) {
    const std::string f = "notch_b" + std::to_string(k) + ".bmp";
    const int steps = static_cast<int>(bl.size()) - 1;
    notchPicture(56, 12, static_cast<int>(k), steps,
                 k + 1 == bl.size() ? Rgb{255, 50, 40} : Rgb{255, 190, 40}, bl[k], font)
        .saveBmp(id / f);
    out.push_back(rel + f);
  }
  out.push_back("#");
  out.push_back("[GearImageList]");
  put({"420", "374"});
  const std::vector<std::string> gears =
      v.engineType == 1 ? std::vector<std::string>{"惰行", "力行"}
                        : std::vector<std::string>{"中立", "変", "直1", "直2", "直3", "直4"};
  for (size_t k = 0; k < gears.size(); ++k) {
    const std::string f = "gear" + std::to_string(k) + ".bmp";
    notchPicture(56, 12, k ? 1 : 0, 1, Rgb{120, 200, 255}, gears[k], font).saveBmp(id / f);
    out.push_back(rel + f);
  }
  out.push_back("#");
  // Extra pictures: name plates and stickers; the last two appear once the run begins.
  struct O {
    std::string text;
    int x, y, w, h;
    Rgb back, fore;
  };
  const std::vector<O> others = {
      {v.plate, 254, 262, 58, 14, Rgb{20, 40, 90}, Rgb{230, 230, 230}},
      {v.atsType == 0   ? "ATS-S"
       : v.atsType == 1 ? "ATS-P"
                        : "ATC",
       254, 424, 40, 13, Rgb{230, 230, 230}, kInk},
      {"最高" + std::to_string(v.info.maxSpeed), 300, 424, 50, 13, Rgb{250, 220, 60}, kInk},
      {std::to_string(v.info.cars) + "両", 384, 424, 32, 13, Rgb{230, 230, 230}, kInk},
      {"乗務員", 384, 262, 34, 13, Rgb{60, 60, 60}, Rgb{230, 230, 230}},
      {"無線", 254, 408, 30, 13, Rgb{30, 110, 60}, Rgb{240, 240, 240}},
      {"TIMS", 386, 408, 30, 13, Rgb{30, 60, 110}, Rgb{240, 240, 240}},
  };
  out.push_back("[Others]");
  for (size_t k = 0; k < others.size(); ++k) {
    const O& o = others[k];
    Image img(o.w, o.h, kKey);
    img.fillRect(0, 0, o.w, o.h - 1, o.back);
    font.drawFitted(img, o.w / 2, 0, o.w - 2, o.text, o.h - 2, o.fore);
    img.set(0, o.h - 1, kKey);
    const std::string f = "plate" + std::to_string(k) + ".bmp";
    img.saveBmp(id / f);
    put({rel + f, std::to_string(o.x), std::to_string(o.y)});
  }
  out.push_back("#");
  put({"[Clock]", "445", "415", "20"});
  // Stopping mark for the station display.
  Image stop(50, 50, Rgb{0, 0, 0});
  stop.fillRect(4, 4, 46, 46, Rgb{244, 200, 30});
  stop.frameRect(4, 4, 46, 46, kInk, 3);
  bold.drawCentred(stop, 25, 8, std::to_string(v.info.cars), 22, kInk);
  font.drawCentred(stop, 25, 31, "停目", 10, kInk);
  stop.saveBmp(id / "stopline.bmp");
  return out;
}

void writeVehicleFile(const fs::path& dir, const TrainDesign& v, const Font& font,
                      const Font& bold) {
  writeSounds(dir, v);
  const auto panel = writePanel(dir, v, font, bold);
  const auto drive = driveSoundList(v.key);
  TextFile f;
  f.line("; " + v.info.series + " (Velmoria demo line)");
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
  if (v.engineType == 1) {
    f.line("[Notch]");
    for (const auto& n : v.notches)
      f.lines({fmtReal(n[0], 2), fmtReal(n[1], 2), std::to_string(static_cast<int>(n[2])),
               std::to_string(static_cast<int>(n[3])), fmtReal(n[4], 4)});
    f.line("#");
  } else {
    f.line("[Engine]");
    f.lines({"0", "20", "45", "2.0", "1.6", "0.9"});
    f.lines({"40", "55", "70", "1.1", "0.9", "0.6"});
    f.lines({"60", "80", "95", "0.7", "0.55", "0.3"});
    f.line("#");
  }
  const std::string sd = "sound\\" + v.key + "\\";
  f.line("[MotorSound]");
  f.lines(
      {sd + "motor.wav", "0", "0", std::to_string(v.info.maxSpeed), "0.35", "1.9", "60", "110"});
  f.lines({sd + "motor_brake.wav", "1", fmtReal(std::max(v.loseElec, 3), 1),
           std::to_string(v.info.maxSpeed), "0.45", "1.6", "30", "100"});
  f.lines({"sound\\common\\fan.wav", "2", "0", "160", "1.0", "1.2", "12", "20"});
  f.line("#");
  f.section("[DriveSound]", drive).line("#");
  f.lines(panel);
  f.save(dir / v.info.file);
}

}  // namespace

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
