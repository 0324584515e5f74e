#pragma once
// The sound track of a movie through FFmpeg: the first audio stream of any file FFmpeg
// demuxes, decoded whole and converted by libswresample to 16-bit PCM at the stream's own
// sampling rate, mono when the stream is mono and stereo otherwise (more channels are mixed
// down). Called on the UI thread (or any one thread at a time); the result belongs to the
// caller.
#include <filesystem>
#include <optional>

#include "media/pcm_sound.h"

namespace velmoria {

// At most maxSeconds from the start (infinity: all of it). nullopt when the file cannot be
// opened, has no audio stream, its codec is unknown, or not one sample decodes.
std::optional<PcmSound> readFfmpegSoundTrack(const std::filesystem::path& file, double maxSeconds);

}  // namespace velmoria
