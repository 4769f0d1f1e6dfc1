#include "frontend/screens/RaceScreen.h"

#include "frontend/FrontEndHost.h"

namespace bd {

void TRaceScreen::Build() { host_.StartGame(); }

void TRaceScreen::Leave() {
  TScreen::Leave();
  host_.SetMenuMusicPending(true);
  host_.StopAllSounds();
  host_.LoadMenuGraphicsAfterRace();
}

void TRaceScreen::Frame(int lagCount) {
  // Race sprites move by the frame intervals that passed.
  host_.RaceFrame(lagCount);
}

void TRaceScreen::KeyDown(int key, uint8_t shift) {
  // The race takes the key (race/RaceInput.h), so that a replay, which has
  // no screens, does the same with it. The exit question over the race takes
  // its keys before the screen sees them.
  if (host_.RaceKeyPress(key, shift) == TRaceKeyOutcome::AskToLeave) host_.Click(TFlag::MainExit);
}

bool TRaceScreen::CloseQuery() {
  host_.PlaySound(snd::ButtonDown);
  host_.Click(TFlag::MainExit);
  return false;
}

}  // namespace bd
