#pragma once
// Monotonic milliseconds. The desktop program reads the real clock; velmoria-drive and the
// tests advance a virtual one, so that sounds end and pictures are paced in virtual time.
#include <cstdint>

namespace velmoria {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t nowMs() const = 0;
};

// A clock that moves only when told to.
class ManualClock : public Clock {
 public:
  int64_t nowMs() const override { return m_now; }
  void set(int64_t ms) { m_now = ms; }
  void advance(int64_t ms) { m_now += ms; }

 private:
  int64_t m_now = 0;
};

}  // namespace velmoria
