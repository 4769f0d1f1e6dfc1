// The texts the help, options and high-score frames draw over their
// sprites, anew in every frame. With the exit confirmation open the titles
// stay and the rest is left out, so that nothing shows through the overlay.
// The clear question leaves the table drawn and is drawn again over it, so
// the table looks untouched until the answer.
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "engine/display/Canvas.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/KeyFocus.h"
#include "frontend/MenuSprites.h"

namespace bd {
namespace {

constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kWhite = 0x00FFFFFF;
// Below this a fitted text would no longer read.
constexpr int kSmallestFittedSize = 8;

// The high-score rows: where each column's text starts and how wide it may
// grow before it reaches the next column's divider or the row's end.
constexpr int kRankX = 85, kNameX = 160, kScoreX = 362;
constexpr int kNameWidth = 185, kScoreWidth = 103;
// Where the help panel's text area ends on the right.
constexpr int kHelpPanelRight = 490;

class TTextWriter {
 public:
  explicit TTextWriter(TMainForm& form) : form_(form), canvas_(form.DXDraw.SurfaceCanvas()) {
    canvas_.Brush.Style = TBrushStyle::bsClear;
    canvas_.Font.Name = form.TextFont;
  }
  ~TTextWriter() { form_.DXDraw.ReleaseCanvas(); }
  TTextWriter(const TTextWriter&) = delete;
  TTextWriter& operator=(const TTextWriter&) = delete;

  void Text(int x, int y, int size, const std::string& cp1251, uint32_t color = kBlack) {
    canvas_.Font.Size = size;
    canvas_.Font.Color = color;
    canvas_.TextOut(x, y, cp1251);
  }

  // A text in a column `width` pixels wide: at `size` when it fits, else at
  // the largest smaller size that does, kept in the middle of the line.
  void FittedText(int x, int y, int size, const std::string& cp1251, int width) {
    canvas_.Font.Size = size;
    const int fullHeight = canvas_.TextHeight(cp1251);
    int fitted = size;
    while (fitted > kSmallestFittedSize && canvas_.TextWidth(cp1251) > width) canvas_.Font.Size = --fitted;
    Text(x, y + (fullHeight - canvas_.TextHeight(cp1251)) / 2, fitted, cp1251);
  }

  // The keys' focus, over the texts it frames.
  void FocusFrame() { DrawKeyFocusFrame(form_, canvas_); }

 private:
  TMainForm& form_;
  TCanvas& canvas_;
};

void HelpTexts(TMainForm& form, TTextWriter& out) {
  if (!form.GameMainExit.Checked) {
    const THelpPage page = HelpPageLines(form.HelpPage);
    for (int i = 0; i < page.Count; ++i) {
      const THelpLine& line = page.Lines[i];
      // Every line fits the panel as written; only the web page's address,
      // chosen when the game is built, may be long enough to need shrinking.
      out.FittedText(line.X, line.Y, line.Size, W(line.Utf8), kHelpPanelRight - line.X);
    }
  }
  out.Text(192, 120, 20, W("ПОМОЩЬ"));
}

// One options row: the row in black, then its current choice again in white
// where that choice's click area begins.
struct TOptionRow {
  int Y;
  const char* Row;
  const char* WhenTrue;
  int TrueX;
  const char* WhenFalse;
  int FalseX;
};

void OptionsTexts(TMainForm& form, TTextWriter& out) {
  form.Country = form.Edit1.Text;
  const bool open = form.GameMainExit.Checked;
  if (!open) out.Text(269, 343, 18, form.Country);
  out.Text(200, 120, 20, W("ОПЦИИ"));
  if (open) return;
  const TOptionRow rows[] = {
      {255, "РЕЖИМ : Оконный \\ Полный экран", "Полный экран", 293, "Оконный", 173},
      {285, "МУЗЫКА: Вкл \\ Выкл", "Вкл", 175, "Выкл", 237},
      {315, "ЗВУКИ: Вкл \\ Выкл", "Вкл", 153, "Выкл", 215},
  };
  const bool values[] = {form.GameFullScreen.Checked, form.GameMusic.Checked, form.GameSound.Checked};
  for (size_t i = 0; i < std::size(rows); ++i) {
    const TOptionRow& row = rows[i];
    out.Text(62, row.Y, 18, W(row.Row));
    if (values[i])
      out.Text(row.TrueX, row.Y, 18, W(row.WhenTrue), kWhite);
    else
      out.Text(row.FalseX, row.Y, 18, W(row.WhenFalse), kWhite);
  }
  out.Text(62, 345, 18, W("ВАША СТРАНА:"));
}

// Draws again, in depth order, the sprites at `depth` and above: an overlay
// that the frame's texts, drawn after every sprite, would otherwise cover.
void RedrawOverlay(TMainForm& form, int32_t depth) {
  // A copy: rendering must not be disturbed by a list that changes under it.
  const std::vector<TSprite*> sprites = EngineRoot(form).DrawList();
  for (TSprite* sprite : sprites)
    if (sprite->Z() >= depth && !sprite->IsDead()) sprite->DrawTree();
}

void HighScoreTexts(TMainForm& form, TTextWriter& out) {
  out.Text(190, 120, 20, W("РЕКОРДЫ"));
  if (!form.GameMainExit.Checked) {
    for (int i = 0; i < HighScoreCount; ++i) {
      const int y = 198 + 30 * i;
      out.Text(kRankX, y, 19, std::to_string(i + 1));
      // Ten wide letters or a ten-digit score would run past their column.
      out.FittedText(kNameX, y, 19, form.HighScores[i].Name, kNameWidth);
      out.FittedText(kScoreX, y, 19, std::to_string(form.HighScores[i].Score), kScoreWidth);
    }
  }
  if (form.GameClearHighScore.Checked) RedrawOverlay(form, kClearQuestionDepth);
}

}  // namespace

void DrawFrontEndTexts(TMainForm& form, uint8_t n) {
  if (form.DXDraw.BackBuffer() == nullptr) return;
  TTextWriter out(form);
  switch (n) {
    case screen::Help:
      HelpTexts(form, out);
      break;
    case screen::Options:
      OptionsTexts(form, out);
      break;
    case screen::HighScores:
      HighScoreTexts(form, out);
      break;
    default:
      break;
  }
  out.FocusFrame();
}

}  // namespace bd
