#include "frontend/screens/HelpScreen.h"

#include <iterator>

#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

// Where the help panel's text area ends on the right.
constexpr int kHelpPanelRight = 490;

// The panel's buttons: the left one goes back a page, the right one on.
constexpr TItem kPanel[] = {
    {.Picture = {pic::PreviousPageNormal, 38, 523, 1},
     .Highlight = {pic::PreviousPageHover, 38, 523, 2},
     .MakeHighlight = &HighlightAs<HelpGame_Down>,
     .Hover = hit::PanelLeft,
     .Click = hit::PanelLeft,
     .Action =
         [](TMainForm& f) {
           if (f.HelpPage <= 1) return;
           --f.HelpPage;
           f.SwitchScreen(screen::Help);
           ClickSound(f);
         }},
    {.Picture = {pic::HelpBackNormal, 186, 523, 1},
     .Highlight = {pic::PanelBackHover, 187, 523, 2},
     .MakeHighlight = &HighlightAs<HelpGame_Back>,
     .Hover = hit::PanelBack,
     .Click = hit::PanelBack,
     .Action =
         [](TMainForm& f) {
           f.SwitchScreen(screen::MainMenu);
           ClickSound(f);
         }},
    {.Picture = {pic::NextPageNormal, 336, 523, 1},
     .Highlight = {pic::NextPageHover, 336, 523, 2},
     .MakeHighlight = &HighlightAs<HelpGame_Up>,
     .Hover = hit::PanelRight,
     .Click = hit::PanelRightClick,  // two pixels short of its highlight
     .Action =
         [](TMainForm& f) {
           if (f.HelpPage >= 3) return;
           ++f.HelpPage;
           f.SwitchScreen(screen::Help);
           ClickSound(f);
         }},
};

}  // namespace

void THelpScreen::Build() {
  PointerHandOver(form_);
  AddPicture<TImageSprite>(form_, pic::SubmenuPanel, 17, 117, 0);
  AddItemPictures(form_, kPanel);
  AddMenuColumn(form_);
  AddBackground(form_);
  // The "about" page shows the game's mascot beside its texts.
  if (form_.HelpPage == 3) AddPicture<TImageSprite>(form_, pic::Rabbit, 85, 297, 15);
}

void THelpScreen::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) MoveKeyFocus(form_, FocusStep(key));
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(form_);
  if (key == vk::Escape) form_.SwitchScreen(screen::MainMenu);
}

void THelpScreen::PanelHover(int x, int y) {
  if (!form_.GameMainExit.Checked) HoverItems(form_, kPanel, x, y);
}

void THelpScreen::PanelClick(int x, int y) { ClickItems(form_, kPanel, x, y); }

std::vector<TItem> THelpScreen::FocusItems() const { return {std::begin(kPanel), std::end(kPanel)}; }

// With the exit question open the title stays and the page is left out, so
// that nothing shows through the question.
void THelpScreen::DrawTexts(TTextWriter& out) {
  if (!form_.GameMainExit.Checked) {
    const THelpPage page = HelpPageLines(form_.HelpPage);
    for (int i = 0; i < page.Count; ++i) {
      const THelpLine& line = page.Lines[i];
      // Every line fits the panel as written; only the web page's address,
      // chosen when the game is built, may be long enough to need shrinking.
      out.FittedText(line.X, line.Y, line.Size, W(line.Utf8), kHelpPanelRight - line.X);
    }
  }
  out.Text(192, 120, 20, W("ПОМОЩЬ"));
}

}  // namespace bd
