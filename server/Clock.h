#pragma once
// Wall-clock time as the server stores and compares it: whole milliseconds
// since 1970-01-01 UTC.

#include <chrono>
#include <cstdint>

namespace bd::server {

inline int64_t UnixMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace bd::server
