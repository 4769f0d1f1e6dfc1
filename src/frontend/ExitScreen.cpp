// The form's side of the exit screen: showing it when the player leaves,
// its countdown timer, its frame and its clicks.
#include "app/MainForm.h"
#include "engine/Canvas.h"

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
  // Hover follows the system pointer itself, not the last pointer event.
  int x = 0, y = 0;
  Window.PointerPosition(x, y);
  ShareScreen.Frame(DXDraw.SurfaceCanvas(), x, y);
  DXDraw.ReleaseCanvas();
}

void TMainForm::ExitScreenClick() {
  ShareScreen.Click([this](const std::string& path) { ShellOpenFile(path); }, [this] { Close(); });
}

}  // namespace bd
