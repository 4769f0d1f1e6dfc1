// The high-score table's texts stay inside their columns whatever the
// name entry and the scores allow.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "engine/display/Canvas.h"
#include "codec/Cp1251.h"
#include "frontend/FrontEndRun.h"

namespace bd::test {
namespace {

using ScoreTableTexts = FrontEndRun;

// The leftmost and rightmost x of black text pixels of `picture` in table
// row `row` between x0 and x1 (inclusive); -1 when there are none.
std::pair<int, int> InkSpan(const TDirectDrawSurface& picture, int row, int x0, int x1) {
  int left = -1, right = -1;
  const int top = 198 + 30 * row;
  for (int y = top; y < top + 26; ++y)
    for (int x = x0; x <= x1; ++x) {
      const uint32_t c = RawToColor(picture.Pixel(x, y));
      if ((c & 0xFF) < 0x40 && ((c >> 8) & 0xFF) < 0x40 && ((c >> 16) & 0xFF) < 0x40) {
        if (left < 0 || x < left) left = x;
        right = std::max(right, x);
      }
    }
  return {left, right};
}

TEST_F(ScoreTableTexts, WideNamesAndLongScoresShrinkIntoTheirColumns) {
  struct Row {
    const char* name;
    int32_t score;
    bool fitsAsIs;
  };
  const Row rows[] = {
      {"ЖЖЖЖЖЖЖЖЖЖ", 2147483647, false},
      {"WWWWWWWWWW", 1999999999, false},
      {"Иван", 1000, true},
  };
  Go(screen::MainMenu);
  for (int i = 0; i < 3; ++i) form->HighScores[i] = {W(rows[i].name), rows[i].score};
  Go(screen::HighScores);
  Frame();
  const TDirectDrawSurface& shown = platform.window.Screen();
  for (int i = 0; i < 3; ++i) {
    const Row& r = rows[i];
    // The name ends before the score column's divider at 347, the score
    // before the row's edge at 470; both are still there.
    const auto [nameLeft, nameRight] = InkSpan(shown, i, 150, 361);
    const auto [scoreLeft, scoreRight] = InkSpan(shown, i, 362, 490);
    EXPECT_GE(nameLeft, 160) << r.name;
    EXPECT_LT(nameRight, 346) << r.name;
    EXPECT_GE(scoreLeft, 362) << r.name;
    EXPECT_LT(scoreRight, 466) << r.name;
    // Shrunk only as far as needed: it still fills most of its column.
    EXPECT_GT(nameRight - nameLeft, r.fitsAsIs ? 0 : 150) << r.name;
    EXPECT_GT(scoreRight - scoreLeft, r.fitsAsIs ? 0 : 80) << r.name;
  }
  // A text that fits keeps the table's size: the same ink as the row's text
  // written at that size on a blank picture.
  const auto nameShown = InkSpan(shown, 2, 150, 361);
  const auto scoreShown = InkSpan(shown, 2, 362, 490);
  form->DXDraw.FillSurface(0x00FFFFFF);
  TCanvas& canvas = form->DXDraw.SurfaceCanvas();
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.Font.Name = form->TextFont;
  canvas.Font.Size = 19;
  canvas.Font.Color = 0;
  canvas.TextOut(160, 198 + 60, W(rows[2].name));
  canvas.TextOut(362, 198 + 60, std::to_string(rows[2].score));
  form->DXDraw.ReleaseCanvas();
  EXPECT_EQ(InkSpan(*form->DXDraw.BackBuffer(), 2, 150, 361), nameShown);
  EXPECT_EQ(InkSpan(*form->DXDraw.BackBuffer(), 2, 362, 490), scoreShown);
}

}  // namespace
}  // namespace bd::test
