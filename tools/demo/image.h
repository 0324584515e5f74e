#pragma once
// A small RGB raster with the few drawing operations the generator needs: rectangles,
// triangles and polygons by scanline, anti-aliased lines and discs, sprite blits. Pictures are
// saved as 24-bit BMP or JPEG. Single-threaded per image; images are plain values.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace demo {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
constexpr Rgb kKey{255, 0, 255};  // transparent colour of panel pictures (lower-left pixel)

Rgb mix(Rgb a, Rgb b, double t);  // t = 0 gives a
Rgb shade(Rgb c, double f);       // f times brighter, clamped

class Image {
 public:
  Image() = default;
  Image(int w, int h, Rgb fill = {});
  int width() const { return m_w; }
  int height() const { return m_h; }
  Rgb* row(int y) { return &m_px[static_cast<size_t>(y) * m_w]; }
  const Rgb* row(int y) const { return &m_px[static_cast<size_t>(y) * m_w]; }
  Rgb get(int x, int y) const { return m_px[static_cast<size_t>(y) * m_w + x]; }
  void set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < m_w && y < m_h) m_px[static_cast<size_t>(y) * m_w + x] = c;
  }
  void blend(int x, int y, Rgb c, double a);
  void fill(Rgb c);
  void fillRect(int x0, int y0, int x1, int y1, Rgb c);  // [x0,x1) x [y0,y1)
  void frameRect(int x0, int y0, int x1, int y1, Rgb c, int width = 1);
  void hspan(int y, double xl, double xr, Rgb c);  // covers pixel centres in [xl, xr)
  void fillQuad(double x0, double y0, double x1, double y1, double x2, double y2, double x3,
                double y3, Rgb c);
  void fillPolygon(const std::vector<double>& xy, Rgb c);
  void line(double x0, double y0, double x1, double y1, Rgb c, double width = 1.0);
  void disc(double cx, double cy, double r, Rgb c);
  void ring(double cx, double cy, double r, double width, Rgb c);
  void verticalGradient(int y0, int y1, Rgb top, Rgb bottom);
  // Copies src with its top-left at (x, y); key pixels of src are skipped when keyed.
  void blit(const Image& src, int x, int y, bool keyed = false);
  // Scales src into the rectangle [x0,x1) x [y0,y1) by nearest sampling, skipping kKey pixels.
  void blitScaled(const Image& src, double x0, double y0, double x1, double y1);
  const std::vector<Rgb>& pixels() const { return m_px; }

  void saveBmp(const std::filesystem::path& path) const;
  void saveJpeg(const std::filesystem::path& path, int quality) const;

 private:
  int m_w = 0, m_h = 0;
  std::vector<Rgb> m_px;
};

}  // namespace demo
