#pragma once
// What a picture file's header says: its size, and for BMP whether the file is one the cab
// window's decoder takes at all. Both image loaders apply the same rules, so that
// velmoria-drive (which keeps only sizes) refuses exactly the pictures the desktop program
// refuses, with the same message. Pure functions; any thread.
#include <optional>
#include <string_view>

#include "media/image_loader.h"

namespace velmoria {

// The largest picture the decoder allocates, counted at 32 bits a pixel whatever the file's
// depth (the image library's own allocation limit).
constexpr long long kMaxPictureBytes = 128LL << 20;

// Width and height (id -1) of a BMP, PNG or JPEG held in `bytes`; nullopt for anything else
// and for a BMP the decoder refuses: an unknown header size, planes other than 1, a bit depth
// other than 1, 4, 8, 16, 24 or 32, a compression that does not fit the depth, a width of 0
// or below, a height of 0, a palette of more than 256 colours or cut short, no pixel data at
// all, or more than kMaxPictureBytes.
std::optional<ImageInfo> pictureSize(std::string_view bytes);

// True when `bytes` begin as a BMP does ("BM").
bool looksLikeBmp(std::string_view bytes);

}  // namespace velmoria
