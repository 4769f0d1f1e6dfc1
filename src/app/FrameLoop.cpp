// The frame handler, run by the frame timer about every 15 ms, and the
// handler of the splash and game-over timer.
#include "app/MainForm.h"
#include "frontend/MenuSprites.h"

namespace bd {

void TMainForm::DXTimerTimer(int lagCount) {
  if (FrameLog != nullptr) FrameLog->FrameStarted(DXTimer.TickDue(), Application.Clock().Microseconds());
  // A display that cannot be drawn on skips the whole frame, countdowns too.
  if (!DXDraw.ReadyToDraw()) return;
  if (TypingDelay > 0) --TypingDelay;
  if (CaretBlink > 0) --CaretBlink;
  BlinkCaret(*this);
  if (ResizePending) {
    ResizePending = false;
    if (Window.State() == WindowState::Maximized) GameFullScreenClick();
    // Going full screen rebuilt the display; draw only if it is usable.
    if (!DXDraw.ReadyToDraw()) return;
  }
  RunScreenFrame(lagCount);
  // A frame can start or leave a race, or open a level with its caption.
  HoldRaceClocks();
  DXDraw.PresentFrame();
  if (FrameLog != nullptr) FrameLog->Presented();
  MusicWatchdog();
}

void TMainForm::Timer1Timer() {
  Timer1.SetEnabled(false);
  switch (CurrentScreen) {
    case screen::Splash:
      SwitchScreen(screen::MainMenu);
      break;
    case screen::GameOver:
      Window.SetPointer(PointerShape::Arrow);
      if (BeatsAnyHighScore(HighScores, RaceState.Score)) GameEnterNameClick();
      break;
    default:
      // Other screens only use the tick to stop the timer again.
      break;
  }
}

}  // namespace bd
