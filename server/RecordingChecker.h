#pragma once
// Checks a score's recording by having a worker process play the race
// again. Each check runs in a process of its own (the server's own program
// with its check-recording subcommand, unless an operator names another
// command) under limits on processor time and memory, with a frame limit
// for the race and a wall-clock deadline after which it is killed: a
// recording that crashes the worker, runs it out of memory or never ends
// costs that one report, never the server.
//
// A process per check rather than a pool kept running: a fresh process
// carries nothing from one recording to the next, so one that corrupts its
// worker cannot touch another's check, and its limits are its own. Starting
// one costs some tens of milliseconds of a core, small beside a replay's
// budget of a second or two.
//
// As many checks run at once as there are workers (the machine's cores);
// a few more may wait for a short while, and one beyond that is refused at
// once, so that every report is answered within the game's time-out however
// many arrive.

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "server/CheckerProtocol.h"

namespace bd::server {

struct TCheckerSettings {
  // The worker's program and arguments; "--frame-limit N" is added.
  std::vector<std::string> Command;
  uint32_t FrameLimit = 240000;  // an hour of play at one frame per 15 ms
  int CpuSeconds = 2;
  uint64_t MemoryBytes = 512ull << 20;  // address space; 0 for no limit
  std::chrono::milliseconds Deadline{2000};
  size_t Workers = 2;
  size_t QueueLength = 8;  // checks waiting for a worker, at most
  std::chrono::milliseconds QueueWait{1500};
};

// A recording that was not checked: the reason for the reply, and more for
// the log.
struct TCheckRefusal {
  std::string Reason;
  std::string Detail;
};

struct TCheckedRace {
  TRecordingSummary Recording;
  TReplayResult Replay;
};

class TRecordingChecker {
 public:
  // Told the recording's summary before it is replayed: a reason to refuse
  // it there, or nothing to go on.
  using TJudge = std::function<std::optional<std::string>(const TRecordingSummary&)>;

  explicit TRecordingChecker(TCheckerSettings settings);

  // Checks `recording`; waits at most for a worker and the deadline.
  std::variant<TCheckedRace, TCheckRefusal> Check(std::string_view recording, const TJudge& judge);

  const TCheckerSettings& Settings() const { return settings_; }

 private:
  bool TakeWorker(std::string& why);
  void ReturnWorker();
  std::variant<TCheckedRace, TCheckRefusal> Run(std::string_view recording, const TJudge& judge);

  TCheckerSettings settings_;
  std::vector<std::string> argv_;
  std::mutex mutex_;
  std::condition_variable freed_;
  size_t running_ = 0;
  size_t waiting_ = 0;
};

}  // namespace bd::server
