#include "frontend/screens/MainMenuScreen.h"

#include "frontend/FrontEndHost.h"
#include "frontend/screens/MenuParts.h"
#include "frontend/screens/ScreenNumbers.h"

namespace bd {

void TMainMenuScreen::Build() {
  host_.SetPointer(PointerShape::Arrow);
  host_.ResumeMenuMusic();
  host_.HelpPage() = 1;
  AddMenuColumn(host_);
  AddBackground(host_);
}

void TMainMenuScreen::Frame(int /*lagCount*/) {
  // A full-screen background sprite covers the frame: no clearing.
  host_.SpriteFrame(16, false);
}

void TMainMenuScreen::KeyDown(int key, uint8_t shift) {
  const bool alt = (shift & ssAlt) != 0;
  const bool enter = key == vk::Return;
  if (FocusStep(key) != 0) MoveKeyFocus(host_, FocusStep(key));
  if (key == vk::Escape) host_.Click(TFlag::MainExit);
  // Enter acts on the item the arrows focused; without one it starts the
  // race, even with the exit question open.
  if (enter && !alt && !ActivateKeyFocus(host_)) host_.SwitchScreen(screen::Race);
}

void TMainMenuScreen::PointerMove(int x, int y) {
  host_.SetPointer(PointerShape::Arrow);
  MenuGroups(host_, x, y);
}

void TMainMenuScreen::PointerDown(int button, int /*pressX*/, int /*pressY*/) {
  const int x = host_.PointerX();
  const int y = host_.PointerY();
  // The badge answers every button here.
  ClickItems(host_, Badge(true), x, y);
  if (button != 1 || host_.QuestionOpen()) return;
  ClickItems(host_, ColumnButtons(true), x, y);
}

std::vector<TItem> TMainMenuScreen::FocusItems() const {
  const std::span<const TItem> column = MenuColumn(true);
  return {column.begin(), column.end()};
}

bool TMainMenuScreen::CloseQuery() {
  if (!host_.Checked(TFlag::MainExit)) {
    host_.Click(TFlag::MainExit);
    host_.PlaySound(snd::ButtonDown);
  }
  return false;
}

}  // namespace bd
