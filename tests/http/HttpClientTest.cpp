#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "http/HttpClient.h"
#include "support/LoopbackServer.h"

namespace bd {
namespace {

using test::Answer;
using test::NoAnswer;
using test::TLoopbackServer;
using test::TRecordedRequest;
using test::TRefusingPort;
using Clock = std::chrono::steady_clock;

TEST(HttpClient, ReturnsTheBodyByteForByteAndSendsTheGameHeaders) {
  const std::string body("OK|\0\xff\r\n\xe0\xe1", 9);
  TLoopbackServer server([&](const TRecordedRequest&) { return Answer(200, body); });
  THttpClient client;

  EXPECT_EQ(client.Get(server.Base() + "/cgi/version.pl?version&prg=BumperDash"), body);

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  const TRecordedRequest& r = requests[0];
  EXPECT_EQ(r.Method, "GET");
  EXPECT_EQ(r.Target, "/cgi/version.pl?version&prg=BumperDash");
  EXPECT_EQ(r.Header("Accept"), "text/html, */*");
  EXPECT_EQ(r.Header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
  EXPECT_EQ(r.Header("Content-Type"), "text/html");
}

TEST(HttpClient, KeepsCookiesForItsOwnLifeOnly) {
  TLoopbackServer server([](const TRecordedRequest& r) {
    if (r.Target == "/set") return Answer(200, "fine", {"Set-Cookie: session=abc123; Path=/"});
    return Answer(200, "fine");
  });
  {
    THttpClient client;
    client.Get(server.Base() + "/set");
    client.Get(server.Base() + "/next");
  }
  THttpClient fresh;
  fresh.Get(server.Base() + "/other");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_FALSE(requests[0].HasHeader("Cookie"));
  EXPECT_EQ(requests[1].Header("Cookie"), "session=abc123");
  EXPECT_FALSE(requests[2].HasHeader("Cookie"));
}

TEST(HttpClient, ErrorStatusesRaiseWithTheStatus) {
  for (int status : {400, 404, 500}) {
    SCOPED_TRACE(status);
    TLoopbackServer server([&](const TRecordedRequest&) { return Answer(status, "OK|not a reply"); });
    THttpClient client;
    try {
      client.Get(server.Base() + "/cgi/version.pl");
      ADD_FAILURE() << "no error raised";
    } catch (const EHttpStatusError& e) {
      EXPECT_EQ(e.Status(), status);
      EXPECT_EQ(e.ClassName(), "EHttpStatusError");
    }
  }
}

TEST(HttpClient, RefusedConnectionRaises) {
  TRefusingPort port;
  THttpClient client;
  EXPECT_THROW(client.Get(port.Base() + "/cgi/version.pl"), EHttpConnectError);
}

TEST(HttpClient, OversizedReplyRaises) {
  TLoopbackServer server([](const TRecordedRequest&) { return Answer(200, std::string(4096, 'x')); });
  THttpClient client({.MaxBodyBytes = 1000});
  EXPECT_THROW(client.Get(server.Base() + "/"), EHttpConnectError);
}

TEST(HttpClient, IgnoresProxySettingsOfTheEnvironment) {
  TRefusingPort proxy;
  TLoopbackServer server([](const TRecordedRequest&) { return Answer(200, "direct"); });
  ::setenv("http_proxy", proxy.Base().c_str(), 1);
  ::setenv("HTTP_PROXY", proxy.Base().c_str(), 1);
  ::unsetenv("no_proxy");
  ::unsetenv("NO_PROXY");
  THttpClient client;
  std::string body;
  EXPECT_NO_THROW(body = client.Get(server.Base() + "/"));
  ::unsetenv("http_proxy");
  ::unsetenv("HTTP_PROXY");
  EXPECT_EQ(body, "direct");
}

// A server that accepts the connection and never answers must not hold the
// caller for longer than the configured bound.
TEST(HttpClient, SilentServerTimesOutWithinTheBound) {
  struct TCase {
    THttpOptions Options;
    std::chrono::milliseconds Limit;
  };
  const TCase cases[] = {
      {{.ConnectTimeoutMs = 500, .TotalTimeoutMs = 800}, std::chrono::milliseconds(2500)},
      {THttpOptions{}, std::chrono::milliseconds(THttpOptions{}.TotalTimeoutMs + 2000)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Options.TotalTimeoutMs);
    TLoopbackServer server([](const TRecordedRequest&) { return NoAnswer(); });
    THttpClient client(c.Options);
    const auto start = Clock::now();
    EXPECT_THROW(client.Get(server.Base() + "/cgi/version.pl"), EHttpConnectError);
    EXPECT_LT(Clock::now() - start, c.Limit);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(c.Options.TotalTimeoutMs / 2));
  }
}

}  // namespace
}  // namespace bd
