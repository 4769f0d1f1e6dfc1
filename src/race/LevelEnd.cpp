#include "race/LevelEnd.h"

#include "race/RaceRunning.h"

namespace bd {

void LevelDrivenFrame(IRaceHost& host) {
  TRaceState& s = host.RaceState();
  StopRace(s);
  if (s.LevelEndState == 0) {
    host.PlaySound(snd::Applause);
    s.LevelEndState = 1;  // the destination sign grows from here
  }
  if (s.LevelEndState == 2) {
    s.LevelEndState = 3;
    host.SetLevelCompleteTimerEnabled(true);
  }
}

}  // namespace bd
