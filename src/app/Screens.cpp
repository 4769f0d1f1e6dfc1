// Screen switching and the current screen's part of the frame. What each
// screen builds, draws, answers and leaves behind is its object's job
// (frontend/screens/); a switch takes effect at once, also in the middle of
// a frame or an event.
#include "app/MainForm.h"
#include "frontend/overlays/Overlays.h"
#include "frontend/screens/ScreenTable.h"

namespace bd {

TScreen& TMainForm::Screen() const { return (*screens_)[CurrentScreen]; }

void TMainForm::SwitchScreen(uint8_t n) {
  KeyFocus = -1;
  // Whatever way the player leaves (Enter on the main menu starts a race
  // even while the exit question is open), the next screen starts without it.
  overlays_->Exit().CloseWithScreen();
  Screen().Leave();
  CurrentScreen = n;
  overlays_->Clear().ScreenShown();
  ScreenShownAt = Application.Clock().Milliseconds();
  if (FrameLog != nullptr) FrameLog->ScreenShown(n);
  Screen().Build();
}

void TMainForm::LoadMenuGraphicsAfterRace() {
  try {
    LoadGraphics(GraphicsMenuPath);
  } catch (EError& e) {
    // Every other screen is made of these pictures. Without them the game
    // is left as a start without them leaves it: no screen at all, a black
    // window that the close button ends. Leaving the race is not tried again
    // on the following frames, so the error is reported once.
    CurrentScreen = screen::None;
    DXDraw.FillSurface(0);
    e.SetMessage(std::string(e.what()) + "\nThe game cannot go on without it; close the window.");
    throw;
  }
}

void TMainForm::SpriteFrame(int moveCount, bool clear) {
  SpriteEngine.MoveAll(moveCount);
  SpriteEngine.RemoveDead();
  // A backdrop that covers the whole picture leaves nothing of the clearing.
  if (clear && !SpriteEngine.DrawCoversSurface()) DXDraw.FillSurface(0);
  SpriteEngine.DrawAll();
}

}  // namespace bd
