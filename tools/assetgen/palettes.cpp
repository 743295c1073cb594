#include "tools/assetgen/palettes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct BUILDER_TYP {
  PALETTEENTRY* palette;
  int next;
};

uint8_t to_byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f))); }

void put(BUILDER_TYP* b, COLOR_TYP c) {
  if (b->next > 255) return;
  b->palette[b->next++] = PALETTEENTRY{to_byte(c.r), to_byte(c.g), to_byte(c.b), PC_NOCOLLAPSE};
}

// count colours evenly along a polyline of stops.
void ramp(BUILDER_TYP* b, int count, std::initializer_list<COLOR_TYP> stops) {
  std::vector<COLOR_TYP> s(stops);
  for (int i = 0; i < count; ++i) {
    float t = count == 1 ? 0 : static_cast<float>(i) / (count - 1) * (s.size() - 1);
    int k = std::min(static_cast<int>(t), static_cast<int>(s.size()) - 2);
    put(b, color_mix(s[k], s[k + 1], t - k));
  }
}

// Day for night: a colour as moonlight shows it. Its relative luminance is kept; its colour fades
// and cools, to indigo in the shadows, a grey-green in the turf and pale ash grey in the light.
COLOR_TYP by_moonlight(COLOR_TYP c) {
  auto linear = [](float v) {
    v = clamp01(v / 255);
    return v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
  };
  auto encode = [](float v) {
    v = clamp01(v);
    return 255 * (v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1 / 2.4f) - 0.055f);
  };
  const float weight[3] = {0.2126f, 0.7152f, 0.0722f};
  const float rgb[3] = {linear(c.r), linear(c.g), linear(c.b)};
  const float lum = weight[0] * rgb[0] + weight[1] * rgb[1] + weight[2] * rgb[2];
  if (lum <= 0) return c;
  // The tint by luminance: indigo shadows, grey-green turf, ash grey light.
  struct STOP {
    float lum, tint[3];
  };
  const STOP stops[] = {{0.0f, {0.78f, 0.98f, 1.5f}}, {0.06f, {0.74f, 1.03f, 1.2f}}, {0.30f, {0.95f, 1.0f, 1.07f}}};
  int k = 0;
  while (k < 1 && lum > stops[k + 1].lum) ++k;
  const float t = clamp01((lum - stops[k].lum) / (stops[k + 1].lum - stops[k].lum));
  // A colour by moonlight keeps two fifths of its own hue.
  const float keep = 0.4f;
  float ratio[3], sum = 0;
  for (int i = 0; i < 3; ++i) {
    const float tint = stops[k].tint[i] + (stops[k + 1].tint[i] - stops[k].tint[i]) * t;
    ratio[i] = (1 + keep * (rgb[i] / lum - 1)) * tint;
    sum += weight[i] * ratio[i];
  }
  return COLOR_TYP{encode(lum * ratio[0] / sum), encode(lum * ratio[1] / sum), encode(lum * ratio[2] / sum)};
}

float relative_luminance(int red, int green, int blue) {
  auto linear = [](int v) {
    const float c = v / 255.0f;
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
  };
  return 0.2126f * linear(red) + 0.7152f * linear(green) + 0.0722f * linear(blue);
}

// The entries [first, first + count) as moonlight shows them, in the bytes near the moonlit
// colour whose luminance is closest to the entry's own without passing it: the ground keeps its
// light levels and never gets lighter behind the bone-white figures, the lasers and the red "YOU".
void moonlit(BUILDER_TYP* b, int first, int count) {
  for (int i = first; i < first + count && i < 256; ++i) {
    PALETTEENTRY& e = b->palette[i];
    const float was = relative_luminance(e.red, e.green, e.blue);
    const COLOR_TYP c = by_moonlight(color_rgb(e.red, e.green, e.blue));
    PALETTEENTRY best = e;
    float best_off = 1e9f;
    auto near = [](float v, int step) { return std::clamp(static_cast<int>(v) + step, 0, 255); };
    // Blue weighs least in luminance, so its steps tune it finest.
    for (int dr = -3; dr <= 4; ++dr)
      for (int dg = -2; dg <= 3; ++dg)
        for (int db = -8; db <= 9; ++db) {
          const int r = near(c.r, dr), g = near(c.g, dg), bl = near(c.b, db);
          const float off = was - relative_luminance(r, g, bl);
          if (off >= 0 && off < best_off) {
            best_off = off;
            best = PALETTEENTRY{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(bl), e.flags};
          }
        }
    e = best;
  }
}

// Whatever is left becomes a coarse colour cube, so odd colours still land somewhere sensible.
void fill_cube(BUILDER_TYP* b) {
  const int levels[4] = {40, 110, 180, 245};
  for (int r = 0; r < 4 && b->next <= 255; ++r)
    for (int g = 0; g < 4 && b->next <= 255; ++g)
      for (int bl = 0; bl < 4 && b->next <= 255; ++bl) put(b, color_rgb(levels[r], levels[g], levels[bl]));
  while (b->next <= 255) put(b, color_rgb(128, 128, 128));
}

}  // namespace

