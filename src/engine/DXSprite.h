#pragma once
// Everything a game sprite class needs: the tree and engine, image sprites,
// tiled backgrounds and the engine component bound to the display.

#include "engine/BackgroundSprite.h"
#include "engine/DXSpriteEngine.h"
#include "engine/ImageSprite.h"
#include "engine/SpriteTree.h"
