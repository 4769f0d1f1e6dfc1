// The frame handler, run by the frame timer about every 15 ms, the handler
// of the splash and game-over timer, and the exit screen's countdown.
#include "app/MainForm.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/Screen.h"

namespace bd {

void TMainForm::DXTimerTimer(int lagCount) {
  if (FrameLog != nullptr) FrameLog->FrameStarted(DXTimer.TickDue(), Application.Clock().Microseconds());
  // A display that cannot be drawn on skips the whole frame, countdowns too.
  if (!DXDraw.ReadyToDraw()) return;
  if (TypingDelay > 0) --TypingDelay;
  if (CaretBlink > 0) --CaretBlink;
  BlinkCaret(FrontEnd());
  if (ResizePending) {
    ResizePending = false;
    if (Window.State() == WindowState::Maximized) GameFullScreenClick();
    // Going full screen rebuilt the display; draw only if it is usable.
    if (!DXDraw.ReadyToDraw()) return;
  }
  Screen().Frame(lagCount);
  DXDraw.PresentFrame();
  if (FrameLog != nullptr) FrameLog->Presented();
  MusicWatchdog();
}

void TMainForm::Timer1Timer() {
  Timer1.SetEnabled(false);
  // Other screens only use the tick to stop the timer again.
  Screen().TimerTick();
}

// The exit screen's countdown.
void TMainForm::sharetimerTimer() { ShareScreen.Tick(); }

}  // namespace bd
