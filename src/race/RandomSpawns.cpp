#include "race/RandomSpawns.h"

#include "race/MeteorSprites.h"
#include "race/RaceFlow.h"
#include "race/RoadBuilder.h"

namespace bd {

void SpawnPickupAtRandom(IRaceHost& host) {
  const TRaceState& s = host.RaceState();
  if (host.Random(170) == 5 && s.RaceRunning && s.Speed != 0)
    SpawnPickup(host, SpawnKindFor(host.Random(101)));
}

void SpawnMeteorTrailAtRandom(IRaceHost& host) {
  const TRaceState& s = host.RaceState();
  const int32_t remaining = RemainingDistance(s);
  if (MeteorTrailsAppear(s.Level) && host.Random(270) == 4 && s.Speed != 0 && !s.Paused &&
      !host.ExitQuestionOpen() && remaining > 1000) {
    const int32_t x = host.Random(601) + 100;
    new TSledMeteoritaSprite(host, x, -100);
  }
}

}  // namespace bd
