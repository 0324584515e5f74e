#include <cctype>
#include <fstream>
#include <iterator>

#include "track_readers.h"

namespace velmoria::import {

Track readTrackFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    throw TrackError(file.string() + ": no such track file");
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) throw TrackError(file.string() + ": the track cannot be read");
  size_t i = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (i < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[i]))) ++i;
  const std::string name = file.string();
  if (i < bytes.size() && bytes[i] == '<') return readGpx(bytes, name);
  if (i < bytes.size() && bytes[i] == '$') return readNmea(bytes, name);
  return readCsv(bytes, name);
}

}  // namespace velmoria::import
