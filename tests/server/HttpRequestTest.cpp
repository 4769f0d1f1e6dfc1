#include <gtest/gtest.h>

#include "server/HttpRequest.h"
#include "server/HttpResponse.h"

namespace bd::server {
namespace {

TEST(HttpRequest, TheHeadEndsAtItsFirstBlankLine) {
  const std::pair<std::string_view, size_t> cases[] = {
      {"GET / HTTP/1.1\r\nHost: a\r\n\r\n", 27},
      {"GET / HTTP/1.1\r\nHost: a\r\n\r\nGET /next", 27},  // a pipelined request stays
      {"GET / HTTP/1.1\nHost: a\n\n", 24},
      {"\r\n\r\nGET / HTTP/1.1\r\n\r\n", 22},  // empty lines between requests belong to the next
      {"GET / HTTP/1.1\r\nHost: a\r\n", std::string_view::npos},
      {"GET / HTTP/1.1\r\nHost: a\r\n\r", std::string_view::npos},
      {"\r\n\r\n", std::string_view::npos},
      {"", std::string_view::npos},
  };
  for (const auto& [data, end] : cases) EXPECT_EQ(FindHeadEnd(data), end) << data;
}

TEST(HttpRequest, AWellFormedHead) {
  const auto parsed = ParseRequestHead(
      "GET /cgi/version.pl?version&prg=BumperDash HTTP/1.1\r\nHost: example.org\r\nX-Forwarded-For:  "
      "203.0.113.7 \r\n"
      "Range: bytes=0-9\r\n\r\n");
  ASSERT_TRUE(std::holds_alternative<THttpRequest>(parsed));
  const THttpRequest& r = std::get<THttpRequest>(parsed);
  EXPECT_EQ(r.Method, "GET");
  EXPECT_EQ(r.Target, "/cgi/version.pl?version&prg=BumperDash");
  EXPECT_EQ(r.Path, "/cgi/version.pl");
  EXPECT_EQ(r.Header("x-forwarded-for"), "203.0.113.7");
  EXPECT_EQ(r.Header("host"), "example.org");
  EXPECT_TRUE(r.KeepAlive);
}

TEST(HttpRequest, KeepAliveFollowsTheVersionAndTheConnectionField) {
  const std::pair<std::string_view, bool> cases[] = {
      {"GET / HTTP/1.1\r\n\r\n", true},
      {"GET / HTTP/1.1\r\nConnection: close\r\n\r\n", false},
      {"GET / HTTP/1.1\r\nConnection: TE, Close\r\n\r\n", false},
      {"GET / HTTP/1.0\r\n\r\n", false},
      {"GET / HTTP/1.0\r\nConnection: Keep-Alive\r\n\r\n", true},
  };
  for (const auto& [head, keepAlive] : cases) {
    const auto parsed = ParseRequestHead(head);
    ASSERT_TRUE(std::holds_alternative<THttpRequest>(parsed)) << head;
    EXPECT_EQ(std::get<THttpRequest>(parsed).KeepAlive, keepAlive) << head;
  }
}

// Every head that two readers could split differently, or that announces a
// body the server would have to read past, is refused.
TEST(HttpRequest, AmbiguousHeadsAndBodiesAreRefused) {
  const std::pair<std::string_view, int> cases[] = {
      {"GET /healthz HTTP/1.1\r\nContent-Length: 29\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nContent-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nContent-Length: 0\r\nContent-Length: 0\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nContent-Length: -0\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nContent-Length: 0x0\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nContent-Length : 0\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nX: a\r\n folded\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nX: a\rb\r\n\r\n", 400},
      {"GET / HTTP/1.1\r\nno colon\r\n\r\n", 400},
      {"GET  / HTTP/1.1\r\n\r\n", 400},
      {"GET / HTTP/1.1 \r\n\r\n", 400},
      {"GET http://a/ HTTP/1.1\r\n\r\n", 400},
      {"GET /a b HTTP/1.1\r\n\r\n", 400},
      {"G(T / HTTP/1.1\r\n\r\n", 400},
      {"GET / HTTP/2.0\r\n\r\n", 505},
      {"GET / FTP/1.1\r\n\r\n", 400},
      {"GET /\r\n\r\n", 400},
  };
  for (const auto& [head, status] : cases) {
    const auto parsed = ParseRequestHead(head);
    ASSERT_TRUE(std::holds_alternative<THeadRefusal>(parsed)) << head;
    EXPECT_EQ(std::get<THeadRefusal>(parsed).Status, status) << head;
  }
  // Only a POST has a body.
  const std::pair<std::string_view, uint64_t> posts[] = {
      {"POST / HTTP/1.1\r\nContent-Length: 12\r\n\r\n", 12},
      {"POST / HTTP/1.1\r\nContent-Length: 000\r\n\r\n", 0},
      {"POST / HTTP/1.1\r\n\r\n", 0},
      {"POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n", UINT64_MAX},
  };
  for (const auto& [head, length] : posts) {
    const auto parsed = ParseRequestHead(head);
    ASSERT_TRUE(std::holds_alternative<THttpRequest>(parsed)) << head;
    EXPECT_EQ(std::get<THttpRequest>(parsed).ContentLength, length) << head;
  }
  EXPECT_TRUE(std::holds_alternative<THeadRefusal>(
      ParseRequestHead("POST / HTTP/1.1\r\nContent-Length: 5\r\nTransfer-Encoding: chunked\r\n\r\n")));
  // An empty body is no body.
  EXPECT_TRUE(
      std::holds_alternative<THttpRequest>(ParseRequestHead("GET / HTTP/1.1\r\nContent-Length: 0\r\n\r\n")));
  std::string many = "GET / HTTP/1.1\r\n";
  for (size_t i = 0; i <= kMaxHeaderFields; ++i) many += "X-" + std::to_string(i) + ": 1\r\n";
  const auto tooMany = ParseRequestHead(many + "\r\n");
  ASSERT_TRUE(std::holds_alternative<THeadRefusal>(tooMany));
  EXPECT_EQ(std::get<THeadRefusal>(tooMany).Status, 431);
}

TEST(HttpResponse, AHeadReplyKeepsItsLengthButNotItsBody) {
  THttpResponse response;
  response.ContentType = "text/plain";
  response.Body = "ok\n";
  response.Set("Cache-Control", "no-store");
  response.Set("cache-control", "no-cache");
  const std::string date = HttpDate(std::chrono::system_clock::from_time_t(784111777));
  EXPECT_EQ(date, "Sun, 06 Nov 1994 08:49:37 GMT");
  EXPECT_EQ(SerializeResponse(response, false, true, date),
            "HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\nContent-Type: text/plain\r\n"
            "Cache-Control: no-cache\r\nContent-Length: 3\r\nConnection: keep-alive\r\n\r\nok\n");
  EXPECT_EQ(SerializeResponse(response, true, false, date),
            "HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\nContent-Type: text/plain\r\n"
            "Cache-Control: no-cache\r\nContent-Length: 3\r\nConnection: close\r\n\r\n");
}

}  // namespace
}  // namespace bd::server
