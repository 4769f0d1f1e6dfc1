// Keys on the front-end screens: typing the country against the field's
// width, Escape with the clear confirmation open, the game-over timing.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "codec/Cp1251.h"
#include "engine/display/Canvas.h"
#include "engine/platform/Controller.h"
#include "frontend/FrontEndRun.h"

namespace bd::test {
namespace {

using Keys = FrontEndRun;

int CountryWidth(TMainForm& form, const std::string& text) {
  TCanvas& canvas = form.DXDraw.SurfaceCanvas();
  canvas.Font.Name = form.TextFont;
  canvas.Font.Size = 18;
  const int width = canvas.TextWidth(text);
  form.DXDraw.ReleaseCanvas();
  return width;
}

TEST_F(Keys, CountryTakesOneCharacterEveryThirdFrameUntilTheFieldIsFull) {
  struct Case {
    char letter;
    bool fillsByWidth;  // wide letters fill the field before ten are typed
  };
  for (const Case c : {Case{'W', true}, Case{'i', false}}) {
    form->Edit1.Text.clear();
    form->Country.clear();
    Go(screen::MainMenu);
    Go(screen::Options);
    ASSERT_TRUE(form->GamegoEdit.Checked);
    // Two characters in one frame: the second comes too soon.
    form->FormKeyPress(static_cast<uint8_t>(c.letter));
    form->FormKeyPress(static_cast<uint8_t>(c.letter));
    EXPECT_EQ(form->Edit1.Text.size(), 1u);
    for (int frame = 0; frame < 120; ++frame) {
      form->DXTimerTimer(1);
      form->FormKeyPress(static_cast<uint8_t>(c.letter));
    }
    const std::string typed = form->Edit1.Text;
    const std::string allButLast = typed.substr(0, typed.size() - 1);
    EXPECT_LE(CountryWidth(*form, allButLast) + 15, 180) << c.letter;
    if (c.fillsByWidth) {
      EXPECT_LT(typed.size(), 10u);
      EXPECT_GT(CountryWidth(*form, typed) + 15, 180);
    } else {
      EXPECT_EQ(typed, std::string(10, c.letter));
    }
    // Characters outside the accepted set never enter.
    form->Edit1.Text = "Ab";
    for (int ch : {int('-'), int(' '), int('%'), int('|'), 0xA0, 0xA9}) {
      for (int frame = 0; frame < 4; ++frame) form->DXTimerTimer(1);
      form->FormKeyPress(static_cast<uint8_t>(ch));
    }
    EXPECT_EQ(form->Edit1.Text, "Ab");
  }
}

TEST_F(Keys, EscapeWithTheClearConfirmationOpenKeepsTheTable) {
  Go(screen::MainMenu);
  Go(screen::HighScores);
  form->HighScores[0] = {"Ace", 9999};
  ClickAt(100, 540);
  ASSERT_TRUE(form->GameClearHighScore.Checked);
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  EXPECT_FALSE(form->GameClearHighScore.Checked);
  EXPECT_EQ(form->HighScores[0].Score, 9999);
  Frame();
  EXPECT_EQ(Color(600, 400), StandInColor("Visit Web Site_n"));
  EXPECT_TRUE(AnyPixel(190, 120, 300, 145, 0));  // the title is back
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);
}

TEST_F(Keys, EscapeLeavesASubScreenWithTheExitConfirmationClosed) {
  for (uint8_t s : {screen::Help, screen::Options, screen::HighScores}) {
    Go(screen::MainMenu);
    Go(s);
    form->GameMainExitClick();
    ASSERT_TRUE(form->GameMainExit.Checked);
    Press(vk::Escape);
    EXPECT_EQ(form->CurrentScreen, screen::MainMenu) << int(s);
    EXPECT_FALSE(form->GameMainExit.Checked) << int(s);
  }
}

TEST_F(Keys, GameOverWaitsFiveSecondsUnlessARememberedNameEntersTheScore) {
  // A score below the table: neither key leaves during the first five seconds.
  form->RaceState.Score = 50;
  Go(screen::GameOver);
  Press(vk::Escape);
  Press(vk::Return);
  RunFor(4900);
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::GameOver);
  RunFor(200);
  Press(vk::Escape);
  EXPECT_EQ(form->CurrentScreen, screen::MainMenu);

