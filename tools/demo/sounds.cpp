#include "sounds.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "rng.h"

extern char** environ;

namespace demo {

namespace {

constexpr double kTau = 2 * M_PI;

Samples silence(double sec) {
  return Samples(static_cast<size_t>(sec * kRate), 0.0f);
}

void addTone(Samples& s, double at, double len, double freq, double amp, double decay = 0,
             int harmonics = 1) {
  const size_t a = static_cast<size_t>(at * kRate), n = static_cast<size_t>(len * kRate);
  if (s.size() < a + n) s.resize(a + n, 0.0f);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double env = (decay > 0 ? std::exp(-t * decay) : 1.0) * std::min(1.0, t * 200) *
                       std::min(1.0, (len - t) * 60);
    double v = 0;
    for (int h = 1; h <= harmonics; ++h) v += std::sin(kTau * freq * h * t) / h;
    s[a + i] += static_cast<float>(amp * env * v);
  }
}

// One-pole low-pass and high-pass filtered noise.
Samples noise(double sec, double lowCut, double highCut, uint64_t seed) {
  Rng rng(seed);
  Samples s(static_cast<size_t>(sec * kRate));
  const double al = 1 - std::exp(-kTau * highCut / kRate), ah = std::exp(-kTau * lowCut / kRate);
  double lp = 0, hpPrev = 0, hp = 0;
  for (auto& v : s) {
    const double x = rng.uniform(-1, 1);
    lp += al * (x - lp);
    hp = ah * (hp + lp - hpPrev);
    hpPrev = lp;
    v = static_cast<float>(hp);
  }
  return s;
}

void normalise(Samples& s, double peak) {
  float m = 0;
  for (float v : s) m = std::max(m, std::fabs(v));
  if (m > 0)
    for (auto& v : s) v = static_cast<float>(v / m * peak);
}

// Crossfades the end into the beginning so a looped sound has no click.
void makeLoop(Samples& s, double fade = 0.05) {
  const size_t n = std::min(s.size() / 2, static_cast<size_t>(fade * kRate));
  for (size_t i = 0; i < n; ++i) {
    const double w = static_cast<double>(i) / n;
    s[i] = static_cast<float>(s[i] * w + s[s.size() - n + i] * (1 - w));
  }
  s.resize(s.size() - n);
}

void envelope(Samples& s, double attack, double release) {
  const double len = static_cast<double>(s.size()) / kRate;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(
        s[i] * std::min({1.0, t / std::max(attack, 1e-4), (len - t) / std::max(release, 1e-4)}));
  }
}

void mixInto(Samples& dst, const Samples& src, double at, double gain) {
  const size_t a = static_cast<size_t>(at * kRate);
  if (dst.size() < a + src.size()) dst.resize(a + src.size(), 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[a + i] += static_cast<float>(src[i] * gain);
}

}  // namespace

std::vector<int16_t> toPcm(const Samples& s) {
  std::vector<int16_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i)
    out[i] = static_cast<int16_t>(std::lround(std::clamp(s[i], -1.0f, 1.0f) * 32000));
  return out;
}

void saveWav(const std::filesystem::path& path, const Samples& s) {
  const auto pcm = toPcm(s);
  const uint32_t data = static_cast<uint32_t>(pcm.size() * 2);
  std::vector<uint8_t> h(44, 0);
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) h[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  std::copy_n("RIFF", 4, h.begin());
  put(4, 36 + data, 4);
  std::copy_n("WAVEfmt ", 8, h.begin() + 8);
  put(16, 16, 4), put(20, 1, 2), put(22, 1, 2), put(24, kRate, 4), put(28, kRate * 2, 4),
      put(32, 2, 2), put(34, 16, 2);
  std::copy_n("data", 4, h.begin() + 36);
  put(40, data, 4);
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(h.data()), 44);
  f.write(reinterpret_cast<const char*>(pcm.data()), data);
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

Voice::Voice(bool allowEspeak) {
  if (!allowEspeak) return;
  for (const char* dir : {"/usr/bin/", "/usr/local/bin/"})
    if (std::filesystem::exists(std::string(dir) + "espeak-ng")) m_espeak = true;
}

