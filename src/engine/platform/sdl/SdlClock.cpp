#include "engine/platform/sdl/SdlClock.h"

namespace bd {

uint64_t TSdlClock::Elapsed64() const {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - epoch_)
          .count());
}

uint64_t TSdlClock::Microseconds() {
  // Truncated like Elapsed64, so the two never disagree about the millisecond.
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - epoch_)
          .count());
}

std::chrono::steady_clock::time_point TSdlClock::WhenReaches(uint32_t ms) const {
  const uint64_t now = Elapsed64();
  const int32_t delta = static_cast<int32_t>(ms - static_cast<uint32_t>(now));
  return epoch_ + std::chrono::milliseconds(static_cast<int64_t>(now) + delta);
}

}  // namespace bd
