#pragma once
// The engine's sound: layers of loops that join in as the speed rises.

#include "race/RaceHost.h"

namespace bd {

// Starts the layers for the car's speed: the low one whenever the car moves,
// forwards or backwards, the middle one above 3 and the high one above 8.
// Run every frame of a level being driven; a layer already playing is
// started again.
void PlayEngineLayers(IRaceHost& host);

}  // namespace bd
