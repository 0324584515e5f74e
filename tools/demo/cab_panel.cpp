#include "cab_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "image.h"

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

// Where a train's pictures go, and how its vehicle file names them.
struct PictureFolder {
  fs::path dir;     // image/<key>
  std::string rel;  // "image\<key>\"

  std::string save(const Image& img, const std::string& file) const {
    img.saveBmp(dir / file);
    return rel + file;
  }
};

// Angle on the face (counter-clockwise degrees from straight up) of a reading.
double faceAngle(const Gauge& g, double v) {
  return 135.0 - 270.0 * v / g.max;
}

// BC and SAP share the upper pressure gauge, MR, ER and BP the lower one.
std::vector<Gauge> gauges(const TrainDesign& v) {
  return {
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

// The lit panel: gauge faces, the monitor of a digital cab, the plate and the clock's bezel,
// with keyed room for the window's own bar gauges.
Image panelPicture(const TrainDesign& v, const std::vector<Gauge>& g, const Font& font,
                   const Font& bold) {
  Image panel(480, 200, Rgb{64, 70, 78});
  panel.verticalGradient(0, 200, Rgb{86, 94, 104}, Rgb{48, 52, 58});
  panel.fillRect(0, 0, 480, 2, Rgb{30, 30, 30});
  // Room for the window's own bar gauges (BC bar, MR marker and their scale).
  panel.fillRect(96, 60, 158, 200, kKey);
  panel.frameRect(94, 58, 160, 200, Rgb{30, 30, 30}, 2);
  font.drawCentred(panel, 127, 46, v.digital ? "BC  MR" : "圧力", 10, Rgb{220, 220, 220});
  drawFace(panel, g[0], font, {g[1]});
  drawFace(panel, g[2], font, {g[3]});
  if (v.digital) {  // the monitor display where the digital speed is shown
    panel.fillRect(164, 24, 252, 194, Rgb{12, 16, 24});
    panel.frameRect(164, 24, 252, 194, Rgb{110, 110, 120}, 2);
    font.drawCentred(panel, 208, 32, "モニタ", 11, Rgb{120, 200, 255});
    font.drawCentred(panel, 208, 128, "速度", 11, Rgb{120, 200, 255});
    for (int k = 0; k < 5; ++k)
      panel.fillRect(172, 56 + k * 12, 172 + 20 + k * 12, 62 + k * 12, Rgb{40, 140, 220});
  } else {
    drawFace(panel, g[5], font, {});
    drawFace(panel, g[6], font, {});
  }
  drawFace(panel, g[7], font, {});
  bold.drawCentred(panel, 350, 352 - kPanelTop - 30, v.plate, 10, Rgb{90, 90, 90});
  // The clock's bezel (the window draws the face and the hands).
  panel.disc(445, 415 - kPanelTop, 29, Rgb{40, 40, 40});
  panel.fillRect(420, 390 - kPanelTop, 470, 440 - kPanelTop, Rgb{240, 240, 240});
  // Label plates for the lamp rows.
  font.draw(panel, 162, 262 - kPanelTop, "表示灯", 9, Rgb{200, 200, 200});
  panel.set(0, 199, kKey);
  return panel;
}

// The right part of the panel as it looks in a tunnel.
Image darkPanelPicture(const Image& panel) {
  Image dark(320, 200);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) {
      const Rgb c = panel.get(160 + x, y);
      dark.set(x, y, c == kKey ? Rgb{30, 30, 34} : mix(shade(c, 0.55), Rgb{70, 50, 20}, 0.15));
    }
  return dark;
}

// Lamps: a row along the top of the panel, cab signals and reverser on the right.
void writeLamps(TextFile& f, const PictureFolder& pics, const Font& font) {
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
    const std::string file =
        pics.save(lamp(l.w, l.h, l.col, l.text, font, l.round), std::string(l.file) + ".bmp");
    f.lines({l.section, file, std::to_string(l.x), std::to_string(l.y)});
  }
}

// The cab panel group: the panel, the darker part of it shown inside tunnels, and the lamps.
void writeCabPanelGroup(TextFile& f, const PictureFolder& pics, const TrainDesign& v,
                        const std::vector<Gauge>& g, const Font& font, const Font& bold) {
  const Image panel = panelPicture(v, g, font, bold);
  f.lines({"[Panel]", pics.save(panel, "panel.bmp"), "0", std::to_string(kPanelTop)});
  f.lines({"[Panel2]", pics.save(darkPanelPicture(panel), "panel2.bmp"), "160",
           std::to_string(kPanelTop)});
  writeLamps(f, pics, font);
}