void Voice::speak(const std::filesystem::path& path, const std::string& kana, int speed) const {
  if (m_espeak) {
    const std::string rate = std::to_string(speed);
    const std::string out = path.string();
    const char* args[] = {"espeak-ng", "-v", "ja",        "-s",         rate.c_str(), "-a",
                          "150",       "-w", out.c_str(), kana.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "espeak-ng", nullptr, nullptr, const_cast<char* const*>(args),
                     environ) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
      if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && std::filesystem::exists(path)) return;
    }
  }
  // No voice: a two-note tone whose length follows the text, so timing still feels right.
  Samples s;
  const double len = std::clamp(0.09 * static_cast<double>(kana.size()) / 3, 0.4, 3.0);
  addTone(s, 0, len / 2, 660, 0.3, 2, 3);
  addTone(s, len / 2, len / 2, 550, 0.3, 2, 3);
  saveWav(path, s);
}

Samples runningSound(int band, double joint) {
  if (band == 0) {  // standing: only a faint hum
    Samples s = noise(2.0, 40, 200, 1);
    normalise(s, 0.02);
    makeLoop(s);
    return s;
  }
  const double v = (band * 10.0 + 5) / 3.6;  // m/s in the middle of the band
  const double period = joint / v;           // one rail joint per period
  const int periods = std::max(1, static_cast<int>(std::ceil(2.5 / period)));
  const double len = period * periods + 0.05;
  Samples s = noise(len, 60, 300 + band * 120.0, 100 + static_cast<uint64_t>(band));
  normalise(s, 0.10 + band * 0.012);
  // Four wheels pass each joint: two bogies of one car, and the next car's leading bogie.
  const double axles[] = {0.0, 2.1, 15.9, 18.0};
  for (int p = 0; p < periods; ++p)
    for (double ax : axles) {
      const double at = p * period + ax / v;
      if (at >= len - 0.05) continue;
      Samples click = noise(0.08, 80, 2500, static_cast<uint64_t>(p * 7 + ax * 10));
      for (size_t i = 0; i < click.size(); ++i)
        click[i] = static_cast<float>(click[i] * std::exp(-static_cast<double>(i) / kRate * 60));
      normalise(click, 0.35 + band * 0.02);
      mixInto(s, click, at, 1.0);
      addTone(s, at, 0.06, 95, 0.25, 50);
    }
  makeLoop(s);
  normalise(s, 0.5 + band * 0.025);
  return s;
}

Samples motorTone(int kind) {
  Samples s = silence(1.0);
  switch (kind) {
    case 0:  // chopper and traction motor whine
      addTone(s, 0, 1.0, 220, 0.4, 0, 4);
      addTone(s, 0, 1.0, 660, 0.15, 0, 1);
      mixInto(s, noise(1.0, 200, 1500, 11), 0, 0.08);
      break;
    case 1:  // VVVF inverter: a bright carrier and the motor's hum
      addTone(s, 0, 1.0, 300, 0.35, 0, 3);
      addTone(s, 0, 1.0, 1047, 0.12, 0, 1);
      addTone(s, 0, 1.0, 1400, 0.06, 0, 1);
      break;
    case 2:  // resistor control: a deeper growl
      addTone(s, 0, 1.0, 140, 0.45, 0, 6);
      mixInto(s, noise(1.0, 80, 900, 12), 0, 0.12);
      break;
    default:  // diesel
      addTone(s, 0, 1.0, 60, 0.5, 0, 8);
      mixInto(s, noise(1.0, 50, 600, 13), 0, 0.2);
  }
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<float>(s[i] * (0.85 + 0.15 * std::sin(kTau * 7 * i / kRate)));
  normalise(s, 0.6);
  return s;  // integer cycles per second: loops without a seam
}

Samples motorBrakeTone(int kind) {
  Samples s = silence(1.0);
  addTone(s, 0, 1.0, kind == 1 ? 260 : 180, 0.4, 0, 3);
  addTone(s, 0, 1.0, kind == 1 ? 880 : 540, 0.1, 0, 1);
  normalise(s, 0.5);
  return s;
}

