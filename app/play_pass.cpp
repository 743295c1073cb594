// The play pass: the player's steps, the poses, the attack key, the end of play, the drain, the
// actor updates and spawns, then the drawing of every actor and the HUD.
#include <cstdio>

#include "app/game_shell.h"
#include "app/screens.h"
#include "engine/audio/sound.h"
#include "engine/graphics/display.h"
#include "engine/graphics/text.h"
#include "game/actor_rules.h"
#include "game/player.h"
#include "game/spawn.h"
#include "game/updates.h"
#include "game/world.h"
#include "platform/keys.h"

void play_pass() {
  music_keep_alive();
  player_move_and_pose(key_state);
  player_summon_key(key_state);
  player_and_difficulty_timers();
  update_difficulty();
  update_actor_poses();
  // Holding Space through play leaves the latch set, so a press held into game over is no restart.
  if (plat_key_down_now(VK_SPACE)) {
    player_attack();
  } else {
    space_latch = false;
  }
  if (game_over_timer > 2000) {
    game_over_timer = 0;
    game_state = STATE_GAME_OVER;
  }
  if (player()->health <= 0) game_over_timer += frame_dt();
  if (player()->attack_timer == 0) play_sound(bat_sound_id, 0);
  player_drain();

  update_skeletons();
  update_summons();
  update_dead_actors();
  update_spawn_timers();

  if (player()->health < 0) player()->health = 0;
  draw_actors();
  draw_hud();
}

namespace {
// Actors this far ahead in a list have their frame fetched while the ones before are drawn.
constexpr size_t DRAW_AHEAD = 4;

void draw_list(const std::vector<BOB_TYP>& list, size_t first) {
  for (size_t i = first; i < list.size(); ++i) {
    if (i + DRAW_AHEAD < list.size()) bob_prefetch(&list[i + DRAW_AHEAD]);
    bob_draw(&list[i], back_surface);
  }
}
}  // namespace

void draw_actors() {
  draw_list(skeleton_list, 1);
  draw_list(summon_list, 0);
  for (size_t i = 0; i < dead_list.size(); ++i) {
    if (dead_list[i].health <= 0) continue;
    place_laser(static_cast<int>(i));
    // The beam is hidden after a shot, while the actor shows its strike.
    if (dead_list[i].action_timer >= STRIKE_POSE_MS) bob_draw(&laser_list[i], back_surface);
    bob_draw(&dead_list[i], back_surface);
  }
  const BOB_TYP* p = player();
  if (p->health > 0) bob_draw(p, back_surface);
  // Whoever stands lower on the screen than the player is drawn again, in front of it.
  for (const BOB_TYP& dead : dead_list) {
    if (dead.y > p->y) bob_draw(&dead, back_surface);
  }
  for (const BOB_TYP& skeleton : skeleton_list) {
    if (skeleton.y > p->y) bob_draw(&skeleton, back_surface);
  }
}

void draw_hud() {
  const BOB_TYP* p = player();
  std::snprintf(text_buffer, sizeof text_buffer, "Health: %d", p->health);
  text_draw_gdi(text_buffer, 0, 0, RGB(0, 0, 0), back_surface);
  std::snprintf(text_buffer, sizeof text_buffer, "Score: %d", score);
  text_draw_gdi(text_buffer, 100, 0, RGB(0, 0, 0), back_surface);
  std::snprintf(text_buffer, sizeof text_buffer, "Spawn CD: %d%%", p->spawn_charge * 100 / CHARGE_FULL);
  text_draw_gdi(text_buffer, 0, 20, RGB(0, 0, 0), back_surface);
  // Marks the player even when it is no longer drawn.
  text_draw_gdi("YOU", static_cast<int>(p->x + 12), static_cast<int>(p->y - 15), RGB(255, 0, 0),
                back_surface);
}
