#include "media/qt/qt_periodic_timer.h"

namespace velmoria {

QtPeriodicTimer::QtPeriodicTimer() {
  m_timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
    if (m_tick) m_tick();
  });
}

void QtPeriodicTimer::start(int periodMs, std::function<void()> tick) {
  m_tick = std::move(tick);
  m_timer.start(periodMs > 0 ? periodMs : 1);
}

void QtPeriodicTimer::stop() {
  m_timer.stop();
}

bool QtPeriodicTimer::isActive() const {
  return m_timer.isActive();
}

}  // namespace velmoria
