// The screen state machine: what building, drawing and leaving each screen
// does. A switch takes effect at once, also in the middle of a frame.
#include "app/MainForm.h"

namespace bd {

void TMainForm::SwitchScreen(uint8_t n) {
  LeaveScreen(CurrentScreen);
  CurrentScreen = n;
  BuildScreen(n);
}

void TMainForm::LeaveScreen(uint8_t n) {
  switch (n) {
    case screen::Race:
      MenuMusicPending = true;
      StopSound("all");
      LoadGraphics(GraphicsMenuPath);
      break;
    case screen::Options:
      GamegoEdit.Checked = false;
      break;
    case screen::GameOver:
      GameEnterName.Checked = false;
      GamegoEdit.Checked = false;
      GameSendResult.Checked = false;
      break;
    default:
      break;
  }
}

void TMainForm::BuildScreen(uint8_t n) {
  switch (n) {
    case screen::Splash:
      MenuMusicPending = false;
      PlayMusic("1");
      Timer1.SetEnabled(true);
      break;
    case screen::Race:
      Window.SetPointer(PointerShape::Hidden);
      TypingDelay = 0;
      CaretBlink = 0;
      PlayMusic("2");
      LoadGraphics(GraphicsMainPath);
      break;
    case screen::MainMenu:
    case screen::HighScores:
      if (MenuMusicPending) {
        PlayMusic("1");
        MenuMusicPending = false;
      }
      break;
    case screen::Exit:
      // Without a promotional exit screen to show, the program closes.
      Close();
      break;
    case screen::GameOver:
      PlayMusic("3");
      Timer1.SetEnabled(false);
      Timer1.SetInterval(5000);
      Timer1.SetEnabled(true);
      break;
    default:
      break;
  }
}

void TMainForm::RunScreenFrame(int /*lagCount*/) {
  switch (CurrentScreen) {
    case screen::Help:
    case screen::Options:
    case screen::HighScores:
    case screen::GameOver:
      // These screens are drawn from black every frame.
      DXDraw.FillSurface(0);
      break;
    default:
      // Splash and main menu are covered by their full-screen background;
      // the race and the exit screen draw their own frames.
      break;
  }
}

}  // namespace bd
