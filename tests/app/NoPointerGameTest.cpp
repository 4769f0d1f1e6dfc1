// A whole game played without a mouse, once on the keyboard and once on a
// game controller: every input goes through the platform's event queue and
// not one pointer event is sent. Splash, options changed and saved, help
// pages turned, a race whose exit question is answered "Нет" and later
// "Да", the name entry with its send box, the score table cleared through
// its question, and the way out through the exit screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/GameRun.h"
#include "app/Settings.h"
#include "codec/Cp1251.h"
#include "engine/platform/Controller.h"
#include "support/LoopbackServer.h"

namespace bd::test {
namespace {

// What the player does, on either kind of input.
enum class Act { Up, Down, Left, Right, Accept, Back, Menu, Tick };  // Tick: a pad's X

class NoPointerGame : public GameRun, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    const std::filesystem::path run = BD_RUN_DIR;
    ASSERT_TRUE(std::filesystem::exists(run / "pdata" / "config.ini")) << "the build makes the game's data";
    // The game's own data, exit screen included.
    std::filesystem::remove_all(dir_ / "Data");
    for (const char* folder : {"Data", "Music", "pdata"})
      std::filesystem::create_directory_symlink(run / folder, dir_ / folder);
    // A table any finished race enters.
    TSettingsValues values;
    for (auto& entry : values.Table) entry.Score = 0;
    std::ofstream("Config.cfg", std::ios::binary) << SettingsFileText(values);
  }

  bool Pad() const { return GetParam(); }

  static int Key(Act act) {
    switch (act) {
      case Act::Up: return vk::Up;
      case Act::Down: return vk::Down;
      case Act::Left: return vk::Left;
      case Act::Right: return vk::Right;
      case Act::Accept: return vk::Return;
      case Act::Back: return vk::Escape;
      case Act::Menu: return vk::Escape;
      case Act::Tick: return vk::Space;
    }
    return 0;
  }
  static PadButton Button(Act act) {
    switch (act) {
      case Act::Up: return PadButton::DPadUp;
      case Act::Down: return PadButton::DPadDown;
      case Act::Left: return PadButton::DPadLeft;
      case Act::Right: return PadButton::DPadRight;
      case Act::Accept: return PadButton::A;
      case Act::Back: return PadButton::B;
      case Act::Menu: return PadButton::Back;
      case Act::Tick: return PadButton::X;
    }
    return PadButton::A;
  }

  void Hold(Act act) {
    if (Pad())
      platform.events.Pad(ControllerInput::Press(1, Button(act)));
    else
      platform.events.KeyDown(Key(act));
  }
  void Release(Act act) {
    if (Pad())
      platform.events.Pad(ControllerInput::Release(1, Button(act)));
    else
      platform.events.KeyUp(Key(act));
  }
  void Do(Act act, int times = 1) {
    for (int i = 0; i < times; ++i) {
      Hold(act);
      RunFor(30);
      Release(act);
      RunFor(60);
    }
  }
  void Type(const std::string& utf8) {
    for (uint8_t c : W(utf8)) {
      platform.events.Char(c);
      RunFor(60);
    }
  }
  TSettingsValues Saved() {
    TSettingsValues values;
    std::ifstream in("Config.cfg", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    ApplySettingsText(text.str(), values);
    return values;
  }
};

TEST_P(NoPointerGame, FromTheSplashToACleanExit) {
  TLoopbackServer server([](const TRecordedRequest& request) {
    return Answer(200, request.Target.find("&inf=") == std::string::npos ? "OK|a|b|c|tok|e" : "OK");
  });
  Start();
  form->ScoreServer = server.Base();
  RunFor(300);
  ASSERT_EQ(form->CurrentScreen, screen::Splash);
  Do(Act::Accept);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);

  // Options: the music off, (on the keyboard) a country typed, saved on
  // the way back.
  Do(Act::Down, 2);
  Do(Act::Accept);
  ASSERT_EQ(form->CurrentScreen, screen::Options);
  Do(Act::Down, 2);  // the music row
  Do(Act::Right);
  EXPECT_FALSE(form->GameMusic.Checked);
  if (!Pad()) {
    Do(Act::Down, 2);  // the country field
    Do(Act::Accept);
    Type("Урал");
    Do(Act::Down);  // the back button
  } else {
    Do(Act::Up, 2);  // round the top to the back button
  }
  Do(Act::Accept);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_FALSE(Saved().Music);
  EXPECT_EQ(Saved().Country, Pad() ? "" : W("Урал"));

