#include "frontend/screens/RaceScreen.h"

#include "app/MainForm.h"
#include "frontend/screens/Questions.h"
#include "race/CarSprites.h"
#include "race/RaceRunning.h"

namespace bd {
namespace {

constexpr int kPauseKey = 'P';

}  // namespace

void TRaceScreen::Build() { form_.StartGame(); }

void TRaceScreen::Leave() {
  TScreen::Leave();
  form_.MenuMusicPending = true;
  form_.StopAllSounds();
  form_.LoadMenuGraphicsAfterRace();
}

void TRaceScreen::Frame(int lagCount) {
  // Race sprites move by the real time that passed.
  form_.SpriteEngine.MoveAll(lagCount);
  form_.RaceFrame();
}

void TRaceScreen::KeyDown(int key, uint8_t shift) {
  TRaceState& s = form_.RaceState;
  if (form_.GameMainExit.Checked) {
    // The question is answered from the keys as with the pointer: the arrows
    // choose, Enter answers the chosen one, Escape says "Нет".
    if (FocusStep(key) != 0) {
      MoveKeyFocus(form_, FocusStep(key));
    } else if (key == vk::Return) {
      // This press answers; still held when the race goes on, it must not
      // also spend a stop charge.
      s.StopKeyHeld = true;
      ActivateKeyFocus(form_);
    } else if (key == vk::Escape)
      form_.GameMainExitClick();
    return;
  }
  const bool timersOff = !form_.Timer_Level.Enabled() && !form_.Timer_LevCompl.Enabled();
  // No pause once the level is driven: the level-complete clock that would
  // then hold would also keep P from undoing it.
  if (key == kPauseKey && timersOff && s.LevelEndState == 0) {
    TogglePause(s);
  }
  // Any key fires while Ctrl is held, the Ctrl key's own repeats included;
  // FireShot checks that the race runs, a gun is there and no shot flies.
  if ((shift & ssCtrl) != 0 || key == vk::Control) FireShot(form_.RaceHost());
  // Escape asks whether to leave, over a paused race too; "Нет" leaves
  // the pause standing.
  if (key == vk::Escape && timersOff) {
    StopRace(s);
    form_.GameMainExitClick();
  }
}

bool TRaceScreen::PadKeyDown(int key, uint8_t shift) {
  // B fires in a race; over the race's exit question it says "Нет".
  if (!form_.GameMainExit.Checked) return false;
  return TScreen::PadKeyDown(key, shift);
}

void TRaceScreen::PointerMove(int x, int y) {
  // In the race only the exit question answers, and leaving its answers
  // neither re-arms the sound nor changes the pointer.
  if (form_.GameMainExit.Checked) HoverItems(form_, RaceExitAnswers(), x, y, false);
}

void TRaceScreen::PointerDown(int /*button*/, int /*pressX*/, int /*pressY*/) {
  if (form_.GameMainExit.Checked) ClickItems(form_, RaceExitAnswers(), form_.PointerX, form_.PointerY);
}

std::vector<TItem> TRaceScreen::FocusItems() const {
  if (!form_.GameMainExit.Checked) return {};
  const std::span<const TItem> answers = RaceExitAnswers();
  return {answers.begin(), answers.end()};
}

bool TRaceScreen::CloseQuery() {
  form_.PlaySound(snd::ButtonDown);
  form_.GameMainExitClick();
  return false;
}

}  // namespace bd
