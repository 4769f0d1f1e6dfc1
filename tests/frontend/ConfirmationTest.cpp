// The exit and clear-high-scores confirmations.
#include <gtest/gtest.h>

#include <functional>

#include "codec/Cp1251.h"
#include "frontend/FrontEndRun.h"

namespace bd::test {
namespace {

using Confirmation = FrontEndRun;

TEST_F(Confirmation, ExitConfirmationOpensOnlyWhereAGameOrMenuCanBeLeft) {
  struct Case {
    const char* what;
    uint8_t screen;
    bool paused;
    uint8_t levelEndState;
    bool levelCompleteTimer;
    bool opens;
  };
  const Case cases[] = {
      {"main menu", screen::MainMenu, false, 0, false, true},
      {"options", screen::Options, false, 0, false, true},
      {"paused race", screen::Race, true, 0, false, true},
      {"level-complete marker", screen::Race, false, 1, false, false},
      {"level-complete clock", screen::Race, false, 0, true, false},
      {"splash", screen::Splash, false, 0, false, false},
      {"exit screen", screen::Exit, false, 0, false, false},
      {"game over", screen::GameOver, false, 0, false, false},
  };
  Go(screen::MainMenu);
  for (const Case& c : cases) {
    // The screen number alone decides; the screens are not built here.
    form->CurrentScreen = c.screen;
    form->RaceState.Paused = c.paused;
    form->RaceState.LevelEndState = c.levelEndState;
    form->RaceHost().SetLevelCompleteTimerEnabled(c.levelCompleteTimer);
    const bool timer1 = form->Timer1.Enabled();
    form->GameMainExitClick();
    EXPECT_EQ(form->GameMainExit.Checked, c.opens) << c.what;
    EXPECT_EQ(form->Timer1.Enabled(), timer1 != c.opens) << c.what;
    if (c.opens) {
      EXPECT_EQ(platform.window.Caption(), W("Bumper Dash [Пауза]")) << c.what;
      EXPECT_EQ(platform.window.Pointer(), PointerShape::Hand) << c.what;
      form->GameMainExitClick();
      EXPECT_FALSE(form->GameMainExit.Checked) << c.what;
      // A paused race stays paused under its caption.
      EXPECT_EQ(platform.window.Caption(), c.paused ? W("Bumper Dash [Пауза]") : "Bumper Dash") << c.what;
      EXPECT_EQ(form->RaceState.RaceRunning, false) << c.what;
      EXPECT_EQ(platform.window.Pointer(), PointerShape::Hidden) << c.what;
      EXPECT_EQ(form->Timer1.Enabled(), timer1) << c.what;
    }
    form->RaceState.Paused = false;
    form->RaceState.LevelEndState = 0;
    form->RaceHost().SetLevelCompleteTimerEnabled(false);
  }
}

TEST_F(Confirmation, ExitConfirmationShowsItsPicturesAndAnswers) {
  Go(screen::MainMenu);
  Move(600, 500);
  Click();  // the Exit item
  ASSERT_TRUE(form->GameMainExit.Checked);
  Move(300, 360);
  Frame();
  EXPECT_EQ(Color(400, 200), StandInColor("Exit_Main_Word"));
  EXPECT_EQ(Color(300, 360), StandInColor("Exit_Main_Yes_d"));
  EXPECT_EQ(Color(600, 400), StandInColor("Exit_Main"));
  // While it is open the column does not answer.
  Move(600, 200);
  Click();
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_EQ(CountOf<TMenuGame>(), 0);
  // No closes it and rebuilds the menu without its pictures.
  Move(450, 360);
  Click();
  EXPECT_FALSE(form->GameMainExit.Checked);
  Frame();
  EXPECT_EQ(Color(400, 200), StandInColor("menu"));
  EXPECT_EQ(Color(300, 360), StandInColor("menu"));
  // Yes leaves the game; without an exit screen the program closes.
  form->GameMainExitClick();
  Move(300, 360);
  Click();
  EXPECT_TRUE(app->Terminated());
}

TEST_F(Confirmation, LeavingASubScreenClosesTheExitConfirmation) {
  struct Case {
    const char* way;
    uint8_t screen;
    std::function<void(Confirmation&)> leave;
  };
  const Case cases[] = {
      {"help's back button", screen::Help, [](Confirmation& t) { t.ClickAt(250, 540); }},
      {"options' back button", screen::Options, [](Confirmation& t) { t.ClickAt(250, 540); }},
      {"high scores' back button", screen::HighScores, [](Confirmation& t) { t.ClickAt(250, 540); }},
  };
  for (const Case& c : cases) {
    Go(screen::MainMenu);
    Go(c.screen);
    const bool timer1 = form->Timer1.Enabled();
    form->GameMainExitClick();
    ASSERT_TRUE(form->GameMainExit.Checked) << c.way;
    c.leave(*this);
    EXPECT_EQ(form->CurrentScreen, screen::MainMenu) << c.way;
    EXPECT_FALSE(form->GameMainExit.Checked) << c.way;
    EXPECT_EQ(platform.window.Caption(), "Bumper Dash") << c.way;
    EXPECT_EQ(form->Timer1.Enabled(), timer1) << c.way;
    // The menu answers its column again, not invisible Yes and No buttons.
    ClickAt(300, 360);
    EXPECT_FALSE(app->Terminated()) << c.way;
    Move(600, 200);
    EXPECT_EQ(CountOf<Options>(), 1) << c.way;
  }
}

TEST_F(Confirmation, ClearConfirmationResetsTheTableOnlyOnYes) {
  Go(screen::MainMenu);
  Go(screen::HighScores);
  form->HighScores[0] = {"Ace", 9999};
  Frame();
  EXPECT_TRUE(AnyPixel(85, 198, 200, 220, 0));   // the rows are drawn
  EXPECT_TRUE(AnyPixel(190, 120, 300, 145, 0));  // and the title

  ClickAt(100, 540);  // Clear
  ASSERT_TRUE(form->GameClearHighScore.Checked);
  Frame();
  EXPECT_EQ(Color(600, 400), StandInColor("Exit_Main"));
  EXPECT_EQ(Color(400, 200), StandInColor("HighScore_Clear_Word"));
  // The table stays drawn under the question, so it does not look cleared
  // before the answer: the title and the rows below the question show, and
  // no row's text runs over the question's frame.
  EXPECT_TRUE(AnyPixel(190, 120, 300, 145, 0));
  EXPECT_TRUE(AnyPixel(85, 468, 200, 490, 0));
  EXPECT_FALSE(AnyPixel(180, 165, 619, 424, 0));

  ClickAt(450, 360);  // No
  EXPECT_FALSE(form->GameClearHighScore.Checked);
  EXPECT_EQ(form->HighScores[0].Score, 9999);
  Frame();
  EXPECT_EQ(Color(600, 400), StandInColor("Visit Web Site_n"));

  ClickAt(100, 540);
  ClickAt(300, 360);  // Yes
  EXPECT_FALSE(form->GameClearHighScore.Checked);
  EXPECT_EQ(form->HighScores, DefaultHighScores());
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  Frame();
  EXPECT_EQ(Color(600, 400), StandInColor("Visit Web Site_n"));
}

TEST_F(Confirmation, TheAnswersMayBeReachedOutsideThePanel) {
  // The right half of "Нет" lies beyond the sub-screens' panel.
  struct Case {
    const char* what;
    uint8_t screen;
    bool clear;  // the clear question, else the exit question
    uint8_t afterNo;
  };
  const Case cases[] = {
      {"clear question", screen::HighScores, true, screen::HighScores},
      {"exit question on the table", screen::HighScores, false, screen::MainMenu},
      {"exit question on help", screen::Help, false, screen::MainMenu},
      {"exit question on options", screen::Options, false, screen::MainMenu},
  };
  for (const Case& c : cases) {
    Go(screen::MainMenu);
    Go(c.screen);
    form->HighScores[0] = {"Ace", 9999};
    c.clear ? form->GameClearHighScoreClick() : form->GameMainExitClick();
    Move(520, 370);
    Move(530, 375);
    EXPECT_EQ(form->CurrentScreen, c.screen) << c.what;
    EXPECT_TRUE(c.clear ? form->GameClearHighScore.Checked : form->GameMainExit.Checked) << c.what;
    EXPECT_GE(CountOf<TMainExit_No>(), 1) << c.what;  // "Нет" is highlighted
    Click();
    EXPECT_FALSE(form->GameClearHighScore.Checked || form->GameMainExit.Checked) << c.what;
    EXPECT_EQ(form->CurrentScreen, c.afterNo) << c.what;
    EXPECT_EQ(form->HighScores[0].Score, 9999) << c.what;
    // With the question gone, leaving the panel leaves the screen again.
    Move(600, 100);
    EXPECT_EQ(form->CurrentScreen, screen::MainMenu) << c.what;
  }
}

// The table's Clear button still answers under the exit question, so the
// clear question can open under it. Keys and presses go to the uppermost
// question first, and what it does not take goes to the one below.
TEST_F(Confirmation, TheExitQuestionOverTheClearQuestionAnswersFirst) {
  struct Case {
    const char* what;
    int key;  // 0: a click at (x, y)
    int x, y;
    uint8_t screen;
    bool exitOpen;
    bool clearOpen;
  };
  const Case cases[] = {
      {"Down focuses the exit question's first answer", vk::Down, 0, 0, screen::HighScores, true, true},
      {"Escape passes the exit question by and closes the clear question", vk::Escape, 0, 0,
       screen::HighScores, false, false},
      {"No answers the exit question", 0, 450, 360, screen::MainMenu, false, false},
  };
  for (const Case& c : cases) {
    Go(screen::MainMenu);
    Go(screen::HighScores);
    form->GameMainExitClick();
    ClickAt(100, 540);  // Clear, under the exit question
    ASSERT_TRUE(form->GameMainExit.Checked && form->GameClearHighScore.Checked) << c.what;
    if (c.key != 0)
      form->FormKeyDown(c.key, 0);
    else
      ClickAt(c.x, c.y);
    EXPECT_EQ(form->CurrentScreen, c.screen) << c.what;
    EXPECT_EQ(form->GameMainExit.Checked, c.exitOpen) << c.what;
    if (c.exitOpen) {
      EXPECT_EQ(form->KeyFocus, 0) << c.what;
      EXPECT_GE(CountOf<TMainExit_Yes>(), 1) << c.what;
    }
    // Back on the table, no question is left standing without its picture:
    // the panel's Back button answers.
    if (c.screen != screen::HighScores) {
      ClickAt(600, 270);  // High Score in the column
      ASSERT_EQ(form->CurrentScreen, screen::HighScores) << c.what;
    }
    EXPECT_EQ(form->GameClearHighScore.Checked, c.clearOpen) << c.what;
    if (!c.exitOpen) {
      ClickAt(250, 540);
      EXPECT_EQ(form->CurrentScreen, screen::MainMenu) << c.what;
    }
  }
}

}  // namespace
}  // namespace bd::test
