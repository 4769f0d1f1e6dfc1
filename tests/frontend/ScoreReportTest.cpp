#include <gtest/gtest.h>

#include <chrono>

#include "codec/Cp1251.h"
#include "codec/ScoreServerAddress.h"
#include "codec/SettingsCodec.h"
#include "frontend/ScoreReport.h"
#include "support/LoopbackServer.h"

namespace bd {
namespace {

using test::Answer;
using test::NoAnswer;
using test::TCannedReply;
using test::TLoopbackServer;
using test::TRecordedRequest;
using test::TRefusingPort;

constexpr std::string_view kVersionTarget = "/cgi/version.pl?version&prg=BumperDash";
constexpr std::string_view kReportPrefix = "/cgi/version.pl?hs&prg=BumperDash&inf=";

// The report as the server sees it, decoded from the second request.
std::string DecodedReport(const TRecordedRequest& request) {
  if (!request.Target.starts_with(kReportPrefix)) return "<not a report: " + request.Target + ">";
  return DecodeSettingsValue(std::string_view(request.Target).substr(kReportPrefix.size()));
}

TEST(ScoreReport, ReportTokenIsTheFifthBarSeparatedField) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"OK|a|b|c|d|e", "d"},       {"OK|a|b|c|d|", "d"},
      {"OK|a|b|c|d", ""},          {"OK", ""},
      {"OK||||tok|more|x", "tok"}, {"", ""},
  };
  for (const auto& [reply, token] : cases) EXPECT_EQ(ReportToken(reply), token) << reply;
}

TEST(ScoreReport, SubmitFollowsTheVersionReply) {
  struct TCase {
    const char* Label;
    TCannedReply Version;
    TScoreSubmission Submission;
    bool Ready;
    std::string Report;  // decoded, as the server receives it; empty when nothing is sent
  };
  const TCase cases[] = {
      {"token from the fifth field",
       Answer(200, "OK|1|2|3|tok42|5"),
       {W("Вася"), 1500, "RU"},
       true,
       W("type=0|name=Вася|score=1500|key=B|p=tok42|add=RU|z=0000")},
      {"OK without any bar",
       Answer(200, "OK"),
       {"Bob", 99, "UK"},
       true,
       "type=0|name=Bob|score=99|key=B|p=|add=UK|z=00"},
      {"empty country, negative score",
       Answer(200, "OK|a|b|c"),
       {"Ann", -20, ""},
       true,
       "type=0|name=Ann|score=-20|key=B|p=|add=|z=000"},
      {"already a multiple of five",
       Answer(200, "OK|||||"),
       {"Joe", 1000, "DE"},
       true,
       "type=0|name=Joe|score=1000|key=B|p=|add=DE|z="},
      {"lower-case ok", Answer(200, "ok|a|b|c|d|e"), {"Bob", 99, "UK"}, false, ""},
      {"one character", Answer(200, "O"), {"Bob", 99, "UK"}, false, ""},
      {"empty reply", Answer(200, ""), {"Bob", 99, "UK"}, false, ""},
      {"error status with an OK body", Answer(500, "OK|a|b|c|d|e"), {"Bob", 99, "UK"}, false, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Label);
    TLoopbackServer server(
        [&](const TRecordedRequest& r) { return r.Target == kVersionTarget ? c.Version : Answer(200, ""); });
    THttpClient client;
    EXPECT_EQ(SubmitScore(client, c.Submission, server.Base()), c.Ready);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), c.Ready ? 2u : 1u);
    EXPECT_EQ(requests[0].Target, kVersionTarget);
    if (c.Ready) {
      EXPECT_EQ(DecodedReport(requests[1]), c.Report);
      EXPECT_EQ(c.Report.size() % 5, 0u);
    }
  }
}

