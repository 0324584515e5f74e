// The opening movie's sound track: decoding a whole 138-second track (the longest the title
// window plays) to 16-bit PCM, as the title window does on the UI thread before the first
// picture. Two tracks: 22050 Hz mono PCM (as the demo generator writes it) and 44100 Hz
// stereo MP3. The movies are made with the ffmpeg command line on first use in
// $VELMORIA_BENCH_VIDEOS (default /tmp/velmoria-bench-videos).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/ffmpeg/ffmpeg_sound_track.h"

namespace {

constexpr int kSeconds = 138;

std::filesystem::path movie(const std::string& name, const std::string& audio) {
  const char* dir = std::getenv("VELMORIA_BENCH_VIDEOS");
  const std::filesystem::path folder = dir && *dir ? dir : "/tmp/velmoria-bench-videos";
  const auto file = folder / (name + ".avi");
  if (!std::filesystem::exists(file)) {
    std::filesystem::create_directories(folder);
    const std::string seconds = std::to_string(kSeconds);
    const std::string command =
        "ffmpeg -nostdin -v error -y -f lavfi -i color=size=64x48:rate=15:duration=" + seconds +
        " -f lavfi -i \"sine=frequency=440:duration=" + seconds + "\" -c:v mpeg4 " + audio + " " +
        file.string() + ".tmp.avi && mv " + file.string() + ".tmp.avi " + file.string();
    if (std::system(command.c_str()) != 0) return {};
  }
  return file;
}

void decodeTrack(benchmark::State& state, const std::filesystem::path& file) {
  double seconds = 0;
  for (auto _ : state) {
    const auto pcm = velmoria::readFfmpegSoundTrack(file, kSeconds + 2);
    if (!pcm) {
      state.SkipWithError("no sound track (is ffmpeg installed?)");
      return;
    }
    seconds = pcm->durationMs() / 1000.0;
    benchmark::DoNotOptimize(pcm->samples.data());
  }
  state.counters["seconds_of_sound"] = seconds;
}

void BM_OpeningSound_Pcm22050Mono(benchmark::State& state) {
  decodeTrack(state, movie("sound_pcm_mono", "-c:a pcm_s16le -ar 22050 -ac 1"));
}
void BM_OpeningSound_Mp3Stereo(benchmark::State& state) {
  decodeTrack(state, movie("sound_mp3_stereo", "-c:a libmp3lame -b:a 192k -ar 44100 -ac 2"));
}
BENCHMARK(BM_OpeningSound_Pcm22050Mono)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpeningSound_Mp3Stereo)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
