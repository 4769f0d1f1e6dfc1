// Menus without a mouse: the arrows focus items as the pointer's hover
// shows them, Enter acts as a click on the focused item, and the pointer
// takes over again when it moves. Keys go through the platform's event
// queue, as the player's keyboard and pad send them.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "engine/platform/Controller.h"
#include "frontend/FrontEndRun.h"

namespace bd::test {
namespace {

class KeyFocusRun : public FrontEndRun {
 protected:
  void Tap(int key) {
    platform.events.KeyDown(key);
    platform.events.KeyUp(key);
    RunFor(20);
  }
};

TEST_F(KeyFocusRun, ArrowsWalkTheMenuAndEnterChoosesAsAClickWould) {
  Go(screen::MainMenu);
  Frame();
  ClearSounds();
  Tap(vk::Down);  // the first item
  EXPECT_EQ(CountOf<Start_Game>(), 1);
  Tap(vk::Down);
  Tap(vk::Right);  // the third: the high scores
  EXPECT_EQ(CountOf<Start_Game>(), 0);
  EXPECT_EQ(CountOf<High_Score>(), 1);
  EXPECT_EQ(PlayCount("button_up"), 3);  // the hover sound, once per item reached
  Tap(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);

  // Backwards from nothing reaches the last item, the badge, which opens
  // the shortcut as its click does.
  Go(screen::MainMenu);
  Tap(vk::Up);
  EXPECT_EQ(CountOf<fggActive>(), 1);
  Tap(vk::Return);
  EXPECT_EQ(platform.shell.Opened(), std::vector<std::string>{"http://games.bumperdash.example/"});
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);

  // Moving the pointer takes the focus away: Enter starts the race again.
  Tap(vk::Down);
  platform.events.MouseMove(100, 100);
  RunFor(20);
  EXPECT_EQ(CountOf<Start_Game>(), 0);
  Tap(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::Race);
}

TEST_F(KeyFocusRun, TheExitQuestionIsAnsweredFromTheKeysOnTheMenuAndInTheRace) {
  Go(screen::MainMenu);
  Tap(vk::Escape);
  ASSERT_TRUE(form->GameMainExit.Checked);
  Tap(vk::Left);  // backwards from nothing: "Нет"
  EXPECT_EQ(CountOf<TMainExit_No>(), 1);
  Tap(vk::Return);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_FALSE(app->Terminated());

  // In a race: the arrows choose, Enter answers, Escape says "Нет".
  Tap(vk::Return);
  RunFor(2200);
  ASSERT_TRUE(form->RaceState.RaceRunning);
  Tap(vk::Escape);
  ASSERT_TRUE(form->GameMainExit.Checked);
  Tap(vk::Right);
  Tap(vk::Right);  // "Да", then "Нет"
  EXPECT_EQ(CountOf<TMainExit_No>(), 1);
  Tap(vk::Return);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_TRUE(form->RaceState.RaceRunning);
  Tap(vk::Escape);
  Tap(vk::Escape);
  EXPECT_FALSE(form->GameMainExit.Checked);
  EXPECT_TRUE(form->RaceState.RaceRunning);

  // A pad: Back asks, the d-pad chooses "Да", A answers: the race is left.
  platform.events.Pad(ControllerInput::Press(1, PadButton::Back));
  platform.events.Pad(ControllerInput::Release(1, PadButton::Back));
  RunFor(20);
  ASSERT_TRUE(form->GameMainExit.Checked);
  platform.events.Pad(ControllerInput::Press(1, PadButton::DPadRight));
  platform.events.Pad(ControllerInput::Release(1, PadButton::DPadRight));
  RunFor(20);
  EXPECT_EQ(CountOf<TMainExit_Yes>(), 1);
  platform.events.Pad(ControllerInput::Press(1, PadButton::A));
  platform.events.Pad(ControllerInput::Release(1, PadButton::A));
  RunFor(20);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);  // no score for the table
}

