// The screen state machine: what building, drawing and leaving each screen
// does. A switch takes effect at once, also in the middle of a frame.
#include "app/MainForm.h"
#include "frontend/FrontEndScreens.h"

namespace bd {

void TMainForm::SwitchScreen(uint8_t n) {
  KeyFocus = -1;
  LeaveScreen(CurrentScreen);
  CurrentScreen = n;
  ScreenShownAt = Application.Clock().Milliseconds();
  if (FrameLog != nullptr) FrameLog->ScreenShown(n);
  BuildScreen(n);
}

void TMainForm::LeaveScreen(uint8_t n) {
  LeaveFrontEndScreen(*this);
  switch (n) {
    case screen::None:
    case screen::Exit:
      break;
    case screen::Race:
      SpriteEngine.Engine().ClearChildren();
      MenuMusicPending = true;
      StopAllSounds();
      LoadMenuGraphicsAfterRace();
      break;
    case screen::Options:
      SpriteEngine.Engine().ClearChildren();
      GamegoEdit.Checked = false;
      SaveSettings();
      break;
    case screen::HighScores:
      SpriteEngine.Engine().ClearChildren();
      SaveSettings();
      break;
    case screen::GameOver:
      SpriteEngine.Engine().ClearChildren();
      RaceState.GameOver = false;
      GameEnterName.Checked = false;
      GamegoEdit.Checked = false;
      GameSendResult.Checked = false;
      SaveSettings();
      break;
    default:
      SpriteEngine.Engine().ClearChildren();
      break;
  }
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

void TMainForm::BuildScreen(uint8_t n) {
  switch (n) {
    case screen::Splash:
      BuildSplash();
      break;
    case screen::Race:
      StartGame();
      break;
    case screen::MainMenu:
    case screen::Help:
    case screen::Options:
    case screen::HighScores:
      BuildFrontEndScreen(*this, n);
      break;
    case screen::Exit:
      ShowExitScreen();
      break;
    case screen::GameOver:
      BuildGameOver();
      break;
    default:
      break;
  }
}

void TMainForm::SpriteFrame(int moveCount, bool clear) {
  SpriteEngine.MoveAll(moveCount);
  SpriteEngine.RemoveDead();
  // A backdrop that covers the whole picture leaves nothing of the clearing.
  if (clear && !SpriteEngine.DrawCoversSurface()) DXDraw.FillSurface(0);
  SpriteEngine.DrawAll();
}

void TMainForm::RunScreenFrame(int lagCount) {
  switch (CurrentScreen) {
    case screen::Splash:
    case screen::MainMenu:
      // A full-screen background sprite covers the frame: no clearing.
      SpriteFrame(16, false);
      break;
    case screen::Race:
      // Race sprites move by the real time that passed.
      SpriteEngine.MoveAll(lagCount);
      RaceFrame();
      break;
    case screen::Help:
    case screen::Options:
    case screen::HighScores:
      SpriteFrame(16, true);
      DrawFrontEndTexts(*this, CurrentScreen);
      break;
    case screen::GameOver:
      SpriteFrame(16, true);
      DrawGameOverTexts();
      break;
    case screen::Exit:
      ExitScreenFrame();
      break;
    default:
      // Before the first screen there is nothing to draw.
      break;
  }
}

}  // namespace bd
