// The game-over screen tells the final score and the level reached, whether
// or not the score enters the table.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "codec/Cp1251.h"
#include "engine/display/Canvas.h"
#include "frontend/FrontEndRun.h"

namespace bd::test {
namespace {

class GameOverTexts : public FrontEndRun {
 protected:
  // A finished game: the game-over screen once its first five seconds ran.
  void EndGame(int32_t score, int32_t level) {
    Go(screen::MainMenu);
    form->HighScores = DefaultHighScores();
    form->Edit2.Text = form->PlayerName = "Ace";
    form->RaceState.Score = score;
    form->RaceState.Level = level;
    Go(screen::GameOver);
    RunFor(5100);
    Frame();
  }
};

// The colours (0x00BBGGRR) of the area x 150..650, y top..bottom.
std::vector<uint32_t> Area(const TDirectDrawSurface& picture, int top, int bottom) {
  std::vector<uint32_t> colors;
  for (int y = top; y <= bottom; ++y)
    for (int x = 150; x <= 650; ++x) colors.push_back(RawToColor(picture.Pixel(x, y)));
  return colors;
}

bool HasInk(const std::vector<uint32_t>& colors) {
  for (const uint32_t c : colors)
    if ((c & 0xFF) < 0x40 && ((c >> 8) & 0xFF) < 0x40 && ((c >> 16) & 0xFF) < 0x40) return true;
  return false;
}

TEST_F(GameOverTexts, BelowTheTableTheCloudsShowTheScoreAndTheLevel) {
  EndGame(40, 3);
  ASSERT_FALSE(form->GameEnterName.Checked);
  const std::vector<uint32_t> shown = Area(platform.window.Screen(), 195, 350);

  // The same texts in black at the name entry's size, centred on x 400 at
  // the heights of its score and name, on the bare picture.
  form->DXDraw.FillSurface(RawToColor(StandInColor("gameOver")));
  TCanvas& canvas = form->DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form->TextFont;
  canvas.Font.Size = 20;
  canvas.Font.Color = 0;
  canvas.Font.Style = 0;
  for (const auto& [y, text] : {std::pair{210, W("СЧЁТ: 40")}, std::pair{310, W("УРОВЕНЬ: 3")}})
    canvas.TextOut(400 - static_cast<int>(std::nearbyint(canvas.TextWidth(text) / 2.0)), y, text);
  form->DXDraw.ReleaseCanvas();
  EXPECT_EQ(shown, Area(*form->DXDraw.BackBuffer(), 195, 350));
}

TEST_F(GameOverTexts, ARecordsPanelShowsTheLevelUnderTheScore) {
  // Between the score's plate and the line that asks for the name: ink
  // that follows the level.
  std::vector<uint32_t> levelLine[2];
  for (const int32_t level : {5, 6}) {
    EndGame(1200, level);
    ASSERT_TRUE(form->GameEnterName.Checked);
    levelLine[level - 5] = Area(platform.window.Screen(), 245, 268);
    EXPECT_TRUE(HasInk(levelLine[level - 5])) << level;
  }
  EXPECT_NE(levelLine[0], levelLine[1]);
}

}  // namespace
}  // namespace bd::test
