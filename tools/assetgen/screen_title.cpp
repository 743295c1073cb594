#include <cmath>

#include "tools/assetgen/dead_art.h"
#include "tools/assetgen/font.h"
#include "tools/assetgen/screen_common.h"
#include "tools/assetgen/screens.h"
#include "tools/assetgen/skeleton_art.h"

int screen_paint_title(PAINT_TYP* out) {
  paint_create(out, SCREEN_WIDTH, SCREEN_HEIGHT);
  const int horizon = 372;
  screen_sky(out, horizon, 101);
  // A swollen red moon behind the name.
  for (int y = 40; y < 330; ++y)
    for (int x = 330; x < 640; ++x) {
      float dx = x - 500.0f, dy = y - 170.0f, d = std::sqrt(dx * dx + dy * dy);
      if (d < 96) paint_blend(out, x, y, color_rgb(200, 70, 36), clamp01((96 - d) / 3) * 0.55f);
      else if (d < 150) paint_blend(out, x, y, color_rgb(180, 50, 30), (150 - d) / 54 * 0.18f);
    }
  screen_graveyard(out, horizon, 7);
  // The hero and the things that hunt it, on the ridge.
  PAINT_TYP sprite;
  SKELETON_POSE_TYP stand{0, ARMS_WALK, 0};
  skeleton_paint(&sprite, 6, &stand);
  // Raised so the prompt below has the ground under its feet to itself.
  screen_stamp(out, &sprite, 320 - 84, 230, 3, 1.0f);
  SKELETON_POSE_TYP walk{0.8f, ARMS_WALK, 0};
  skeleton_paint(&sprite, 4, &walk);
  screen_stamp(out, &sprite, 520, 300, 2, 0.55f);
  skeleton_paint(&sprite, 0, &walk);
  screen_stamp(out, &sprite, 20, 312, 2, 0.55f);
  dead_paint(&sprite, 4, 0);
  screen_stamp(out, &sprite, 430, 318, 1, 0.8f);

  TEXT_STYLE_TYP title{FONT_SERIF_BOLD, 100, color_rgb(255, 244, 214), color_rgb(236, 112, 26), color_rgb(26, 8, 6),
                       4, color_rgb(255, 90, 20), 0.55f, 6};
  if (!screen_text(out, &title, -1, 168, "Ashfallow")) return 0;
  TEXT_STYLE_TYP tagline{FONT_SANS_BOLD, 19, color_rgb(236, 224, 196), color_rgb(200, 180, 150), color_rgb(20, 10, 10),
                         2, color_rgb(0, 0, 0), 0, 0};
  if (!screen_text(out, &tagline, -1, 222, "The dead walk the grass. Hold it as long as you can.")) return 0;
  TEXT_STYLE_TYP prompt{FONT_SANS_BOLD, 24, color_rgb(255, 236, 180), color_rgb(250, 170, 60), color_rgb(16, 6, 6), 2,
                        color_rgb(255, 120, 30), 0.35f, 0};
  if (!screen_text(out, &prompt, -1, 468, "Press Space")) return 0;
  return 1;
}
