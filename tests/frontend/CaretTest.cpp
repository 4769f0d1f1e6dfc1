// The text caret of the country and name fields.
#include <gtest/gtest.h>

#include "engine/display/Canvas.h"
#include "frontend/FrontEndRun.h"

namespace bd::test {
namespace {

using Caret = FrontEndRun;

TEST_F(Caret, BlinksFourteenFramesInThirtyWhileAFieldIsEdited) {
  Go(screen::MainMenu);
  Go(screen::Options);  // an empty country has the focus at once
  ASSERT_TRUE(form->GamegoEdit.Checked);
  int visible = 0;
  for (int frame = 0; frame < 60; ++frame) {
    form->DXTimerTimer(1);
    const bool shown = Color(272, 368) == StandInColor("palka");
    EXPECT_EQ(shown, CountOf<Palka>() > 0) << frame;
    visible += shown ? 1 : 0;
  }
  EXPECT_EQ(visible, 28);
  form->GamegoEdit.Checked = false;
  for (int frame = 0; frame < 30; ++frame) {
    form->DXTimerTimer(1);
    EXPECT_EQ(CountOf<Palka>(), 0) << frame;
  }
}

TEST_F(Caret, StandsAfterTheTextBeingEdited) {
  struct Case {
    uint8_t screen;
    const char* text;
    int size;
  };
  const Case cases[] = {{screen::Options, "Russia", 18}, {screen::GameOver, "Champion", 20}};
  for (const Case& c : cases) {
    Go(screen::MainMenu);
    Go(c.screen);
    form->Edit1.Text = form->Country = c.text;
    form->PlayerName = c.text;
    form->GamegoEdit.Checked = true;
    form->CaretBlink = 30;
    form->DXTimerTimer(1);
    TCanvas& canvas = form->DXDraw.SurfaceCanvas();
    canvas.Font.Name = form->TextFont;
    canvas.Font.Size = c.size;
    const int width = canvas.TextWidth(c.text);
    form->DXDraw.ReleaseCanvas();
    ASSERT_GT(width, 0);
    if (c.screen == screen::Options) {
      EXPECT_EQ(form->CaretTextWidth, width);
      EXPECT_EQ(Color(272 + width, 368), StandInColor("palka"));
    } else {
      // Centred name: the caret follows its right half.
      EXPECT_EQ(Color(402 + (width + 1) / 2, 338), StandInColor("palka"));
    }
  }
}

}  // namespace
}  // namespace bd::test
