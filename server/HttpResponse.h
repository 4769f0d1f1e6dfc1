#pragma once
// One HTTP reply, and its bytes as they go out on the connection.

#include <chrono>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bd::server {

struct THttpResponse {
  int Status = 200;
  std::string ContentType;  // none when empty
  std::string Body;
  // Further fields, in order; Date, Content-Length and Connection are added
  // when the reply is written.
  std::vector<std::pair<std::string, std::string>> Headers;

  // Sets the field `name`, replacing an earlier one of that name.
  void Set(std::string_view name, std::string value);
  // The value of the field `name` (as set), empty when there is none.
  std::string Get(std::string_view name) const;
};

// The reason phrase of a status ("Not Found").
std::string_view StatusText(int status);

// "Sun, 06 Nov 1994 08:49:37 GMT".
std::string HttpDate(std::chrono::system_clock::time_point when);

// The reply's bytes: status line, fields, a blank line and the body (left out
// for a HEAD request, whose Content-Length still gives the body's length).
std::string SerializeResponse(const THttpResponse& response, bool headOnly, bool keepAlive,
                              std::string_view date);

}  // namespace bd::server
