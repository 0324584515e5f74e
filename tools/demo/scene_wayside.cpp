#include "scene_wayside.h"

#include <algorithm>
#include <cmath>

namespace demo::scene {

namespace {

enum ItemKind { kPole, kSignal, kBoard, kProp, kStation, kCrossing, kPortal, kStopMark };

struct Item {
  double d;  // distance ahead
  int kind;
  size_t idx;  // into the path's table of that kind (a pole's position for poles)
};

// Everything within the drawing distance, farthest first.
std::vector<Item> waysideItems(const View& v) {
  const Path& path = v.path;
  const double s = v.s;
  std::vector<Item> items;
  const double end = s + kFar;
  for (double t = std::ceil((s + 2) / 50) * 50; t < end; t += 50)
    if (!inSpan(path.tunnels, t)) items.push_back({t - s, kPole, static_cast<size_t>(t)});
  for (size_t i = 0; i < path.signals.size(); ++i)
    if (path.signals[i].s > s + 1 && path.signals[i].s < end)
      items.push_back({path.signals[i].s - s, kSignal, i});
  for (size_t i = 0; i < path.boards.size(); ++i)
    if (path.boards[i].s > s + 1 && path.boards[i].s < end)
      items.push_back({path.boards[i].s - s, kBoard, i});
  auto it = std::lower_bound(path.props.begin(), path.props.end(), s + 3,
                             [](const Prop& p, double x) { return p.s < x; });
  for (; it != path.props.end() && it->s < end; ++it)
    items.push_back({it->s - s, kProp, static_cast<size_t>(it - path.props.begin())});
  for (size_t i = 0; i < path.stops.size(); ++i) {
    const double bs = path.stops[i].s - 40;
    if (bs > s + 1 && bs < end) items.push_back({bs - s, kStation, i});
    const double ms = path.stops[i].s + 8;
    if (ms > s + 1 && ms < end) items.push_back({ms - s, kStopMark, i});
  }
  for (size_t i = 0; i < path.crossings.size(); ++i)
    if (path.crossings[i] > s - 2 && path.crossings[i] < end)
      items.push_back({std::max(1.0, path.crossings[i] - 4 - s), kCrossing, i});
  for (size_t i = 0; i < path.tunnels.size(); ++i)
    if (path.tunnels[i].s0 > s + 1 && path.tunnels[i].s0 < end)
      items.push_back({path.tunnels[i].s0 - s, kPortal, i});
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.d > b.d; });
  return items;
}

// The screen rectangle between two corners at position t.
void box(View& v, double t, double o0, double o1, double z0, double z1, Rgb col) {
  const Pt a = project(v.cam, v.path, t, o0, z0), b = project(v.cam, v.path, t, o1, z1);
  if (!a.ok || !b.ok) return;
  v.img.fillRect(static_cast<int>(std::min(a.x, b.x)), static_cast<int>(std::min(a.y, b.y)),
                 static_cast<int>(std::ceil(std::max(a.x, b.x))) + 0,
                 static_cast<int>(std::ceil(std::max(a.y, b.y))), col);
}

// An upright of width w metres from the ground to height z1.
void post(View& v, double t, double o, double z1, double w, Rgb col) {
  const Pt a = project(v.cam, v.path, t, o, 0), b = project(v.cam, v.path, t, o, z1);
  if (!a.ok || !b.ok) return;
  const double px = std::max(1.0, v.cam.f * w / a.fw);
  v.img.fillRect(static_cast<int>(a.x - px / 2), static_cast<int>(b.y),
                 static_cast<int>(a.x + px / 2 + 1), static_cast<int>(a.y), col);
}

// A picture w by h metres whose lower edge stands at height z0.
void sprite(View& v, const Image& spr, double t, double o, double z0, double w, double h) {
  const Pt a = project(v.cam, v.path, t, o + w / 2, z0 + h),
           b = project(v.cam, v.path, t, o - w / 2, z0);
  if (!a.ok || !b.ok || b.x - a.x < 1) return;
  v.img.blitScaled(spr, a.x, a.y, b.x, b.y);
}

// An overhead-line pole with its beam across one track or both.
void drawPole(View& v, double t, double d) {
  const bool dbl = doubleAt(v.path, t);
  post(v, t, 2.9, 7.4, 0.35, fog(Rgb{120, 124, 128}, d));
  if (dbl) {
    post(v, t, kOpposite - 2.9, 7.4, 0.35, fog(Rgb{120, 124, 128}, d));
    box(v, t, 3.0, kOpposite - 3.0, 7.0, 7.45, fog(Rgb{110, 114, 118}, d));
  } else {
    box(v, t, 3.0, -0.4, 6.4, 6.6, fog(Rgb{110, 114, 118}, d));
  }
}

