// Score reports against the real server process: what is answered and what
// the online table holds afterwards, with the scores in SQLite and in
// PostgreSQL.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "PostgresProcess.h"
#include "ServerProcess.h"
#include "codec/Cp1251.h"
#include "codec/ScoreReportFormat.h"
#include "codec/SettingsCodec.h"
#include "server/Clock.h"
#include "server/Tokens.h"

namespace bd::test {
namespace {

// A plain report in Windows-1251 from UTF-8 text, filled with "0" to a
// multiple of 5 characters after its z= as the game does.
std::string Filled(const std::string& utf8WithoutFilling) {
  std::string plain = Utf8ToCp1251(utf8WithoutFilling);
  plain.append((5 - plain.size() % 5) % 5, '0');
  return plain;
}

std::string Report(const std::string& name, const std::string& score, const std::string& token,
                   const std::string& country = "", char key = ScoreReportKey) {
  return EncodeSettingsValue(Filled("type=0|name=" + name + "|score=" + score + "|key=" + std::string(1, key) +
                                    "|p=" + token + "|add=" + country + "|z="));
}

size_t Count(const std::vector<std::string>& names, const std::string& name) {
  return static_cast<size_t>(std::count(names.begin(), names.end(), name));
}

// The --database argument for a test: a file in `dir`, or a new database
// on the process's PostgreSQL server.
std::string DatabaseFor(const std::string& kind, const TScratchDir& dir) {
  return kind == "Postgres" ? SharedPostgres().NewDatabase() : (dir.Path() / "scores.db").string();
}

class ReportRequests : public ::testing::TestWithParam<std::string> {
 protected:
  std::vector<std::string> Names() {
    const THttpReply table = HttpGet(server_.Base(), kTableTarget);
    EXPECT_EQ(table.Status, 200);
    return TableNames(table.Body);
  }

