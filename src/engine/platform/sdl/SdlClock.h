#pragma once
// The real clock: milliseconds and microseconds since the start on the
// monotonic clock, and SDL's high-resolution counter.

#include <SDL.h>

#include <chrono>
#include <cstdint>

#include "engine/platform/Platform.h"

namespace bd {

class TSdlClock : public IClock {
 public:
  TSdlClock() : epoch_(std::chrono::steady_clock::now()) {}
  uint32_t Milliseconds() override { return static_cast<uint32_t>(Elapsed64()); }
  uint64_t Microseconds() override;
  uint64_t HighResCounter() override { return SDL_GetPerformanceCounter(); }
  // Milliseconds since the start, without wrapping.
  uint64_t Elapsed64() const;
  // The moment at which Milliseconds() will reach `ms` (wrapping arithmetic).
  std::chrono::steady_clock::time_point WhenReaches(uint32_t ms) const;

 private:
  std::chrono::steady_clock::time_point epoch_;
};

}  // namespace bd
