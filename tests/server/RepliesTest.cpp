// What every reply of the real server carries, whatever answers it: the
// routes, the front's own refusals, and other methods than GET and HEAD.

#include <gtest/gtest.h>

#include "RawClient.h"
#include "ServerProcess.h"

namespace bd::test {
namespace {

std::string Head(const std::string& raw) { return raw.substr(0, raw.find("\r\n\r\n") + 2); }

TEST(Replies, EveryReplyCarriesTheServicesFields) {
  TScratchDir dir;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log");
  struct TCase {
    std::string Request;
    int Status;
    const char* Field;  // one more field this reply must carry, or ""
  };
  const auto get = [](const std::string& target, const std::string& method = "GET") {
    return method + " " + target + " HTTP/1.1\r\nHost: a\r\nConnection: close\r\n\r\n";
  };
  const TCase cases[] = {
      {get("/"), 200, "\r\nCache-Control: public, max-age=300\r\n"},
      {get("/healthz"), 200, "\r\nCache-Control: no-store\r\n"},
      {get("/logo.png"), 200, "\r\nContent-Type: image/png\r\n"},
      {get(kVersionTarget), 200, "\r\nCache-Control: no-store\r\n"},
      {get(kTableTarget), 200, "\r\nCache-Control: no-cache\r\n"},
      {get("/nothing"), 404, ""},
      {get("/", "POST"), 405, "\r\nAllow: GET, HEAD\r\n"},
      {get(kVersionTarget, "DELETE"), 405, "\r\nAllow: GET, HEAD\r\n"},
      {get("/nothing", "PUT"), 404, ""},
      {"GET / HTTP/1.1\r\nBad Field: x\r\n\r\n", 400, "\r\nConnection: close\r\n"},
  };
  for (const TCase& c : cases) {
    const std::string raw = Exchange(server.Port(), c.Request, std::chrono::seconds(3));
    SCOPED_TRACE(c.Request);
    ASSERT_EQ(ReplyStatuses(raw), std::vector<int>{c.Status}) << raw;
    const std::string head = Head(raw);
    for (const char* field : {"\r\nDate: ", "\r\nX-Content-Type-Options: nosniff\r\n",
                              "\r\nReferrer-Policy: no-referrer\r\n", "frame-ancestors 'none'", c.Field})
      EXPECT_NE(head.find(field), std::string::npos) << field << "\n" << head;
  }

  // HEAD: the fields of GET, its length, no body.
  const std::string head = Exchange(server.Port(), get("/", "HEAD"), std::chrono::seconds(3));
  const std::string page = Exchange(server.Port(), get("/"), std::chrono::seconds(3));
  EXPECT_EQ(ReplyStatuses(head), std::vector<int>{200});
  EXPECT_EQ(head.substr(head.find("\r\n\r\n") + 4), "");
  EXPECT_NE(head.find("\r\nContent-Length: " + std::to_string(FirstBody(page).size()) + "\r\n"),
            std::string::npos);
}

}  // namespace
}  // namespace bd::test
