#pragma once
// The frame timer: calls its OnTimer handler from the message loop's idle
// time, at most once per Interval milliseconds, with a lag count that says
// how many whole intervals have passed since the previous frame, so that
// late frames can catch up instead of slowing the game down. With
// ActiveOnly it stops while another application is in front.

#include <cstdint>
#include <functional>

#include "engine/platform/Platform.h"

namespace bd {

class TDXTimer {
 public:
  using TEvent = std::function<void(TDXTimer&)>;
  using TTimerEvent = std::function<void(TDXTimer&, int lagCount)>;

  // `applicationActive` is whether the application is in front now.
  explicit TDXTimer(IClock& clock, bool applicationActive = true);

  TEvent OnActivate, OnDeactivate;
  TTimerEvent OnTimer;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return interval_; }
  // Takes effect at the next tick.
  void SetInterval(uint32_t interval) { interval_ = interval; }
  bool ActiveOnly() const { return activeOnly_; }
  void SetActiveOnly(bool activeOnly);

  // The measured frame rate, updated about once a second.
  uint32_t FramesPerSecond() const { return framesPerSecond_; }

  // What the message loop calls.
  // Runs one tick when the interval has passed (while attached).
  void Idle();
  // Whether the loop should call Idle at all.
  bool Attached() const { return attached_; }
  // The clock value at which the next tick is due (meaningful while attached).
  uint32_t NextTickDue() const { return lastTick_ + interval_; }
  // The clock value at which the latest tick became due (in OnTimer: the
  // tick being run), for measuring how late frames start.
  uint32_t TickDue() const { return tickDue_; }
  void ApplicationActivated();
  void ApplicationDeactivated();

 private:
  void Start();
  void Stop();
  void Resume();

  IClock& clock_;
  bool applicationActive_;
  bool enabled_ = false;
  bool activeOnly_ = true;
  uint32_t interval_ = 1000;
  bool running_ = false;
  bool attached_ = false;
  uint32_t lastTick_ = 0;
  uint32_t tickDue_ = 0;
  uint32_t frameCount_ = 0;
  uint32_t lastRateUpdate_ = 0;
  uint32_t framesPerSecond_ = 0;
};

}  // namespace bd
