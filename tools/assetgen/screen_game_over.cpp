#include <algorithm>
#include <cmath>

#include "tools/assetgen/font.h"
#include "tools/assetgen/noise.h"
#include "tools/assetgen/screen_common.h"
#include "tools/assetgen/screens.h"
#include "tools/assetgen/skeleton_art.h"

namespace {

// A bone plaque with cut corners, fitted to the final score line: its face holds the line's box
// (x 236..419, y 433..452, the longest scores included) with a stud at each end, light enough
// that the dark grey text reads clearly on every pixel of it.
void score_plaque(PAINT_TYP* out) {
  const float left = SCORE_LINE_X - 24, right = SCORE_LINE_X + 198;  // 216..438
  const float top = SCORE_LINE_Y - 9, bottom = SCORE_LINE_Y + 27;    // 426..462
  const float cut = 7;  // the corners are cut in as quarter circles of this radius
  const COLOR_TYP rim = color_rgb(40, 26, 20), shade = color_rgb(150, 124, 90), light = color_rgb(252, 246, 230);
  const COLOR_TYP face_top = color_rgb(240, 232, 210), face_bottom = color_rgb(226, 214, 188);
  for (int y = static_cast<int>(top) - 4; y < static_cast<int>(bottom) + 4; ++y)
    for (int x = static_cast<int>(left) - 4; x < static_cast<int>(right) + 4; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      // How far inside the cut rectangle the pixel's centre is (negative outside).
      float inside = std::min(std::min(px - left, right - px), std::min(py - top, bottom - py));
      const float cx = px < (left + right) / 2 ? left : right, cy = py < (top + bottom) / 2 ? top : bottom;
      if (std::fabs(px - cx) < cut && std::fabs(py - cy) < cut)
        inside = std::min(inside, std::hypot(px - cx, py - cy) - cut);
      if (inside < -3) continue;
      if (inside < 0) {
        // The dark rim the plaque is set in, fading into the night around it.
        paint_blend(out, x, y, rim, clamp01((inside + 3) / 1.5f));
        continue;
      }
      const float t = clamp01((py - top) / (bottom - top));
      COLOR_TYP c = color_mix(face_top, face_bottom, t);
      // A faint grain, too weak to darken any pixel the line is written on.
      c = color_scale(c, 0.985f + 0.03f * noise_fbm(x, y, 10, 2, 91));
      if (inside < 1.5f) c = py < (top + bottom) / 2 ? light : shade;  // the bevel: lit above
      else if (inside >= 4 && inside < 5) c = color_mix(c, shade, 0.55f);  // an engraved frame line
      paint_blend(out, x, y, c, 1);
    }
  // Two studs, one at each end, outside the line's box.
  for (float sx : {left + 11, right - 11}) {
    const float sy = (top + bottom) / 2;
    for (int y = static_cast<int>(sy) - 5; y <= static_cast<int>(sy) + 5; ++y)
      for (int x = static_cast<int>(sx) - 5; x <= static_cast<int>(sx) + 5; ++x) {
        const float d = std::fabs(x + 0.5f - sx) + std::fabs(y + 0.5f - sy);  // a diamond
        if (d > 4.5f) continue;
        const bool lit = (x + 0.5f - sx) + (y + 0.5f - sy) < -1;
        paint_blend(out, x, y, lit ? color_rgb(196, 170, 128) : color_rgb(76, 54, 38), clamp01(4.5f - d));
      }
  }
}

}  // namespace

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
  // The plaque the final score is written on, in dark grey.
  score_plaque(out);
  return 1;
}
