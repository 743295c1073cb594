// The game's three calls from the entry point: start-up once, one frame per loop pass, and
// shut-down once after the loop; and the state of the frame's four screens.
#pragma once
#include <cstdint>

#include "engine/graphics/image.h"
#include "platform/types.h"

constexpr int STATE_TITLE = 0;
constexpr int STATE_CONTROLS = 1;
constexpr int STATE_PLAY = 2;
constexpr int STATE_GAME_OVER = 3;

extern int game_state;         // the screen shown
extern bool space_latch;       // Space has stayed down since it last changed the screen
extern int game_over_timer;    // ms since the player's health reached 0, then since game over
extern uint8_t key_state[256]; // this frame's keyboard by scan code
extern char text_buffer[80];   // each HUD line is formatted here
extern int music_id;
extern PALETTEENTRY grass_palette[256];
extern PALETTEENTRY title_palette[256];
extern IMAGE_TYP title_image, controls_image, grass_image, game_over_image;

// The seed start-up gives the random generator: the time, unless a replay fixed it (>= 0).
extern long long game_fixed_seed;
// Real microseconds the last frame worked, everything but its wait.
extern uint64_t frame_work_us;
// Why start-up failed, for the one line the program prints (null when it did not).
extern const char* game_init_failure;

// 1 when everything the frames use was made, 0 at the first failure.
int game_init();
// One frame; 1, or 0 when a restart could not make the player.
int game_main();
// Releases what start-up made (also after a failed start-up); 1.
int game_shutdown();
