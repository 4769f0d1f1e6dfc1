#pragma once
// What appears on the road at random while a level is driven: pickups and
// rocks from the top edge, and on later levels the trails of meteorites.
// Each frame makes its draws from the program's random generator in a fixed
// order, so a seeded game always plays the same.

#include "race/RaceHost.h"

namespace bd {

// One chance in 170 per frame of a pickup or rocks while the car moves on a
// running road; what it is comes from a second draw (SpawnKindFor). The
// first draw is made every frame.
void SpawnPickupAtRandom(IRaceHost& host);

// From level 2 on, one chance in 270 per frame of a meteorite's trail at a
// random x between 100 and 700, while the car moves, the player does not
// hold the race, and more than 1000 pixels of the level are left. Only
// those levels draw at all.
void SpawnMeteorTrailAtRandom(IRaceHost& host);

}  // namespace bd
