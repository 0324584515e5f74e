#include "font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace demo {

std::u32string toUtf32(const std::string& s) {
  std::u32string out;
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    int n;
    if (c < 0x80)
      cp = c, n = 1;
    else if ((c >> 5) == 6)
      cp = c & 0x1f, n = 2;
    else if ((c >> 4) == 14)
      cp = c & 0x0f, n = 3;
    else
      cp = c & 0x07, n = 4;
    for (int k = 1; k < n && i + k < s.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
    out.push_back(cp);
    i += static_cast<size_t>(n);
  }
  return out;
}

struct Font::Impl {
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
};

Font::Font(bool bold) : m_impl(std::make_unique<Impl>()) {
  std::vector<std::string> candidates;
  if (const char* env = std::getenv("VELMORIA_DEMO_FONT")) candidates.push_back(env);
  const char* weight = bold ? "Bold" : "Regular";
  for (const char* dir : {"/usr/share/fonts/opentype/noto/", "/usr/share/fonts/noto-cjk/",
                          "/usr/share/fonts/google-noto-cjk/"})
    candidates.push_back(std::string(dir) + "NotoSansCJK-" + weight + ".ttc");
  candidates.push_back("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
  if (FT_Init_FreeType(&m_impl->lib)) throw std::runtime_error("FreeType cannot start");
  for (const auto& c : candidates) {
    if (!std::filesystem::exists(c)) continue;
    if (FT_New_Face(m_impl->lib, c.c_str(), 0, &m_impl->face) == 0) {  // face 0: the JP design
      m_path = c;
      return;
    }
  }
  FT_Done_FreeType(m_impl->lib);
  throw std::runtime_error("Noto Sans CJK not found (install fonts-noto-cjk)");
}

Font::~Font() {
  if (m_impl->face) FT_Done_Face(m_impl->face);
  if (m_impl->lib) FT_Done_FreeType(m_impl->lib);
}

int Font::textWidth(const std::string& utf8, int px) const {
  FT_Set_Pixel_Sizes(m_impl->face, 0, static_cast<FT_UInt>(px));
  long w = 0;
  for (char32_t cp : toUtf32(utf8)) {
    if (FT_Load_Char(m_impl->face, cp, FT_LOAD_DEFAULT)) continue;
    w += m_impl->face->glyph->advance.x;
  }
  return static_cast<int>(w >> 6);
}

int Font::draw(Image& img, int x, int y, const std::string& utf8, int px, Rgb colour) const {
  FT_Face face = m_impl->face;
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(px));
  const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
  // Centre the em box: CJK ascenders are tall, so place the baseline at 88 % of the size.
  const int baseline = y + std::min(ascender, px * 88 / 100);
  long pen = static_cast<long>(x) << 6;
  for (char32_t cp : toUtf32(utf8)) {
    if (FT_Load_Char(face, cp, FT_LOAD_RENDER)) continue;
    const FT_GlyphSlot g = face->glyph;
    const int gx = static_cast<int>(pen >> 6) + g->bitmap_left;
    const int gy = baseline - g->bitmap_top;
    for (unsigned r = 0; r < g->bitmap.rows; ++r)
      for (unsigned c = 0; c < g->bitmap.width; ++c) {
        const unsigned char a = g->bitmap.buffer[r * static_cast<unsigned>(g->bitmap.pitch) + c];
        if (a) img.blend(gx + static_cast<int>(c), gy + static_cast<int>(r), colour, a / 255.0);
      }
    pen += g->advance.x;
  }
  return static_cast<int>(pen >> 6) - x;
}

void Font::drawCentred(Image& img, int cx, int y, const std::string& utf8, int px,
                       Rgb colour) const {
  draw(img, cx - textWidth(utf8, px) / 2, y, utf8, px, colour);
}

void Font::drawFitted(Image& img, int cx, int y, int maxWidth, const std::string& utf8, int px,
                      Rgb colour) const {
  int size = px;
  while (size > 6 && textWidth(utf8, size) > maxWidth) --size;
  drawCentred(img, cx, y + (px - size) / 2, utf8, size, colour);
}

}  // namespace demo
