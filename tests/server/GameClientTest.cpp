// The game's own way of reporting a score, with its real HTTP client,
// against the real server: the Cyrillic name and country arrive intact.

#include <gtest/gtest.h>

#include "ServerProcess.h"
#include "codec/Cp1251.h"
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

}  // namespace
}  // namespace bd::test
