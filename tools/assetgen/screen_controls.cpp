#include "tools/assetgen/font.h"
#include "tools/assetgen/screen_common.h"
#include "tools/assetgen/screens.h"

namespace {

// A key cap: a raised box with its label.
int key_cap(PAINT_TYP* out, int x, int baseline, int width, const char* label) {
  int top = baseline - 20, bottom = baseline + 7;
  for (int y = top; y < bottom; ++y)
    for (int px = x; px < x + width; ++px) {
      bool edge = y == top || y == bottom - 1 || px == x || px == x + width - 1;
      float t = static_cast<float>(y - top) / (bottom - top);
      COLOR_TYP c = edge ? color_rgb(40, 30, 26) : color_mix(color_rgb(250, 244, 228), color_rgb(184, 170, 142), t);
      if (y >= bottom - 3 && !edge) c = color_rgb(120, 104, 84);
      paint_blend(out, px, y, c, 1);
    }
  TEXT_STYLE_TYP s{FONT_SANS_BOLD, 15, color_rgb(30, 22, 20), color_rgb(30, 22, 20), {}, 0, {}, 0, 0};
  return screen_text(out, &s, x + (width - font_width(FONT_SANS_BOLD, 15, label)) / 2, baseline - 2, label);
}

}  // namespace

int screen_paint_controls(PAINT_TYP* out) {
  paint_create(out, SCREEN_WIDTH, SCREEN_HEIGHT);
  screen_sky(out, 560, 202);
  screen_parchment(out, 22, 14, 618, 446, 9);
  TEXT_STYLE_TYP heading{FONT_SERIF_BOLD, 38, color_rgb(150, 30, 14), color_rgb(96, 14, 8), {}, 0, {}, 0, 0};
  if (!screen_text(out, &heading, -1, 58, "How to play")) return 0;
  TEXT_STYLE_TYP body{FONT_SANS_BOLD, 16, color_rgb(42, 30, 24), color_rgb(42, 30, 24), {}, 0, {}, 0, 0};
  // The pad's buttons in the heading's red, so they read apart from the keys' own text.
  TEXT_STYLE_TYP pad{FONT_SANS_BOLD, 14, color_rgb(130, 28, 12), color_rgb(130, 28, 12), {}, 0, {}, 0, 0};
  TEXT_STYLE_TYP note{FONT_SANS, 14, color_rgb(66, 50, 38), color_rgb(66, 50, 38), {}, 0, {}, 0, 0};

  struct ROW {
    const char* key;
    const char* pad;  // the same on a gamepad, first under the row
    const char* what;
    const char* more[2];
  };
  const ROW rows[] = {
      {"Arrow keys", "Gamepad: the d-pad or the left stick.", "Move. Hold two arrows to walk diagonally.", {nullptr, nullptr}},
      {"Space", "Gamepad: A, or Start on these screens.", "Strike everything you touch.", {"It also moves on from these screens and restarts.", nullptr}},
      {"Left Shift", "Gamepad: X or the right shoulder.", "Summon allied skeletons, up to four.",
       {"Spawn CD fills with time; each full quarter calls one.",
        "Below a quarter: the charge is wasted, allies dismissed."}},
      {"Escape", "Gamepad: Back and Start together.", "Quit the game.", {nullptr, nullptr}},
  };
  int y = 98;
  for (const ROW& row : rows) {
    if (!key_cap(out, 50, y, 118, row.key)) return 0;
    screen_text(out, &body, 184, y, row.what);
    screen_text(out, &pad, 184, y + 17, row.pad);
    int lines = 1;
    for (const char* more : row.more)
      if (more) screen_text(out, &note, 184, y + 17 + 16 * lines++, more);
    y += 44 + 16 * (lines - 1);
  }
  TEXT_STYLE_TYP sub{FONT_SERIF_BOLD, 24, color_rgb(150, 30, 14), color_rgb(96, 14, 8), {}, 0, {}, 0, 0};
  screen_text(out, &sub, 50, y, "What to do");
  const char* lines[] = {
      "Skeletons walk in from the edges: strike them before they strike you.",
      "The hooded dead fire lasers straight ahead. Keep out of the beam;",
      "four strikes put one down.",
      "Your health drains all the time. Striking skeletons can win some back,",
      "and striking your own summons takes in what health they have left.",
      "Only your finishing strikes score: 250 a skeleton, 1000 a hooded one.",
  };
  // Spaced so the last line stays clear of the parchment's torn lower edge.
  y += 24;
  for (const char* line : lines) {
    screen_text(out, &note, 50, y, line);
    y += 17;
  }
  TEXT_STYLE_TYP prompt{FONT_SANS_BOLD, 22, color_rgb(255, 236, 180), color_rgb(250, 170, 60), color_rgb(30, 10, 6), 2,
                        {}, 0, 0};
  if (!screen_text(out, &prompt, -1, 472, "Press Space (or A on a pad) to begin")) return 0;
  return 1;
}