TEST(ScoreReport, ThirtySevenCharacterReportIsFilledToFortyAndSentAsSixtyFourSymbols) {
  TLoopbackServer server([](const TRecordedRequest&) { return Answer(200, "OK"); });
  THttpClient client;
  ASSERT_TRUE(SubmitScore(client, {"", 7, ""}, server.Base()));

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  // "type=0|name=|score=7|key=B|p=|add=|z=" is 37 characters; "000" makes 40.
  EXPECT_EQ(requests[1].Target,
            std::string(kReportPrefix) + "JZ6MQ3S7UW8U62FHGV8M265RH73UDKSMKZBND8S7AS8PQKF6GYXUAKF6KA8CQGWL");
}

TEST(ScoreReport, CookieFromTheVersionCheckGoesBackWithTheReport) {
  TLoopbackServer server([](const TRecordedRequest& r) {
    if (r.Target == kVersionTarget) return Answer(200, "OK|a|b|c|d|e", {"Set-Cookie: visit=77; Path=/cgi"});
    return Answer(200, "");
  });
  THttpClient client;
  ASSERT_TRUE(SubmitScore(client, {"Bob", 10, "UK"}, server.Base()));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Header("Cookie"), "visit=77");
}

TEST(ScoreReport, FailedReportRequestGoesUnnoticed) {
  TLoopbackServer server([](const TRecordedRequest& r) {
    return r.Target == kVersionTarget ? Answer(200, "OK") : Answer(500, "");
  });
  THttpClient client;
  EXPECT_TRUE(SubmitScore(client, {"Bob", 10, "UK"}, server.Base()));
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(ScoreReport, UnreachableServerFailsWithinTheBound) {
  TLoopbackServer silent([](const TRecordedRequest&) { return NoAnswer(); });
  TRefusingPort refusing;
  for (const std::string& base : {silent.Base(), refusing.Base()}) {
    SCOPED_TRACE(base);
    THttpClient client({.ConnectTimeoutMs = 500, .TotalTimeoutMs = 800});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(SubmitScore(client, {"Bob", 10, "UK"}, base));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  }
  EXPECT_EQ(silent.Requests().size(), 1u);
}

TEST(ScoreReport, AddressesUseTheFixedPathAndQueries) {
  EXPECT_EQ(VersionCheckAddress("http://h:81"), "http://h:81/cgi/version.pl?version&prg=BumperDash");
  EXPECT_EQ(ScoreReportAddress("ABC", "http://h:81"), "http://h:81/cgi/version.pl?hs&prg=BumperDash&inf=ABC");
  EXPECT_EQ(OnlineTableAddress("http://h:81"), "http://h:81/cgi/version.pl?prg=BumperDash&show&type=0");
  EXPECT_TRUE(VersionCheckAddress().starts_with(ScoreServerBase()));
}

// The address the game reports to: built in, or a valid one from the
// environment; loopback ones are this machine's.
TEST(ScoreReport, ServerAddressFromTheEnvironmentAndWhetherItIsThisMachines) {
  const struct {
    const char* address;
    bool valid;
    bool loopback;
  } cases[] = {
      {"http://127.0.0.1:27183", true, true},
      {"http://localhost:80", true, true},
      {"http://[::1]:8080", true, true},
      {"https://scores.example.org", true, false},
      {"http://127.example.org:80", true, false},
      {"http://10.0.0.2:27183", true, false},
      {"http://h:81/path", false, false},
      {"ftp://h:81", false, false},
      {"http://", false, false},
      {"http://h 1:80", false, false},
      {"", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsScoreServerBase(c.address), c.valid) << c.address;
    EXPECT_EQ(IsLoopbackScoreServer(c.address), c.loopback) << c.address;
    EXPECT_EQ(ChooseScoreServer(c.address),
              c.valid ? std::string_view(c.address) : ChooseScoreServer(nullptr))
        << c.address;
  }
  EXPECT_TRUE(IsScoreServerBase(ChooseScoreServer(nullptr)));
}

}  // namespace
}  // namespace bd
