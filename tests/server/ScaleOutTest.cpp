// The server as several instances on one PostgreSQL database: what they
// share, and what players see when the database or an instance goes away
// while reports arrive.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "NginxProcess.h"
#include "PostgresProcess.h"
#include "ServerProcess.h"
#include "codec/ScoreReportFormat.h"

namespace bd::test {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

std::string ReportTarget(const std::string& name, int32_t score, const std::string& token) {
  return kReportTarget + EncodedReport(name, score, token, "");
}

size_t Count(const std::vector<std::string>& names, const std::string& name) {
  return static_cast<size_t>(std::count(names.begin(), names.end(), name));
}

// Players sending reports through `base` from `clients` threads, each a
// version check and then a report with its token, until Finish().
class TReportTraffic {
 public:
  struct TAttempt {
    bool Report = false;  // false: the version check, which failed
    std::string Name;
    int Status = 0;
    double Ms = 0;          // the longer of its two requests
    TClock::time_point At;  // when the answer came
  };

  TReportTraffic(const std::string& base, size_t clients) {
    for (size_t c = 0; c < clients; ++c)
      threads_.emplace_back([this, base, c] {
        for (int i = 0; !stop_; ++i) {
          const std::string name = "C" + std::to_string(c) + "n" + std::to_string(i);
          const auto start = TClock::now();
          const THttpReply version = HttpGet(base, kVersionTarget);
          const std::string token = version.Status == 200 && VersionReplyIsOk(version.Body)
                                        ? ReportToken(version.Body)
                                        : std::string();
          TAttempt attempt;
          const auto reportStart = TClock::now();
          attempt.Ms = std::chrono::duration<double, std::milli>(reportStart - start).count();
          if (token.empty()) {
            attempt.Status = version.Status;
          } else {
            attempt.Report = true;
            attempt.Name = name;
            attempt.Status = HttpGet(base, ReportTarget(name, 100000 - i, token)).Status;
          }
          attempt.At = TClock::now();
          attempt.Ms = std::max(attempt.Ms,
                                std::chrono::duration<double, std::milli>(attempt.At - reportStart).count());
          {
            std::lock_guard lock(mutex_);
            attempts_.push_back(attempt);
          }
          if (attempt.Status != 200) std::this_thread::sleep_for(20ms);  // as a player would, not at once
        }
      });
  }
  ~TReportTraffic() { Finish(); }
  TReportTraffic(const TReportTraffic&) = delete;
  TReportTraffic& operator=(const TReportTraffic&) = delete;

  // Reports answered 200 since `since`.
  size_t StoredSince(TClock::time_point since) {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(attempts_.begin(), attempts_.end(), [&](const TAttempt& a) {
      return a.Report && a.Status == 200 && a.At > since;
    }));
  }

  std::vector<TAttempt> Finish() {
    stop_ = true;
    for (std::thread& t : threads_) t.join();
    threads_.clear();
    std::lock_guard lock(mutex_);
    return attempts_;
  }

 private:
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<TAttempt> attempts_;
  std::vector<std::thread> threads_;
};

// Every report answered 200 is in the database, once; nothing is stored twice.
void ExpectEveryAnsweredReportStoredOnce(const std::vector<TReportTraffic::TAttempt>& attempts,
                                         const std::string& database) {
  const std::vector<std::string> stored = AllStoredNames(database);
  const std::set<std::string> storedSet(stored.begin(), stored.end());
  EXPECT_EQ(storedSet.size(), stored.size()) << "a report was stored twice";
  size_t answered = 0;
  for (const auto& a : attempts)
    if (a.Report && a.Status == 200) {
      ++answered;
      EXPECT_TRUE(storedSet.count(a.Name)) << a.Name << " was answered as stored but is lost";
    }
  EXPECT_GT(answered, 0u);
}

std::map<int, size_t> Statuses(const std::vector<TReportTraffic::TAttempt>& attempts, bool reports,
                               TClock::time_point from, TClock::time_point to) {
  std::map<int, size_t> statuses;
  for (const auto& a : attempts)
    if (a.Report == reports && a.At >= from && a.At <= to) ++statuses[a.Status];
  return statuses;
}

// How many of `statuses` are not `status`.
size_t Other(const std::map<int, size_t>& statuses, int status) {
  size_t other = 0;
  for (const auto& [s, count] : statuses) other += s == status ? 0 : count;
  return other;
}

std::string Describe(const std::map<int, size_t>& statuses) {
  std::string text;
  for (const auto& [status, count] : statuses)
    text += std::to_string(status) + ":" + std::to_string(count) + " ";
  return text;
}

TEST(ScaleOut, TwoInstancesOnOneDatabaseShareTokensAndScores) {
  TScratchDir dir;
  const std::string database = SharedPostgres().NewDatabase();
  TServerProcess a(database, dir.Path() / "a.log");
  TServerProcess b(database, dir.Path() / "b.log");

  // A token from one instance is taken by the other, and then by neither.
  const std::string token = FreshToken(a.Base());
  EXPECT_EQ(HttpGet(b.Base(), ReportTarget("Shared", 10, token)).Status, 200);
  EXPECT_EQ(HttpGet(a.Base(), ReportTarget("Shared", 10, token)).Status, 409);
  EXPECT_EQ(HttpGet(b.Base(), ReportTarget("Shared", 10, token)).Status, 409);

  // One token sent to both at once, three times each: one report is stored.
  const std::string raced = FreshToken(b.Base());
  std::vector<int> statuses(6);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < statuses.size(); ++i)
    threads.emplace_back(
        [&, i] { statuses[i] = HttpGet((i % 2 ? a : b).Base(), ReportTarget("Raced", 20, raced)).Status; });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 200), 1);
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 409), 5);

  // Reports sent to each in turn, each with a token from the other.
  std::vector<std::string> sent;
  for (int i = 0; i < 40; ++i) {
    const TServerProcess& issuer = i % 2 ? a : b;
    const TServerProcess& receiver = i % 2 ? b : a;
    sent.push_back("Turn" + std::to_string(i));
    EXPECT_EQ(HttpGet(receiver.Base(), ReportTarget(sent.back(), 1000 + i, FreshToken(issuer.Base()))).Status,
              200);
  }
  sent.insert(sent.end(), {"Shared", "Raced"});

  // Either table shows every one of them once, within the page's cache age.
  for (const TServerProcess* server : {&a, &b}) {
    std::vector<std::string> names;
    const auto until = TClock::now() + 5s;
    do {
      names = TableNames(HttpGet(server->Base(), kTableTarget).Body);
      if (names.size() == sent.size()) break;
      std::this_thread::sleep_for(100ms);
    } while (TClock::now() < until);
    EXPECT_EQ(names.size(), sent.size());
    for (const std::string& name : sent) EXPECT_EQ(Count(names, name), 1u) << name;
  }
}

