#pragma once
// Pictures named by the data files. The readers load them while reading (stop line, indicator
// lists, route image lists); the shell keeps the pixels, the core only the id and the size.
// Called on the UI thread during main-window creation. Ids are owned by the loader.
#include <filesystem>
#include <optional>

namespace velmoria {

struct ImageInfo {
  int id = -1;  // the loader's handle for the picture
  int width = 0;
  int height = 0;
};

class ImageLoader {
 public:
  virtual ~ImageLoader() = default;
  // Loads a picture file; nullopt when it is missing or cannot be decoded.
  virtual std::optional<ImageInfo> load(const std::filesystem::path& file) = 0;
};

}  // namespace velmoria
