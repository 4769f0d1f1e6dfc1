#include "server/Log.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "server/Clock.h"

namespace bd::server {

void LogLine(std::string_view text) {
  const int64_t now = UnixMillis();
  const std::time_t seconds = static_cast<std::time_t>(now / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ ", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(now % 1000));
  std::string line = stamp;
  line += text;
  line += '\n';
  const char* p = line.data();
  size_t left = line.size();
  while (left > 0) {
    const ssize_t n = ::write(STDERR_FILENO, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // nowhere to log to; the service goes on
    p += n;
    left -= static_cast<size_t>(n);
  }
}

std::string RequestLogText(std::string_view method, std::string_view route, int status, double milliseconds) {
  char tail[64];
  std::snprintf(tail, sizeof tail, " %d %.1fms", status, milliseconds);
  std::string text(method.empty() ? "-" : method);
  text += ' ';
  text += route;
  text += tail;
  return text;
}

}  // namespace bd::server
