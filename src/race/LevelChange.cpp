#include "race/LevelChange.h"

#include "race/LifeLost.h"
#include "race/RaceFlow.h"

namespace bd {

void StartNewGame(IRaceHost& host) {
  host.RaceState() = TRaceState{};
  BeginNextLevel(host);
}

void BeginNextLevel(IRaceHost& host) {
  if (AdvanceLevel(host.RaceState(), [&host] { EndLife(host); })) host.PlaySound(snd::Viva);
  host.SetLevelTimerEnabled(true);
}

}  // namespace bd
