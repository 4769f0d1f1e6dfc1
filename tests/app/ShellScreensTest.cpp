// The game-over texts, the close button where it asks before leaving, and
// the way out of the program.
#include <gtest/gtest.h>

#include <fstream>

#include "app/GameRun.h"

namespace bd::test {
namespace {

class ShellScreens : public GameRun {
 protected:
  uint32_t ShownColor(int x, int y) { return RawToColor(platform.window.Screen().Pixel(x, y)); }
  int DarkPixels(const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if ((ShownColor(x, y) & 0x00C0C0C0) == 0) ++n;
    return n;
  }
};

TEST_F(ShellScreens, GameOverShowsScoreAndNameOnceTheTimerHasFired) {
  Start();
  form->RaceState.Score = 5000;
  form->Edit2.Text = "Ivan";
  form->SwitchScreen(screen::GameOver);
  EXPECT_EQ(form->Timer1.Interval(), 5000u);
  RunFor(4900);
  EXPECT_EQ(ShownColor(10, 10), StandInColor("gameOver"));
  // Before the name entry opens, the picture itself tells the score and
  // the level reached.
  EXPECT_FALSE(form->GameEnterName.Checked);
  EXPECT_EQ(ShownColor(190, 170), StandInColor("gameOver"));
  EXPECT_GT(DarkPixels({300, 205, 500, 240}), 0);
  EXPECT_GT(DarkPixels({300, 305, 500, 340}), 0);
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Hidden);

  RunFor(200);
  ASSERT_TRUE(form->GameEnterName.Checked);
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Arrow);
  EXPECT_GT(DarkPixels({300, 205, 500, 240}), 0);  // the score
  EXPECT_GT(DarkPixels({300, 305, 500, 340}), 0);  // the name
  EXPECT_EQ(form->PlayerName, "Ivan");
}

TEST_F(ShellScreens, CloseButtonOpensOrTogglesTheExitConfirmation) {
  Start();
  form->SwitchScreen(screen::MainMenu);
  platform.events.CloseRequest();
  RunFor(20);
  EXPECT_TRUE(form->GameMainExit.Checked);
  platform.events.CloseRequest();  // stays open on the menu
  RunFor(20);
  EXPECT_TRUE(form->GameMainExit.Checked);
  EXPECT_FALSE(app->Terminated());

  form->GameMainExitClick();
  Press(vk::Return);
  // Asked during the level caption: the race does not start under the
  // confirmation, and the caption waits for it.
  platform.events.CloseRequest();
  RunFor(2100);
  EXPECT_TRUE(form->GameMainExit.Checked);
  EXPECT_FALSE(form->RaceState.RaceRunning);
  EXPECT_TRUE(form->RaceHost().LevelTimerEnabled());
  platform.events.CloseRequest();  // toggles it shut on the race
  RunFor(20);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_FALSE(app->Terminated());
}

TEST_F(ShellScreens, ClosingOpensTheAddressOfPlayUrl) {
  std::ofstream("play.url") << "[InternetShortcut]\r\nURL=https://bumperdash.example/play\r\n";
  Start();
  form->SwitchScreen(screen::Exit);
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(platform.shell.Opened(), (std::vector<std::string>{"https://bumperdash.example/play"}));
  EXPECT_EQ(PlayCount("button_down"), 1);
}

}  // namespace
}  // namespace bd::test