// A repeater: a round white plate with a vertical bar of lights.
void drawRepeater(View& v, double t, double o) {
  const Pt c = project(v.cam, v.path, t, o, 4.3);
  if (!c.ok) return;
  const double r = v.cam.f * 0.45 / c.fw;
  v.img.disc(c.x, c.y, r, Rgb{20, 20, 20});
  if (r > 2)
    v.img.fillRect(static_cast<int>(c.x - r * 0.15), static_cast<int>(c.y - r * 0.75),
                   static_cast<int>(c.x + r * 0.15 + 1), static_cast<int>(c.y + r * 0.75),
                   Rgb{240, 240, 230});
}

void drawSignal(View& v, const SignalPost& sg, double t, double d) {
  const double o = 2.4;
  post(v, t, o, 3.8, 0.22, fog(Rgb{60, 60, 60}, d));
  if (sg.kind == 0) {
    drawRepeater(v, t, o);
    return;
  }
  const int lamps = sg.kind == 1 ? 2 : sg.kind == 2 ? 3 : sg.kind == 5 ? 5 : 4;
  const double h = 0.34 * lamps + 0.1;
  const Pt a = project(v.cam, v.path, t, o + 0.3, 3.8 + h),
           b = project(v.cam, v.path, t, o - 0.3, 3.8);
  if (!a.ok || !b.ok) return;
  v.img.fillRect(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x) + 1,
                 static_cast<int>(b.y) + 1, Rgb{24, 24, 26});
  const double lr = v.cam.f * 0.12 / a.fw;
  for (int k = 0; k < lamps; ++k) {
    const Pt c = project(v.cam, v.path, t, o, 3.8 + 0.05 + 0.34 * (lamps - k - 0.5));
    // The recording shows the aspect of its own day: proceed.
    const bool lit = (lamps == 2 && k == 1) || (lamps >= 3 && k == 0);
    const Rgb col = lit ? (lamps == 2 ? Rgb{255, 200, 40} : Rgb{60, 255, 150}) : Rgb{58, 54, 50};
    if (lr < 0.8)
      v.img.blend(static_cast<int>(c.x), static_cast<int>(c.y), col, 0.9);
    else
      v.img.disc(c.x, c.y, lr, col);
  }
}

struct BoardLook {
  const Image* spr = nullptr;  // none for a limit or gradient without a picture
  double w = 0.6, h = 0.6;     // plate size, metres
  double z = 1.4, o = 2.1;     // height of its lower edge, offset from the track
};

BoardLook boardLook(const SpriteBank& sprites, const Board& bd) {
  BoardLook l;
  switch (bd.kind) {
    case BoardKind::LimitStart: {
      auto f = sprites.limit.find(bd.value);
      if (f != sprites.limit.end()) l.spr = &f->second;
      break;
    }
    case BoardKind::LimitEnd:
      l.spr = &sprites.limitEnd;
      break;
    case BoardKind::Whistle:
      l.spr = &sprites.whistle;
      l.w = 0.5, l.h = 0.5;
      break;
    case BoardKind::Crossing:
      l.spr = &sprites.crossing;
      l.w = 0.7, l.h = 0.5;
      break;
    case BoardKind::StationAhead:
      l.spr = &sprites.stationAhead;
      l.w = 0.8, l.h = 0.5;
      break;
    case BoardKind::Junction:
      l.spr = &sprites.junction;
      l.w = 0.7, l.h = 0.5;
      break;
    case BoardKind::GradeChange: {
      auto f = sprites.gradient.find(bd.value);
      if (f != sprites.gradient.end()) l.spr = &f->second;
      l.w = 0.7, l.h = 0.35, l.z = 0.9, l.o = 2.0;
      break;
    }
  }
  return l;
}

void drawBoard(View& v, const Board& bd, double t, double d) {
  const BoardLook l = boardLook(v.sprites, bd);
  post(v, t, l.o, l.z, 0.08, fog(Rgb{230, 230, 230}, d));
  if (l.spr) sprite(v, *l.spr, t, l.o, l.z, l.w, l.h);
}

