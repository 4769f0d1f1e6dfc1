#pragma once
// Everything a game sprite class needs: the tree and engine, image sprites,
// tiled backgrounds and the engine component bound to the display.

#include "engine/sprites/BackgroundSprite.h"
#include "engine/sprites/DXSpriteEngine.h"
#include "engine/sprites/ImageSprite.h"
#include "engine/sprites/SpriteTree.h"