Samples airBurst(double seconds, double attack, double tone) {
  Samples s =
      noise(seconds, 400 * tone, 6000 * tone, static_cast<uint64_t>(seconds * 1000 + tone * 10));
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(s[i] * std::min(1.0, t / attack) * std::exp(-t * 2.0 / seconds));
  }
  normalise(s, 0.7);
  return s;
}

Samples squeal() {
  Samples s = silence(1.0);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(0.3 * std::sin(kTau * 2800 * t + 3 * std::sin(kTau * 5 * t)) +
                              0.12 * std::sin(kTau * 4200 * t));
  }
  return s;
}

Samples horn(double f1, double f2, double seconds, bool electric) {
  Samples s;
  const int harm = electric ? 2 : 7;
  addTone(s, 0, seconds, f1, 0.35, 0, harm);
  addTone(s, 0, seconds, f2, 0.3, 0, harm);
  if (!electric) mixInto(s, noise(seconds, 300, 3000, 21), 0, 0.05);
  envelope(s, 0.06, 0.15);
  normalise(s, 0.8);
  return s;
}

Samples buzzer(double freq, int beeps) {
  Samples s;
  for (int b = 0; b < beeps; ++b) {
    Samples one;
    for (int i = 0; i < static_cast<int>(0.28 * kRate); ++i)
      one.push_back(static_cast<float>(std::sin(kTau * freq * i / kRate) > 0 ? 0.35 : -0.35));
    envelope(one, 0.005, 0.01);
    mixInto(s, one, b * 0.4, 1.0);
  }
  return s;
}

Samples bell(double freq, double seconds, double strikes) {
  Samples s = silence(seconds);
  const int n = static_cast<int>(seconds * strikes);
  for (int k = 0; k < n; ++k) {
    addTone(s, k / strikes, 1.0 / strikes, freq, 0.45, 18, 1);
    addTone(s, k / strikes, 1.0 / strikes, freq * 2.76, 0.15, 25, 1);
  }
  s.resize(static_cast<size_t>(seconds * kRate));
  normalise(s, 0.7);
  return s;
}

Samples chime(const std::vector<double>& notes, double noteLen, double gap, double total) {
  Samples s = silence(total);
  for (size_t k = 0; k < notes.size(); ++k) {
    addTone(s, k * (noteLen + gap), noteLen * 2.5, notes[k], 0.4, 3.5, 1);
    addTone(s, k * (noteLen + gap), noteLen * 2.5, notes[k] * 2, 0.1, 5, 1);
  }
  s.resize(static_cast<size_t>(total * kRate));
  envelope(s, 0.002, 0.05);
  normalise(s, 0.6);
  return s;
}

Samples compressorStart() {
  Samples s = silence(1.0);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(0.4 * std::sin(kTau * (40 + 60 * t) * t) * std::min(1.0, t * 3));
  }
  mixInto(s, noise(1.0, 100, 800, 31), 0, 0.1);
  normalise(s, 0.5);
  return s;
}

Samples compressorRun() {
  Samples s = silence(1.0);
  for (int k = 0; k < 12; ++k) {
    Samples thump = noise(0.06, 60, 500, 40 + static_cast<uint64_t>(k));
    envelope(thump, 0.005, 0.05);
    mixInto(s, thump, k / 12.0, 0.6);
  }
  addTone(s, 0, 1.0, 96, 0.2, 0, 3);
  s.resize(kRate);
  normalise(s, 0.45);
  return s;
}

Samples compressorEnd() {
  Samples s = silence(0.8);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    s[i] = static_cast<float>(0.4 * std::sin(kTau * (100 - 70 * t) * t) * std::exp(-t * 3));
  }
  mixInto(s, airBurst(0.7, 0.01, 1.2), 0.1, 0.4);
  normalise(s, 0.5);
  return s;
}

Samples doorSound(bool opening, bool chimes) {
  Samples s;
  if (chimes) {  // three-tone door chime before the doors move
    Samples c = chime({opening ? 988.0 : 1175.0, opening ? 1175.0 : 988.0, 784.0}, 0.25, 0.05, 1.2);
    mixInto(s, c, 0, 0.7);
  }
  const double at = chimes ? 1.0 : 0.0;
  mixInto(s, airBurst(1.2, 0.02, 0.8), at, 0.6);
  Samples thud = noise(0.12, 40, 400, opening ? 51 : 52);
  envelope(thud, 0.002, 0.1);
  mixInto(s, thud, at + (opening ? 0.9 : 1.3), 0.9);
  normalise(s, 0.7);
  return s;
}

