#pragma once
// Puts the imported ride's data folder together: the folder the vehicle comes from copied
// (without its own routes, their videos and timetable cards), the video linked or copied in
// under the route's name, the start picture. Called on the import's main thread.
#include <filesystem>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>

#include "media/video_source.h"

namespace velmoria::import {

class FolderError : public std::runtime_error {
 public:
  explicit FolderError(const std::string& message) : std::runtime_error(message) {}
};

// Copies every regular file under `from` to the same place under `to`, except those whose
// relative path (with '/', lower case) `skip` says; `progress` gets 0..1 by bytes.
void copyFolder(const std::filesystem::path& from, const std::filesystem::path& to,
                const std::function<bool(const std::string&)>& skip,
                const std::function<void(double)>& progress = {});

enum class Placed { HardLink, SymbolicLink, Copy };

// The video at `to`: a hard link where the file system allows one, else a symbolic link to
// its absolute path, else (or when `copy`) a copy. An existing `to` is replaced.
Placed placeVideo(const std::filesystem::path& video, const std::filesystem::path& to, bool copy);

// A 24-bit BMP of width x height with the picture scaled to fit inside, centred, the rest
// black (the still shown on the 480 x 240 video area before the start).
void writeStill(const std::filesystem::path& file, const VideoFrame& picture, int width = 480,
                int height = 240);

}  // namespace velmoria::import
