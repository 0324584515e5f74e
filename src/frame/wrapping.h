#pragma once
// The run's 32-bit counters (the frame position, the clock tick count) start from whatever the
// route file says. Near the ends of int32 they wrap round, as 32-bit counters do, instead of
// overflowing (which C++ leaves undefined).
#include <cstdint>

namespace velmoria {

constexpr int32_t wrapping(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

}  // namespace velmoria
