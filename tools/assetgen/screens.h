// The four 640 x 480 screens: the grass arena (play field) and the title, controls and game-over
// screens (all three in the title palette).
#pragma once
#include "tools/assetgen/file_writers.h"
#include "tools/assetgen/paint.h"

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;

// Where the game writes "Final Score: %d" on the game-over screen, in RGB(32, 32, 32).
constexpr int SCORE_LINE_X = 240;
constexpr int SCORE_LINE_Y = 435;

void screen_paint_grass(PAINT_TYP* out);
// Each returns 1, or 0 when a font face cannot be loaded.
int screen_paint_title(PAINT_TYP* out);
int screen_paint_controls(PAINT_TYP* out);
int screen_paint_game_over(PAINT_TYP* out);

// Maps a full-colour screen to palette indices with a light ordered dither.
void screen_quantize(const PAINT_TYP* paint, const PALETTEENTRY palette[256], float dither, PICTURE_TYP* out);
