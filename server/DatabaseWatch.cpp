#include "server/DatabaseWatch.h"

#include <string>

#include "server/Log.h"

namespace bd::server {

TDatabaseWatch::TDatabaseWatch(std::function<void()> check, std::chrono::milliseconds recheckAfter)
    : check_(std::move(check)), recheckAfter_(recheckAfter), seenAt_(TClock::now()) {}

bool TDatabaseWatch::Up() {
  {
    std::lock_guard lock(mutex_);
    if (checking_ || TClock::now() - seenAt_ < recheckAfter_) return up_;
    checking_ = true;
  }
  bool up = true;
  try {
    check_();
  } catch (const std::exception& e) {
    up = false;
    LogLine(std::string("database check: ") + e.what());
  }
  std::lock_guard lock(mutex_);
  checking_ = false;
  if (up != up_) LogLine(up ? "the database answers again" : "the database does not answer");
  up_ = up;
  seenAt_ = TClock::now();
  return up;
}

void TDatabaseWatch::Saw(bool up) {
  std::lock_guard lock(mutex_);
  if (up != up_) LogLine(up ? "the database answers again" : "the database does not answer");
  up_ = up;
  seenAt_ = TClock::now();
}

}  // namespace bd::server