void palette_build_playfield(PALETTEENTRY palette[256]) {
  BUILDER_TYP b{palette, 0};
  put(&b, color_rgb(0, 0, 0));  // the key; also the HUD's black text
  // Outlines and shadows.
  ramp(&b, 16, {color_rgb(14, 12, 16), color_rgb(52, 46, 52), color_rgb(118, 112, 106)});
  static_assert(PLAYFIELD_GROUND_FIRST == 17 && PLAYFIELD_GROUND_COUNT == 64, "key, 16 outlines, 2 x 32 ground");
  // The ground by day: a dim grey-green family, and cold ash greys up to the pale slab under the
  // HUD (shown by moonlight, palette_playfield_at_night).
  ramp(&b, 32, {color_rgb(10, 16, 12), color_rgb(30, 42, 30), color_rgb(58, 76, 50), color_rgb(118, 132, 92)});
  ramp(&b, 32, {color_rgb(16, 20, 20), color_rgb(44, 50, 50), color_rgb(100, 100, 96), color_rgb(196, 192, 184)});
  // Earth and old wood.
  ramp(&b, 16, {color_rgb(36, 24, 14), color_rgb(92, 66, 38), color_rgb(166, 134, 92)});
  // Bone.
  ramp(&b, 32, {color_rgb(58, 48, 40), color_rgb(126, 110, 88), color_rgb(200, 188, 158), color_rgb(252, 248, 234)});
  // Laser and fire.
  ramp(&b, 24, {color_rgb(96, 0, 0), color_rgb(204, 16, 8), color_rgb(255, 84, 0), color_rgb(255, 174, 32),
                color_rgb(255, 242, 150), color_rgb(255, 255, 244)});
  // Robes of the dead.
  ramp(&b, 24, {color_rgb(16, 8, 22), color_rgb(42, 22, 54), color_rgb(82, 50, 98), color_rgb(136, 102, 156)});
  // Cold steel.
  ramp(&b, 8, {color_rgb(34, 40, 58), color_rgb(122, 138, 168), color_rgb(222, 232, 250)});
  // Blood.
  ramp(&b, 8, {color_rgb(52, 0, 4), color_rgb(124, 10, 12), color_rgb(186, 34, 26)});
  // Heads-up colours and flowers.
  put(&b, color_rgb(255, 0, 0));
  put(&b, color_rgb(255, 255, 255));
  put(&b, color_rgb(255, 255, 0));
  put(&b, color_rgb(32, 32, 32));
  put(&b, color_rgb(240, 236, 250));
  put(&b, color_rgb(250, 210, 60));
  put(&b, color_rgb(200, 120, 220));
  put(&b, color_rgb(120, 150, 240));
  fill_cube(&b);
}

void palette_playfield_at_night(const PALETTEENTRY day[256], PALETTEENTRY night[256]) {
  std::memcpy(night, day, 256 * sizeof(PALETTEENTRY));
  BUILDER_TYP b{night, 0};
  moonlit(&b, PLAYFIELD_GROUND_FIRST, PLAYFIELD_GROUND_COUNT);
}

void palette_build_title(PALETTEENTRY palette[256]) {
  BUILDER_TYP b{palette, 0};
  put(&b, color_rgb(0, 0, 0));
  put(&b, color_rgb(32, 32, 32));  // the final score line
  // Ash and charcoal.
  ramp(&b, 32, {color_rgb(6, 5, 8), color_rgb(38, 34, 40), color_rgb(92, 86, 88), color_rgb(160, 154, 150)});
  // Embers and fire.
  ramp(&b, 48, {color_rgb(30, 4, 2), color_rgb(112, 14, 6), color_rgb(200, 50, 10), color_rgb(250, 132, 30),
                color_rgb(255, 212, 112), color_rgb(255, 250, 224)});
  // Parchment and bone.
  ramp(&b, 48, {color_rgb(58, 46, 34), color_rgb(128, 108, 80), color_rgb(198, 182, 146), color_rgb(238, 228, 204),
                color_rgb(252, 250, 242)});
  // Dusk sky.
  ramp(&b, 32, {color_rgb(10, 8, 20), color_rgb(38, 28, 58), color_rgb(88, 62, 100), color_rgb(156, 110, 130)});
  // Greens.
  ramp(&b, 24, {color_rgb(14, 28, 10), color_rgb(48, 84, 22), color_rgb(100, 146, 46), color_rgb(184, 212, 104)});
  put(&b, color_rgb(255, 255, 255));
  put(&b, color_rgb(255, 0, 0));
  put(&b, color_rgb(255, 255, 0));
  fill_cube(&b);
}

int palette_nearest(const PALETTEENTRY palette[256], COLOR_TYP color, int first) {
  // Answers are cached at 6 bits a channel, one cache per palette contents and first index.
  struct CACHE_TYP {
    PALETTEENTRY entries[256];
    int first;
    std::vector<int16_t> answer;
  };
  static std::vector<CACHE_TYP> caches;
  static size_t last = 0;
  auto same = [&](const CACHE_TYP& c) {
    return c.first == first && std::memcmp(c.entries, palette, sizeof c.entries) == 0;
  };
  if (last >= caches.size() || !same(caches[last])) {
    last = 0;
    while (last < caches.size() && !same(caches[last])) ++last;
    if (last == caches.size()) {
      caches.emplace_back();
      std::memcpy(caches.back().entries, palette, sizeof caches.back().entries);
      caches.back().first = first;
      caches.back().answer.assign(64 * 64 * 64, -1);
    }
  }
  std::vector<int16_t>& cache = caches[last].answer;
  int r = to_byte(color.r), g = to_byte(color.g), bl = to_byte(color.b);
  int slot = (r >> 2) << 12 | (g >> 2) << 6 | (bl >> 2);
  if (cache[slot] >= 0) return cache[slot];
  float cr = (r & ~3) + 1.5f, cg = (g & ~3) + 1.5f, cb = (bl & ~3) + 1.5f;
  int best = first;
  float best_d = 1e30f;
  for (int i = first; i < 256; ++i) {
    float dr = palette[i].red - cr, dg = palette[i].green - cg, db = palette[i].blue - cb;
    // Green counts most to the eye, blue least.
    float d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (d < best_d) {
      best_d = d;
      best = i;
    }
  }
  cache[slot] = static_cast<int16_t>(best);
  return best;
}
