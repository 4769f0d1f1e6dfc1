#pragma once
// Which of the game's sounds are cues: the ones that tell the player
// something (pickups, crashes, meteorites, level ends, the pause question).
// The others are heard all along (the engine's layers, the handbrake's hiss,
// started again in every frame while it is held) or belong to the menus'
// buttons. The music steps back under a cue so that it is heard.

#include "assets/AssetNames.h"

namespace bd {

bool IsCueSound(TSoundName name);

}  // namespace bd
