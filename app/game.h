// The game's three calls from the entry point: start-up once, one frame per loop pass, and
// shut-down once after the loop.
#pragma once

// 1 when everything the frames use was made, 0 at the first failure.
int game_init();
// One frame; 1.
int game_main();
// Releases what start-up made (also after a failed start-up); 1.
int game_shutdown();
