// The exit confirmation: an overlay on the menu screens and the race that
// asks whether to leave the game. Its answers are parts of its pictures;
// only their highlights are sprites of their own.
#include "app/MainForm.h"
#include "engine/images/PictureCollection.h"
#include "frontend/MenuSprites.h"
#include "frontend/screens/Screen.h"
#include "race/RaceRunning.h"

namespace bd {
namespace {

bool ConfirmationAllowed(const TMainForm& form) {
  // Never during the level-complete sequence, and only where there is a
  // game or a menu to leave. A paused race may be left: the question stands
  // over the pause.
  if (form.RaceSession.Clocks().LevelComplete.Enabled() || form.RaceState.LevelEndState != 0) return false;
  return form.Screen().OffersExitQuestion();
}

// Closing, apart from the pointer: the game runs on under the plain caption.
// A race goes on at once, or when its level caption has had its time; a
// paused one stays paused.
void CloseConfirmation(TMainForm& form) {
  form.GameMainExit.Checked = false;
  const bool inRace = form.Screen().RunsRace();
  const bool paused = inRace && form.RaceState.Paused;
  if (inRace) form.RaceSession.ExitQuestion(form.RaceHost(), TExitQuestionEvent::Closed);
  form.Timer1.SetEnabled(!form.Timer1.Enabled());
  form.Window.SetCaption(paused ? PausedCaption() : RunningCaption());
  form.PlaySound(snd::AfterPause);
  TSprite& engine = EngineRoot(form.FrontEnd());
  KillAll<TMenu>(engine);
  KillAll<TMenuGame>(engine);
}

}  // namespace

void TMainForm::GameMainExitClick() {
  if (!ConfirmationAllowed(*this)) return;
  // The items on screen change: the keys' focus starts afresh.
  KeyFocus = -1;
  if (GameMainExit.Checked) {
    CloseConfirmation(*this);
    Window.SetPointer(PointerShape::Hidden);
    return;
  }
  GameMainExit.Checked = true;
  Timer1.SetEnabled(!Timer1.Enabled());
  StopRace(RaceState);
  if (Screen().RunsRace()) RaceSession.ExitQuestion(raceHost_, TExitQuestionEvent::Opened);
  Window.SetCaption(PausedCaption());
  Window.SetPointer(PointerShape::Hand);
  PlaySound(snd::Pause);
  TPictureCollectionItem& frame = MenuImage(FrontEnd(), pic::QuestionFrame);
  const double x = (DXDraw.SurfaceWidth() - frame.Width()) / 2.0;
  const double y = (DXDraw.SurfaceHeight() - frame.Height()) / 2.0 - 5;
  AddPicture<TMainExit>(FrontEnd(), pic::QuestionFrame, x, y, 901);
  AddPicture<TMainExit_Word>(FrontEnd(), pic::ExitQuestion, 188, 195, 902);
}

void TMainForm::CloseExitQuestionWithScreen() {
  // Whatever way the player leaves (Enter on the main menu starts a race
  // even while the question is open), the next screen starts without it.
  if (GameMainExit.Checked) CloseConfirmation(*this);
}

}  // namespace bd
