// The game-over screen: the final score, and after 2000 ms a fresh Space press plays again.
#include <cstdio>

#include "app/game_shell.h"
#include "app/screens.h"
#include "engine/graphics/display.h"
#include "engine/graphics/text.h"
#include "game/actor_list.h"
#include "game/player.h"
#include "game/spawn.h"
#include "game/world.h"
#include "platform/keys.h"

int restart_play() {
  game_over_timer = 0;
  game_state = STATE_PLAY;
  dead_pairs_clear();
  actor_list_clear(&skeleton_list);
  actor_list_clear(&summon_list);
  // The sheets are read without touching the palette this time.
  if (!player_create(nullptr)) return 0;
  spawn_dead_pair();
  spawn_slots_reset();
  score = 0;
  return 1;
}

int game_over_pass() {
  // A press too early still sets the latch: the key must come up and go down again later.
  if (key_state[DIK_SPACE]) {
    if (!space_latch && game_over_timer > 2000 && !restart_play()) return 0;
    space_latch = true;
  } else {
    space_latch = false;
  }
  music_keep_alive();
  std::snprintf(text_buffer, sizeof text_buffer, "Final Score: %d", score);
  text_draw_gdi(text_buffer, 240, 435, RGB(32, 32, 32), back_surface);
  game_over_timer += frame_dt();
  drain_amount = 2;
  return 1;
}
