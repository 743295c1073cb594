// Whole-screen transitions on the screen memory (layout as in pixels.h): palette fades and
// tints, closing wipes and a random dissolve. Their writes trust the memory to be the screen's.
#pragma once
#include <cstdint>

#include "platform/types.h"

constexpr int TRANSITION_FADE_BLACK = 0;
constexpr int TRANSITION_FADE_WHITE = 1;
constexpr int TRANSITION_CLOSE_SIDES = 2;
constexpr int TRANSITION_CLOSE_TOP_BOTTOM = 3;
constexpr int TRANSITION_DISSOLVE = 4;
constexpr int TRANSITION_CLOSE_ALL = 5;
constexpr int TRANSITION_TINT_BLUE = 6;
constexpr int TRANSITION_TINT_RED = 7;
constexpr int TRANSITION_TINT_GREEN = 8;

// One of the TRANSITION_ effects on the screen memory (palette fades and tints, closing wipes,
// a random dissolve to colour 0). Blocks for the whole effect, paced by the frame clock.
void screen_transition(int effect, uint8_t* memory, int pitch);

// What step `step` (from 0) of a palette effect (fades and tints) does to the working copy of
// the palette. 1, or 0 with the palette untouched for any other effect.
int transition_palette_step(int effect, int step, PALETTEENTRY* work_palette);
