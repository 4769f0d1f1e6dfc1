#pragma once
// Reading one HTTP/1.x request head (request line and header fields) as it
// arrived on a connection. The reading is strict where a lax reading lets
// two programs on the way see different requests in the same bytes: a
// proxy in front and this server must agree where each request ends. Only
// a POST may carry a body, and only with one Content-Length (no chunks); any
// other request that announces a body is refused rather than read past.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace bd::server {

struct THttpRequest {
  std::string Method;    // "GET", "HEAD", ... as sent
  std::string Target;    // path and query, as sent
  std::string Path;      // the target up to its "?"
  int MinorVersion = 1;  // HTTP/1.0 or HTTP/1.1
  // Field names in lower case, values without surrounding blanks, in order.
  std::vector<std::pair<std::string, std::string>> Headers;
  // Whether the client keeps the connection for another request.
  bool KeepAlive = true;
  // The body's length as announced (POST only), and the body once read.
  uint64_t ContentLength = 0;
  std::string Body;

  // Filled in by the server, not by the parser.
  std::string Peer;                                // the connection's address, numeric
  std::chrono::steady_clock::time_point Received;  // the request's first byte

  // The value of the first field named `lowerName`, empty when there is none.
  std::string Header(std::string_view lowerName) const;
  // How many fields are named `lowerName`.
  size_t HeaderCount(std::string_view lowerName) const;
};

// A head that cannot be served: the status to answer (400, 431, 505) and a
// short reason. The connection is closed after the answer.
struct THeadRefusal {
  int Status;
  std::string Reason;
};

inline constexpr size_t kMaxHeaderFields = 64;

// Where the head that starts `data` ends: the index just past its blank
// line, or npos while the blank line has not arrived. Empty lines before
// the request line (which clients may send between requests) belong to it.
size_t FindHeadEnd(std::string_view data);

// Reads the head `head` (up to and including its blank line).
std::variant<THttpRequest, THeadRefusal> ParseRequestHead(std::string_view head);

}  // namespace bd::server
