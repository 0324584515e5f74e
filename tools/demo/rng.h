#pragma once
// A small deterministic random source (splitmix64). The standard distributions differ between
// library versions, so the generator draws its own numbers to stay byte-for-byte reproducible.
#include <cstdint>

namespace demo {

class Rng {
 public:
  explicit Rng(uint64_t seed) : m_s(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
  uint64_t next() {
    uint64_t z = (m_s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  double uniform(double a, double b) { return a + (b - a) * uniform(); }
  int below(int n) { return static_cast<int>(uniform() * n); }
  bool chance(double p) { return uniform() < p; }

 private:
  uint64_t m_s;
};

}  // namespace demo
