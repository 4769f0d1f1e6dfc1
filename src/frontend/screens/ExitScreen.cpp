#include "frontend/screens/ExitScreen.h"

#include <algorithm>

#include "engine/display/Canvas.h"
#include "frontend/FrontEndHost.h"
#include "frontend/ShareScreen.h"

namespace bd {

void TExitScreen::Build() {
  if (host_.ShareScreen().Enabled) {
    host_.StartShareTimer();
    host_.SetPointer(PointerShape::Arrow);
    return;
  }
  // Nothing to show: the game ends at once, which the close rule of this
  // screen allows with the countdown at 0.
  host_.ShareScreen().Countdown = 0;
  host_.Close();
}

void TExitScreen::Frame(int /*lagCount*/) {
  // Hover follows the keys' focus, or the window's own pointer events; once
  // the pointer has gone out of the window nothing is under it.
  TShareScreen& share = host_.ShareScreen();
  TItem focused;
  if (FocusedItem(host_, focused))
    share.PointAt((focused.Click.Left + focused.Click.Right) / 2,
                  (focused.Click.Top + focused.Click.Bottom) / 2);
  else if (host_.PointerInWindow())
    share.PointAt(host_.PointerX(), host_.PointerY());
  else
    share.PointAt(-1, -1);
  share.Frame(host_.Canvas());
  host_.ReleaseCanvas();
}

void TExitScreen::KeyDown(int key, uint8_t shift) {
  if (FocusStep(key) != 0) MoveKeyFocus(host_, FocusStep(key));
  if (key == vk::Return && (shift & ssAlt) == 0) ActivateKeyFocus(host_);
  // Escape leaves as the exit button does, once its countdown allows.
  if (key == vk::Escape) host_.Close();
}

void TExitScreen::PointerDown(int button, int pressX, int pressY) {
  // The exit screen's buttons go by where the press itself was.
  if (button != 1) return;
  host_.ShareScreen().PointAt(pressX, pressY);
  host_.ShareScreen().Click([this](const std::string& path) { host_.ShellOpenFile(path); },
                            [this] { host_.Close(); });
}

// The buttons, top to bottom and left to right.
std::vector<TItem> TExitScreen::FocusItems() const {
  std::vector<TItem> items;
  for (const TButton_2& b : host_.ShareScreen().Buttons)
    if (b.Visible)
      items.push_back({.kind = TItem::Kind::ExitButton, .Click = {b.X, b.X + b.Width, b.Y, b.Y + b.Height}});
  std::stable_sort(items.begin(), items.end(), [](const TItem& a, const TItem& b) {
    return a.Click.Top != b.Click.Top ? a.Click.Top < b.Click.Top : a.Click.Left < b.Click.Left;
  });
  return items;
}

// The exit screen lets the player out only once its countdown has run.
bool TExitScreen::CloseQuery() { return host_.ShareScreen().Countdown == 0; }

}  // namespace bd
