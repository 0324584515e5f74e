#pragma once
// RIFF WAVE files byte by byte, for tests that need exact headers or broken ones: chunk sizes
// that claim more than the file holds, oversized fmt chunks, lying fact chunks.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmoria::test {

std::string le16(uint16_t v);
std::string le32(uint32_t v);

// The 16-byte body of a fmt chunk; block align and byte rate follow from the others.
std::string wavFmtBody(int formatTag, int channels, int sampleRate, int bitsPerSample);

// One chunk: id, size, body and the pad byte an odd body needs. The size field is the body's
// length unless claimedSize says otherwise.
std::string riffChunk(std::string_view id, std::string_view body,
                      std::optional<uint32_t> claimedSize = std::nullopt);

// A whole file: "RIFF", its size, "WAVE" and the chunks as given.
std::string wavFile(std::string_view chunks);

// ms milliseconds of 8-bit mono silence at 8000 Hz (8 bytes a millisecond).
std::string silentWav(int ms);

}  // namespace velmoria::test
