#include <gtest/gtest.h>

#include "app/GameRun.h"

namespace bd::test {
namespace {

using ScreenFlow = GameRun;

// The start with the game's data: the splash shows its tiled picture with the
// logo in the middle, and gives way to the main menu after four seconds.
TEST_F(ScreenFlow, SplashIsDrawnAndGivesWayToTheMenu) {
  Start();
  EXPECT_EQ(Reported(), "");
  ASSERT_EQ(form->CurrentScreen, screen::Splash);
  const uint32_t start = Now();
  RunFor(100);
  const TDirectDrawSurface& screen = platform.window.Screen();
  EXPECT_EQ(RawToColor(screen.Pixel(2, 2)), StandInColor("mySplash_fon"));
  EXPECT_EQ(RawToColor(screen.Pixel(400, 300)), StandInColor("logo_loading"));
  app->RunUntil(start + 3990);
  EXPECT_EQ(form->CurrentScreen, screen::Splash);
  app->RunUntil(start + 4020);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
}

TEST_F(ScreenFlow, GameOverShowsItsPictureAndStopsItsTimerAfterFiveSeconds) {
  Start();
  form->SwitchScreen(screen::GameOver);
  const uint32_t start = Now();
  RunFor(50);
  EXPECT_EQ(RawToColor(platform.window.Screen().Pixel(400, 300)), StandInColor("gameOver"));
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Hidden);
  app->RunUntil(start + 5010);
  EXPECT_FALSE(form->Timer1.Enabled());
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Arrow);
  EXPECT_EQ(form->CurrentScreen, screen::GameOver);
}

TEST_F(ScreenFlow, CloseRequestsFollowTheScreen) {
  Start();
  ASSERT_EQ(form->CurrentScreen, screen::Splash);
  for (uint8_t s : {screen::Splash, screen::Help, screen::Options, screen::HighScores, screen::GameOver}) {
    form->SwitchScreen(s);
    platform.events.CloseRequest();
    RunFor(20);
    EXPECT_FALSE(app->Terminated()) << "screen " << int(s);
  }
  // Leaving for the exit screen ends the program.
  form->SwitchScreen(screen::Exit);
  EXPECT_TRUE(app->Terminated());
}

}  // namespace
}  // namespace bd::test
