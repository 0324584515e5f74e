#pragma once
// A periodic timer for the 33 ms step and the 100 ms run loop. The desktop backend is a
// precise Qt timer on the UI thread, so ticks arrive on the thread that started the timer;
// velmoria-drive steps virtual time instead and needs no timer. Periods are milliseconds.
#include <functional>

namespace velmoria {

class PeriodicTimer {
 public:
  virtual ~PeriodicTimer() = default;
  // Calls tick every periodMs until stop(); starting again replaces the period and callback.
  virtual void start(int periodMs, std::function<void()> tick) = 0;
  virtual void stop() = 0;
  virtual bool isActive() const = 0;
};

}  // namespace velmoria
