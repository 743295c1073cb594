// Whole-screen transitions: palette fades and tints stepped every 12 ms, closing wipes of
// colour-0 lines, and a random dissolve to colour 0.
#include <cstdint>

#include "engine/graphics/clock.h"
#include "engine/graphics/display.h"
#include "engine/graphics/palette.h"
#include "engine/graphics/pixels.h"
#include "engine/graphics/transition.h"
#include "engine/random/random.h"

namespace {

constexpr uint32_t STEP_PERIOD = 12;

void pace() {
  clock_start();
  clock_wait(STEP_PERIOD);
}

uint8_t up(uint8_t channel, int amount) {
  const int v = channel + amount;
  return static_cast<uint8_t>(v > 255 ? 255 : v);
}

uint8_t down(uint8_t channel, int amount) {
  const int v = channel - amount;
  return static_cast<uint8_t>(v < 0 ? 0 : v);
}

void to_black(PALETTEENTRY* work_color) {
  work_color->red = 0;
  work_color->green = 0;
  work_color->blue = 0;
}

void fade_black(PALETTEENTRY* work_color) {
  work_color->red = work_color->red > 4 ? work_color->red - 3 : 0;
  work_color->green = work_color->green > 4 ? work_color->green - 3 : 0;
  work_color->blue = work_color->blue > 4 ? work_color->blue - 3 : 0;
}

void fade_white(PALETTEENTRY* work_color) {
  work_color->red = up(work_color->red, 4);
  work_color->green = up(work_color->green, 4);
  work_color->blue = up(work_color->blue, 4);
}

void tint_blue(PALETTEENTRY* work_color) {
  work_color->red = down(work_color->red, 4);
  work_color->green = down(work_color->green, 4);
  work_color->blue = up(work_color->blue, 6);
}

void tint_red(PALETTEENTRY* work_color) {
  work_color->red = up(work_color->red, 6);
  work_color->green = down(work_color->green, 4);
  work_color->blue = down(work_color->blue, 4);
}

void tint_green(PALETTEENTRY* work_color) {
  work_color->red = down(work_color->red, 4);
  work_color->green = up(work_color->green, 6);
  work_color->blue = down(work_color->blue, 4);
}

// A palette effect: how many steps it takes, the first entry it changes (through 255), what one
// step does to an entry, and what its last step does (null: the same as the others).
struct PALETTE_EFFECT_TYP {
  int effect;
  int steps;
  int first;
  void (*change)(PALETTEENTRY*);
  void (*last_change)(PALETTEENTRY*);
};

// Entry 0 (the border and key colour) stays through the fade to black. Eighty steps of 3 leave
// channels above 241 a little short of black, so its last step finishes the fade.
constexpr PALETTE_EFFECT_TYP palette_effects[] = {
    {TRANSITION_FADE_BLACK, 80, 1, fade_black, to_black},
    {TRANSITION_FADE_WHITE, 64, 0, fade_white, nullptr},
    {TRANSITION_TINT_BLUE, 64, 0, tint_blue, nullptr},
    {TRANSITION_TINT_RED, 64, 0, tint_red, nullptr},
    {TRANSITION_TINT_GREEN, 64, 0, tint_green, nullptr},
};

const PALETTE_EFFECT_TYP* find_palette_effect(int effect) {
  for (const PALETTE_EFFECT_TYP& e : palette_effects)
    if (e.effect == effect) return &e;
  return nullptr;
}

// Each step reads the palette back, changes it and sets it, then waits.
void palette_effect(const PALETTE_EFFECT_TYP& e) {
  PALETTEENTRY work_palette[256];
  for (int step = 0; step < e.steps; ++step) {
    palette_save(work_palette);
    transition_palette_step(e.effect, step, work_palette);
    palette_set_all(work_palette);
    pace();
  }
}

// Colour-0 lines in the display's depth; other depths have no line operations.
struct Lines {
  void (*hline)(int, int, int, int, uint8_t*, int);
  void (*vline)(int, int, int, int, uint8_t*, int);
};

bool lines_for_depth(Lines* lines) {
  if (screen_bpp == 8) {
    *lines = {hline8, vline8};
    return true;
  }
  if (screen_bpp == 16) {
    *lines = {hline16, vline16};
    return true;
  }
  return false;
}

// The four columns that close in from both sides at p.
void close_sides_step(const Lines& lines, int p, uint8_t* memory, int pitch) {
  const int w = screen_width, bottom = screen_height - 1;
  lines.vline(0, bottom, w - 1 - p, 0, memory, pitch);
  lines.vline(0, bottom, p, 0, memory, pitch);
  lines.vline(0, bottom, w - 2 - p, 0, memory, pitch);
  lines.vline(0, bottom, p + 1, 0, memory, pitch);
}

// The four rows that close in from top and bottom at q.
void close_top_bottom_step(const Lines& lines, int q, uint8_t* memory, int pitch) {
  const int h = screen_height, right = screen_width - 1;
  lines.hline(0, right, h - 1 - q, 0, memory, pitch);
  lines.hline(0, right, q, 0, memory, pitch);
  lines.hline(0, right, h - 2 - q, 0, memory, pitch);
  lines.hline(0, right, q + 1, 0, memory, pitch);
}

void close_sides(uint8_t* memory, int pitch) {
  Lines lines;
  if (!lines_for_depth(&lines)) return;
  for (int p = 0; p < screen_width / 2; p += 2) {
    pace();
    close_sides_step(lines, p, memory, pitch);
  }
}

void close_top_bottom(uint8_t* memory, int pitch) {
  Lines lines;
  if (!lines_for_depth(&lines)) return;
  for (int p = 0; p < screen_height / 2; p += 2) {
    pace();
    close_top_bottom_step(lines, p, memory, pitch);
  }
}

// The rows run at the columns' pace and start over when they meet, until the columns meet.
void close_all(uint8_t* memory, int pitch) {
  Lines lines;
  if (!lines_for_depth(&lines)) return;
  const int half_height = screen_height / 2;
  if (half_height == 0) return;  // no rows to close (and nothing to take the remainder by)
  for (int p = 0; p < screen_width / 2; p += 2) {
    pace();
    close_top_bottom_step(lines, p % half_height, memory, pitch);
    close_sides_step(lines, p, memory, pitch);
  }
}

void dissolve(uint8_t* memory, int pitch) {
  int (*plot)(int, int, int, uint8_t*, int);
  if (screen_bpp == 8)
    plot = plot_pixel8;
  else if (screen_bpp == 16)
    plot = plot_pixel16;
  else
    return;
  if (screen_width <= 0 || screen_height <= 0) return;
  const int64_t count = 4LL * screen_width * screen_height;
  for (int64_t p = 0; p <= count; ++p) {
    const int y = random_next() % screen_height;
    const int x = random_next() % screen_width;
    plot(x, y, 0, memory, pitch);
  }
}

}  // namespace

int transition_palette_step(int effect, int step, PALETTEENTRY* work_palette) {
  const PALETTE_EFFECT_TYP* e = find_palette_effect(effect);
  if (!e || !work_palette) return 0;
  void (*change)(PALETTEENTRY*) =
      (step == e->steps - 1 && e->last_change) ? e->last_change : e->change;
  for (int index = e->first; index < 256; ++index) change(&work_palette[index]);
  return 1;
}

void screen_transition(int effect, uint8_t* memory, int pitch) {
  if (const PALETTE_EFFECT_TYP* e = find_palette_effect(effect)) {
    palette_effect(*e);
    return;
  }
  switch (effect) {
    case TRANSITION_CLOSE_SIDES:
      close_sides(memory, pitch);
      break;
    case TRANSITION_CLOSE_TOP_BOTTOM:
      close_top_bottom(memory, pitch);
      break;
    case TRANSITION_CLOSE_ALL:
      close_all(memory, pitch);
      break;
    case TRANSITION_DISSOLVE:
      dissolve(memory, pitch);
      break;
    default:
      break;
  }
}
