// A server killed outright (SIGKILL, as by a crash or a power cut of the
// process) while reports arrive: every report it answered as stored is in
// the database when it starts again.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "ServerProcess.h"

namespace bd::test {
namespace {

TEST(Crash, KilledWhileReportsArriveLosesNoAnsweredReport) {
  TScratchDir dir;
  const auto database = dir.Path() / "scores.db";
  TServerProcess server(database, dir.Path() / "server.log");
  const TReportLoad load = SendReportsUntil(server.Base(), 6, [&server] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    server.Kill();
  });
  ASSERT_GT(load.Answered.size(), 0u);
  ASSERT_LT(load.Answered.size(), load.Sent) << "the kill came after the last report";

  // It starts again on the same database, and serves it.
  TServerProcess again(database, dir.Path() / "again.log");
  const THttpReply table = HttpGet(again.Base(), kTableTarget);
  EXPECT_EQ(table.Status, 200);
  EXPECT_EQ(again.Terminate(), 0);

  const std::vector<std::string> stored = AllStoredNames(database);
  EXPECT_EQ(TableNames(table.Body).size(), std::min<size_t>(100, stored.size()));
  const std::set<std::string> storedSet(stored.begin(), stored.end());
  EXPECT_EQ(storedSet.size(), stored.size()) << "a report was stored twice";
  for (const std::string& name : load.Answered) EXPECT_TRUE(storedSet.count(name)) << name << " was lost";
  // At most the reports in flight at the kill are stored without an answer.
  EXPECT_LE(stored.size(), load.Answered.size() + 6);
}

}  // namespace
}  // namespace bd::test
