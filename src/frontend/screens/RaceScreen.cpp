#include "frontend/screens/RaceScreen.h"

#include "frontend/FrontEndHost.h"
#include "frontend/screens/Questions.h"
#include "race/CarSprites.h"
#include "race/RaceRunning.h"

namespace bd {
namespace {

constexpr int kPauseKey = 'P';

}  // namespace

void TRaceScreen::Build() { host_.StartGame(); }

void TRaceScreen::Leave() {
  TScreen::Leave();
  host_.SetMenuMusicPending(true);
  host_.StopAllSounds();
  host_.LoadMenuGraphicsAfterRace();
}

void TRaceScreen::Frame(int lagCount) {
  // Race sprites move by the real time that passed.
  host_.RaceFrame(lagCount);
}

void TRaceScreen::KeyDown(int key, uint8_t shift) {
  TRaceState& s = host_.RaceHost().RaceState();
  if (host_.Checked(TFlag::MainExit)) {
    // The question is answered from the keys as with the pointer: the arrows
    // choose, Enter answers the chosen one, Escape says "Нет".
    if (FocusStep(key) != 0) {
      MoveKeyFocus(host_, FocusStep(key));
    } else if (key == vk::Return) {
      // This press answers; still held when the race goes on, it must not
      // also spend a stop charge.
      s.StopKeyHeld = true;
      ActivateKeyFocus(host_);
    } else if (key == vk::Escape)
      host_.Click(TFlag::MainExit);
    return;
  }
  const bool timersOff =
      !host_.RaceHost().LevelTimerEnabled() && !host_.RaceHost().LevelCompleteTimerEnabled();
  // No pause once the level is driven: the level-complete clock that would
  // then hold would also keep P from undoing it.
  if (key == kPauseKey && timersOff && s.LevelEndState == 0) {
    TogglePause(s);
  }
  // Any key fires while Ctrl is held, the Ctrl key's own repeats included;
  // FireShot checks that the race runs, a gun is there and no shot flies.
  if ((shift & ssCtrl) != 0 || key == vk::Control) FireShot(host_.RaceHost());
  // Escape asks whether to leave, over a paused race too; "Нет" leaves
  // the pause standing.
  if (key == vk::Escape && timersOff) {
    StopRace(s);
    host_.Click(TFlag::MainExit);
  }
}

bool TRaceScreen::PadKeyDown(int key, uint8_t shift) {
  // B fires in a race; over the race's exit question it says "Нет".
  if (!host_.Checked(TFlag::MainExit)) return false;
  return TScreen::PadKeyDown(key, shift);
}

void TRaceScreen::PointerMove(int x, int y) {
  // In the race only the exit question answers, and leaving its answers
  // neither re-arms the sound nor changes the pointer.
  if (host_.Checked(TFlag::MainExit)) HoverItems(host_, RaceExitAnswers(), x, y, false);
}

void TRaceScreen::PointerDown(int /*button*/, int /*pressX*/, int /*pressY*/) {
  if (host_.Checked(TFlag::MainExit))
    ClickItems(host_, RaceExitAnswers(), host_.PointerX(), host_.PointerY());
}

std::vector<TItem> TRaceScreen::FocusItems() const {
  if (!host_.Checked(TFlag::MainExit)) return {};
  const std::span<const TItem> answers = RaceExitAnswers();
  return {answers.begin(), answers.end()};
}

bool TRaceScreen::CloseQuery() {
  host_.PlaySound(snd::ButtonDown);
  host_.Click(TFlag::MainExit);
  return false;
}

}  // namespace bd
