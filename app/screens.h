// The frame's screen logic: the Space test of the title and controls screens, the music
// keep-alive, the play pass with its drawing and HUD, and the game-over pass with the restart.
#pragma once

// A fresh Space press (the latch was clear) switches to `target`; a held key changes nothing.
void space_test(int target);
// The music starts again whenever it has played to its end.
void music_keep_alive();

void play_pass();
// Draws every actor in the fixed order with the depth fix-up, then the HUD.
void draw_actors();
void draw_hud();

// 1, or 0 when a restart could not make the player (the frame then ends at once).
int game_over_pass();
// Play again from a clean field: the lists, the player, a dead pair, the slots and the score.
// 0 when the player cannot be made.
int restart_play();

// Every value of the game and its screens back to its load value (for tests and replays).
void game_reset_to_load();
