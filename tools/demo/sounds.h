#pragma once
// Sounds of the demo folder, synthesised here (22050 Hz, mono, 16-bit WAV): running and motor
// sounds, brakes, horns, buzzers, doors, compressor, train-protection bells and chimes,
// departure melodies, crossing bells, tunnel and bridge noise. Spoken texts (announcements,
// call-outs) come from espeak-ng's Japanese voice when it is installed, else a short tone.
// Main thread; speak() runs espeak-ng as a child process.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

constexpr int kRate = 22050;
using Samples = std::vector<float>;

void saveWav(const std::filesystem::path& path, const Samples& s);
std::vector<int16_t> toPcm(const Samples& s);

class Voice {
 public:
  explicit Voice(bool allowEspeak);
  bool espeak() const { return m_espeak; }
  // Writes the kana text as speech; a two-note tone when espeak-ng is not available.
  void speak(const std::filesystem::path& path, const std::string& kana, int speed = 165) const;

 private:
  bool m_espeak = false;
};

// Synthesised sounds; lengths in seconds where a parameter says so. Loops are seamless.
Samples runningSound(int band, double joint = 25.0);  // joints every `joint` metres
Samples motorTone(int kind);  // 0 chopper (201), 1 VVVF (E233), 2 resistor (183), 3 diesel
Samples motorBrakeTone(int kind);
Samples airBurst(double seconds, double attack, double tone);  // brake air, doors, EB
Samples squeal();
Samples horn(double f1, double f2, double seconds, bool electric);
Samples buzzer(double freq, int beeps);
Samples bell(double freq, double seconds, double strikesPerSecond);  // train-stop bell, vigilance
Samples chime(const std::vector<double>& notes, double noteLen, double gap, double total);
Samples compressorStart();
Samples compressorRun();
Samples compressorEnd();
Samples doorSound(bool opening, bool chimes);
Samples crossingBell();
Samples tunnelRoar();
Samples bridgeRumble();
Samples pointClatter();
Samples melody(int which);  // departure melodies
Samples engineLoop(bool idle);
Samples openingTheme(double seconds);

}  // namespace demo
