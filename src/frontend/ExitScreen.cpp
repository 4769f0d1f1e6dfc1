// The form's side of the exit screen: showing it when the player leaves,
// its countdown timer, its frame and its clicks.
#include "app/MainForm.h"
#include "engine/display/Canvas.h"
#include "frontend/KeyFocus.h"

namespace bd {

void TMainForm::ShowExitScreen() {
  if (ShareScreen.Enabled) {
    sharetimer.SetEnabled(true);
    Window.SetPointer(PointerShape::Arrow);
    return;
  }
  // Nothing to show: the game ends at once, which the close rule of this
  // screen allows with the countdown at 0.
  ShareScreen.Countdown = 0;
  Close();
}

void TMainForm::sharetimerTimer() { ShareScreen.Tick(); }

void TMainForm::ExitScreenFrame() {
  // Hover follows the keys' focus, or the window's own pointer events; once
  // the pointer has gone out of the window nothing is under it.
  TFocusItem focused;
  if (FocusedItem(*this, focused))
    ShareScreen.PointAt((focused.Click.Left + focused.Click.Right) / 2, (focused.Click.Top + focused.Click.Bottom) / 2);
  else if (PointerInWindow)
    ShareScreen.PointAt(PointerX, PointerY);
  else
    ShareScreen.PointAt(-1, -1);
  ShareScreen.Frame(DXDraw.SurfaceCanvas());
  DXDraw.ReleaseCanvas();
}

void TMainForm::ExitScreenClick(int x, int y) {
  ShareScreen.PointAt(x, y);
  ShareScreen.Click([this](const std::string& path) { ShellOpenFile(path); }, [this] { Close(); });
}

}  // namespace bd
