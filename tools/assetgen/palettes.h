// The two palettes of the game: the play field's (grass, bone, robes, lasers, HUD colours) and the
// title screens' (ash, embers, parchment). Index 0 is black in both: the sprites' transparent key.
#pragma once
#include "platform/types.h"
#include "tools/assetgen/paint.h"

void palette_build_playfield(PALETTEENTRY palette[256]);
void palette_build_title(PALETTEENTRY palette[256]);

// Index of the entry nearest to color, searching only first..255 (first = 1 keeps sprite ink off
// the key). Cached per palette, so whole screens map quickly.
int palette_nearest(const PALETTEENTRY palette[256], COLOR_TYP color, int first);
