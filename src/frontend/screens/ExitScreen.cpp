#include "frontend/screens/ExitScreen.h"

#include <algorithm>

#include "app/MainForm.h"
#include "engine/display/Canvas.h"

namespace bd {

void TExitScreen::Build() {
  if (form_.ShareScreen.Enabled) {
    form_.sharetimer.SetEnabled(true);
    form_.Window.SetPointer(PointerShape::Arrow);
    return;
  }
  // Nothing to show: the game ends at once, which the close rule of this
  // screen allows with the countdown at 0.
  form_.ShareScreen.Countdown = 0;
  form_.Close();
}

void TExitScreen::Frame(int /*lagCount*/) {
  // Hover follows the keys' focus, or the window's own pointer events; once
  // the pointer has gone out of the window nothing is under it.
  TShareScreen& share = form_.ShareScreen;
  TItem focused;
  if (FocusedItem(form_, focused))
    share.PointAt((focused.Click.Left + focused.Click.Right) / 2,
                  (focused.Click.Top + focused.Click.Bottom) / 2);
  else if (form_.PointerInWindow)
    share.PointAt(form_.PointerX, form_.PointerY);
  else
    share.PointAt(-1, -1);
  share.Frame(form_.DXDraw.SurfaceCanvas());
  form_.DXDraw.ReleaseCanvas();
}

void TExitScreen::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) MoveKeyFocus(form_, FocusStep(key));
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(form_);
  // Escape leaves as the exit button does, once its countdown allows.
  if (key == vk::Escape) form_.Close();
}

void TExitScreen::PointerDown(int button, int pressX, int pressY) {
  // The exit screen's buttons go by where the press itself was.
  if (button != 1) return;
  form_.ShareScreen.PointAt(pressX, pressY);
  form_.ShareScreen.Click([this](const std::string& path) { form_.ShellOpenFile(path); },
                          [this] { form_.Close(); });
}

// The buttons, top to bottom and left to right.
std::vector<TItem> TExitScreen::FocusItems() const {
  std::vector<TItem> items;
  for (const TButton_2& b : form_.ShareScreen.Buttons)
    if (b.Visible)
      items.push_back({.kind = TItem::Kind::ExitButton, .Click = {b.X, b.X + b.Width, b.Y, b.Y + b.Height}});
  std::stable_sort(items.begin(), items.end(), [](const TItem& a, const TItem& b) {
    return a.Click.Top != b.Click.Top ? a.Click.Top < b.Click.Top : a.Click.Left < b.Click.Left;
  });
  return items;
}

// The exit screen lets the player out only once its countdown has run.
bool TExitScreen::CloseQuery() { return form_.ShareScreen.Countdown == 0; }

}  // namespace bd
