#include "race/LifeLost.h"

#include "race/RaceFlow.h"
#include "race/RoadBuilder.h"

namespace bd {

void EndLife(IRaceHost& host) {
  host.SetLevelCompleteTimerEnabled(false);
  host.SetNitroTimerEnabled(false);
  TRaceState& s = host.RaceState();
  if (!LoseLife(s)) return;
  KillAllSprites(host.Engine());
  BuildRoadForLife(host);
  StartLife(s);
}

}  // namespace bd
