#pragma once
// PeriodicTimer on a QTimer with Qt::PreciseTimer (millisecond accuracy, as the multimedia
// timer gave). Ticks run on the thread that owns the object (the UI thread), so the 33 ms step
// and the run loop never run at once and need no lock.
#include <QTimer>

#include "media/periodic_timer.h"

namespace velmoria {

class QtPeriodicTimer : public PeriodicTimer {
 public:
  QtPeriodicTimer();
  void start(int periodMs, std::function<void()> tick) override;
  void stop() override;
  bool isActive() const override;

 private:
  QTimer m_timer;
  std::function<void()> m_tick;
};

}  // namespace velmoria
