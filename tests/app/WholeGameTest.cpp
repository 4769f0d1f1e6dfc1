// One whole game on the data the build makes: every picture, sound and song
// the flow asks for must be in it.
#include <gtest/gtest.h>

#include "app/GameRun.h"
#include "codec/Cp1251.h"

namespace bd::test {
namespace {

class WholeGame : public GameRun {
 protected:
  void SetUp() override {
    GameRun::SetUp();
    if (!UseBuiltData(true)) GTEST_SKIP() << "no built game data";
  }
};

TEST_F(WholeGame, FromTheSplashThroughARaceToTheTable) {
  Start();
  RunFor(500);
  Press(vk::Return);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  RunFor(500);
  Press(vk::Return);
  ASSERT_EQ(form->CurrentScreen, screen::Race);
  form->FormKeyDown(vk::Up, 0);
  RunFor(4000);
  EXPECT_GT(form->RaceState.Distance, 0);

  // Leaving is asked over the race, then declined.
  Press(vk::Escape);
  ASSERT_TRUE(form->GameMainExit.Checked);
  RunFor(200);
  form->GameMainExitClick();
  form->RaceState.RaceRunning = true;

  // A level driven to its end, then every life lost.
  form->RaceState.Distance = form->RaceState.LevelLength;
  for (int frame = 0; frame < 1000 && form->RaceState.Level < 2; ++frame) RunFor(15);
  ASSERT_EQ(form->RaceState.Level, 2);
  RunFor(2500);
  form->RaceState.Score = 5000;
  for (int life = 0; life < 3; ++life) {
    form->ByeByeMyCar();
    RunFor(300);
  }
  ASSERT_EQ(form->CurrentScreen, screen::GameOver);

  RunFor(5100);
  ASSERT_TRUE(form->GameEnterName.Checked);
  for (uint8_t c : W("Гонщица")) form->FormKeyPress(c);
  RunFor(100);
  Press(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  EXPECT_EQ(form->HighScores[0], (TLocal_HighScores{W("Гонщица"), 5000}));
  RunFor(500);
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_EQ(Reported(), "");
}

}  // namespace
}  // namespace bd::test
