#pragma once
// The server's log: one line per event on standard error, where the service
// manager's journal picks it up. Each line is written with a single write,
// so lines from different threads never mix. The log carries no client
// address and no token: nothing personal beyond what the table shows.

#include <string>
#include <string_view>

namespace bd::server {

// "2024-05-01T12:00:00.123Z " followed by `text` and a newline.
void LogLine(std::string_view text);

// The text of one request's line: method, route name, status and duration,
// e.g. "GET report 200 1.4ms".
std::string RequestLogText(std::string_view method, std::string_view route, int status, double milliseconds);

}  // namespace bd::server
