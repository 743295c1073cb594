#include "tools/assetgen/icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tools/assetgen/icon_png.h"
#include "tools/assetgen/render3d.h"
#include "tools/assetgen/skeleton_art.h"

namespace {

constexpr int SUPERSAMPLE = 6;
constexpr float WORLD_ACROSS = 24.0f;  // world units across the icon: the skull and a margin
constexpr int FACING_VIEWER = 6;

const COLOR_TYP MOON = {206, 78, 40};  // the title screen's red moon
const COLOR_TYP MOON_RIM = {120, 34, 22};
const COLOR_TYP OUTLINE = {16, 13, 18};  // the sprites' outline

// The skull at size x size: colour and coverage, each pixel the mean of its supersamples.
void paint_skull(int size, PAINT_TYP* out) {
  RENDER_TYP r;
  const int scale = size * SUPERSAMPLE / static_cast<int>(WORLD_ACROSS);
  // Seen from a little above, as the sprites are, but nearer level so the face fills the icon.
  render_begin(&r, static_cast<int>(WORLD_ACROSS), static_cast<int>(WORLD_ACROSS), scale, WORLD_ACROSS / 2, 69.0f,
               12.0f);
  skeleton_draw_head(&r, FACING_VIEWER, 0);
  paint_create(out, size, size);
  const int step = r.hi.width / size;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      COLOR_TYP sum{0, 0, 0};
      int inked = 0;
      for (int sy = 0; sy < step; ++sy)
        for (int sx = 0; sx < step; ++sx) {
          const size_t i = static_cast<size_t>(y * step + sy) * r.hi.width + x * step + sx;
          if (r.hi.cover[i] <= 0) continue;
          sum = COLOR_TYP{sum.r + r.hi.color[i].r, sum.g + r.hi.color[i].g, sum.b + r.hi.color[i].b};
          ++inked;
        }
      const size_t o = static_cast<size_t>(y) * size + x;
      if (inked) out->color[o] = color_scale(sum, 1.0f / inked);
      out->cover[o] = static_cast<float>(inked) / (step * step);
    }
}

struct RGBA_TYP {
  COLOR_TYP color;
  float alpha;
};

// Straight-alpha "over": top laid on bottom.
RGBA_TYP over(RGBA_TYP top, RGBA_TYP bottom) {
  const float alpha = top.alpha + bottom.alpha * (1 - top.alpha);
  if (alpha <= 0) return RGBA_TYP{{0, 0, 0}, 0};
  const float kept = bottom.alpha * (1 - top.alpha) / alpha;
  return RGBA_TYP{color_mix(top.color, bottom.color, kept), alpha};
}

uint8_t channel(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f))); }

}  // namespace

void icon_paint(int size, std::vector<uint8_t>* rgba) {
  PAINT_TYP skull;
  paint_skull(size, &skull);
  // The sprites' dark outline around the skull, thicker on the larger icons.
  MASK_TYP outline;
  mask_create(&outline, size, size);
  outline.value = skull.cover;
  mask_dilate(&outline, std::max(1, size / 40));

  const float centre = size / 2.0f, radius = size * 0.48f, rim = std::max(1.0f, size / 24.0f);
  rgba->assign(static_cast<size_t>(size) * size * 4, 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const size_t o = static_cast<size_t>(y) * size + x;
      // The moon: lit from the upper left like the figures, darkening to a rim, edge anti-aliased.
      const float dx = x + 0.5f - centre, dy = y + 0.5f - centre, d = std::sqrt(dx * dx + dy * dy);
      const float lit = clamp01(0.5f - (dx + dy) / (4 * radius));
      COLOR_TYP moon = color_mix(color_scale(MOON, 0.8f), color_scale(MOON, 1.1f), lit);
      moon = color_mix(moon, MOON_RIM, clamp01((d - (radius - rim)) / rim));
      RGBA_TYP pixel{moon, clamp01(radius - d + 0.5f)};
      pixel = over(RGBA_TYP{OUTLINE, outline.value[o]}, pixel);
      pixel = over(RGBA_TYP{skull.color[o], skull.cover[o]}, pixel);
      uint8_t* p = rgba->data() + o * 4;
      p[0] = channel(pixel.color.r);
      p[1] = channel(pixel.color.g);
      p[2] = channel(pixel.color.b);
      p[3] = channel(pixel.alpha * 255);
    }
}

int icon_write_all(const std::string& dir) {
  for (int size : ICON_SIZES) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(dir) / (side + "x" + side) / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = (folder / "ashfallow.png").string();
    std::vector<uint8_t> rgba;
    icon_paint(size, &rgba);
    if (!png_write_rgba(path, rgba, size, size)) {
      std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
      return 0;
    }
  }
  return 1;
}
