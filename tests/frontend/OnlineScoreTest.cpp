// Reporting an entered high score online from the game-over screen, against
// a real HTTP server on a loopback port.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "codec/SettingsCodec.h"
#include "frontend/FrontEndRun.h"
#include "support/LoopbackServer.h"

namespace bd::test {
namespace {

using OnlineScore = FrontEndRun;

struct Case {
  const char* name;
  std::optional<std::string> versionReply;  // none: the connection is refused
  bool reported;
};

TEST_F(OnlineScore, ScoreIsEnteredLocallyWhateverTheServerDoes) {
  const Case cases[] = {
      {"connection refused", std::nullopt, false},
      {"lower-case ok", "ok|a|b|c|tok|e", false},
      {"server ready", "OK|a|b|c|tok|e", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TLoopbackServer> server;
    TRefusingPort refusing;
    if (c.versionReply)
      server = std::make_unique<TLoopbackServer>(
          [&](const TRecordedRequest&) { return Answer(200, *c.versionReply); });
    form->ScoreServer = server ? server->Base() : refusing.Base();
    platform.messageBox.Clear();

    form->HighScores = DefaultHighScores();
    form->RaceState.Score = 150;  // enters the table
    form->Edit1.Text = "Ural";
    Go(screen::GameOver);
    RunFor(5100);  // the name entry opens
    ASSERT_TRUE(form->GameEnterName.Checked);
    form->Edit2.Text = "Ace";
    ClickAt(240, 400);  // the send box
    ASSERT_TRUE(form->GameSendResult.Checked);
    Frame();
    form->FormKeyDown(vk::Return, 0);

    EXPECT_EQ(form->CurrentScreen, screen::HighScores);
    EXPECT_TRUE(std::any_of(form->HighScores.begin(), form->HighScores.end(),
                            [](const auto& e) { return e.Name == "Ace" && e.Score == 150; }));
    EXPECT_EQ(Reported(), c.reported ? "" : "Can't connect to server!\n");
    if (server) {
      const auto requests = server->Requests();
      ASSERT_EQ(requests.size(), c.reported ? 2u : 1u);
      if (c.reported) {
        EXPECT_EQ(requests[1].Target, "/cgi/version.pl?hs&prg=BumperDash&inf=" +
                                          EncodeSettingsValue(BuildScoreReport("Ace", 150, "tok", "Ural")));
      }
    }
    form->FormKeyUp(vk::Return, 0);
  }
}

TEST_F(OnlineScore, ViewOpensTheOnlineTableInTheBrowser) {
  form->ScoreServer = "http://127.0.0.1:8123";
  Go(screen::HighScores);
  ClickAt(400, 540);
  EXPECT_EQ(platform.shell.Opened(),
            std::vector<std::string>{"http://127.0.0.1:8123/cgi/version.pl?prg=BumperDash&show&type=0"});
}

}  // namespace
}  // namespace bd::test