TEST_F(KeyFocusRun, HelpPagesAndTheTableAreWorkedFromTheKeys) {
  Go(screen::MainMenu);
  Go(screen::Help);
  ASSERT_EQ(form->HelpPage, 1);
  Tap(vk::Up);  // backwards from nothing: the last button, the next page
  EXPECT_EQ(CountOf<HelpGame_Up>(), 1);
  Tap(vk::Return);
  EXPECT_EQ(form->HelpPage, 2);
  Tap(vk::Right);
  Tap(vk::Right);  // the back button
  EXPECT_EQ(CountOf<HelpGame_Back>(), 1);
  Tap(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);

  // The table: Clear opens its question, whose "Нет" keeps the scores and
  // whose "Да" clears them.
  Go(screen::HighScores);
  form->HighScores[0] = {"Ace", 9999};
  Tap(vk::Down);  // Clear
  EXPECT_EQ(CountOf<HighScore_Clear>(), 1);
  Tap(vk::Return);
  ASSERT_TRUE(form->GameClearHighScore.Checked);
  Tap(vk::Left);  // "Нет"
  Tap(vk::Return);
  EXPECT_FALSE(form->GameClearHighScore.Checked);
  EXPECT_EQ(form->HighScores[0].Score, 9999);
  Tap(vk::Down);
  Tap(vk::Return);
  Tap(vk::Right);  // "Да"
  Tap(vk::Return);
  EXPECT_EQ(form->HighScores, DefaultHighScores());
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
}

// The orange frame that shows the focus where the pointer has no highlight.
constexpr uint32_t kFocusFrame = 0x0000A5FF;

TEST_F(KeyFocusRun, OptionsRowsChangeWithLeftRightOrEnterUnderAFrame) {
  form->Edit1.Text = "Russia";
  Go(screen::Options);
  Frame();
  EXPECT_FALSE(AnyPixel(40, 240, 480, 390, kFocusFrame));
  ClearSounds();
  Tap(vk::Down);
  Tap(vk::Down);  // the music row
  EXPECT_EQ(PlayCount("button_up"), 2);
  EXPECT_EQ(Color(57, 297), kFocusFrame);
  EXPECT_NE(Color(57, 267), kFocusFrame);  // not the display row's
  ASSERT_TRUE(form->GameMusic.Checked);
  Tap(vk::Left);  // "Вкл" is taken already
  EXPECT_TRUE(form->GameMusic.Checked);
  Tap(vk::Right);
  EXPECT_FALSE(form->GameMusic.Checked);
  Tap(vk::Return);  // Enter takes the other choice
  EXPECT_TRUE(form->GameMusic.Checked);
  EXPECT_EQ(Color(57, 297), kFocusFrame);  // the focus stays on the row

  // The display row switches the display; the focus stays where it was.
  Tap(vk::Up);
  Tap(vk::Right);
  EXPECT_TRUE(form->GameFullScreen.Checked);
  EXPECT_EQ(form->CurrentScreen, screen::Options);
  Tap(vk::Left);
  EXPECT_FALSE(form->GameFullScreen.Checked);

  // The country field takes the typing with Enter, as with a click; Back
  // leaves, and the choices were kept.
  Tap(vk::Up);  // round to the back button
  Tap(vk::Up);  // the country field
  form->GamegoEdit.Checked = false;
  Tap(vk::Return);
  EXPECT_TRUE(form->GamegoEdit.Checked);
  Tap(vk::Down);
  EXPECT_EQ(CountOf<HelpGame_Back>(), 1);
  Tap(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
  EXPECT_TRUE(form->GameMusic.Checked);
}

TEST_F(KeyFocusRun, TheNameEntrysSendBoxTicksFromTheKeysAndTheTypingStays) {
  form->HighScores = DefaultHighScores();
  form->RaceState.Score = 150;  // enters the table
  form->Edit2.Text = "Ace";     // a remembered name
  Go(screen::GameOver);
  RunFor(5100);
  ASSERT_TRUE(form->GameEnterName.Checked);
  Tap(vk::Down);  // the name field
  EXPECT_TRUE(form->GamegoEdit.Checked);
  EXPECT_EQ(Color(207, 325), kFocusFrame);
  Tap(vk::Down);  // the send box
  EXPECT_EQ(Color(207, 400), kFocusFrame);
  Tap(vk::Return);
  EXPECT_TRUE(form->GameSendResult.Checked);
  EXPECT_TRUE(form->GamegoEdit.Checked);
  platform.events.Char('s');
  // Space, typed while the name takes the typing, leaves the box alone even
  // with the focus on it; Enter ticks it off again.
  Tap(vk::Space);
  EXPECT_TRUE(form->GameSendResult.Checked);
  Tap(vk::Return);
  EXPECT_FALSE(form->GameSendResult.Checked);
  EXPECT_EQ(form->Edit2.Text, "Aces");
  Tap(vk::Up);
  Tap(vk::Return);  // Enter on the name enters the score
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  const TLocal_HighScores entered{"Aces", 150};
  EXPECT_NE(std::find(std::begin(form->HighScores), std::end(form->HighScores), entered), std::end(form->HighScores));
}

}  // namespace
}  // namespace bd::test
