#pragma once
// The end of a level: what each race frame does once the level's whole
// length is driven.

#include "race/RaceHost.h"

namespace bd {

// The level is driven: the race stops, the applause sounds once, and once
// the destination sign has grown the level-complete clock starts.
void LevelDrivenFrame(IRaceHost& host);

}  // namespace bd
