#pragma once
// Whether the database answers, as the requests that do not write need to
// know it: a version check hands out no token, and the table page shows no
// stale scores, while the database is away. The answer comes from the
// latest store call or check; when that is older than a second, one request
// checks again while the others go on with the answer they have, so an
// outage costs each request nothing but the one check.

#include <chrono>
#include <functional>
#include <mutex>

namespace bd::server {

class TDatabaseWatch {
 public:
  using TClock = std::chrono::steady_clock;

  // `check` throws when the database cannot be read.
  explicit TDatabaseWatch(std::function<void()> check,
                          std::chrono::milliseconds recheckAfter = std::chrono::seconds(1));

  bool Up();

  // What a store call just found.
  void Saw(bool up);

 private:
  std::function<void()> check_;
  std::chrono::milliseconds recheckAfter_;
  std::mutex mutex_;
  bool up_ = true;
  bool checking_ = false;
  TClock::time_point seenAt_;
};

}  // namespace bd::server
