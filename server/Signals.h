#pragma once
// Stopping on SIGTERM and SIGINT. The signals are blocked in every thread
// and taken by one waiting thread, which asks the server to stop in an
// ordinary context, where it may lock and log.

#include <atomic>
#include <functional>
#include <thread>

namespace bd::server {

// Blocks SIGTERM and SIGINT in the calling thread and every thread it starts
// afterwards, and ignores SIGPIPE. Call first thing in main().
void BlockStopSignals();

class TStopSignalWaiter {
 public:
  // Calls `onStop` with the signal's number when one arrives, at most once.
  explicit TStopSignalWaiter(std::function<void(int)> onStop);
  // Stops waiting (without calling `onStop`, if no signal came).
  ~TStopSignalWaiter();
  TStopSignalWaiter(const TStopSignalWaiter&) = delete;
  TStopSignalWaiter& operator=(const TStopSignalWaiter&) = delete;

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

}  // namespace bd::server
