// The exit question ("leave the game?") never outlives the screen it was
// asked on, and never leaves a race standing once it is gone. Driven through
// the platform's event queue, as a player's keys, pad and window do it.
#include <gtest/gtest.h>

#include <functional>

#include "app/GameRun.h"
#include "codec/Cp1251.h"
#include "engine/platform/Controller.h"

namespace bd::test {
namespace {

class ExitQuestion : public GameRun {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    Start();
    Tap(vk::Return);  // past the splash
    RunFor(50);
    ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  }
  void Tap(int key) {
    platform.events.KeyDown(key);
    platform.events.KeyUp(key);
  }
  void PadTap(PadButton button) {
    platform.events.Pad(ControllerInput::Press(1, button));
    platform.events.Pad(ControllerInput::Release(1, button));
  }
  // The race the player can drive: it runs once the caption is gone, the
  // road comes closer under Up, P pauses it and Escape asks the question.
  void ExpectARaceThatRuns(const char* how) {
    RunFor(2200);
    ASSERT_EQ(form->CurrentScreen, screen::Race) << how;
    EXPECT_FALSE(form->GameMainExit.Checked) << how;
    EXPECT_EQ(platform.window.Caption(), "Bumper Dash") << how;
    ASSERT_TRUE(form->RaceState.RaceRunning) << how;
    platform.events.KeyDown(vk::Up);
    RunFor(1500);
    platform.events.KeyUp(vk::Up);
    RunFor(20);
    EXPECT_GT(form->RaceState.Distance, 0) << how;
    Tap('P');
    RunFor(20);
    EXPECT_TRUE(form->RaceState.Paused) << how;
    Tap('P');
    Tap(vk::Escape);
    RunFor(20);
    EXPECT_TRUE(form->GameMainExit.Checked) << how;
  }
};

TEST_F(ExitQuestion, ARaceStartedWhileItIsOpenOnTheMenuRuns) {
  struct Case {
    const char* how;
    std::function<void()> ask, start;
  };
  const Case cases[] = {
      {"Escape, then Enter", [this] { Tap(vk::Escape); }, [this] { Tap(vk::Return); }},
      {"pad Back, then A", [this] { PadTap(PadButton::Back); }, [this] { PadTap(PadButton::A); }},
      {"close button, then Enter", [this] { platform.events.CloseRequest(); }, [this] { Tap(vk::Return); }},
  };
  for (const Case& c : cases) {
    form->SwitchScreen(screen::MainMenu);
    c.ask();
    RunFor(50);
    ASSERT_TRUE(form->GameMainExit.Checked) << c.how;
    c.start();
    RunFor(50);
    ExpectARaceThatRuns(c.how);
    form->GameMainExitClick();
  }
}

TEST_F(ExitQuestion, ClosingItInARaceSetsTheRaceGoing) {
  Tap(vk::Return);
  RunFor(2200);
  ASSERT_TRUE(form->RaceState.RaceRunning);
  // Asked and closed again with the window's close button.
  platform.events.CloseRequest();
  RunFor(50);
  ASSERT_TRUE(form->GameMainExit.Checked);
  EXPECT_FALSE(form->RaceState.RaceRunning);
  platform.events.CloseRequest();
  RunFor(50);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_TRUE(form->RaceState.RaceRunning);

  // Asked during the next level's caption: the caption stays for the rest of
  // its two seconds once the question is closed, then the race runs.
  form->NextLevel();
  RunFor(500);
  platform.events.CloseRequest();
  RunFor(3000);
  EXPECT_TRUE(form->GameMainExit.Checked);
  EXPECT_FALSE(form->RaceState.RaceRunning);
  platform.events.CloseRequest();
  RunFor(50);
  EXPECT_FALSE(form->RaceState.RaceRunning);
  EXPECT_TRUE(form->RaceHost().LevelTimerEnabled());
  RunFor(1500);
  EXPECT_TRUE(form->RaceState.RaceRunning);
  EXPECT_FALSE(form->RaceHost().LevelTimerEnabled());
}

TEST_F(ExitQuestion, ARaceThatEndsWhileItIsOpenDoesNotCarryIt) {
  // The last life lost with the question open: the game-over screen comes
  // without it.
  Tap(vk::Return);
  RunFor(2200);
  Tap(vk::Escape);
  RunFor(50);
  ASSERT_TRUE(form->GameMainExit.Checked);
  form->RaceState.GameOver = true;
  RunFor(50);
  EXPECT_EQ(form->CurrentScreen, screen::GameOver);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_EQ(platform.window.Caption(), "Bumper Dash");
}

}  // namespace
}  // namespace bd::test
