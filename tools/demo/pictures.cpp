#include "pictures.h"

#include <cmath>
#include <cstdio>

namespace demo {

namespace {
const Rgb kWhite{245, 245, 240}, kBlack{16, 16, 16}, kYellow{244, 200, 30};

Image plate(int w, int h, Rgb back, Rgb border, int bw) {
  Image img(w, h, back);
  img.frameRect(0, 0, w, h, border, bw);
  return img;
}
}  // namespace

SpriteBank makeSprites(const Line& line, const Font& font, const Font& bold) {
  SpriteBank sb;
  for (int v : {45, 55, 60, 65, 70, 75, 85}) {
    Image img = plate(48, 48, kWhite, kBlack, 3);
    bold.drawFitted(img, 24, 8, 42, std::to_string(v), 30, kBlack);
    sb.limit[v] = img;
  }
  sb.limitEnd = plate(48, 48, kWhite, kBlack, 3);
  sb.limitEnd.line(6, 42, 42, 6, kBlack, 5);
  auto gradeSprite = [&](int tenths) {
    Image img = plate(64, 32, kWhite, kBlack, 2);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", std::fabs(tenths) / 10.0);
    bold.drawFitted(img, 32, 4, 58, buf, 22, kBlack);
    return img;
  };
  for (const Path* p : {&line.main, &line.branch})
    for (const auto& b : p->boards)
      if (b.kind == BoardKind::GradeChange && !sb.gradient.count(b.value))
        sb.gradient[b.value] = gradeSprite(b.value);
  sb.whistle = plate(40, 40, kWhite, kBlack, 3);
  bold.drawCentred(sb.whistle, 20, 6, "汽", 28, kBlack);
  sb.crossing = plate(56, 40, kYellow, kBlack, 3);
  bold.drawFitted(sb.crossing, 28, 8, 50, "踏切", 22, kBlack);
  sb.stationAhead = plate(64, 40, kWhite, Rgb{20, 60, 160}, 3);
  bold.drawFitted(sb.stationAhead, 32, 8, 58, "停車場", 20, Rgb{20, 60, 160});
  sb.junction = plate(56, 40, kWhite, kBlack, 3);
  bold.drawFitted(sb.junction, 28, 8, 50, "分岐", 22, kBlack);
  sb.stopMark = plate(40, 40, kYellow, kBlack, 3);
  bold.drawCentred(sb.stopMark, 20, 7, "10", 24, kBlack);
  for (const auto& st : line.stations) {
    Image img(220, 75, kWhite);
    img.fillRect(0, 56, 220, 75, Rgb{30, 120, 70});
    font.drawFitted(img, 110, 2, 200, st.reading, 13, kBlack);
    bold.drawFitted(img, 110, 15, 210, st.name, 30, kBlack);
    font.drawFitted(img, 110, 58, 200, st.english, 14, kWhite);
    img.frameRect(0, 0, 220, 75, Rgb{60, 60, 60}, 2);
    sb.nameBoards.push_back(img);
  }
  return sb;
}

std::vector<Image> signalPictures(const Font& font) {
  // Display index -> lamps lit, for the aspect sets of kinds 0-5.
  const Rgb R{255, 40, 30}, Y{255, 196, 20}, G{40, 255, 140}, off{50, 46, 42};
  std::vector<Image> out;
  auto head = [&](const std::vector<Rgb>& lamps, const char* label) {
    Image img(50, 100, Rgb{0, 0, 0});
    const int n = static_cast<int>(lamps.size());
    const int h = n * 17 + 8;
    const int top = (100 - h) / 2 - 6;
    img.fillRect(9, top, 41, top + h, Rgb{28, 28, 30});
    img.frameRect(9, top, 41, top + h, Rgb{90, 90, 90});
    for (int k = 0; k < n; ++k) {
      const double cy = top + 4 + 17 * k + 8.5;
      img.disc(25, cy, 7.5, Rgb{10, 10, 10});
      img.disc(25, cy, 6.5, lamps[k]);
    }
    img.fillRect(23, top + h, 27, 100, Rgb{70, 70, 70});
    font.drawFitted(img, 25, 86, 46, label, 11, Rgb{220, 220, 220});
    return img;
  };
  auto repeater =
      [&](int pos) {  // 0 horizontal (stop), 1 diagonal (restricted), 2 vertical (proceed)
        Image img(50, 100, Rgb{0, 0, 0});
        img.disc(25, 42, 21, Rgb{30, 30, 30});
        img.ring(25, 42, 21, 2, Rgb{200, 200, 200});
        for (int k = -1; k <= 1; ++k) {
          double x = 25, y = 42;
          if (pos == 0)
            x += k * 12;
          else if (pos == 1)
            x += k * 9, y -= k * 9;
          else
            y += k * 12;
          img.disc(x, y, 5, Rgb{255, 250, 230});
        }
        img.fillRect(23, 63, 27, 100, Rgb{70, 70, 70});
        font.drawFitted(img, 25, 86, 46, "中継", 11, Rgb{220, 220, 220});
        return img;
      };
  out.push_back(repeater(0));                            // 0
  out.push_back(repeater(1));                            // 1
  out.push_back(repeater(2));                            // 2
  out.push_back(head({R, off}, "停止"));                 // 3 kind 1
  out.push_back(head({off, Y}, "注意"));                 // 4
  out.push_back(head({G, off, off}, "進行"));            // 5 (no kind shows it; kept for the index)
  out.push_back(head({off, off, R}, "停止"));            // 6 kind 2: G / Y / R from the top
  out.push_back(head({off, Y, off}, "注意"));            // 7
  out.push_back(head({G, off, off}, "進行"));            // 8
  out.push_back(head({off, off, off, R}, "停止"));       // 9 kind 3: G / Y / R / Y
  out.push_back(head({off, Y, off, off}, "注意"));       // 10
  out.push_back(head({G, Y, off, off}, "減速"));         // 11
  out.push_back(head({G, off, off, off}, "進行"));       // 12
  out.push_back(head({off, off, R, off}, "停止"));       // 13 kind 4: G / Y / R / Y
  out.push_back(head({off, Y, off, Y}, "警戒"));         // 14
  out.push_back(head({off, Y, off, off}, "注意"));       // 15
  out.push_back(head({G, off, off, off}, "進行"));       // 16
  out.push_back(head({off, off, off, R, off}, "停止"));  // 17 kind 5: Y / G / Y / R / Y
  out.push_back(head({off, off, Y, off, Y}, "警戒"));    // 18
  out.push_back(head({off, off, Y, off, off}, "注意"));  // 19
  out.push_back(head({off, G, Y, off, off}, "減速"));    // 20
  out.push_back(head({off, G, off, off, off}, "進行"));  // 21
  return out;
}

Image slopeBoard(bool uphill, const Font& font) {
  Image img(50, 50, Rgb{0, 0, 0});
  img.fillRect(3, 3, 47, 47, kWhite);
  const Rgb c{16, 16, 16};
  if (uphill)
    img.line(8, 36, 42, 14, c, 4), img.fillPolygon({42, 8, 45, 20, 33, 14}, c);
  else
    img.line(8, 14, 42, 36, c, 4), img.fillPolygon({45, 30, 42, 42, 33, 36}, c);
  font.drawCentred(img, 25, 36, uphill ? "上り" : "下り", 10, c);
  return img;
}

Image limitBoard(int kmh, const Font& bold) {
  // The cab shows a limit through a 50 x 50 frame on the left of the 100 x 50 picture; the
  // black around the board is the colour key.
  Image img(100, 50, Rgb{0, 0, 0});
  img.fillRect(2, 2, 48, 48, kWhite);
  img.frameRect(2, 2, 48, 48, Rgb{200, 30, 30}, 3);
  bold.drawFitted(img, 25, 8, 38, std::to_string(kmh), 24, kBlack);
  bold.drawFitted(img, 25, 33, 38, "km/h", 10, kBlack);
  return img;
}

Image textBoard(const std::string& text, Rgb back, Rgb fore, const Font& bold) {
  Image img(100, 50, Rgb{0, 0, 0});
  img.fillRect(2, 2, 98, 48, back);
  img.frameRect(2, 2, 98, 48, fore, 2);
  bold.drawFitted(img, 50, 11, 88, text, 24, fore);
  return img;
}

Image atspOverlay(const Font& font) {
  // Top: the indicator plate with its lamps dark. Bottom row: the lit lamps, at the same x,
  // which the video view copies over the plate as the pattern state asks.
  Image img(120, 100, Rgb{0, 0, 0});
  img.fillRect(0, 0, 120, 50, Rgb{34, 34, 38});
  img.frameRect(0, 0, 120, 50, Rgb{120, 120, 120});
  struct Lamp {
    int x0, x1;
    Rgb lit;
    const char* text;
  };
  const Lamp lamps[] = {{3, 21, Rgb{60, 220, 90}, "ＡＴＳ"},
                        {27, 41, Rgb{255, 170, 30}, "接近"},
                        {41, 60, Rgb{255, 50, 40}, "動作"},
                        {80, 99, Rgb{240, 240, 240}, "電源"}};
  for (const auto& l : lamps) {
    for (int lit = 0; lit < 2; ++lit) {
      const int y0 = lit ? 57 : 7, y1 = lit ? 94 : 44;
      const Rgb c = lit ? l.lit : shade(l.lit, 0.22);
      img.fillRect(l.x0, y0, l.x1, y1, c);
      img.frameRect(l.x0, y0, l.x1, y1, Rgb{10, 10, 10});
      const auto chars = toUtf32(l.text);
      const int step = (y1 - y0 - 2) / static_cast<int>(chars.size());
      int k = 0;
      for (char32_t ch : chars) {
        std::string one;
        if (ch < 0x80)
          one.push_back(static_cast<char>(ch));
        else if (ch < 0x800)
          one += static_cast<char>(0xC0 | (ch >> 6)), one += static_cast<char>(0x80 | (ch & 0x3F));
        else
          one += static_cast<char>(0xE0 | (ch >> 12)),
              one += static_cast<char>(0x80 | ((ch >> 6) & 0x3F)),
              one += static_cast<char>(0x80 | (ch & 0x3F));
        font.drawCentred(img, (l.x0 + l.x1) / 2, y0 + 1 + step * k++, one,
                         std::min(step, l.x1 - l.x0 - 2),
                         lit ? Rgb{20, 20, 20} : Rgb{110, 110, 110});
      }
    }
  }
  font.drawCentred(img, 70, 18, "P", 14, Rgb{220, 220, 220});
  return img;
}

Image loadingPicture(const Font& bold, const Font& font) {
  Image img(480, 240);
  img.verticalGradient(0, 240, Rgb{18, 26, 48}, Rgb{6, 8, 14});
  bold.drawCentred(img, 240, 84, "支線に入ります", 30, Rgb{240, 240, 240});
  font.drawCentred(img, 240, 128, "映像を切り替えています…", 16, Rgb{200, 210, 230});
  img.fillRect(140, 170, 340, 176, Rgb{60, 70, 90});
  img.fillRect(140, 170, 290, 176, Rgb{120, 190, 255});
  return img;
}

Image timetableCard(const CardContents& card, const Font& font, const Font& bold) {
  const int rowH = 22;
  const int w = 224;
  const int h = std::min(440, 84 + rowH * static_cast<int>(card.rows.size()) + 26);
  Image img(w, std::max(h, 84 + rowH * static_cast<int>(card.rows.size()) + 26),
            Rgb{250, 248, 236});
  img.frameRect(0, 0, img.width(), img.height(), Rgb{40, 40, 40}, 2);
  bold.drawFitted(img, w / 2, 6, w - 12, card.trainKind + "  " + card.trainNumber, 18,
                  Rgb{20, 20, 20});
  font.drawFitted(img, w / 2, 30, w - 12, card.vehicle, 12, Rgb{40, 40, 40});
  font.drawFitted(img, w / 2, 46, w - 12, card.note, 11, Rgb{140, 30, 30});
  const int y0 = 64;
  img.fillRect(2, y0, w - 2, y0 + 18, Rgb{220, 224, 200});
  font.draw(img, 8, y0 + 2, "駅名", 12, Rgb{20, 20, 20});
  font.draw(img, 100, y0 + 2, "着", 12, Rgb{20, 20, 20});
  font.draw(img, 162, y0 + 2, "発", 12, Rgb{20, 20, 20});
  int y = y0 + 20;
  for (const auto& r : card.rows) {
    img.fillRect(2, y + rowH - 1, w - 2, y + rowH, Rgb{180, 180, 170});
    const Rgb c = r.pass ? Rgb{110, 110, 110} : Rgb{16, 16, 16};
    font.draw(img, 6, y + 3, r.station, 13, c);
    font.draw(img, 82, y + 5, r.arrive, 11, c);
    font.draw(img, 144, y + 5, r.pass ? "レ " + r.depart : r.depart, 11,
              r.pass ? Rgb{110, 110, 110} : Rgb{16, 16, 16});
    y += rowH;
  }
  img.fillRect(78, y0, 79, y, Rgb{160, 160, 150});
  img.fillRect(140, y0, 141, y, Rgb{160, 160, 150});
  font.drawCentred(img, w / 2, y + 4, "F1で表示・格納", 11, Rgb{90, 90, 90});
  return img;
}

}  // namespace demo