  // A score that enters the table with a name kept from before: Enter enters
  // it at once, before the name entry has opened.
  form->Edit2.Text = form->PlayerName = "Ace";
  form->RaceState.Score = 1200;
  Go(screen::GameOver);
  Press(vk::Return);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  EXPECT_EQ(form->HighScores[4], (TLocal_HighScores{"Ace", 1200}));
  EXPECT_EQ(form->HighScores[5].Score, 1000);
}

TEST_F(Keys, TheNameEntryTakesTheTypingAtOnceAndNoTypedKeyTicksTheSendBox) {
  // A name remembered from the last record: the entry opens with the caret
  // after it and the typing goes on from it.
  form->HighScores = DefaultHighScores();
  form->Edit2.Text = form->PlayerName = W("Пе");
  form->RaceState.Score = 1200;
  Go(screen::GameOver);
  while (!form->GameEnterName.Checked) RunFor(16);
  EXPECT_TRUE(form->GamegoEdit.Checked);
  Frame();
  EXPECT_EQ(CountOf<Palka>(), 1);

  // Typed as a keyboard sends it: every key goes down and up, Space also
  // types its character. A space is no part of a name and ticks nothing.
  auto type = [this](const std::string& utf8) {
    for (uint8_t c : W(utf8)) {
      // The Cyrillic letters' own keys are left out: their codes depend on
      // the layout.
      const int key = c == ' ' ? vk::Space : (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : (c < 128 ? c : 0);
      if (key != 0) platform.events.KeyDown(key);
      platform.events.Char(c);
      if (key != 0) platform.events.KeyUp(key);
      RunFor(60);
    }
  };
  type("тя Pt3");
  EXPECT_EQ(form->Edit2.Text, W("ПетяPt3"));
  EXPECT_FALSE(form->GameSendResult.Checked);
  EXPECT_EQ(CountOf<TEnter_Name_Send>(), 0);

  // A pad's X, which types nothing, ticks the box and unticks it.
  for (const bool ticked : {true, false}) {
    platform.events.Pad(ControllerInput::Press(1, PadButton::X));
    RunFor(30);
    platform.events.Pad(ControllerInput::Release(1, PadButton::X));
    RunFor(30);
    EXPECT_EQ(form->GameSendResult.Checked, ticked);
    EXPECT_EQ(CountOf<TEnter_Name_Send>(), ticked ? 1 : 0);
  }
  platform.events.KeyDown(vk::Return);
  RunFor(30);
  EXPECT_EQ(form->CurrentScreen, screen::HighScores);
  EXPECT_EQ(form->HighScores[4], (TLocal_HighScores{W("ПетяPt3"), 1200}));
}

TEST_F(Keys, TypingGoesOnIntoTheSameFieldAfterADisplaySwitch) {
  auto altEnter = [this] {
    platform.events.KeyDown(vk::Return, ssAlt);
    platform.events.KeyUp(vk::Return, ssAlt);
  };
  auto typeLetters = [this](const char* text) {
    for (const char* c = text; *c != 0; ++c) {
      platform.events.Char(static_cast<uint8_t>(*c));
      RunFor(60);  // the country takes a character every third frame
    }
  };
  struct Case {
    const char* how;
    std::function<void()> switchDisplay;
  };
  const Case cases[] = {
      {"Alt+Enter", altEnter},
      {"the full-screen option", [this] {
         platform.events.MouseMove(form->GameFullScreen.Checked ? 200 : 350, 268);
         platform.events.MouseDown(0, 0);
       }},
  };
  for (const Case& c : cases) {
    form->Edit1.Text.clear();
    form->Country.clear();
    Go(screen::MainMenu);
    Go(screen::Options);
    ASSERT_TRUE(form->GamegoEdit.Checked) << c.how;
    const bool fullScreen = form->GameFullScreen.Checked;
    c.switchDisplay();
    RunFor(100);
    ASSERT_NE(form->GameFullScreen.Checked, fullScreen) << c.how;
    typeLetters("Rus");
    EXPECT_EQ(form->Edit1.Text, "Rus") << c.how;
  }

  // The name on the game-over screen, typed on both sides of a switch.
  form->RaceState.Score = 5000;
  Go(screen::GameOver);
  RunFor(5200);
  ASSERT_TRUE(form->GamegoEdit.Checked);
  typeLetters("Iv");
  altEnter();
  RunFor(100);
  typeLetters("an");
  EXPECT_EQ(form->Edit2.Text, "Ivan");
}

}  // namespace
}  // namespace bd::test
