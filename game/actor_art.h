// Building actors' sprites from the sheets: the skeletons (player, hostile and summoned) and the
// dead with their lasers. Every build reads its files into work_bitmap afresh; a file that cannot
// be read leaves the frames it would fill blank.
#pragma once
#include "engine/graphics/bob.h"
#include "platform/types.h"

constexpr int SKELETON_WIDTH = 56;
constexpr int SKELETON_HEIGHT = 72;
constexpr int SKELETON_FRAMES = 36;
constexpr int DEAD_WIDTH = 72;
constexpr int DEAD_HEIGHT = 80;
constexpr int DEAD_FRAMES = 32;
constexpr int LASER_SIZE = 150;
constexpr int LASER_FRAMES = 2;

// A hostile or summoned skeleton: 36 frames from "SKELSP0.BMP" .. "SKELSP8.BMP", the fourth of
// each group the strike cell (4,0); sequences 0-8, sequence 0, period 4. 0 when bob_create fails.
int skeleton_sprite_build(BOB_TYP* skeleton);

// The player: the same sheets, but the fourth frame of each walking group is the sweep cell
// (0,1); frame 35 is the wounded strike (4,0) of "SKELSP8.BMP". Each sheet is unloaded after use;
// with a palette given it is made the display's while each sheet is read. Placed at the arena's
// centre with health 100 and an empty charge. 0 when bob_create fails.
int player_sprite_build(BOB_TYP* player, const PALETTEENTRY* palette);

// A dead actor (72 x 80, 32 frames from "DEDSP0/2/4/6.BMP", sequences 0, 2, 4, 6) and its laser
// (150 x 150, the two beams of "laser.bmp"). 0 when either bob_create fails.
int dead_pair_build(BOB_TYP* dead, BOB_TYP* laser);

// The least size (pixels) a sheet must have to hold every cell the builds above cut from it:
// 1 for "SKELSP0.BMP".."SKELSP8.BMP", "DEDSP0/2/4/6.BMP" and "laser.bmp", 0 for any other name.
int actor_sheet_extent(const char* file_name, int* width, int* height);
