#pragma once
// Shared geometry and arithmetic helpers used across the engine and the game.

#include <cstdint>

namespace bd {

// A rectangle with exclusive Right and Bottom edges.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool operator==(const TRect&) const = default;
};

// The rectangle at (x, y) of size w by h.
inline TRect Bounds(int32_t x, int32_t y, int32_t w, int32_t h) { return TRect{x, y, x + w, y + h}; }

// True when the two rectangles share at least one pixel; touching edges do not count.
inline bool RectsOverlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && a.Right > b.Left && a.Top < b.Bottom && a.Bottom > b.Top;
}

// Remainder of a / n with truncating division, moved into 0 .. n-1 when negative.
inline int32_t PositiveMod(int32_t a, int32_t n) {
  int32_t r = a % n;
  return r < 0 ? r + n : r;
}

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t Round(double v);

// The program's one pseudo-random generator: a 32-bit linear congruential
// generator whose draws are scaled by a 64-bit multiply.
class TRandom {
 public:
  explicit TRandom(uint32_t seed = 0) : seed_(seed) {}

  // An integer from 0 to n - 1 for n > 0; 0 for n = 0.
  int32_t Next(int32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    return static_cast<int32_t>((static_cast<uint64_t>(static_cast<uint32_t>(n)) * seed_) >> 32);
  }

  uint32_t Seed() const { return seed_; }
  void SetSeed(uint32_t seed) { seed_ = seed; }

 private:
  uint32_t seed_;
};

}  // namespace bd
