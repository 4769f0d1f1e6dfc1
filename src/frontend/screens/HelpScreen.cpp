#include "frontend/screens/HelpScreen.h"

#include "app/MainForm.h"
#include "codec/Cp1251.h"
#include "frontend/FrontEndScreens.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/TextWriter.h"

namespace bd {
namespace {

// Where the help panel's text area ends on the right.
constexpr int kHelpPanelRight = 490;

// The left button goes back a page, the right one on.
constexpr THover kPanel[] = {
    {hit::PanelLeft, [](TMainForm& f) { AddPicture<HelpGame_Down>(f, "Help_Up", 38, 523, 2); }},
    {hit::PanelBack, [](TMainForm& f) { AddPicture<HelpGame_Back>(f, "Help_Back_p", 187, 523, 2); }},
    {hit::PanelRight, [](TMainForm& f) { AddPicture<HelpGame_Up>(f, "Help_Down", 336, 523, 2); }},
};

}  // namespace

void THelpScreen::Build() {
  PointerHandOver(form_);
  AddPictures(form_, {
                         {"menuPodmenu", 17, 117, 0},
                         {"Help_prev", 38, 523, 1},
                         {"Help_back_n", 186, 523, 1},
                         {"Help_next", 336, 523, 1},
                     });
  AddMenuColumn(form_);
  AddBackground(form_);
  // The "about" page shows the game's mascot beside its texts.
  if (form_.HelpPage == 3) AddPicture<TImageSprite>(form_, "rabbit", 85, 297, 15);
}

void THelpScreen::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) MoveKeyFocus(form_, FocusStep(key));
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(form_);
  if (key == vk::Escape) form_.SwitchScreen(screen::MainMenu);
}

void THelpScreen::PanelHover(int x, int y) {
  if (!form_.GameMainExit.Checked) HoverGroup(form_, kPanel, x, y);
}

void THelpScreen::PanelClick(int x, int y) {
  if (hit::PanelBack.Contains(x, y)) {
    form_.SwitchScreen(screen::MainMenu);
    ClickSound(form_);
  } else if (hit::PanelLeft.Contains(x, y)) {
    if (form_.HelpPage > 1) {
      --form_.HelpPage;
      form_.SwitchScreen(screen::Help);
      ClickSound(form_);
    }
  } else if (hit::PanelRightClick.Contains(x, y)) {
    if (form_.HelpPage < 3) {
      ++form_.HelpPage;
      form_.SwitchScreen(screen::Help);
      ClickSound(form_);
    }
  }
}

std::vector<TFocusItem> THelpScreen::FocusItems() const {
  return FocusButtons({hit::PanelLeft, hit::PanelBack, hit::PanelRightClick});
}

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
