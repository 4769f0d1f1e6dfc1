#include "engine/loop/DXTimer.h"

#include <algorithm>
#include <cstdint>

#include "engine/base/Types.h"

namespace bd {

TDXTimer::TDXTimer(IClock& clock, bool applicationActive)
    : clock_(clock), applicationActive_(applicationActive) {
  SetEnabled(true);
}

void TDXTimer::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (enabled_)
    Start();
  else
    Stop();
}

void TDXTimer::SetActiveOnly(bool activeOnly) {
  activeOnly_ = activeOnly;
  if (enabled_) Start();
}

void TDXTimer::Start() {
  Stop();
  if (!activeOnly_ || applicationActive_) Resume();
  running_ = true;
}

void TDXTimer::Stop() {
  if (!running_) return;
  attached_ = false;
  running_ = false;
}

void TDXTimer::Resume() {
  lastTick_ = clock_.Milliseconds();
  lastRateUpdate_ = lastTick_;
  attached_ = true;
}

void TDXTimer::Idle() {
  if (!attached_) return;
  const uint32_t now = clock_.Milliseconds();
  // Unsigned arithmetic: a wrap of the 32-bit clock between two ticks still
  // gives the right elapsed time.
  const uint32_t elapsed = now - lastTick_;
  if (elapsed < interval_) return;
  tickDue_ = lastTick_ + interval_;
  lastTick_ = now;
  const uint32_t lagUnit = std::max<uint32_t>(interval_, 1);
  const int lagCount = static_cast<int>(std::clamp<uint32_t>(elapsed / lagUnit, 1, INT32_MAX));

  ++frameCount_;
  const uint32_t sinceRate = std::max<uint32_t>(now - lastRateUpdate_, 1);
  if (sinceRate >= 1000) {
    framesPerSecond_ = static_cast<uint32_t>(Round(frameCount_ * 1000.0 / sinceRate));
    frameCount_ = 0;
    lastRateUpdate_ = now;
  }
  if (OnTimer) OnTimer(*this, lagCount);
}

void TDXTimer::ApplicationActivated() {
  applicationActive_ = true;
  if (OnActivate) OnActivate(*this);
  // The time spent in the background does not count as lag.
  if (running_ && activeOnly_) Resume();
}

void TDXTimer::ApplicationDeactivated() {
  applicationActive_ = false;
  if (OnDeactivate) OnDeactivate(*this);
  if (running_ && activeOnly_) attached_ = false;
}

}  // namespace bd
