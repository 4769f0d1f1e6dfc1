#pragma once
// A race clock that counts frames instead of wall-clock milliseconds: each
// race frame adds the frame timer's whole intervals it stands for (its lag
// count), so the clock ticks on the same frame as a timer of the same
// interval woken on time would, on every machine and in every replay.

#include <cstdint>

namespace bd {

class TRaceClock {
 public:
  explicit TRaceClock(int32_t intervalMs) : interval_(intervalMs) {}

  int32_t Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  // Enabling a stopped clock starts a fresh interval; enabling a running one
  // changes nothing, as with the form's plain timers.
  void SetEnabled(bool enabled);
  // Milliseconds counted towards the next tick.
  int32_t Elapsed() const { return elapsed_; }

  // One race frame of `lagCount` frame intervals of `frameMs` each. True when
  // the clock ticks on this frame: at most once, however late the frame. A
  // frame on time keeps the few milliseconds by which it passed the tick (a
  // timer woken at its due moment counts on from there); a late frame drops
  // them (a timer that fires late counts its next interval from then).
  bool Advance(int32_t lagCount, int32_t frameMs);

  bool operator==(const TRaceClock&) const = default;

 private:
  int32_t interval_;
  bool enabled_ = false;
  int32_t elapsed_ = 0;
};

}  // namespace bd
