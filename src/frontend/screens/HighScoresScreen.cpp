#include "frontend/screens/HighScoresScreen.h"

#include <iterator>
#include <string>
#include <vector>

#include "codec/Cp1251.h"
#include "frontend/FrontEndHost.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/HighScores.h"
#include "frontend/MenuSprites.h"
#include "frontend/ScoreReport.h"
#include "frontend/screens/ScreenNumbers.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

// The panel's buttons: clear the table (after a question), back, and the
// online table.
constexpr TItem kPanel[] = {
    {.Picture = {pic::ClearScoresNormal, 38, 523, 2},
     .Highlight = {pic::ClearScoresHover, 38, 523, 3},
     .MakeHighlight = &HighlightAs<HighScore_Clear>,
     .Hover = hit::PanelLeft,
     .Click = hit::PanelLeft,
     .Action =
         [](IFrontEndHost& f) {
           f.Click(TFlag::ClearHighScore);
           ClickSound(f);
         }},
    {.Picture = {pic::ScoresBackNormal, 187, 523, 2},
     .Highlight = {pic::ScoresBackHover, 187, 523, 3},
     .MakeHighlight = &HighlightAs<HighScore_Back>,
     .Hover = hit::PanelBack,
     .Click = hit::HighScoreBackClick,  // one pixel further than its highlight
     .Action =
         [](IFrontEndHost& f) {
           f.SwitchScreen(screen::MainMenu);
           ClickSound(f);
         }},
    {.Picture = {pic::ViewScoresNormal, 336, 523, 2},
     .Highlight = {pic::ViewScoresHover, 336, 523, 3},
     .MakeHighlight = &HighlightAs<HighScore_View>,
     .Hover = hit::PanelRight,
     .Click = hit::PanelRightClick,  // two pixels short of its highlight
     .Action =
         [](IFrontEndHost& f) {
           f.GoWeb(OnlineTableAddress(f.ScoreServer()));
           ClickSound(f);
         }},
};

// The rows: where each column's text starts and how wide it may grow before
// it reaches the next column's divider or the row's end.
constexpr int kRankX = 85, kNameX = 160, kScoreX = 362;
constexpr int kNameWidth = 185, kScoreWidth = 103;

// Draws again, in depth order, the sprites at `depth` and above: an overlay
// that the frame's texts, drawn after every sprite, would otherwise cover.
void RedrawOverlay(IFrontEndHost& host, int32_t depth) {
  // A copy: rendering must not be disturbed by a list that changes under it.
  const std::vector<TSprite*> sprites = EngineRoot(host).DrawList();
  for (TSprite* sprite : sprites)
    if (sprite->Z() >= depth && !sprite->IsDead()) sprite->DrawTree();
}

}  // namespace

void THighScoresScreen::Build() {
  PointerHandOver(host_);
  host_.ResumeMenuMusic();
  AddPictures(host_, {
                         {pic::SubmenuPanel, 17, 117, 0},
                         {pic::HighScoreHeading, 42, 168, 1},
                     });
  AddItemPictures(host_, kPanel);
  for (int i = 0; i < HighScoreCount; ++i)
    AddPicture<TImageSprite>(host_, pic::HighScoreRow, 42, 198 + 30 * i, 1);
  AddMenuColumn(host_);
  AddBackground(host_);
}

void THighScoresScreen::Leave() {
  TScreen::Leave();
  host_.SaveSettings();
}

void THighScoresScreen::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) MoveKeyFocus(host_, FocusStep(key));
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(host_);
  if (key == vk::Escape) host_.SwitchScreen(screen::MainMenu);
}

void THighScoresScreen::PanelHover(int x, int y) {
  if (!host_.QuestionOpen()) HoverItems(host_, kPanel, x, y);
}

// The buttons answer under the exit question, not under their own one.
void THighScoresScreen::PanelClick(int x, int y) {
  if (!host_.Checked(TFlag::ClearHighScore)) ClickItems(host_, kPanel, x, y);
}

std::vector<TItem> THighScoresScreen::FocusItems() const { return {std::begin(kPanel), std::end(kPanel)}; }

// With the exit question open the title stays and the table is left out.
// The clear question leaves the table drawn and is drawn again over it, so
// the table looks untouched until the answer.
void THighScoresScreen::DrawTexts(TTextWriter& out) {
  out.Text(190, 120, 20, W("РЕКОРДЫ"));
  if (!host_.Checked(TFlag::MainExit)) {
    for (int i = 0; i < HighScoreCount; ++i) {
      const int y = 198 + 30 * i;
      out.Text(kRankX, y, 19, std::to_string(i + 1));
      // Ten wide letters or a ten-digit score would run past their column.
      out.FittedText(kNameX, y, 19, host_.HighScores()[i].Name, kNameWidth);
      out.FittedText(kScoreX, y, 19, std::to_string(host_.HighScores()[i].Score), kScoreWidth);
    }
  }
  if (host_.Checked(TFlag::ClearHighScore)) RedrawOverlay(host_, kClearQuestionDepth);
}

}  // namespace bd