// One section per gauge; a gauge the cab does not have keeps its section with no picture.
void writeNeedles(TextFile& f, const PictureFolder& pics, const std::vector<Gauge>& gauges) {
  for (const auto& g : gauges) {
    const int size = 2 * g.r + 2;
    std::string file;
    if (g.present) {
      const std::string section = g.section;  // "[Needle_BC]" gives needle_BC.bmp
      file = pics.save(needleImage(g), "needle_" + section.substr(8, section.size() - 9) + ".bmp");
    }
    char scale[32];
    std::snprintf(scale, sizeof scale, "%.6f", -270.0 / g.max);
    f.lines({g.section, file, std::to_string(g.cx - size / 2), std::to_string(g.cy - size / 2),
             std::to_string(size), std::to_string(size), "135", scale});
  }
}

// N, then P1 up to the top notch.
void writeNotchImageP(TextFile& f, const PictureFolder& pics, const TrainDesign& v,
                      const Font& font) {
  f.lines({"[NotchImageP]", "420", "346"});
  for (int p = 0; p <= v.power; ++p)
    f.line(pics.save(
        notchPicture(56, 12, p, v.power, Rgb{80, 220, 90}, p ? "P" + std::to_string(p) : "N", font),
        "notch_p" + std::to_string(p) + ".bmp"));
  f.line("#");
}

// Release, the service steps and emergency, or the positions of an automatic air brake
// valve; a hold brake comes second.
void writeNotchImageB(TextFile& f, const PictureFolder& pics, const TrainDesign& v,
                      const Font& font) {
  f.lines({"[NotchImageB]", "420", "360"});
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
    const int steps = static_cast<int>(bl.size()) - 1;
    f.line(pics.save(
        notchPicture(56, 12, static_cast<int>(k), steps,
                     k + 1 == bl.size() ? Rgb{255, 50, 40} : Rgb{255, 190, 40}, bl[k], font),
        "notch_b" + std::to_string(k) + ".bmp"));
  }
  f.line("#");
}

// Coasting and powering for electric trains; a diesel's neutral, converter and direct gears.
void writeGearImageList(TextFile& f, const PictureFolder& pics, const TrainDesign& v,
                        const Font& font) {
  f.lines({"[GearImageList]", "420", "374"});
  const std::vector<std::string> gears =
      v.engineType == 1 ? std::vector<std::string>{"惰行", "力行"}
                        : std::vector<std::string>{"中立", "変", "直1", "直2", "直3", "直4"};
  for (size_t k = 0; k < gears.size(); ++k)
    f.line(pics.save(notchPicture(56, 12, k ? 1 : 0, 1, Rgb{120, 200, 255}, gears[k], font),
                     "gear" + std::to_string(k) + ".bmp"));
  f.line("#");
}

// Extra pictures: name plates and stickers; the last two appear once the run begins.
void writeOthers(TextFile& f, const PictureFolder& pics, const TrainDesign& v, const Font& font) {
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
  f.line("[Others]");
  for (size_t k = 0; k < others.size(); ++k) {
    const O& o = others[k];
    Image img(o.w, o.h, kKey);
    img.fillRect(0, 0, o.w, o.h - 1, o.back);
    font.drawFitted(img, o.w / 2, 0, o.w - 2, o.text, o.h - 2, o.fore);
    img.set(0, o.h - 1, kKey);
    f.lines({pics.save(img, "plate" + std::to_string(k) + ".bmp"), std::to_string(o.x),
             std::to_string(o.y)});
  }
  f.line("#");
}

// The analogue clock inside the bezel drawn on the panel.
void writeClock(TextFile& f) {
  f.lines({"[Clock]", "445", "415", "20"});
}

PictureFolder pictureFolder(const fs::path& dir, const TrainDesign& v) {
  const fs::path id = dir / "image" / v.key;
  fs::create_directories(id);
  return {id, "image\\" + v.key + "\\"};
}

}  // namespace

void writePanelSections(TextFile& f, const fs::path& dir, const TrainDesign& v, const Font& font,
                        const Font& bold) {
  const PictureFolder pics = pictureFolder(dir, v);
  const std::vector<Gauge> g = gauges(v);
  writeCabPanelGroup(f, pics, v, g, font, bold);
  writeNeedles(f, pics, g);
  writeNotchImageP(f, pics, v, font);
  writeNotchImageB(f, pics, v, font);
  writeGearImageList(f, pics, v, font);
  writeOthers(f, pics, v, font);
  writeClock(f);
}

void writeStopLinePicture(const fs::path& dir, const TrainDesign& v, const Font& font,
                          const Font& bold) {
  Image stop(50, 50, Rgb{0, 0, 0});
  stop.fillRect(4, 4, 46, 46, Rgb{244, 200, 30});
  stop.frameRect(4, 4, 46, 46, kInk, 3);
  bold.drawCentred(stop, 25, 8, std::to_string(v.info.cars), 22, kInk);
  font.drawCentred(stop, 25, 31, "停目", 10, kInk);
  stop.saveBmp(pictureFolder(dir, v).dir / "stopline.bmp");
}

}  // namespace demo
