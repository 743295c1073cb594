// Start-up and shut-down: sound and music, the seed and tables, the display and keyboard, the four
// screens with their palettes, the player, the first dead pair, the clipper and the music.
#include <cstdio>
#include <ctime>

#include "app/data_files.h"
#include "app/game_shell.h"
#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "engine/graphics/bitmap.h"
#include "engine/graphics/display.h"
#include "engine/graphics/palette.h"
#include "engine/math/trig.h"
#include "engine/random/random.h"
#include "game/actor_list.h"
#include "game/player.h"
#include "game/spawn.h"
#include "game/world.h"
#include "platform/keys.h"
#include "platform/refusal.h"
#include "platform/surface.h"
#include "platform/window.h"

int music_id = -1;
PALETTEENTRY grass_palette[256];
PALETTEENTRY title_palette[256];
IMAGE_TYP title_image, controls_image, grass_image, game_over_image;
long long game_fixed_seed = -1;
const char* game_init_failure = nullptr;

namespace {

constexpr int SOUND_CONTROLS = 224;  // pan, volume and frequency

// The keyboard device, read even when the window is not in front.
int open_keyboard() {
  constexpr int NONEXCLUSIVE_BACKGROUND = 10;
  return plat_input_create() && plat_keyboard_create() &&
         plat_keyboard_set_cooperative_level(main_window, NONEXCLUSIVE_BACKGROUND) &&
         plat_keyboard_set_data_format() && plat_keyboard_acquire();
}

// A full-screen picture: loaded into work_bitmap, shown with `palette` (its own when null and
// then kept in `keep`), copied into `image`.
void load_screen(const char* file, IMAGE_TYP* image, const PALETTEENTRY* palette, PALETTEENTRY* keep) {
  bitmap_load_file(&work_bitmap, file);
  if (keep) {
    palette_set_all(work_bitmap.palette);
    palette_save(keep);
  } else {
    palette_set_all(palette);
  }
  image_create(image, 0, 0, 640, 480, 8);
  image_load(image, &work_bitmap, 0, 0, 1);
  bitmap_unload_file(&work_bitmap);
}

// A sound or the music loaded, and when its loader refused the file, the player told why.
template <typename... Args>
int load_said(const char* file, int (*load)(const char*, Args...), Args... args) {
  plat_refusal_clear();
  const int id = load(file, args...);
  report_refused_data_file(file);
  return id;
}

int fail(const char* why) {
  game_init_failure = why;
  return 0;
}

}  // namespace

int game_init() {
  game_init_failure = nullptr;
  report_unusable_data_files();
  start_sound_system();
  start_music_system();
  bat_sound_id = load_said("bat.WAV", load_wav_sound, SOUND_CONTROLS);
  weapon_sound_id = load_said("HWEAPON0.WAV", load_wav_sound, SOUND_CONTROLS);
  set_sound_volume(weapon_sound_id, 0);
  music_id = load_said("MIDIFILE9.MID", load_midi);
  random_seed(game_fixed_seed >= 0 ? static_cast<unsigned>(game_fixed_seed)
                                    : static_cast<unsigned>(std::time(nullptr)));
  build_trig_tables();
  display_init(640, 480, 8, 0);
  if (!open_keyboard()) return fail("the keyboard could not be opened");

  load_screen("GRASS.BMP", &grass_image, nullptr, grass_palette);
  load_screen("title.BMP", &title_image, nullptr, title_palette);
  load_screen("controls.BMP", &controls_image, title_palette, nullptr);
  load_screen("gameover.BMP", &game_over_image, title_palette, nullptr);

  if (!player_create(grass_palette)) return fail("the player's sprite could not be made");
  spawn_dead_pair();

  // The display made a back clipper of its own; the one made here takes its place, and the
  // display's is released rather than lost.
  const RECT screen_rect = {0, 0, screen_width, screen_height};
  CLIPPER_TYP* replaced = back_clipper;
  back_clipper = display_attach_clipper(back_surface, 1, &screen_rect);
  if (replaced && replaced != back_clipper) plat_clipper_release(replaced);
  plat_show_cursor(0);
  play_midi(music_id);
  return 1;
}

int game_shutdown() {
  stop_all_sounds();
  delete_all_sounds();
  shutdown_sound_system();
  delete_all_midi();
  shutdown_music_system();
  image_destroy(&grass_image);
  image_destroy(&title_image);
  image_destroy(&controls_image);
  image_destroy(&game_over_image);
  // Shut-down releases every record's frames; emptying the lists too keeps a later start-up in
  // the same process (the tests make several) from meeting released records.
  actor_list_clear(&skeleton_list);
  dead_pairs_clear();
  actor_list_clear(&summon_list);
  plat_keyboard_unacquire();
  plat_keyboard_release();
  plat_input_release();
  display_shutdown();
  return 1;
}
