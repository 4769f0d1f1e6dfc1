// Where the window stands: the player's plain window is remembered, so that
// leaving full screen puts it back there, and the window manager's push by
// the frame's size after that return is undone.
#include "engine/platform/sdl/SdlWindow.h"

namespace bd {
namespace {

// How long after a return from full screen, and how often, the window is
// put back where it was when the window manager moves it. On a machine busy
// with other work the window manager's push has been seen to come more than
// two seconds after the game's first event; only a move by at most the
// frame's size is undone, so a longer watch costs a player nothing.
constexpr uint64_t kHoldPlacementMs = 5000;
constexpr int kPlacementCorrections = 3;

}  // namespace

TWindowPlace TSdlWindow::CurrentPlace() const {
  TWindowPlace place;
  SDL_GetWindowPosition(window_, &place.X, &place.Y);
  SDL_GetWindowSize(window_, &place.Width, &place.Height);
  return place;
}

bool TSdlWindow::IsPlain() const {
  return IsShown() && !IsFullScreen() && State() == WindowState::Normal && !HoldingPlacement();
}

bool TSdlWindow::HoldingPlacement() const {
  if (!holdPlacement_ || placementCorrections_ == 0) return false;
  return holdPlacementUntil_ == 0 || SDL_GetTicks64() <= holdPlacementUntil_;
}

bool TSdlWindow::IsFramingPush(int dx, int dy) const {
  int top = 0, left = 0, bottom = 0, right = 0;
  // Before the frame's size is known, any move may be the push.
  if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0 || (top == 0 && left == 0))
    return true;
  return dx >= 0 && dy >= 0 && dx <= left && dy <= top;
}

void TSdlWindow::StartPlacementHold() {
  if (holdPlacement_ && holdPlacementUntil_ == 0) holdPlacementUntil_ = SDL_GetTicks64() + kHoldPlacementMs;
}

void TSdlWindow::SavePlacement() {
  if (IsPlain()) {
    // The window the player has now.
    placement_ = CurrentPlace();
    plainPlace_.Take(placement_);
  } else if (IsShown()) {
    // Maximising is the way into full screen: coming back, the window is
    // the plain one the player had before, where it was.
    placement_ = plainPlace_.Last(SDL_GetTicks64()).value_or(openingPlace_);
  }
  // A window not yet shown is placed when it is first shown.
  placementSaved_ = true;
  holdPlacement_ = false;
}

void TSdlWindow::RestorePlacement() {
  if (!placementSaved_) return;
  NoteDisplaySwitch();
  SDL_SetWindowSize(window_, placement_.Width, placement_.Height);
  SDL_SetWindowPosition(window_, placement_.X, placement_.Y);
  plainPlace_.Take(placement_);
  // The window is still without its frame here (it comes back with the
  // windowed display), and a window manager that keeps the frame's corner
  // in place then pushes the window down and right by the frame's size, at
  // every return from full screen. Such a move is undone when it arrives,
  // by which time the size of the frame is known. The time for it counts
  // from the first event the game reads after the return: the display's
  // start-up in between may take long on a busy machine, and the move is
  // waiting among those events.
  holdPlacement_ = true;
  holdPlacementUntil_ = 0;
  placementCorrections_ = kPlacementCorrections;
}

void TSdlWindow::Moved() {
  StartPlacementHold();
  if (HoldingPlacement() && !IsFullScreen()) {
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    if (x == placement_.X && y == placement_.Y) return;
    if (IsFramingPush(x - placement_.X, y - placement_.Y)) {
      --placementCorrections_;
      SDL_SetWindowPosition(window_, placement_.X, placement_.Y);
      return;
    }
  }
  // Any other move is the player's (or the desktop's): it is left alone,
  // and the place is noted as the player's window.
  holdPlacement_ = false;
  PlaceChanged();
}

void TSdlWindow::PlaceChanged() {
  StartPlacementHold();
  plainPlace_.Observe(CurrentPlace(), IsPlain(), SDL_GetTicks64());
}

}  // namespace bd
