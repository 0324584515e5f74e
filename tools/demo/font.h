#pragma once
// Japanese text for the pictures, through FreeType and the Noto Sans CJK font (Debian's
// fonts-noto-cjk). Rendering in-process keeps the output byte-for-byte deterministic and needs
// no helper program. Not thread-safe: text is drawn before the video threads start.
#include <memory>
#include <string>

#include "image.h"

namespace demo {

class Font {
 public:
  // Finds Noto Sans CJK (regular or bold); throws when no usable font file exists.
  explicit Font(bool bold = false);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  int textWidth(const std::string& utf8, int px) const;
  // Draws with the top of the em box at y; returns the advance in pixels.
  int draw(Image& img, int x, int y, const std::string& utf8, int px, Rgb colour) const;
  void drawCentred(Image& img, int cx, int y, const std::string& utf8, int px, Rgb colour) const;
  // Fits the text into the width by shrinking the size; draws centred.
  void drawFitted(Image& img, int cx, int y, int maxWidth, const std::string& utf8, int px,
                  Rgb colour) const;
  const std::string& path() const { return m_path; }

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
  std::string m_path;
};

std::u32string toUtf32(const std::string& utf8);

}  // namespace demo
