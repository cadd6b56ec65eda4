// Growing the play field's sprite lists.
#pragma once

#include "playfield/dxsprite.h"

// Appends a sprite; a list that cannot grow raises "Out of memory adding " and `what`.
void AppendSprite(TDXSpriteList& list, const TDXSprite& sprite, const char* what);
