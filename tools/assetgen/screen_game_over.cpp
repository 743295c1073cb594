#include "tools/assetgen/font.h"
#include "tools/assetgen/screen_common.h"
#include "tools/assetgen/screens.h"
#include "tools/assetgen/skeleton_art.h"

int screen_paint_game_over(PAINT_TYP* out) {
  paint_create(out, SCREEN_WIDTH, SCREEN_HEIGHT);
  screen_sky(out, 330, 303);
  screen_graveyard(out, 330, 31);
  // What is left of you.
  PAINT_TYP sprite;
  SKELETON_POSE_TYP fallen{0, ARMS_FALLEN, 4};
  skeleton_paint(&sprite, 6, &fallen);
  screen_stamp(out, &sprite, 320 - 84, 150, 3, 0.95f);

  TEXT_STYLE_TYP title{FONT_SERIF_BOLD, 62, color_rgb(255, 210, 150), color_rgb(200, 30, 12), color_rgb(20, 4, 4), 3,
                       color_rgb(230, 40, 10), 0.5f, 5};
  if (!screen_text(out, &title, -1, 120, "You have fallen")) return 0;
  TEXT_STYLE_TYP prompt{FONT_SANS_BOLD, 20, color_rgb(240, 228, 200), color_rgb(210, 190, 150), color_rgb(16, 6, 6), 2,
                        {}, 0, 0};
  if (!screen_text(out, &prompt, -1, 398, "Press Space to rise again")) return 0;
  // The light band the final score is written on, in dark grey.
  screen_parchment(out, SCORE_LINE_X - 52, SCORE_LINE_Y - 18, SCORE_LINE_X + 236, SCORE_LINE_Y + 36, 77);
  return 1;
}
