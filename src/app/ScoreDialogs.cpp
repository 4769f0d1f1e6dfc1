// The game-over screen's name entry with its "send online" tick.
#include "app/MainForm.h"
#include "engine/images/PictureCollection.h"
#include "frontend/MenuSprites.h"

namespace bd {

void TMainForm::GameEnterNameClick() {
  GameEnterName.Checked = !GameEnterName.Checked;
  // Closing leaves the panel to go with the screen.
  if (!GameEnterName.Checked) return;
  TPictureCollectionItem& panel = MenuImage(FrontEnd(), pic::NameEntry);
  const double x = (DXDraw.SurfaceWidth() - panel.Width()) / 2.0;
  const double y = (DXDraw.SurfaceHeight() - panel.Height()) / 2.0;
  AddPicture<TEnter_Name>(FrontEnd(), pic::NameEntry, x, y, 0);
  // The name takes the typing at once, a remembered one too: the caret
  // stands after it, so typing goes on from it and Backspace takes it back.
  GamegoEdit.Checked = true;
  CaretBlink = 30;
}

void TMainForm::GameSendResultClick() {
  GameSendResult.Checked = !GameSendResult.Checked;
  KillAll<TEnter_Name_Send>(EngineRoot(FrontEnd()));
  if (GameSendResult.Checked) AddPicture<TEnter_Name_Send>(FrontEnd(), pic::NameEntrySend, 200, 364, 1);
}

}  // namespace bd