  // Help: two pages on, then back.
  Do(Act::Down, 4);
  Do(Act::Accept);
  ASSERT_EQ(form->CurrentScreen, screen::Help);
  Do(Act::Left);  // backwards from nothing: the next-page button
  Do(Act::Accept, 2);
  EXPECT_EQ(form->HelpPage, 3);
  Do(Act::Back);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);

  // A race: Enter (A) with nothing focused starts it.
  Do(Act::Accept);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  RunFor(2500);
  Hold(Act::Up);
  RunFor(3000);
  Do(Act::Menu);
  ASSERT_TRUE(form->GameMainExit.Checked);
  Do(Act::Left);  // "Нет"
  Do(Act::Accept);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_TRUE(form->RaceState.RaceRunning);
  // Weave across the road until something scores, then leave. A game lost
  // without a point goes back to the menu, which starts the next.
  for (int i = 0; i < 2000 && form->RaceState.Score == 0; ++i) {
    if (form->CurrentScreen == screen::Race) {
      Do(i % 8 < 4 ? Act::Left : Act::Right);
    } else {
      ASSERT_EQ(form->CurrentScreen, screen::GameOver);
      Release(Act::Up);
      RunFor(5100);
      Do(Act::Accept);
      ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
      Do(Act::Accept);
      RunFor(2500);
      Hold(Act::Up);
    }
  }
  Release(Act::Up);
  ASSERT_GT(form->RaceState.Score, 0);
  if (form->CurrentScreen == screen::Race) {
    Do(Act::Menu);
    Do(Act::Right);  // "Да"
    Do(Act::Accept);
  }
  ASSERT_EQ(form->CurrentScreen, screen::GameOver);
  const int32_t score = form->RaceState.Score;

  // The name entry: a name, the send box ticked, entered.
  RunFor(5100);
  ASSERT_TRUE(form->GameEnterName.Checked);
  if (Pad()) {
    Do(Act::Up, 3);     // В
    Do(Act::Right);     // a second letter
    Do(Act::Down, 2);   // 9, then 8
  } else {
    Type("Ace");
  }
  const std::string name = Pad() ? W("В8") : "Ace";
  EXPECT_EQ(form->Edit2.Text, name);
  if (Pad()) {
    Do(Act::Tick);  // X
  } else {
    // A keyboard ticks the box with Enter on it; Space is part of typing.
    Do(Act::Down, 2);
    Do(Act::Accept);
    Do(Act::Up);  // back on the name, where Enter enters it
  }
  EXPECT_TRUE(form->GameSendResult.Checked);
  Do(Act::Accept);
  ASSERT_EQ(form->CurrentScreen, screen::HighScores);
  const TLocal_HighScores entered{name, score};
  EXPECT_NE(std::find(form->HighScores.begin(), form->HighScores.end(), entered), form->HighScores.end());
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_NE(requests[1].Target.find("&inf="), std::string::npos);
  EXPECT_EQ(Reported(), "");

  // The table cleared through its question.
  Do(Act::Down);  // Clear
  Do(Act::Accept);
  ASSERT_TRUE(form->GameClearHighScore.Checked);
  Do(Act::Right);  // "Да"
  Do(Act::Accept);
  EXPECT_EQ(form->HighScores, DefaultHighScores());
  Do(Act::Back);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);

  // Out: the exit question, "Да", then the exit screen's exit button once
  // its countdown has run.
  Do(Act::Menu);
  Do(Act::Right);
  Do(Act::Accept);
  ASSERT_EQ(form->CurrentScreen, screen::Exit);
  Do(Act::Up);  // backwards from nothing: the last button
  RunFor(6000);
  ASSERT_FALSE(app->Terminated());
  Do(Act::Accept);
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(Saved().Table, DefaultHighScores());
}

INSTANTIATE_TEST_SUITE_P(Inputs, NoPointerGame, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& input) { return input.param ? "Controller" : "Keyboard"; });

}  // namespace
}  // namespace bd::test
