#include "support/wav_bytes.h"

namespace velmoria::test {

std::string le16(uint16_t v) {
  return {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
}

std::string le32(uint32_t v) {
  return le16(static_cast<uint16_t>(v & 0xffff)) + le16(static_cast<uint16_t>(v >> 16));
}

std::string wavFmtBody(int formatTag, int channels, int sampleRate, int bitsPerSample) {
  const int blockAlign = channels * ((bitsPerSample + 7) / 8);
  return le16(static_cast<uint16_t>(formatTag)) + le16(static_cast<uint16_t>(channels)) +
         le32(static_cast<uint32_t>(sampleRate)) +
         le32(static_cast<uint32_t>(sampleRate) * static_cast<uint32_t>(blockAlign)) +
         le16(static_cast<uint16_t>(blockAlign)) + le16(static_cast<uint16_t>(bitsPerSample));
}

std::string riffChunk(std::string_view id, std::string_view body,
                      std::optional<uint32_t> claimedSize) {
  std::string s(id);
  s += le32(claimedSize.value_or(static_cast<uint32_t>(body.size())));
  s += body;
  if (body.size() & 1) s.push_back('\0');
  return s;
}

std::string wavFile(std::string_view chunks) {
  return "RIFF" + le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + std::string(chunks);
}

std::string silentWav(int ms) {
  return wavFile(riffChunk("fmt ", wavFmtBody(1, 1, 8000, 8)) +
                 riffChunk("data", std::string(static_cast<size_t>(8 * ms), '\x80')));
}

}  // namespace velmoria::test