// Buildings, sheds and walls: a block, with window rows or a pitched roof.
void drawBlock(View& v, const Prop& pr, double t, double d, Rgb fc) {
  const Pt a = project(v.cam, v.path, t, pr.offset + pr.width / 2, pr.height),
           b = project(v.cam, v.path, t, pr.offset - pr.width / 2, 0);
  if (!a.ok || !b.ok) return;
  v.img.fillRect(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x) + 1,
                 static_cast<int>(b.y) + 1, fc);
  const double ph = b.y - a.y;
  if (pr.type == 0 && ph > 10) {  // window rows
    const int rows = static_cast<int>(pr.height / 3);
    for (int r = 0; r < rows; ++r) {
      const double y0 = a.y + ph * (r + 0.35) / rows, y1 = a.y + ph * (r + 0.65) / rows;
      v.img.fillRect(static_cast<int>(a.x + (b.x - a.x) * 0.08), static_cast<int>(y0),
                     static_cast<int>(b.x - (b.x - a.x) * 0.08), static_cast<int>(y1),
                     fog(Rgb{70, 84, 100}, d));
    }
    v.img.fillRect(static_cast<int>(a.x), static_cast<int>(a.y), static_cast<int>(b.x) + 1,
                   static_cast<int>(a.y + std::max(1.0, ph * 0.04)), shade(fc, 0.7));
  }
  if (pr.type == 3) {  // a pitched roof
    const Pt r = project(v.cam, v.path, t, pr.offset, pr.height * 1.45);
    if (r.ok) v.img.fillPolygon({a.x, a.y, r.x, r.y, b.x, a.y}, fog(Rgb{120, 60, 50}, d));
  }
}

// Trees: a trunk with a round crown or, for conifers, a triangle.
void drawTree(View& v, const Prop& pr, double t, double d, Rgb fc) {
  post(v, t, pr.offset, pr.height * 0.35, 0.35, fog(Rgb{92, 70, 50}, d));
  const Pt c = project(v.cam, v.path, t, pr.offset, pr.height * 0.65);
  if (!c.ok) return;
  const double r = v.cam.f * pr.width / 2 / c.fw;
  if (pr.type == 1)
    v.img.disc(c.x, c.y, r, fc);
  else {
    const Pt top = project(v.cam, v.path, t, pr.offset, pr.height * 1.1),
             bot = project(v.cam, v.path, t, pr.offset, pr.height * 0.25);
    if (top.ok && bot.ok)
      v.img.fillPolygon({c.x - r, bot.y, c.x + r, bot.y, top.x, top.y}, shade(fc, 0.8));
  }
}

void drawProp(View& v, const Prop& pr, double t, double d) {
  const Rgb col{static_cast<uint8_t>(pr.colour >> 16), static_cast<uint8_t>(pr.colour >> 8),
                static_cast<uint8_t>(pr.colour)};
  const Rgb fc = fog(col, d);
  if (pr.type == 0 || pr.type == 3 || pr.type == 4)
    drawBlock(v, pr, t, d, fc);
  else
    drawTree(v, pr, t, d, fc);
}

// The platform's lamp posts and the station's name board.
void drawStation(View& v, const Stop& st, double t) {
  for (double ps = st.s - 190; ps < st.s - 10; ps += 20) {
    if (ps < v.s + 1) continue;
    post(v, ps, 6.2, 3.4, 0.18, fog(Rgb{140, 140, 146}, ps - v.s));
  }
  if (static_cast<size_t>(st.station) < v.sprites.nameBoards.size()) {
    const Image& nb = v.sprites.nameBoards[static_cast<size_t>(st.station)];
    post(v, t, 4.2 + 0.9, 2.0, 0.08, Rgb{80, 80, 80});
    post(v, t, 4.2 - 0.9, 2.0, 0.08, Rgb{80, 80, 80});
    sprite(v, nb, t, 4.2, 2.0, 2.2, 0.75);
  }
}

void drawStopMark(View& v, double t) {
  post(v, t, 1.95, 1.6, 0.05, Rgb{200, 200, 200});
  sprite(v, v.sprites.stopMark, t, 1.95, 1.6, 0.45, 0.45);
}

