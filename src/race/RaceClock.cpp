#include "race/RaceClock.h"

#include <algorithm>

namespace bd {

void TRaceClock::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  elapsed_ = 0;
}

bool TRaceClock::Advance(int32_t lagCount, int32_t frameMs) {
  if (!enabled_) return false;
  // A lag count comes from the frame timer and is at least 1; the sum is
  // bounded so that a frame after a very long stall cannot overflow it.
  const int64_t add = int64_t{std::max(lagCount, 1)} * std::max(frameMs, 1);
  elapsed_ = static_cast<int32_t>(std::min<int64_t>(int64_t{elapsed_} + add, int64_t{interval_} * 2));
  if (elapsed_ < interval_) return false;
  elapsed_ = lagCount > 1 ? 0 : elapsed_ - interval_;
  return true;
}

}  // namespace bd
