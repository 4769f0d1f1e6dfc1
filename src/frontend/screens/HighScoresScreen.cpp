#include "frontend/screens/HighScoresScreen.h"

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/HighScores.h"
#include "frontend/MenuSprites.h"
#include "frontend/ScoreReport.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

constexpr THover kPanel[] = {
    {hit::PanelLeft, [](TMainForm& f) { AddPicture<HighScore_Clear>(f, "HighScore_Clear_d", 38, 523, 3); }},
    {hit::PanelBack, [](TMainForm& f) { AddPicture<HighScore_Back>(f, "HighScore_Back_d", 187, 523, 3); }},
    {hit::PanelRight, [](TMainForm& f) { AddPicture<HighScore_View>(f, "HighScore_View_d", 336, 523, 3); }},
};

// The rows: where each column's text starts and how wide it may grow before
// it reaches the next column's divider or the row's end.
constexpr int kRankX = 85, kNameX = 160, kScoreX = 362;
constexpr int kNameWidth = 185, kScoreWidth = 103;

// Draws again, in depth order, the sprites at `depth` and above: an overlay
// that the frame's texts, drawn after every sprite, would otherwise cover.
void RedrawOverlay(TMainForm& form, int32_t depth) {
  // A copy: rendering must not be disturbed by a list that changes under it.
  const std::vector<TSprite*> sprites = EngineRoot(form).DrawList();
  for (TSprite* sprite : sprites)
    if (sprite->Z() >= depth && !sprite->IsDead()) sprite->DrawTree();
}

}  // namespace

void THighScoresScreen::Build() {
  PointerHandOver(form_);
  if (form_.MenuMusicPending) {
    form_.PlayMusic("1");
    form_.MenuMusicPending = false;
  }
  AddPictures(form_, {
                         {"menuPodmenu", 17, 117, 0},
                         {"HighScore_head", 42, 168, 1},
                         {"HighScore_Clear_n", 38, 523, 2},
                         {"HighScore_View_n", 336, 523, 2},
                         {"HighScore_Back_n", 187, 523, 2},
                     });
  for (int i = 0; i < HighScoreCount; ++i)
    AddPicture<TImageSprite>(form_, "HighScore_Table_row", 42, 198 + 30 * i, 1);
  AddMenuColumn(form_);
  AddBackground(form_);
}

void THighScoresScreen::Leave() {
  TScreen::Leave();
  form_.SaveSettings();
}

void THighScoresScreen::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) MoveKeyFocus(form_, FocusStep(key));
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(form_);
  if (key != vk::Escape) return;
  if (form_.GameClearHighScore.Checked) {
    // Rebuild the table screen and close the question, but stay.
    form_.SwitchScreen(screen::HighScores);
    form_.GameClearHighScoreClick();
  } else {
    form_.SwitchScreen(screen::MainMenu);
  }
}

void THighScoresScreen::PanelHover(int x, int y) {
  if (form_.GameClearHighScore.Checked || form_.GameMainExit.Checked)
    HoverGroup(form_, AnswerHovers(), x, y);
  else
    HoverGroup(form_, kPanel, x, y);
}

void THighScoresScreen::PanelClick(int x, int y) {
  TMainForm& form = form_;
  if (form.GameClearHighScore.Checked) {
    if (hit::Yes.Contains(x, y)) {
      form.ResetHighScores();
      form.GameClearHighScoreClick();
      ClickSound(form);
    } else if (hit::No.Contains(x, y)) {
      form.GameClearHighScoreClick();
      ClickSound(form);
    }
    return;
  }
  if (hit::PanelLeft.Contains(x, y)) {
    form.GameClearHighScoreClick();
    ClickSound(form);
  } else if (hit::HighScoreBackClick.Contains(x, y)) {
    form.SwitchScreen(screen::MainMenu);
    ClickSound(form);
  } else if (hit::PanelRightClick.Contains(x, y)) {
    form.GoWeb(OnlineTableAddress(form.ScoreServer));
    ClickSound(form);
  }
}

std::vector<TFocusItem> THighScoresScreen::FocusItems() const {
  return FocusButtons({hit::PanelLeft, hit::HighScoreBackClick, hit::PanelRightClick});
}

// With the exit question open the title stays and the table is left out.
// The clear question leaves the table drawn and is drawn again over it, so
// the table looks untouched until the answer.
void THighScoresScreen::DrawTexts(TTextWriter& out) {
  out.Text(190, 120, 20, W("РЕКОРДЫ"));
  if (!form_.GameMainExit.Checked) {
    for (int i = 0; i < HighScoreCount; ++i) {
      const int y = 198 + 30 * i;
      out.Text(kRankX, y, 19, std::to_string(i + 1));
      // Ten wide letters or a ten-digit score would run past their column.
      out.FittedText(kNameX, y, 19, form_.HighScores[i].Name, kNameWidth);
      out.FittedText(kScoreX, y, 19, std::to_string(form_.HighScores[i].Score), kScoreWidth);
    }
  }
  if (form_.GameClearHighScore.Checked) RedrawOverlay(form_, kClearQuestionDepth);
}

}  // namespace bd
