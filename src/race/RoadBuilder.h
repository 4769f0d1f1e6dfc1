#pragma once
// Building the road: the sprites a life starts with, and the pickups and
// rocks the race spawns at random.

#include "race/RaceFlow.h"
#include "race/RaceHost.h"

namespace bd {

// Kills every sprite of the engine. They stay in the tree, stepped and drawn,
// until the next RemoveDead frees them.
void KillAllSprites(TSpriteEngine& engine);

// The new life's road, after the old sprites were killed: the road, the car,
// the opening obstacle cars (a third from level 5), the three bands outside
// the picture, the chasm, the icons of the head-up display and the
// destination sign, in that order.
void BuildRoadForLife(IRaceHost& host);

// The sprite the random spawn creates for `kind`.
void SpawnPickup(IRaceHost& host, TSpawnKind kind);

}  // namespace bd
