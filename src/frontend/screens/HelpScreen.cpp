#include "frontend/screens/HelpScreen.h"

#include <iterator>

#include "codec/Cp1251.h"
#include "frontend/FrontEndHost.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/ScreenNumbers.h"
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
         [](IFrontEndHost& f) {
           if (f.HelpPage() <= 1) return;
           --f.HelpPage();
           f.SwitchScreen(screen::Help);
           ClickSound(f);
         }},
    {.Picture = {pic::HelpBackNormal, 186, 523, 1},
     .Highlight = {pic::PanelBackHover, 187, 523, 2},
     .MakeHighlight = &HighlightAs<HelpGame_Back>,
     .Hover = hit::PanelBack,
     .Click = hit::PanelBack,
     .Action =
         [](IFrontEndHost& f) {
           f.SwitchScreen(screen::MainMenu);
           ClickSound(f);
         }},
    {.Picture = {pic::NextPageNormal, 336, 523, 1},
     .Highlight = {pic::NextPageHover, 336, 523, 2},
     .MakeHighlight = &HighlightAs<HelpGame_Up>,
     .Hover = hit::PanelRight,
     .Click = hit::PanelRightClick,  // two pixels short of its highlight
     .Action =
         [](IFrontEndHost& f) {
           if (f.HelpPage() >= 3) return;
           ++f.HelpPage();
           f.SwitchScreen(screen::Help);
           ClickSound(f);
         }},
};

}  // namespace

void THelpScreen::Build() {
  PointerHandOver(host_);
  AddPicture<TImageSprite>(host_, pic::SubmenuPanel, 17, 117, 0);
  AddItemPictures(host_, kPanel);
  AddMenuColumn(host_);
  AddBackground(host_);
  // The "about" page shows the game's mascot beside its texts.
  if (host_.HelpPage() == 3) AddPicture<TImageSprite>(host_, pic::Rabbit, 85, 297, 15);
}

void THelpScreen::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) MoveKeyFocus(host_, FocusStep(key));
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(host_);
  if (key == vk::Escape) host_.SwitchScreen(screen::MainMenu);
}

void THelpScreen::PanelHover(int x, int y) {
  if (!host_.QuestionOpen()) HoverItems(host_, kPanel, x, y);
}

void THelpScreen::PanelClick(int x, int y) { ClickItems(host_, kPanel, x, y); }

std::vector<TItem> THelpScreen::FocusItems() const { return {std::begin(kPanel), std::end(kPanel)}; }

// With the exit question open the title stays and the page is left out, so
// that nothing shows through the question.
void THelpScreen::DrawTexts(TTextWriter& out) {
  if (!host_.Checked(TFlag::MainExit)) {
    const THelpPage page = HelpPageLines(host_.HelpPage());
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
