#include "image.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace demo {

namespace {
uint8_t clamp8(double v) {
  return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5);
}
}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  return {clamp8(a.r + (b.r - a.r) * t), clamp8(a.g + (b.g - a.g) * t),
          clamp8(a.b + (b.b - a.b) * t)};
}

Rgb shade(Rgb c, double f) {
  return {clamp8(c.r * f), clamp8(c.g * f), clamp8(c.b * f)};
}

Image::Image(int w, int h, Rgb fill) : m_w(w), m_h(h), m_px(static_cast<size_t>(w) * h, fill) {}

void Image::blend(int x, int y, Rgb c, double a) {
  if (x < 0 || y < 0 || x >= m_w || y >= m_h || a <= 0) return;
  Rgb& p = m_px[static_cast<size_t>(y) * m_w + x];
  // Over the transparent colour an edge pixel either takes the colour or stays transparent:
  // a mix with the key would be a magenta fringe that shows once the cab is drawn enlarged.
  if (p == kKey) {
    if (a >= 0.5) p = c;
    return;
  }
  p = a >= 1 ? c : mix(p, c, a);
}

void Image::fill(Rgb c) {
  std::fill(m_px.begin(), m_px.end(), c);
}

void Image::fillRect(int x0, int y0, int x1, int y1, Rgb c) {
  x0 = std::max(x0, 0), y0 = std::max(y0, 0);
  x1 = std::min(x1, m_w), y1 = std::min(y1, m_h);
  for (int y = y0; y < y1; ++y) std::fill(row(y) + x0, row(y) + std::max(x0, x1), c);
}

void Image::frameRect(int x0, int y0, int x1, int y1, Rgb c, int w) {
  fillRect(x0, y0, x1, y0 + w, c);
  fillRect(x0, y1 - w, x1, y1, c);
  fillRect(x0, y0, x0 + w, y1, c);
  fillRect(x1 - w, y0, x1, y1, c);
}

void Image::hspan(int y, double xl, double xr, Rgb c) {
  if (y < 0 || y >= m_h) return;
  int a = static_cast<int>(std::ceil(xl - 0.5));
  int b = static_cast<int>(std::ceil(xr - 0.5));
  a = std::max(a, 0);
  b = std::min(b, m_w);
  if (a < b) std::fill(row(y) + a, row(y) + b, c);
}

void Image::fillPolygon(const std::vector<double>& xy, Rgb c) {
  const size_t n = xy.size() / 2;
  if (n < 3) return;
  double ymin = 1e9, ymax = -1e9;
  for (size_t i = 0; i < n; ++i)
    ymin = std::min(ymin, xy[2 * i + 1]), ymax = std::max(ymax, xy[2 * i + 1]);
  const int y0 = std::max(0, static_cast<int>(std::ceil(ymin - 0.5)));
  const int y1 = std::min(m_h - 1, static_cast<int>(std::floor(ymax - 0.5)));
  std::vector<double> xs;
  for (int y = y0; y <= y1; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (size_t i = 0; i < n; ++i) {
      const double ax = xy[2 * i], ay = xy[2 * i + 1];
      const double bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
      if ((ay <= yc && by > yc) || (by <= yc && ay > yc))
        xs.push_back(ax + (yc - ay) / (by - ay) * (bx - ax));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) hspan(y, xs[k], xs[k + 1], c);
  }
}

void Image::fillQuad(double x0, double y0, double x1, double y1, double x2, double y2, double x3,
                     double y3, Rgb c) {
  fillPolygon({x0, y0, x1, y1, x2, y2, x3, y3}, c);
}

void Image::line(double x0, double y0, double x1, double y1, Rgb c, double width) {
  // A thick line is a thin quad; thin lines are drawn by coverage along the major axis.
  const double dx = x1 - x0, dy = y1 - y0;
  const double len = std::hypot(dx, dy);
  if (len < 1e-6) {
    blend(static_cast<int>(x0), static_cast<int>(y0), c, std::min(1.0, width));
    return;
  }
  if (width > 1.5) {
    const double nx = -dy / len * width / 2, ny = dx / len * width / 2;
    fillQuad(x0 + nx, y0 + ny, x1 + nx, y1 + ny, x1 - nx, y1 - ny, x0 - nx, y0 - ny, c);
    return;
  }
  const int steps = static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy))));
  const bool steep = std::fabs(dy) > std::fabs(dx);
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    const double x = x0 + dx * t - 0.5, y = y0 + dy * t - 0.5;
    if (steep) {
      const int xi = static_cast<int>(std::floor(x));
      const double f = x - xi;
      blend(xi, static_cast<int>(std::lround(y)), c, (1 - f) * width);
      blend(xi + 1, static_cast<int>(std::lround(y)), c, f * width);
    } else {
      const int yi = static_cast<int>(std::floor(y));
      const double f = y - yi;
      blend(static_cast<int>(std::lround(x)), yi, c, (1 - f) * width);
      blend(static_cast<int>(std::lround(x)), yi + 1, c, f * width);
    }
  }
}

