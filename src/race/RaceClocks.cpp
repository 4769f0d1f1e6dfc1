#include "race/RaceClocks.h"

#include "race/LevelChange.h"
#include "race/RaceFlow.h"
#include "race/RaceRunning.h"

namespace bd {

void LevelIntroOver(IRaceHost& host) {
  TRaceState& s = host.RaceState();
  RunRaceUnless(s, host.ExitQuestionOpen());
  s.SpeedTick = 0;
  host.SetLevelTimerEnabled(false);
}

void NitroClockTick(IRaceHost& host) {
  if (NitroSecondTick(host.RaceState())) host.SetNitroTimerEnabled(false);
}

void LevelCompleteClockTick(IRaceHost& host) {
  if (!LevelCompleteTick(host.RaceState())) return;
  host.SetLevelCompleteTimerEnabled(false);
  BeginNextLevel(host);
}

}  // namespace bd