// Warning posts with the crossed boards and the two blinking lamps, and the lowered barriers.
void drawCrossing(View& v, double c) {
  const Cam& cam = v.cam;
  const bool ringing = c - v.s < 500;
  for (double o : {5.0, kOpposite - 4.2}) {
    const double tp = c - 4;
    post(v, tp, o, 3.1, 0.12, Rgb{30, 30, 30});
    const Pt x1 = project(cam, v.path, tp, o + 0.5, 3.2),
             x2 = project(cam, v.path, tp, o - 0.5, 2.7);
    if (x1.ok && x2.ok) {
      v.img.line(x1.x, x1.y, x2.x, x2.y, Rgb{240, 200, 20}, std::max(1.0, cam.f * 0.1 / x1.fw));
      v.img.line(x1.x, x2.y, x2.x, x1.y, Rgb{240, 200, 20}, std::max(1.0, cam.f * 0.1 / x1.fw));
    }
    for (int k = 0; k < 2; ++k) {
      const Pt l = project(cam, v.path, tp, o + (k ? -0.3 : 0.3), 2.35);
      const bool on = ringing && ((v.iframe / 12 + k) % 2 == 0);
      if (l.ok)
        v.img.disc(l.x, l.y, std::max(0.8, cam.f * 0.12 / l.fw),
                   on ? Rgb{255, 40, 30} : Rgb{70, 20, 20});
    }
  }
  // Lowered barriers beside the road.
  for (double o0 : {3.2, kOpposite - 3.0}) {
    const double dir = o0 > 0 ? 1 : -1;
    for (int k = 0; k < 8; ++k) {
      const Pt a = project(cam, v.path, c - 4.6, o0 + dir * k, 0.95),
               b = project(cam, v.path, c - 4.6, o0 + dir * (k + 1), 0.95);
      if (a.ok && b.ok)
        v.img.line(a.x, a.y, b.x, b.y, k % 2 ? Rgb{20, 20, 20} : Rgb{240, 210, 30},
                   std::max(1.0, cam.f * 0.09 / a.fw));
    }
  }
}

// The hillside, the portal's face and the dark arch.
void drawPortal(View& v, double t, double d) {
  const Cam& cam = v.cam;
  const Path& path = v.path;
  const double o = -1.9;  // the tunnel holds both tracks
  const Pt hl = project(cam, path, t, o + 60, -2), htl = project(cam, path, t, o + 30, 24);
  const Pt htr = project(cam, path, t, o - 30, 22), hr = project(cam, path, t, o - 60, -2);
  if (hl.ok && hr.ok)
    v.img.fillPolygon({hl.x, hl.y, htl.x, htl.y, (htl.x + htr.x) / 2, htl.y - (hr.x - hl.x) * 0.02,
                       htr.x, htr.y, hr.x, hr.y},
                      fog(Rgb{70, 98, 56}, d));
  const Pt fa = project(cam, path, t, o + 5.0, 8.0), fb = project(cam, path, t, o - 5.0, -0.3);
  if (fa.ok && fb.ok)
    v.img.fillRect(static_cast<int>(fa.x), static_cast<int>(fa.y), static_cast<int>(fb.x) + 1,
                   static_cast<int>(fb.y) + 1, fog(Rgb{150, 148, 140}, d));
  std::vector<double> arch;
  for (int k = 0; k <= 12; ++k) {
    const double a = M_PI * k / 12;
    const Pt p = project(cam, path, t, o + 3.3 * std::cos(a), 3.6 + 3.0 * std::sin(a));
    arch.push_back(p.x), arch.push_back(p.y);
  }
  const Pt br = project(cam, path, t, o - 3.3, 0), bl = project(cam, path, t, o + 3.3, 0);
  arch.push_back(br.x), arch.push_back(br.y), arch.push_back(bl.x), arch.push_back(bl.y);
  v.img.fillPolygon(arch, Rgb{14, 14, 16});
}

}  // namespace

void drawWayside(View& v) {
  const Path& path = v.path;
  for (const Item& item : waysideItems(v)) {
    const double t = v.s + item.d;
    switch (item.kind) {
      case kPole:
        drawPole(v, t, item.d);
        break;
      case kSignal:
        drawSignal(v, path.signals[item.idx], t, item.d);
        break;
      case kBoard:
        drawBoard(v, path.boards[item.idx], t, item.d);
        break;
      case kProp:
        drawProp(v, path.props[item.idx], t, item.d);
        break;
      case kStation:
        drawStation(v, path.stops[item.idx], t);
        break;
      case kStopMark:
        drawStopMark(v, t);
        break;
      case kCrossing:
        drawCrossing(v, path.crossings[item.idx]);
        break;
      case kPortal:
        drawPortal(v, t, item.d);
        break;
    }
  }
}

}  // namespace demo::scene
