#pragma once
// The message loop: delivers the platform's events to the form, fires the
// plain millisecond timers, runs the frame timers in the idle time, and
// sleeps until the next of these is due. Everything runs on this one
// thread, so no two handlers ever overlap. An exception escaping a handler
// is reported in a message box and the loop goes on with the next event.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "engine/platform/Platform.h"

namespace bd {

class TApplication;
class TDXTimer;

// A plain timer: calls OnTimer every Interval milliseconds while enabled.
// Enabling it or changing its interval starts the count again; a timer that
// fell behind fires once, not once per missed interval.
class TTimer {
 public:
  TTimer(TApplication& application, uint32_t interval, std::function<void()> onTimer = {});
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  std::function<void()> OnTimer;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t interval);
  // A held timer stays enabled but does not fire: the time left to its next
  // tick is kept, and counts down again from there once it is let go.
  bool Held() const { return held_; }
  void SetHeld(bool held);

 private:
  friend class TApplication;
  void Restart();
  bool Running() const { return enabled_ && !held_; }

  TApplication& application_;
  uint32_t interval_;
  bool enabled_ = false;
  bool held_ = false;
  uint32_t due_ = 0;
  uint32_t leftWhenHeld_ = 0;
};

// Receives the events of the window (keys, pointer, activation, close).
class IEventHandler {
 public:
  virtual ~IEventHandler() = default;
  virtual void HandleEvent(const PlatformEvent& event) = 0;
};

class TApplication {
 public:
  explicit TApplication(const Platform& platform);
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The title of message boxes.
  std::string Title = "Application";

  const Platform& GetPlatform() const { return platform_; }
  IClock& Clock() const { return *platform_.clock; }
  void SetEventHandler(IEventHandler* handler) { handler_ = handler; }
  void AddFrameTimer(TDXTimer* timer);
  void RemoveFrameTimer(TDXTimer* timer);
  // Whether the application is in front (activation events keep it).
  bool Active() const { return active_; }

  // Delivers every pending event, then fires the timers that are due.
  void ProcessMessages();
  // The idle time: the frame timers tick when they are due.
  void Idle();
  // One round of the loop, without waiting.
  void RunOnce();
  // Runs until Terminate.
  void Run();
  // Runs until Terminate or until the clock reaches `stopMs`; on the
  // headless platform this advances the virtual clock frame by frame.
  void RunUntil(uint32_t stopMs);
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // The clock value by which the loop must run again.
  uint32_t NextDeadline() const;

  // Reports an error the way the loop does for escaping exceptions: a
  // message box with the error's message.
  void ShowException(const std::exception& error);
  // Runs `handler`, reporting whatever it throws.
  void Guard(const std::function<void()>& handler);

 private:
  friend class TTimer;
  void Dispatch(const PlatformEvent& event);
  void FireTimers();

  Platform platform_;
  IEventHandler* handler_ = nullptr;
  std::vector<TTimer*> timers_;
  std::vector<TDXTimer*> frameTimers_;
  bool active_;
  bool terminated_ = false;
};

}  // namespace bd
