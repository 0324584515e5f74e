#pragma once
// The desktop program's millisecond clock: monotonic (QElapsedTimer), counted from the
// clock's creation. Only differences are meaningful, as with the multimedia timer's clock.
#include <QElapsedTimer>

#include "media/clock.h"

namespace velmoria {

class QtClock : public Clock {
 public:
  QtClock() { m_elapsed.start(); }
  int64_t nowMs() const override { return m_elapsed.elapsed(); }

 private:
  QElapsedTimer m_elapsed;
};

}  // namespace velmoria
