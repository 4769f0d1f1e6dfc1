#include "frontend/screens/RaceScreen.h"

#include "frontend/FrontEndHost.h"
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

bool TRaceScreen::CloseQuery() {
  host_.PlaySound(snd::ButtonDown);
  host_.Click(TFlag::MainExit);
  return false;
}

}  // namespace bd
