// Sprite records: every on-screen actor. Each frame is its own small surface with a source colour
// key; sequences of frame indices drive the animation; the ten game fields belong to the game.
//
// Guards the engine keeps (a record must never read or write outside its tables):
// - bob_load_frame and bob_load_frame16 refuse with 0 and copy nothing when the frame index has
//   no surface, the cell does not lie wholly inside the bitmap, or the depths differ.
// - bob_draw refuses with 0 when `frame` has no surface (out of 0..frame_count - 1).
// - bob_animate on a sequenced record without a sequence at `sequence` (or an empty one) leaves
//   the record as it was; a sequence replaced by a shorter one wraps at its new end.
// - bob_add_sequence frees the sequence it replaces, so a clone taken before the replacement must
//   not be animated with that sequence again; clones themselves cannot add sequences (0).
// - bob_set_sequence refuses indices outside 0..15; bob_create refuses more than 64 frames.
#pragma once
#include <cstdint>

struct SURFACE_TYP;
struct BMP_FILE_TYP;

constexpr int BOB_MAX_FRAMES = 64;
constexpr int BOB_MAX_SEQUENCES = 16;

constexpr int ATTR_ONE_FRAME = 0x1;
constexpr int ATTR_FRAME_CYCLE = 0x2;
constexpr int ATTR_SEQUENCED = 0x4;
constexpr int ATTR_PLAY_ONCE = 0x8;
constexpr int ATTR_VISIBLE = 0x10;
constexpr int ATTR_BOUNCE = 0x20;
constexpr int ATTR_WRAP = 0x40;
constexpr int ATTR_LOADED = 0x80;
constexpr int ATTR_CLONE = 0x100;

struct BOB_TYP {
  int state;
  int anim_done;   // set once a play-once sequence reached its end
  int attributes;  // ATTR_ bits
  float x, y;      // top-left corner on screen
  float vel_x, vel_y;
  int width, height;
  int extra_width;  // added to every frame surface's width at creation
  int bits_per_pixel;
  int counters[4];
  uint32_t spare_words[32];
  int frame;        // frame surface drawn
  int frame_count;  // frame surfaces created
  int sequence;     // current sequence
  int anim_ticks;   // bob_animate calls toward the next step
  int sequence_pos;
  int anim_period;  // bob_animate calls per step
  int* sequences[BOB_MAX_SEQUENCES];  // frame indices ended by -1
  // Game fields: stored and copied, never read by the engine.
  bool moving;
  int direction;
  int turn_timer;
  int health;
  int attack_timer;
  int spare_int;
  int action_timer;
  int damage_timer;
  int reserved_int;
  int spawn_charge;
  SURFACE_TYP* frame_surfaces[BOB_MAX_FRAMES];
};

// Creates frame_count keyed surfaces of (width + extra_width) x height. 1; 0 for frame counts
// outside 0..64 (record untouched) or at the first surface that cannot be made (those made stay
// in the record for bob_destroy). A record must be zero-filled or destroyed before it is created.
int bob_create(BOB_TYP* bob, int x, int y, int width, int height, int frame_count, int attributes,
               int mem_flags, uint16_t color_key, int bits_per_pixel);
// Copies source into dest, which then shares its surfaces and sequences (ATTR_CLONE).
int bob_clone(const BOB_TYP* source, BOB_TYP* dest);
// Releases what the record owns (nothing for a clone) and clears the pointers.
int bob_destroy(BOB_TYP* bob);
// Keyed blit of the current frame at (x, y), clipped by the destination's clipper. 1 when drawn
// or not visible; 0 when the blit fails (destination locked) or the frame has no surface.
int bob_draw(const BOB_TYP* bob, SURFACE_TYP* dest);
int bob_draw_scaled(const BOB_TYP* bob, int drawn_width, int drawn_height, SURFACE_TYP* dest);
// A hint that the record is drawn soon: its current frame is fetched into the cache meanwhile.
void bob_prefetch(const BOB_TYP* bob);
// Fills a frame from cell (cx, cy) of a sheet (mode 0: cells of the frame size with 1-pixel
// borders) or from the pixel corner (cx, cy) (any other mode).
int bob_load_frame(BOB_TYP* bob, const BMP_FILE_TYP* bitmap, int frame, int cx, int cy, int mode);
int bob_load_frame16(BOB_TYP* bob, const BMP_FILE_TYP* bitmap, int frame, int cx, int cy, int mode);
int bob_animate(BOB_TYP* bob);
int bob_move(BOB_TYP* bob);
// Stores a copy of count frame indices, ended by -1, as sequence index. 1, or 0 for an index
// outside 0..15, a negative count, missing frames, a clone, or no memory.
int bob_add_sequence(BOB_TYP* bob, int index, int count, const int* frames);
int bob_set_position(BOB_TYP* bob, int x, int y);
int bob_set_velocity(BOB_TYP* bob, float vel_x, float vel_y);
int bob_set_anim_period(BOB_TYP* bob, int period);
int bob_set_sequence(BOB_TYP* bob, int index);
int bob_hide(BOB_TYP* bob);
int bob_show(BOB_TYP* bob);
// 1 when the two collision boxes (three quarters of each size from the top-left) overlap.
int bob_overlap(const BOB_TYP* a, const BOB_TYP* b);
