#include "route_media.h"

#include <cstdio>

#include "pictures.h"
#include "route_runs.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

// The overrun apology, the departure melodies, the wayside noises and the announcements.
std::vector<std::string> writeLineSounds(const fs::path& ld, const Line& line, const Voice& voice) {
  std::vector<std::string> soundData;
  voice.speak(ld / "overrun.wav",
              "ていしいちを、しゅうせいいたします。しょうしょう、おまちください。");
  soundData.push_back("sound\\line\\overrun.wav");
  for (int m = 0; m < 4; ++m) {
    const std::string f = "melody" + std::to_string(m) + ".wav";
    saveWav(ld / f, melody(m));
    soundData.push_back("sound\\line\\" + f);
  }
  saveWav(ld / "crossing.wav", crossingBell());
  saveWav(ld / "tunnel.wav", tunnelRoar());
  saveWav(ld / "bridge.wav", bridgeRumble());
  saveWav(ld / "points.wav", pointClatter());
  for (const char* f : {"crossing", "tunnel", "bridge", "points"})
    soundData.push_back(std::string("sound\\line\\") + f + ".wav");
  for (int kind = 0; kind < 3; ++kind)
    for (size_t st = 0; st < line.stations.size(); ++st) {
      const auto& S = line.stations[st];
      static const char* prefix[] = {"arrive", "next", "soon"};
      const std::string f = std::string(prefix[kind]) + std::to_string(st) + ".wav";
      std::string text =
          kind == 0 ? S.reading + "、" + S.reading + "です。ごじょうしゃ、ありがとうございます。"
          : kind == 1 ? "つぎは、" + S.reading + "です。"
                      : "まもなく、" + S.reading + "です。おでぐちは、ひだりがわです。";
      voice.speak(ld / f, text);
      soundData.push_back("sound\\line\\" + f);
    }
  for (size_t r = 0; r < runs().size(); ++r) {
    const std::string f = "welcome" + std::to_string(r) + ".wav";
    voice.speak(ld / f, runs()[r].welcome);
    soundData.push_back("sound\\line\\" + f);
  }
  return soundData;
}

// The driver's call-out clips: signal aspects and times, then the departure calls.
void writeCallOuts(const fs::path& kd, const Voice& voice, RouteLists& lists) {
  const char* k1[18] = {"ていし",
                        "けいかい",
                        "ちゅうい",
                        "げんそく",
                        "しんこう",
                        "ちゅうけい、せいげん",
                        "さんじゅうびょう",
                        "よんじゅうごびょう",
                        "いっぷん",
                        "いっぷんじゅうごびょう",
                        "いっぷんさんじゅうびょう",
                        "いっぷんよんじゅうごびょう",
                        "にふん",
                        "おくれ",
                        "かくにん",
                        "はやい",
                        "よし",
                        "ていじ"};
  for (int i = 0; i < 18; ++i) {
    const std::string f = "k" + std::to_string(i) + ".wav";
    voice.speak(kd / f, k1[i], 190);
    lists.kanko1.push_back("sound\\kanko\\" + f);
  }
  const char* k2[8] = {"しゅっぱつ",       "じょうない", "だいいちへいそく", "だいにへいそく",
                       "だいさんへいそく", "ちゅうけい", "へいそく",         "よし"};
  for (int i = 0; i < 8; ++i) {
    const std::string f = "s" + std::to_string(i) + ".wav";
    voice.speak(kd / f, k2[i], 190);
    lists.kanko2.push_back("sound\\kanko\\" + f);
  }
}

std::vector<std::string> writeSignalPictures(const fs::path& dir, const Font& font) {
  std::vector<std::string> signalImages;
  const auto sig = signalPictures(font);
  for (size_t i = 0; i < sig.size(); ++i) {
    char f[32];
    std::snprintf(f, sizeof f, "sig%02zu.bmp", i);
    sig[i].saveBmp(dir / "image" / "signal" / f);
    signalImages.push_back(std::string("image\\signal\\") + f);
  }
  return signalImages;
}

// Each board with the call-out spoken when it is confirmed.
std::vector<std::string> writeBoards(const fs::path& dir, const fs::path& kd, const Voice& voice,
                                     const Font& bold) {
  std::vector<std::string> otherImages;
  auto board = [&](const std::string& file, const Image& img, const std::string& kana) {
    img.saveBmp(dir / "image" / "board" / (file + ".bmp"));
    voice.speak(kd / ("b_" + file + ".wav"), kana, 190);
    otherImages.push_back("image\\board\\" + file + ".bmp");
    otherImages.push_back("sound\\kanko\\b_" + file + ".wav");
  };
  board("time", textBoard("時刻確認", Rgb{250, 250, 250}, Rgb{20, 60, 160}, bold), "じこく");
  const char* limitKana[] = {"よんじゅうご", "ごじゅうご",   "ろくじゅう",  "ろくじゅうご",
                             "ななじゅう",   "ななじゅうご", "はちじゅうご"};
  for (int i = 0; i < 7; ++i)
    board("limit" + std::to_string(kLimits[i]), limitBoard(kLimits[i], bold),
          std::string("せいげん、") + limitKana[i]);
  board("whistle", textBoard("汽笛吹鳴", Rgb{250, 250, 250}, Rgb{20, 20, 20}, bold), "きてき");
  board("crossing", textBoard("踏切注意", Rgb{244, 200, 30}, Rgb{20, 20, 20}, bold), "ふみきり");
  board("station", textBoard("停車場接近", Rgb{250, 250, 250}, Rgb{20, 60, 160}, bold),
        "ていしゃじょう");
  board("junction", textBoard("分岐注意", Rgb{250, 250, 250}, Rgb{160, 30, 30}, bold), "ぶんき");
  return otherImages;
}

}  // namespace

int limitPicture(int kmh) {
  for (int i = 0; i < 7; ++i)
    if (kLimits[i] == kmh) return 1 + i;
  return 1;
}

RouteLists writeRouteMedia(const fs::path& dir, const Line& line, const Voice& voice,
                           const Font& font, const Font& bold) {
  const fs::path ld = dir / "sound" / "line", kd = dir / "sound" / "kanko";
  fs::create_directories(ld), fs::create_directories(kd);
  fs::create_directories(dir / "image" / "signal"), fs::create_directories(dir / "image" / "sign");
  fs::create_directories(dir / "image" / "board"), fs::create_directories(dir / "image" / "staf");
  RouteLists lists;
  lists.soundData = writeLineSounds(ld, line, voice);
  writeCallOuts(kd, voice, lists);
  lists.signalImages = writeSignalPictures(dir, font);
  slopeBoard(true, font).saveBmp(dir / "image" / "sign" / "up.bmp");
  slopeBoard(false, font).saveBmp(dir / "image" / "sign" / "down.bmp");
  lists.otherImages = writeBoards(dir, kd, voice, bold);
  return lists;
}

}  // namespace demo
