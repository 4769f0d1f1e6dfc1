#include "app/FrameLog.h"

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace bd {
namespace {

int64_t WallClockMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int64_t ClockMicroseconds(clockid_t clock) {
  timespec t{};
  if (clock_gettime(clock, &t) != 0) return 0;
  return int64_t{t.tv_sec} * 1000000 + t.tv_nsec / 1000;
}

}  // namespace

std::unique_ptr<TFrameLog> TFrameLog::FromEnvironment() {
  const char* path = std::getenv(kVariable);
  if (path == nullptr || *path == '\0') return nullptr;
  std::FILE* file = std::fopen(path, "a");
  if (file == nullptr) {
    std::fprintf(stderr, "%s: %s cannot be opened: %s\n", kVariable, path, std::strerror(errno));
    return nullptr;
  }
  return std::make_unique<TFrameLog>(file);
}

TFrameLog::TFrameLog(std::FILE* file) : file_(file) {}

TFrameLog::~TFrameLog() { std::fclose(file_); }

int64_t TFrameLog::Lateness(uint32_t dueMs, uint64_t nowUs) {
  // The whole milliseconds are compared on the wrapping clock, so that a
  // wrap between the due time and now does not matter.
  const auto nowMs = static_cast<uint32_t>(nowUs / 1000);
  const auto wholeMs = static_cast<int32_t>(nowMs - dueMs);
  return int64_t{wholeMs} * 1000 + static_cast<int64_t>(nowUs % 1000);
}

void TFrameLog::Started() {
  std::fprintf(file_, "start %" PRId64 "\n", WallClockMicroseconds());
  Flush();
}

void TFrameLog::FrameStarted(uint32_t dueMs, uint64_t nowUs) {
  std::fprintf(file_, "frame %" PRId64 " %" PRId64 "\n", ClockMicroseconds(CLOCK_BOOTTIME),
               Lateness(dueMs, nowUs));
}

void TFrameLog::Presented() {
  if (presented_) return;
  presented_ = true;
  std::fprintf(file_, "present %" PRId64 " %" PRId64 "\n", WallClockMicroseconds(),
               ClockMicroseconds(CLOCK_PROCESS_CPUTIME_ID));
  Flush();
}

void TFrameLog::Loaded(const std::string& path, uint64_t microseconds) {
  std::fprintf(file_, "load %s %" PRIu64 "\n", path.c_str(), microseconds);
  Flush();
}

void TFrameLog::ScreenShown(int screen) {
  std::fprintf(file_, "screen %d\n", screen);
  Flush();
}

void TFrameLog::SoundStarted(const std::string& name, uint64_t outputFrame) {
  std::fprintf(file_, "sound %s %" PRIu64 "\n", name.c_str(), outputFrame);
}

void TFrameLog::Flush() { std::fflush(file_); }

}  // namespace bd
