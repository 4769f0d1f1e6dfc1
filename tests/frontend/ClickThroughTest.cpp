// A player's way through the front end, from the splash screen, checked on
// the presented picture.
#include <gtest/gtest.h>

#include "frontend/FrontEndRun.h"

namespace bd::test {
namespace {

using ClickThrough = FrontEndRun;

constexpr uint32_t kWhite = 0x00FFFFFF;

TEST_F(ClickThrough, SplashToOptionsHighScoresHelpPageThreeAndBack) {
  ASSERT_EQ(form->CurrentScreen, screen::Splash);
  RunFor(4100);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);

  Move(600, 200);
  Frame();
  EXPECT_EQ(Color(520, 190), StandInColor("Options_d"));
  Click();
  ASSERT_EQ(form->CurrentScreen, screen::Options);
  Move(255, 320);  // where the hand-over put the pointer
  Frame();
  EXPECT_EQ(Color(30, 130), StandInColor("menuPodmenu"));
  EXPECT_EQ(Color(270, 345), StandInColor("Options_Country"));
  // Windowed, music and sound on: those words are white, the others not.
  EXPECT_TRUE(AnyPixel(173, 258, 260, 278, kWhite));
  EXPECT_FALSE(AnyPixel(293, 258, 450, 278, kWhite));
  EXPECT_TRUE(AnyPixel(153, 317, 190, 338, kWhite));
  EXPECT_FALSE(AnyPixel(215, 317, 270, 338, kWhite));

  // Off the panel onto the column: the menu is back with the item lit.
  Move(600, 270);
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  Frame();
  EXPECT_EQ(Color(520, 265), StandInColor("High Score_d"));
  Click();
  ASSERT_EQ(form->CurrentScreen, screen::HighScores);
  Move(250, 540);
  Frame();
  EXPECT_EQ(Color(45, 200), StandInColor("HighScore_Table_row"));
  EXPECT_EQ(Color(190, 526), StandInColor("HighScore_Back_d"));
  EXPECT_EQ(Color(40, 526), StandInColor("HighScore_Clear_n"));
  Click();
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);

  Move(600, 350);
  Click();
  ASSERT_EQ(form->CurrentScreen, screen::Help);
  Move(400, 540);
  Frame();
  EXPECT_EQ(Color(340, 526), StandInColor("Help_Down"));
  EXPECT_EQ(Color(40, 526), StandInColor("Help_prev"));
  Click();
  Click();
  EXPECT_EQ(form->HelpPage, 3);
  Frame();
  EXPECT_EQ(Color(100, 322), StandInColor("rabbit"));
  Move(250, 540);
  Frame();
  EXPECT_EQ(Color(190, 526), StandInColor("Help_Back_p"));
  // The help screen's own back button stands a pixel further left.
  EXPECT_EQ(Color(186, 540), StandInColor("Help_back_n"));
  Click();
  ASSERT_EQ(form->CurrentScreen, screen::MainMenu);
  Frame();
  EXPECT_EQ(Color(100, 322), StandInColor("menu"));
  EXPECT_EQ(Color(520, 190), StandInColor("Options_n"));
}

TEST_F(ClickThrough, GameOverIgnoresClicksForFiveSeconds) {
  form->HighScores = DefaultHighScores();
  form->RaceState.Score = 50;  // below the table
  Go(screen::GameOver);
  Move(400, 300);
  Click();
  RunFor(4900);
  Click();
  EXPECT_EQ(form->CurrentScreen, screen::GameOver);
  RunFor(200);
  EXPECT_FALSE(form->Timer1.Enabled());
  EXPECT_EQ(platform.window.Pointer(), PointerShape::Arrow);
  Click();
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
}

TEST_F(ClickThrough, GameOverNameFieldAndSendBoxAfterFiveSeconds) {
  form->HighScores = DefaultHighScores();
  form->RaceState.Score = 150;  // enters the table
  Go(screen::GameOver);
  RunFor(5100);
  ASSERT_EQ(form->CurrentScreen, screen::GameOver);
  form->Edit2.Text = "Ace";
  form->GamegoEdit.Checked = true;
  ClickAt(100, 100);  // elsewhere: a named field loses the focus
  EXPECT_FALSE(form->GamegoEdit.Checked);
  EXPECT_EQ(form->CurrentScreen, screen::GameOver);
  ClickAt(300, 325);
  EXPECT_TRUE(form->GamegoEdit.Checked);
  ClickAt(240, 400);
  EXPECT_TRUE(form->GameSendResult.Checked);
  Frame();
  EXPECT_EQ(Color(240, 400), StandInColor("Enter_Name_Send"));
  ClickAt(240, 400);
  EXPECT_FALSE(form->GameSendResult.Checked);
}

}  // namespace
}  // namespace bd::test
