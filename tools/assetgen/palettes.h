// The two palettes of the game: the play field's (moonlit grass and ash, bone, robes, lasers, HUD
// colours) and the title screens' (ash, embers, parchment). Index 0 is black in both: the sprites' transparent key.
#pragma once
#include "platform/types.h"
#include "tools/assetgen/paint.h"

void palette_build_playfield(PALETTEENTRY palette[256]);
// The play field is painted and mapped to these entries by day, and its files carry them at
// night: the ground's entries (grass and ash) by moonlight, each at its own luminance, so every
// light level of the arena and every figure on it stays as it was.
constexpr int PLAYFIELD_GROUND_FIRST = 17;
constexpr int PLAYFIELD_GROUND_COUNT = 64;
void palette_playfield_at_night(const PALETTEENTRY day[256], PALETTEENTRY night[256]);
void palette_build_title(PALETTEENTRY palette[256]);

// Index of the entry nearest to color, searching only first..255 (first = 1 keeps sprite ink off
// the key). Cached per palette, so whole screens map quickly.
int palette_nearest(const PALETTEENTRY palette[256], COLOR_TYP color, int first);