Samples crossingBell() {
  // Two bells struck in turn, about 2.5 strikes a second each.
  Samples s = silence(0.8);
  addTone(s, 0.0, 0.4, 730, 0.5, 9, 1);
  addTone(s, 0.0, 0.4, 730 * 2.7, 0.15, 14, 1);
  addTone(s, 0.4, 0.4, 690, 0.5, 9, 1);
  addTone(s, 0.4, 0.4, 690 * 2.7, 0.15, 14, 1);
  s.resize(static_cast<size_t>(0.8 * kRate));
  normalise(s, 0.8);
  return s;
}

Samples tunnelRoar() {
  Samples s = noise(2.0, 30, 400, 61);
  normalise(s, 0.6);
  makeLoop(s, 0.2);
  return s;
}

Samples bridgeRumble() {
  Samples s = noise(2.0, 40, 700, 62);
  for (int k = 0; k < 8; ++k) addTone(s, k * 0.25, 0.15, 70, 0.4, 20, 3);
  s.resize(2 * kRate);
  normalise(s, 0.6);
  makeLoop(s, 0.1);
  return s;
}

Samples pointClatter() {
  Samples s = silence(1.2);
  const double at[] = {0.0, 0.08, 0.45, 0.53, 0.8, 0.88};
  for (double a : at) {
    Samples c = noise(0.07, 100, 3000, static_cast<uint64_t>(a * 100) + 70);
    envelope(c, 0.002, 0.06);
    mixInto(s, c, a, 0.8);
  }
  normalise(s, 0.7);
  return s;
}

Samples melody(int which) {
  static const std::vector<std::vector<double>> tunes = {
      {523, 659, 784, 1047, 784, 659, 698, 880, 1047, 880, 784, 659, 523, 587, 659, 523},
      {784, 698, 659, 587, 659, 784, 1047, 988, 880, 784, 880, 988, 1047, 784, 659, 784},
      {440, 554, 659, 880, 659, 554, 587, 740, 880, 740, 659, 554, 494, 554, 659, 440},
      {659, 784, 880, 784, 659, 587, 523, 587, 659, 587, 523, 440, 392, 440, 523, 392},
  };
  const auto& t = tunes[static_cast<size_t>(which) % tunes.size()];
  Samples s = silence(7.5);
  for (size_t k = 0; k < t.size(); ++k) {
    addTone(s, k * 0.42, 1.0, t[k], 0.3, 3.0, 1);
    addTone(s, k * 0.42, 1.0, t[k] * 2.0, 0.08, 4.0, 1);
    if (k % 4 == 0) addTone(s, k * 0.42, 1.6, t[k] / 2, 0.15, 2.0, 2);
  }
  s.resize(static_cast<size_t>(7.5 * kRate));
  envelope(s, 0.01, 0.8);
  normalise(s, 0.55);
  return s;
}

Samples engineLoop(bool idle) {
  Samples s = silence(1.0);
  const int pulses = idle ? 12 : 30;
  for (int k = 0; k < pulses; ++k) {
    Samples p = noise(0.05, 40, 600, 80 + static_cast<uint64_t>(k));
    envelope(p, 0.003, 0.04);
    mixInto(s, p, static_cast<double>(k) / pulses, 0.8);
  }
  addTone(s, 0, 1.0, idle ? 36 : 90, 0.3, 0, 5);
  s.resize(kRate);
  normalise(s, 0.55);
  return s;
}

Samples openingTheme(double seconds) {
  Samples s = silence(seconds);
  const double notes[] = {392, 523, 659, 784, 659, 784, 1047};
  for (int k = 0; k < 7; ++k) addTone(s, 0.3 + k * 0.45, 1.6, notes[k], 0.25, 1.8, 3);
  mixInto(s, horn(330, 415, 1.0, false), seconds - 1.6, 0.5);
  s.resize(static_cast<size_t>(seconds * kRate));
  envelope(s, 0.2, 0.5);
  normalise(s, 0.6);
  return s;
}

}  // namespace demo
