#include "frontend/screens/MainMenuScreen.h"

#include "app/MainForm.h"
#include "frontend/screens/MenuParts.h"
#include "frontend/screens/Questions.h"

namespace bd {

void TMainMenuScreen::Build() {
  form_.Window.SetPointer(PointerShape::Arrow);
  if (form_.MenuMusicPending) form_.PlayMusic("1");
  form_.MenuMusicPending = false;
  form_.HelpPage = 1;
  AddMenuColumn(form_);
  AddBackground(form_);
}

void TMainMenuScreen::Frame(int /*lagCount*/) {
  // A full-screen background sprite covers the frame: no clearing.
  form_.SpriteFrame(16, false);
}

void TMainMenuScreen::KeyDown(int key, uint8_t shift) {
  const bool alt = (shift & ssAlt) != 0;
  const bool enter = key == vk::Return;
  if (FocusStep(key) != 0) MoveKeyFocus(form_, FocusStep(key));
  if (key == vk::Escape) form_.GameMainExitClick();
  // Enter acts on the item the arrows focused; without one it starts the
  // race, even with the exit question open.
  if (enter && !alt && !ActivateKeyFocus(form_)) form_.SwitchScreen(screen::Race);
}

void TMainMenuScreen::PointerMove(int x, int y) {
  form_.Window.SetPointer(PointerShape::Arrow);
  MenuGroups(form_, x, y);
}

void TMainMenuScreen::PointerDown(int button, int /*pressX*/, int /*pressY*/) {
  const int x = form_.PointerX;
  const int y = form_.PointerY;
  // The badge answers every button here.
  ClickItems(form_, Badge(true), x, y);
  if (button != 1) return;
  if (form_.GameMainExit.Checked)
    ClickItems(form_, ExitAnswers(), x, y);
  else
    ClickItems(form_, ColumnButtons(true), x, y);
}

std::vector<TItem> TMainMenuScreen::FocusItems() const {
  const std::span<const TItem> column = MenuColumn(true);
  return {column.begin(), column.end()};
}

bool TMainMenuScreen::CloseQuery() {
  if (!form_.GameMainExit.Checked) {
    form_.GameMainExitClick();
    form_.PlaySound(snd::ButtonDown);
  }
  return false;
}

}  // namespace bd
