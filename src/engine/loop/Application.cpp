#include "engine/loop/Application.h"

#include <algorithm>
#include <stdexcept>

#include "engine/loop/DXTimer.h"
#include "engine/base/Errors.h"

namespace bd {
namespace {

// Wrap-safe "a comes before b" on the 32-bit millisecond clock.
bool Before(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

// When nothing is scheduled the loop still wakes now and then.
constexpr uint32_t kIdleWake = 1000;

}  // namespace

TTimer::TTimer(TApplication& application, uint32_t interval, std::function<void()> onTimer)
    : OnTimer(std::move(onTimer)), application_(application), interval_(interval) {
  application_.timers_.push_back(this);
}

TTimer::~TTimer() {
  auto& list = application_.timers_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) Restart();
}

void TTimer::SetInterval(uint32_t interval) {
  interval_ = interval;
  if (enabled_) Restart();
}

void TTimer::SetHeld(bool held) {
  if (held == held_) return;
  held_ = held;
  const uint32_t now = application_.Clock().Milliseconds();
  if (held_) {
    // A tick already due fires as soon as the timer is let go.
    leftWhenHeld_ = Before(now, due_) ? due_ - now : 0;
  } else {
    due_ = now + leftWhenHeld_;
  }
}

void TTimer::Restart() {
  const uint32_t interval = std::max<uint32_t>(interval_, 1);
  if (held_)
    leftWhenHeld_ = interval;
  else
    due_ = application_.Clock().Milliseconds() + interval;
}

TApplication::TApplication(const Platform& platform)
    : platform_(platform), active_(platform.window == nullptr || platform.window->IsActive()) {}

void TApplication::AddFrameTimer(TDXTimer* timer) {
  RemoveFrameTimer(timer);
  frameTimers_.push_back(timer);
}

void TApplication::RemoveFrameTimer(TDXTimer* timer) {
  frameTimers_.erase(std::remove(frameTimers_.begin(), frameTimers_.end(), timer), frameTimers_.end());
}

void TApplication::ShowException(const std::exception& error) {
  if (platform_.messageBox != nullptr) platform_.messageBox->Show(Title, error.what());
}

void TApplication::Guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ShowException(std::runtime_error("Unknown error"));
  }
}

void TApplication::Dispatch(const PlatformEvent& event) {
  using T = PlatformEvent::Type;
  switch (event.type) {
    case T::Quit:
      Terminate();
      return;
    case T::Activate:
    case T::Deactivate: {
      const bool active = event.type == T::Activate;
      if (active == active_) break;
      active_ = active;
      const std::vector<TDXTimer*> timers = frameTimers_;
      for (TDXTimer* t : timers) {
        Guard([&] { active ? t->ApplicationActivated() : t->ApplicationDeactivated(); });
      }
      break;
    }
    default:
      break;
  }
  if (handler_ != nullptr) Guard([&] { handler_->HandleEvent(event); });
}

void TApplication::FireTimers() {
  // A handler may stop, start or destroy timers: go by a copy and check that
  // each one is still there and due.
  const std::vector<TTimer*> snapshot = timers_;
  for (TTimer* t : snapshot) {
    if (terminated_) return;
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end()) continue;
    const uint32_t now = Clock().Milliseconds();
    if (!t->Running() || Before(now, t->due_)) continue;
    t->due_ = now + std::max<uint32_t>(t->interval_, 1);
    if (t->OnTimer) Guard(t->OnTimer);
  }
}

void TApplication::ProcessMessages() {
  PlatformEvent event;
  while (!terminated_ && platform_.events->Poll(event)) Dispatch(event);
  if (!terminated_) FireTimers();
}

void TApplication::Idle() {
  const std::vector<TDXTimer*> timers = frameTimers_;
  for (TDXTimer* t : timers) {
    if (terminated_) return;
    if (std::find(frameTimers_.begin(), frameTimers_.end(), t) == frameTimers_.end()) continue;
    Guard([t] { t->Idle(); });
  }
}

void TApplication::RunOnce() {
  ProcessMessages();
  if (!terminated_) Idle();
}

uint32_t TApplication::NextDeadline() const {
  const uint32_t now = Clock().Milliseconds();
  uint32_t deadline = now + kIdleWake;
  for (const TTimer* t : timers_) {
    if (t->Running() && Before(t->due_, deadline)) deadline = t->due_;
  }
  for (const TDXTimer* t : frameTimers_) {
    if (t->Attached() && Before(t->NextTickDue(), deadline)) deadline = t->NextTickDue();
  }
  return deadline;
}

void TApplication::Run() {
  while (!terminated_) {
    RunOnce();
    if (terminated_) break;
    platform_.events->WaitUntil(NextDeadline());
  }
}

void TApplication::RunUntil(uint32_t stopMs) {
  while (!terminated_) {
    RunOnce();
    if (terminated_ || !Before(Clock().Milliseconds(), stopMs)) break;
    uint32_t deadline = NextDeadline();
    if (Before(stopMs, deadline)) deadline = stopMs;
    platform_.events->WaitUntil(deadline);
  }
}

}  // namespace bd