// The database stopped as by a crash, and started again, while players send
// reports: meanwhile every request is answered at once with 503 (the game
// shows its message), the pages say the table is unavailable, and after the
// restart the same server stores reports again without being touched. No
// report answered as stored is lost.
TEST(Faults, TheDatabaseRestartedWhileReportsArrive) {
  TScratchDir dir;
  TPostgresServer postgres;
  const std::string database = postgres.NewDatabase();
  TServerProcess server(database, dir.Path() / "server.log");

  TReportTraffic traffic(server.Base(), 4);
  std::this_thread::sleep_for(800ms);
  ASSERT_GT(traffic.StoredSince(TClock::time_point()), 0u) << server.Log();

  postgres.Stop();
  const auto down = TClock::now();
  std::this_thread::sleep_for(1500ms);
  const THttpReply version = HttpGet(server.Base(), kVersionTarget);
  EXPECT_EQ(version.Status, 503) << version.Body;
  const THttpReply table = HttpGet(server.Base(), kTableTarget);
  EXPECT_EQ(table.Status, 503);
  EXPECT_NE(table.Body.find("unavailable"), std::string::npos) << table.Body;
  EXPECT_EQ(HttpGet(server.Base(), "/healthz").Status, 503);

  const auto restarting = TClock::now();
  postgres.Start();
  const auto up = TClock::now();
  // Served again within a few seconds of the restart.
  const auto until = up + 10s;
  while (traffic.StoredSince(up) < 20 && TClock::now() < until) std::this_thread::sleep_for(50ms);
  EXPECT_GE(traffic.StoredSince(up), 20u) << server.Log();
  EXPECT_EQ(HttpGet(server.Base(), "/healthz").Status, 200);
  EXPECT_EQ(HttpGet(server.Base(), kTableTarget).Status, 200);
  const auto attempts = traffic.Finish();

  // While it was down (from a moment after the stop to the restart) nothing
  // but 503 came, and no request waited past the request time limit (the
  // server's --read-seconds, 10 s by default).
  const auto outage = Statuses(attempts, true, down + 500ms, restarting);
  const auto outageVersions = Statuses(attempts, false, down + 500ms, restarting);
  EXPECT_EQ(Other(outage, 503) + Other(outageVersions, 503), 0u)
      << "reports: " << Describe(outage) << "version checks: " << Describe(outageVersions);
  EXPECT_GT(outageVersions.count(503), 0u);
  for (const auto& a : attempts) {
    EXPECT_TRUE(a.Status == 200 || a.Status == 503) << a.Status;
    EXPECT_LT(a.Ms, 10000) << "a request took " << a.Ms << " ms";
  }
  EXPECT_EQ(server.Terminate(), 0);
  ExpectEveryAnsweredReportStoredOnce(attempts, database);
}

// Two instances behind nginx, one of them killed outright while reports
// arrive: the other goes on serving every player, and every report
// answered as stored is in the database once.
TEST(Faults, OneOfTwoInstancesKilledBehindTheProxy) {
  TScratchDir dir;
  const std::string database = SharedPostgres().NewDatabase();
  TServerProcess a(database, dir.Path() / "a.log");
  TServerProcess b(database, dir.Path() / "b.log");
  TNginxProcess proxy({a.Port(), b.Port()});

  TReportTraffic traffic(proxy.Base(), 4);
  std::this_thread::sleep_for(800ms);
  a.Kill();
  const auto killed = TClock::now();
  std::this_thread::sleep_for(1500ms);
  const auto attempts = traffic.Finish();

  // The survivor took the traffic.
  size_t afterKill = 0;
  for (const auto& at : attempts) afterKill += at.Report && at.Status == 200 && at.At > killed + 100ms;
  EXPECT_GE(afterKill, 20u) << proxy.ErrorLog();
  // A report in flight at the kill may have been stored by the killed
  // instance and then passed on to the other by the proxy, which finds its
  // token used; nothing else fails.
  const auto statuses = Statuses(attempts, true, TClock::time_point(), TClock::time_point::max());
  EXPECT_LE(Other(statuses, 200), 4u) << Describe(statuses);
  EXPECT_EQ(Other(statuses, 200), statuses.count(409) ? statuses.at(409) : 0) << Describe(statuses);
  EXPECT_EQ(Statuses(attempts, false, TClock::time_point(), TClock::time_point::max()).size(), 0u)
      << "a version check failed";
  EXPECT_EQ(HttpGet(proxy.Base(), "/healthz").Status, 200);
  ExpectEveryAnsweredReportStoredOnce(attempts, database);
}

}  // namespace
}  // namespace bd::test
