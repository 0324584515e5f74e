// velmoria-frame VIDEO [INDEX ...] [--out DIR]
// Prints the frame count of VIDEO, then decodes each INDEX in the order given and writes it as
// DIR/INDEX.png (DIR defaults to the current folder). Exit status: 0 when every frame was
// written, 1 when the video cannot be opened or a frame could not be decoded or written, 2 for
// a usage error.
#include <QImage>
#include <QString>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "media/ffmpeg/ffmpeg_video_source.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: velmoria-frame VIDEO [INDEX ...] [--out DIR]\n");
  return 2;
}

bool parseIndex(const std::string& text, int& index) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, index);
  return ec == std::errc() && ptr == end;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path video;
  std::filesystem::path outDir = ".";
  std::vector<int> indices;
  for (int a = 1; a < argc; ++a) {
    const std::string arg = argv[a];
    if (arg == "--out") {
      if (++a >= argc) return usage();
      outDir = argv[a];
    } else if (video.empty()) {
      video = arg;
    } else {
      int index = 0;
      if (!parseIndex(arg, index)) return usage();
      indices.push_back(index);
    }
  }
  if (video.empty()) return usage();

  velmoria::FfmpegVideoSource source;
  if (!source.open(video)) {
    std::fprintf(stderr, "velmoria-frame: %s: no video stream\n", video.c_str());
    return 1;
  }
  std::printf("%d\n", source.frameCount());
  std::fflush(stdout);

  int status = 0;
  velmoria::VideoFrame frame;
  for (int index : indices) {
    if (!source.decode(index, frame)) {
      std::fprintf(stderr, "velmoria-frame: frame %d is not in 0..%d\n", index,
                   source.frameCount() - 1);
      status = 1;
      continue;
    }
    const QImage image(reinterpret_cast<const uchar*>(frame.pixels.data()), frame.width,
                       frame.height, frame.width * 4, QImage::Format_RGB32);
    const std::filesystem::path file = outDir / (std::to_string(index) + ".png");
    if (!image.save(QString::fromStdString(file.string()), "PNG")) {
      std::fprintf(stderr, "velmoria-frame: cannot write %s\n", file.c_str());
      status = 1;
    }
  }
  return status;
}
