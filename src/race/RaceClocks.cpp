#include "race/RaceClocks.h"

#include "race/LevelChange.h"
#include "race/RaceRunning.h"

namespace bd {

void TickRaceClocks(IRaceHost& host, TRaceClocks& clocks, int lagCount, bool held) {
  if (held) return;
  // A tick may start or stop another clock (the eleventh level-complete
  // tick starts the next level's caption): each clock is asked in turn, so
  // one started here counts from the next frame on.
  if (clocks.Level.Advance(lagCount, RaceFrameMs)) LevelIntroOver(host);
  if (clocks.Nitro.Advance(lagCount, RaceFrameMs)) NitroClockTick(host);
  if (clocks.LevelComplete.Advance(lagCount, RaceFrameMs)) LevelCompleteClockTick(host);
}

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
