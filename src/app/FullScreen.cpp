// Switching between the window and full screen: the display is taken down
// and brought up again in the other mode, which also re-runs the display
// events (the frame timer stops and restarts, the border follows the mode).
#include "app/MainForm.h"

namespace bd {

void TMainForm::GameFullScreenClick() {
  using O = TDXDrawOption;
  GameFullScreen.Checked = !GameFullScreen.Checked;
  // The field being typed into keeps the typing: the display changes, the
  // player's intent does not.
  TDXDrawOptions options = DXDraw.Options();
  const bool wasFullScreen = options.Has(O::doFullScreen);
  DXDraw.FinalizeDisplay();
  if (GameFullScreen.Checked) {
    if (!wasFullScreen) Window.SavePlacement();
    options.Include(O::doFullScreen);
    DXDraw.SetOptions(options);
    DXDraw.SetDisplayWidth(800);
    DXDraw.SetDisplayHeight(600);
    DXDraw.SetDisplayBitCount(32);
    DXDraw.InitializeDisplay();
  } else {
    if (wasFullScreen) Window.RestorePlacement();
    options.Exclude(O::doFullScreen);
    DXDraw.SetOptions(options);
    DXDraw.SetSurfaceSize(800, 600);
    DXDraw.SetDisplayWidth(800);
    DXDraw.SetDisplayHeight(600);
    DXDraw.SetDisplayBitCount(32);
    DXDraw.InitializeDisplay();
    Window.SetState(WindowState::Normal);
  }
}

}  // namespace bd