void Image::disc(double cx, double cy, double r, Rgb c) {
  const int y0 = static_cast<int>(std::floor(cy - r - 1)),
            y1 = static_cast<int>(std::ceil(cy + r + 1));
  const int x0 = static_cast<int>(std::floor(cx - r - 1)),
            x1 = static_cast<int>(std::ceil(cx + r + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      blend(x, y, c, std::clamp(r - d + 0.5, 0.0, 1.0));
    }
}

void Image::ring(double cx, double cy, double r, double w, Rgb c) {
  const int y0 = static_cast<int>(std::floor(cy - r - 1)),
            y1 = static_cast<int>(std::ceil(cy + r + 1));
  const int x0 = static_cast<int>(std::floor(cx - r - 1)),
            x1 = static_cast<int>(std::ceil(cx + r + 1));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const double a =
          std::min(std::clamp(r - d + 0.5, 0.0, 1.0), std::clamp(d - (r - w) + 0.5, 0.0, 1.0));
      blend(x, y, c, a);
    }
}

void Image::verticalGradient(int y0, int y1, Rgb top, Rgb bottom) {
  for (int y = std::max(0, y0); y < std::min(m_h, y1); ++y) {
    const Rgb c = mix(top, bottom, y1 - y0 > 1 ? static_cast<double>(y - y0) / (y1 - y0 - 1) : 0.0);
    std::fill(row(y), row(y) + m_w, c);
  }
}

void Image::blit(const Image& src, int x, int y, bool keyed) {
  for (int j = 0; j < src.height(); ++j) {
    if (y + j < 0 || y + j >= m_h) continue;
    for (int i = 0; i < src.width(); ++i) {
      const Rgb c = src.get(i, j);
      if (keyed && c == kKey) continue;
      set(x + i, y + j, c);
    }
  }
}

void Image::blitScaled(const Image& src, double x0, double y0, double x1, double y1) {
  const int ax = std::max(0, static_cast<int>(std::ceil(x0 - 0.5)));
  const int bx = std::min(m_w, static_cast<int>(std::ceil(x1 - 0.5)));
  const int ay = std::max(0, static_cast<int>(std::ceil(y0 - 0.5)));
  const int by = std::min(m_h, static_cast<int>(std::ceil(y1 - 0.5)));
  if (ax >= bx || ay >= by) return;
  const double sx = src.width() / (x1 - x0), sy = src.height() / (y1 - y0);
  for (int y = ay; y < by; ++y) {
    const int v = std::clamp(static_cast<int>((y + 0.5 - y0) * sy), 0, src.height() - 1);
    const Rgb* s = src.row(v);
    Rgb* d = row(y);
    for (int x = ax; x < bx; ++x) {
      const int u = std::clamp(static_cast<int>((x + 0.5 - x0) * sx), 0, src.width() - 1);
      if (!(s[u] == kKey)) d[x] = s[u];
    }
  }
}

void Image::saveBmp(const std::filesystem::path& path) const {
  const int stride = (m_w * 3 + 3) & ~3;
  const uint32_t dataSize = static_cast<uint32_t>(stride * m_h);
  std::vector<uint8_t> buf(54 + dataSize, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) buf[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  buf[0] = 'B', buf[1] = 'M';
  put32(2, 54 + dataSize);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(m_w));
  put32(22, static_cast<uint32_t>(m_h));
  buf[26] = 1, buf[28] = 24;
  put32(34, dataSize);
  put32(38, 2835), put32(42, 2835);
  for (int y = 0; y < m_h; ++y) {
    uint8_t* d = &buf[54 + static_cast<size_t>(m_h - 1 - y) * stride];
    for (int x = 0; x < m_w; ++x) {
      const Rgb c = get(x, y);
      d[3 * x] = c.b, d[3 * x + 1] = c.g, d[3 * x + 2] = c.r;
    }
  }
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(buf.data()), static_cast<std::streamsize>(buf.size()));
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

void Image::saveJpeg(const std::filesystem::path& path, int quality) const {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) throw std::runtime_error("cannot write " + path.string());
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);  // only our own well-formed input reaches it
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, out);
  cinfo.image_width = static_cast<JDIMENSION>(m_w);
  cinfo.image_height = static_cast<JDIMENSION>(m_h);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rowp =
        reinterpret_cast<JSAMPROW>(const_cast<Rgb*>(row(static_cast<int>(cinfo.next_scanline))));
    jpeg_write_scanlines(&cinfo, &rowp, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(out);
}

}  // namespace demo