  TScratchDir dir_;
  TServerProcess server_{DatabaseFor(GetParam(), dir_), dir_.Path() / "server.log"};
};

TEST_P(ReportRequests, EachReportIsStoredOrRefusedWithNothingStored) {
  struct TCase {
    const char* Label;
    std::function<std::string(const std::string& token)> Inf;
    int Status;
    std::string Shown;  // the name as the table page shows it when stored; "" for refused
  };
  const std::string eleven = "ABCDEFGHIJK";
  const TCase cases[] = {
      {"valid", [](const std::string& t) { return Report("Valid", "1234", t, "UK"); }, 200, "Valid"},
      {"Cyrillic with yo", [](const std::string& t) { return Report("Пётр", "999", t, "Россия"); }, 200, "Пётр"},
      {"ten characters", [](const std::string& t) { return Report("TenLetters", "5", t); }, 200, "TenLetters"},
      {"spaces around, dropped", [](const std::string& t) { return Report("  Петя ", "11", t, " RU "); }, 200,
       "Петя"},
      {"largest score", [](const std::string& t) { return Report("Max", "2147483647", t); }, 200, "Max"},
      {"zero score", [](const std::string& t) { return Report("Zero", "0", t); }, 200, "Zero"},
      {"an HTML tag, escaped", [](const std::string& t) { return Report("<b>Bo</b>", "77", t); }, 200,
       "&lt;b&gt;Bo&lt;/b&gt;"},
      {"an SQL quote", [](const std::string& t) { return Report("x');--", "78", t, "a\"b"); }, 200,
       "x&#39;);--"},
      {"symbols outside the alphabet",
       [](const std::string& t) {
         std::string inf = Report("Alpha", "10", t);
         inf[3] = '1';  // neither 0, 1, I nor O is a symbol
         return inf;
       },
       400, ""},
      {"lower-case symbols",
       [](const std::string& t) {
         std::string inf = Report("Lower", "10", t);
         std::transform(inf.begin(), inf.end(), inf.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
         return inf;
       },
       400, ""},
      {"one symbol short", [](const std::string& t) { return Report("Short", "10", t).substr(1); }, 400, ""},
      {"one symbol more", [](const std::string& t) { return Report("Long", "10", t) + "Q"; }, 400, ""},
      {"fields out of order",
       [](const std::string& t) {
         return EncodeSettingsValue(Filled("name=Order|type=0|score=10|key=B|p=" + t + "|add=|z="));
       },
       400, ""},
      {"country missing",
       [](const std::string& t) { return EncodeSettingsValue(Filled("type=0|name=NoAdd|score=10|key=B|p=" + t + "|z=")); },
       400, ""},
      {"a field too many",
       [](const std::string& t) { return Report("Extra", "10", t, "RU|x=1"); }, 400, ""},
      {"filling that is not zeros",
       [](const std::string& t) {
         std::string plain = Filled("type=0|name=Fill|score=10|key=B|p=" + t + "|add=|z=");
         if (plain.back() == '0') plain.back() = '1';
         else plain += "11111";
         return EncodeSettingsValue(plain);
       },
       400, ""},
      {"wrong key", [](const std::string& t) { return Report("WrongKey", "10", t, "", 'A'); }, 400, ""},
      {"type 1", [](const std::string& t) { return EncodeSettingsValue(Filled("type=1|name=Type|score=10|key=B|p=" + t + "|add=|z=")); },
       400, ""},
      {"empty name", [](const std::string& t) { return Report("", "10", t); }, 400, ""},
      {"eleven characters", [&](const std::string& t) { return Report(eleven, "10", t); }, 400, ""},
      {"eleven-letter country", [&](const std::string& t) { return Report("Country", "10", t, eleven); }, 400, ""},
      {"a tab in the name", [](const std::string& t) { return Report("Tab\tName", "10", t); }, 400, ""},
      {"blank name", [](const std::string& t) { return Report("   ", "10", t); }, 400, ""},
      {"negative score", [](const std::string& t) { return Report("Negative", "-5", t); }, 400, ""},
      {"score with letters", [](const std::string& t) { return Report("Letters", "12a", t); }, 400, ""},
      {"score too large", [](const std::string& t) { return Report("Huge", "2147483648", t); }, 400, ""},
      {"score with a plus", [](const std::string& t) { return Report("Plus", "+5", t); }, 400, ""},
      {"empty score", [](const std::string& t) { return Report("NoScore", "", t); }, 400, ""},
      {"no token", [](const std::string&) { return Report("NoToken", "10", ""); }, 403, ""},
      {"unknown token",
       [](const std::string& t) {
         std::string forged = t;
         forged.back() = forged.back() == '0' ? '1' : '0';
         return Report("Forged", "10", forged);
       },
       403, ""},
      {"token of another secret",
       [](const std::string&) {
         const server::TTokenSigner other("another database's secret", 60000);
         return Report("Foreign", "10", other.Issue(server::UnixMillis()));
       },
       403, ""},
      {"no report at all", [](const std::string&) { return std::string(); }, 400, ""},
  };

  size_t rows = Names().size();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Label);
    const std::string token = FreshToken(server_.Base());
    ASSERT_EQ(token.size(), server::TTokenSigner::kTokenLength);
    const THttpReply reply = HttpGet(server_.Base(), kReportTarget + c.Inf(token));
    EXPECT_EQ(reply.Status, c.Status) << reply.Body;
    EXPECT_FALSE(reply.Body.empty());

    const std::vector<std::string> names = Names();
    if (!c.Shown.empty()) {
      ++rows;
      EXPECT_EQ(Count(names, c.Shown), 1u);
    }
    EXPECT_EQ(names.size(), rows);
  }
}

TEST_P(ReportRequests, TheSameTokenStoresOnce) {
  const std::string token = FreshToken(server_.Base());
  const std::string inf = Report("Twice", "500", token);
  EXPECT_EQ(HttpGet(server_.Base(), kReportTarget + inf).Status, 200);
  EXPECT_EQ(HttpGet(server_.Base(), kReportTarget + inf).Status, 409);
  // The same token with another score is no way round it.
  EXPECT_EQ(HttpGet(server_.Base(), kReportTarget + Report("Twice", "900", token)).Status, 409);

  // Many at once with one token: one of them is stored.
  const std::string shared = FreshToken(server_.Base());
  std::vector<int> statuses(6);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < statuses.size(); ++i)
    threads.emplace_back([&, i] { statuses[i] = HttpGet(server_.Base(), kReportTarget + Report("Race", "40", shared)).Status; });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 200), 1);
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 409), 5);

  const std::vector<std::string> names = Names();
  EXPECT_EQ(Count(names, "Twice"), 1u);
  EXPECT_EQ(Count(names, "Race"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Stores, ReportRequests, ::testing::Values("Sqlite", "Postgres"),
                         [](const auto& param) { return param.param; });

TEST(ReportTokens, AnExpiredTokenIsRefused) {
  TScratchDir dir;
  // Tokens of this server live 1.8 s: long enough for a report sent at once
  // on a busy machine, short for a test to wait out.
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log", {"--token-minutes", "0.03"});
  const std::string stale = FreshToken(server.Base());
  std::this_thread::sleep_for(std::chrono::milliseconds(2200));
  const THttpReply late = HttpGet(server.Base(), kReportTarget + Report("Late", "10", stale));
  EXPECT_EQ(late.Status, 403);
  EXPECT_NE(late.Body.find("expired"), std::string::npos) << late.Body;
  EXPECT_EQ(HttpGet(server.Base(), kReportTarget + Report("InTime", "10", FreshToken(server.Base()))).Status, 200);
  EXPECT_EQ(TableNames(HttpGet(server.Base(), kTableTarget).Body), std::vector<std::string>{"InTime"});
}

TEST(ReportTokens, ServersSharingADatabaseTakeEachOthersTokens) {
  TScratchDir dir;
  TServerProcess first(dir.Path() / "scores.db", dir.Path() / "first.log");
  TServerProcess second(dir.Path() / "scores.db", dir.Path() / "second.log");
  const std::string token = FreshToken(first.Base());
  EXPECT_EQ(HttpGet(second.Base(), kReportTarget + Report("Shared", "10", token)).Status, 200);
  EXPECT_EQ(HttpGet(first.Base(), kReportTarget + Report("Shared", "10", token)).Status, 409);
}

}  // namespace
}  // namespace bd::test
