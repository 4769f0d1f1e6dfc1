// The game's own way of reporting a score, with its real HTTP client,
// against the real server: the Cyrillic name and country arrive intact, and
// a server that has stopped costs the player nothing but a message.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "PostgresProcess.h"
#include "ServerProcess.h"
#include "codec/Cp1251.h"
#include "frontend/FrontEndRun.h"
#include "frontend/ScoreReport.h"
#include "http/HttpClient.h"

namespace bd::test {
namespace {

TEST(GameClient, SubmitScoreStoresTheNameAndCountryAsTyped) {
  TScratchDir dir;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log");
  THttpClient client;
  EXPECT_TRUE(SubmitScore(client, {W("Ёжик"), 31337, W("Россия")}, server.Base()));
  EXPECT_TRUE(SubmitScore(client, {"Racer7", 500, ""}, server.Base()));

  // The page the View button opens, fetched the same way.
  const std::string page = client.Get(OnlineTableAddress(server.Base()));
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_EQ(TableNames(page), (std::vector<std::string>{"Ёжик", "Racer7"}));
  EXPECT_NE(page.find("<td class=\"country\">Россия</td>"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"score\">31337</td>"), std::string::npos);
}

// With the scores in PostgreSQL, a database that has gone away (while the
// server runs on) is a failed report to the game, which tells the player;
// once the database is back, reports go through again.
TEST(GameClient, WhileTheDatabaseIsAwayTheReportFailsAndAfterItGoesThrough) {
  TScratchDir dir;
  TPostgresServer postgres;
  const std::string database = postgres.NewDatabase();
  TServerProcess server(database, dir.Path() / "server.log");
  THttpClient client;
  EXPECT_TRUE(SubmitScore(client, {"Before", 100, ""}, server.Base()));

  postgres.Stop();
  // The server notices within a second even when nothing else is asked of it.
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_FALSE(SubmitScore(client, {"During", 200, ""}, server.Base()));

  postgres.Start();
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  bool sent = false;
  while (!sent && std::chrono::steady_clock::now() < until) {
    sent = SubmitScore(client, {"After", 300, ""}, server.Base());
    if (!sent) std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  EXPECT_TRUE(sent) << server.Log();
  EXPECT_EQ(AllStoredNames(database), (std::vector<std::string>{"After", "Before"}));
}

using GameEntry = FrontEndRun;

TEST_F(GameEntry, TheTickedResultReachesTheServerAndAStoppedServerOnlyCostsAMessage) {
  TScratchDir dir;
  TServerProcess server(dir.Path() / "scores.db", dir.Path() / "server.log");
  form->ScoreServer = server.Base();
  form->Edit1.Text = W("Россия");
  // A finished game that enters the table, its name typed and sent.
  auto finishGame = [this](int32_t score, const char* name) {
    platform.messageBox.Clear();
    form->RaceState.Score = score;
    Go(screen::GameOver);
    RunFor(5100);  // the name entry opens
    form->Edit2.Text = W(name);
    if (!form->GameSendResult.Checked) ClickAt(240, 400);  // the send box
    Frame();
    form->FormKeyDown(vk::Return, 0);
    form->FormKeyUp(vk::Return, 0);
    ASSERT_EQ(form->CurrentScreen, screen::HighScores);
  };
  auto inLocalTable = [this](const char* name, int32_t score) {
    return std::any_of(form->HighScores.begin(), form->HighScores.end(),
                       [&](const auto& e) { return e.Name == W(name) && e.Score == score; });
  };

  finishGame(4321, "Иван");
  EXPECT_EQ(Reported(), "");
  EXPECT_TRUE(inLocalTable("Иван", 4321));
  EXPECT_EQ(TableNames(HttpGet(server.Base(), kTableTarget).Body), std::vector<std::string>{"Иван"});

  ASSERT_EQ(server.Terminate(), 0);
  finishGame(3210, "Мария");
  EXPECT_EQ(Reported(), "Can't connect to server!\n");
  EXPECT_TRUE(inLocalTable("Мария", 3210));
  EXPECT_TRUE(inLocalTable("Иван", 4321));
}

}  // namespace
}  // namespace bd::test
