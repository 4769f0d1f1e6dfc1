// The key commands of the screens that interact with each other, and typing
// into the two text fields.
#include <gtest/gtest.h>

#include "app/GameRun.h"
#include "codec/Cp1251.h"

namespace bd::test {
namespace {

class Keyboard : public GameRun {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    Start();
  }
  // A race whose level caption has gone: the road runs.
  void StartRunningRace() {
    form->SwitchScreen(screen::Race);
    RunFor(2100);
    ASSERT_TRUE(form->RaceState.RaceRunning);
    ASSERT_FALSE(form->RaceHost().LevelTimerEnabled());
  }
};

TEST_F(Keyboard, EnterLeavesSplashAndMenuButAltEnterOnlyTogglesFullScreen) {
  Press(vk::Return, ssAlt);
  EXPECT_EQ(form->CurrentScreen, screen::Splash);
  EXPECT_TRUE(form->GameFullScreen.Checked);
  Press(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  Press(vk::Return, ssAlt);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_FALSE(form->GameFullScreen.Checked);

  // Enter starts the race even while the exit confirmation is open.
  Press(vk::Escape);
  ASSERT_TRUE(form->GameMainExit.Checked);
  Press(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::Race);
}

// The splash gives way after four seconds. Enter pressed just before the
// menu was shown, though handled after, does not start a race; pressed
// once the menu is there, it does. Alt+Enter still switches the display.
TEST_F(Keyboard, AKeyPressedBeforeTheScreenAppearedDoesNotActOnIt) {
  while (form->CurrentScreen == screen::Splash && Now() < 10000) RunFor(5);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  ASSERT_TRUE(form->ScreenShownAt.has_value());
  auto enter = [this](uint32_t pressedAt, uint8_t shift = 0) {
    PlatformEvent e;
    e.type = PlatformEvent::Type::KeyDown;
    e.Key = vk::Return;
    e.Shift = shift;
    e.PressedAt = pressedAt;
    platform.events.Push(e);
    platform.events.KeyUp(vk::Return, shift);
    RunFor(5);
  };
  const uint32_t shown = *form->ScreenShownAt;
  enter(shown - 10);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  const bool fullScreen = form->GameFullScreen.Checked;
  enter(shown - 10, ssAlt);
  EXPECT_NE(form->GameFullScreen.Checked, fullScreen);
  enter(Now());
  EXPECT_EQ(form->CurrentScreen, screen::Race);
}

TEST_F(Keyboard, EscapeClosesTheClearConfirmationBeforeItLeavesTheTable) {
  form->SwitchScreen(screen::HighScores);
  form->GameClearHighScoreClick();
  form->HighScores[0].Score = 9999;
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  EXPECT_FALSE(form->GameClearHighScore.Checked);
  EXPECT_EQ(form->HighScores[0].Score, 9999);  // closed without clearing
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
}

TEST_F(Keyboard, EscapeOnTheRaceIsIgnoredDuringIntroAsksOverAPauseAndAnswersNoToTheQuestion) {
  form->SwitchScreen(screen::Race);
  ASSERT_TRUE(form->RaceHost().LevelTimerEnabled());
  Press(vk::Escape);  // the level caption is shown
  Press('P');
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_FALSE(form->RaceState.Paused);

  RunFor(2100);
  Press('P');
  ASSERT_TRUE(form->RaceState.Paused);
  ASSERT_FALSE(form->RaceState.RaceRunning);
  Press(vk::Escape);  // paused: asks, and "Нет" leaves the pause standing
  EXPECT_TRUE(form->GameMainExit.Checked);
  Press('P');  // the question takes the keys
  Press(vk::Escape);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_TRUE(form->RaceState.Paused);
  EXPECT_FALSE(form->RaceState.RaceRunning);
  Press('P');
  ASSERT_TRUE(form->RaceState.RaceRunning);

  Press(vk::Escape);
  EXPECT_TRUE(form->GameMainExit.Checked);
  EXPECT_FALSE(form->RaceState.RaceRunning);
  Press('P');  // no pause under the confirmation
  EXPECT_TRUE(form->GameMainExit.Checked);
  EXPECT_FALSE(form->RaceState.Paused);
  Press(vk::Escape);  // "Нет": the race goes on
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_TRUE(form->RaceState.RaceRunning);
}

TEST_F(Keyboard, NoPauseOnceTheLevelIsDriven) {
  StartRunningRace();
  form->RaceState.Distance = form->RaceState.LevelLength;
  RunFor(50);
  ASSERT_NE(form->RaceState.LevelEndState, 0);
  Press('P');
  EXPECT_FALSE(form->RaceState.Paused);
  // The level ends and the next one starts as always.
  RunFor(8000);
  EXPECT_EQ(form->RaceState.Level, 2);
  EXPECT_FALSE(form->RaceState.Paused);
}

TEST_F(Keyboard, CtrlFiresOneShotAtATimeWithAnyKey) {
  StartRunningRace();
  TRaceState& s = form->RaceState;
  s.HasGuns = true;
  s.GunShots = 2;
  form->FormKeyDown(vk::Control, ssCtrl);
  EXPECT_TRUE(s.ShotInFlight);
  EXPECT_EQ(s.GunShots, 1);
  form->FormKeyDown(vk::Control, ssCtrl);  // auto-repeat while the shot flies
  EXPECT_EQ(s.GunShots, 1);

  RunFor(1000);  // the shot leaves the picture
  ASSERT_FALSE(s.ShotInFlight);
  form->FormKeyDown(vk::Left, ssCtrl);  // another key with Ctrl held
  EXPECT_EQ(s.GunShots, 0);
  EXPECT_FALSE(s.HasGuns);  // the last shot takes the gun away
  form->FormKeyUp(vk::Left, ssCtrl);
  form->FormKeyUp(vk::Control, 0);

  // Without Ctrl, or with the race stopped, nothing is fired.
  RunFor(1000);
  s.HasGuns = true;
  s.GunShots = 5;
  Press(vk::Up);
  Press('P');
  form->FormKeyDown(vk::Control, ssCtrl);
  EXPECT_EQ(s.GunShots, 5);
  EXPECT_FALSE(s.ShotInFlight);
}

TEST_F(Keyboard, GameOverKeysFollowTheScoreAndTheTimer) {
  struct Case {
    const char* what;
    int32_t score;
    std::string name;
    bool afterTimer;
    int key;
    uint8_t shift;
    uint8_t screenAfter;
    bool fullScreenAfter;
  };
  const int32_t tenth = DefaultHighScores()[9].Score;
  const Case cases[] = {
      {"Escape in the first seconds", tenth, "", false, vk::Escape, 0, screen::GameOver, false},
      {"Enter, score equal to the tenth", tenth, "Ann", true, vk::Return, 0, screen::MainMenu, false},
      {"Alt+Enter, score not beating", tenth, "", true, vk::Return, ssAlt, screen::MainMenu, true},
      {"Escape, score beating", tenth + 1, "Ann", true, vk::Escape, 0, screen::GameOver, false},
      {"Enter without a name", tenth + 1, "", true, vk::Return, 0, screen::GameOver, false},
      {"Enter at once with a remembered name", tenth + 1, "Ann", false, vk::Return, 0, screen::HighScores,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    form->SwitchScreen(screen::MainMenu);
    if (form->GameFullScreen.Checked) form->GameFullScreenClick();
    form->HighScores = DefaultHighScores();
    form->RaceState.Score = c.score;
    form->Edit2.Text = form->PlayerName = c.name;
    form->SwitchScreen(screen::GameOver);
    if (c.afterTimer) RunFor(5100);
    form->FormKeyDown(c.key, c.shift);
    EXPECT_EQ(form->CurrentScreen, c.screenAfter);
    EXPECT_EQ(form->GameFullScreen.Checked, c.fullScreenAfter);
  }
  // The last case put the score in under the remembered name.
  EXPECT_EQ(form->HighScores[9], (TLocal_HighScores{"Ann", tenth + 1}));
}

TEST_F(Keyboard, TypingTakesLettersAndDigitsUpToTheFieldsLimits) {
  // The name on the game-over screen: no delay, ten characters at most.
  form->RaceState.Score = 5000;
  form->SwitchScreen(screen::GameOver);
  RunFor(5100);  // the name entry opens with an empty name in focus
  ASSERT_TRUE(form->GamegoEdit.Checked);
  // Ё and ё are letters too (Алёна, Фёдор, Пётр), though Windows-1251 keeps
  // them apart from the other Cyrillic letters.
  for (uint8_t c : std::string("-_ .%|") + W("ЁжWxyzЩ12345")) form->FormKeyPress(c);
  EXPECT_EQ(form->Edit2.Text, W("ЁжWxyzЩ123"));
  Press(vk::Back);
  form->FormKeyPress(W("ё")[0]);
  EXPECT_EQ(form->Edit2.Text, W("ЁжWxyzЩ12ё"));

  // The country on the options screen: one character every third frame.
  form->SwitchScreen(screen::Options);
  form->GamegoEdit.Checked = true;
  form->Edit1.Text.clear();
  form->FormKeyPress(W("Ё")[0]);
  form->FormKeyPress('U');  // too soon after the first
  EXPECT_EQ(form->Edit1.Text, W("Ё"));
  RunFor(3 * 15 + 5);
  form->FormKeyPress(W("ё")[0]);
  EXPECT_EQ(form->Edit1.Text, W("Ёё"));
  Press(vk::Back);
  EXPECT_EQ(form->Edit1.Text, W("Ё"));
}

}  // namespace
}  // namespace bd::test
