// One frame of the game: Escape, the clock, the background of the current screen, the keyboard,
// the screen's own logic, the flip and the wait that pads the frame to 30 ms.
#include <cstring>

#include "app/game_shell.h"
#include "app/screens.h"
#include "engine/audio/music.h"
#include "engine/graphics/clock.h"
#include "engine/graphics/display.h"
#include "engine/graphics/palette.h"
#include "game/world.h"
#include "platform/keys.h"
#include "platform/ticks.h"
#include "platform/window.h"

int game_state = STATE_TITLE;
bool space_latch = false;
int game_over_timer = 0;
uint8_t key_state[256];
char text_buffer[80];
uint64_t frame_work_us = 0;

namespace {

struct SCREEN_TYP {
  const PALETTEENTRY* palette;
  const IMAGE_TYP* image;
};

const SCREEN_TYP& screen_of(int state) {
  static const SCREEN_TYP screens[4] = {{title_palette, &title_image},
                                        {title_palette, &controls_image},
                                        {grass_palette, &grass_image},
                                        {title_palette, &game_over_image}};
  return screens[state >= 0 && state < 4 ? state : STATE_TITLE];
}

void paint_background() {
  const SCREEN_TYP& screen = screen_of(game_state);
  // A picture that covers the screen leaves nothing of the clear to see: it is skipped, unless
  // the back buffer then cannot be reached to draw the picture.
  const bool covered = image_covers(screen.image, screen_width, screen_height);
  if (!covered) display_fill_surface(back_surface, 0, nullptr);
  display_lock_back();
  palette_set_all(screen.palette);
  const bool drawn = back_buffer && image_draw(screen.image, back_buffer, back_pitch, 0);
  display_unlock_back();
  if (covered && !drawn) display_fill_surface(back_surface, 0, nullptr);
}

}  // namespace

void space_test(int target) {
  if (key_state[DIK_SPACE]) {
    if (!space_latch) game_state = target;
    space_latch = true;
  } else {
    space_latch = false;
  }
}

void music_keep_alive() {
  if (midi_status(music_id) == SLOT_STOPPED) play_midi(music_id);
}

int game_main() {
  // The pads' Start means Space on the menu screens only; the backend reads this at its next
  // look at the devices, before the next frame reads the keys (the screen cannot change between).
  plat_keys_set_menu_screen(game_state != STATE_PLAY);
  // Posted, not handled here: this frame still completes and the window ends the loop.
  if (plat_key_down_now(VK_ESCAPE)) plat_post_message(main_window, WM_DESTROY, 0, 0);
  clock_start();
  const uint64_t work_start = plat_real_time_us();
  paint_background();
  plat_keyboard_get_state(256, key_state);

  // Each test sees the change the one before it made: a press on the controls screen starts
  // play in the same frame, and the frame in which play ends runs the game-over pass too.
  if (game_state == STATE_TITLE) {
    space_test(STATE_CONTROLS);
    music_keep_alive();
  }
  if (game_state == STATE_CONTROLS) {
    space_test(STATE_PLAY);
    music_keep_alive();
  }
  if (game_state == STATE_PLAY) play_pass();
  if (game_state == STATE_GAME_OVER && !game_over_pass()) return 0;

  display_flip();
  frame_work_us = plat_real_time_us() - work_start;
  clock_wait(30);
  return 1;
}

void game_reset_to_load() {
  world_reset();
  game_state = STATE_TITLE;
  space_latch = false;
  game_over_timer = 0;
  std::memset(key_state, 0, sizeof key_state);
  music_id = -1;
}
