// parity_dump: the figures that must come out the same from every build of the game, printed
// as text: the trigonometric tables to the bit, the random sequences, and every character as
// the text code draws it. Built natively and as WebAssembly; tests/web compares the two.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/math/trig.h"
#include "engine/random/random.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace {

constexpr unsigned SEEDS[] = {1u, 4u, 11u, 1700000000u, 0xFFFFFFFFu};

uint32_t bits_of(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void dump_tables() {
  build_trig_tables();
  for (int i = 0; i <= 360; ++i)
    std::printf("trig %d %08x %08x\n", i, bits_of(cos_table[i]),
                bits_of(sin_table[i]));
}

void dump_random() {
  for (unsigned seed : SEEDS) {
    RANDOM_TYP generator;
    random_start(&generator, seed);
    random_seed(seed);
    // The generator itself and the game's sequence (the C library's where it is glibc's).
    for (int i = 0; i < 1000; ++i)
      std::printf("random %u %d %d %d\n", seed, i, random_draw(&generator), random_next());
  }
}

// FNV-1a of a surface's pixels.
uint32_t hash_of(SURFACE_TYP* surface) {
  int pitch = 0;
  const uint8_t* pixels = plat_surface_lock(surface, &pitch);
  uint32_t hash = 2166136261u;
  for (int y = 0; pixels && y < plat_surface_height(surface); ++y)
    for (int x = 0; x < plat_surface_width(surface); ++x)
      hash = (hash ^ pixels[y * pitch + x]) * 16777619u;
  plat_surface_unlock(surface);
  return hash;
}

void dump_glyphs() {
  PALETTEENTRY grey[256];
  for (int i = 0; i < 256; ++i) grey[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  PALETTE_TYP* palette = plat_palette_create(grey);
  SURFACE_TYP* surface = plat_surface_create(40, 24, 8, DDSCAPS_SYSTEMMEMORY);
  if (!palette || !surface || !plat_surface_set_palette(surface, palette)) {
    std::printf("glyphs none\n");
    return;
  }
  std::printf("line %d\n", plat_text_line_height());
  for (int code = 1; code < 256; ++code) {
    const char text[] = {static_cast<char>(code), 'g', 0};  // 'g' shows where the pen moved
    plat_surface_fill(surface, nullptr, 0);
    const int drawn = plat_text_draw(surface, 3, 2, text, 255, 255, 255);
    std::printf("glyph %d %d %d %08x\n", code, drawn, plat_text_width(text), hash_of(surface));
  }
  plat_surface_release(surface);
  plat_palette_release(palette);
}

}  // namespace

int main() {
  dump_tables();
  dump_random();
  dump_glyphs();
  return 0;
}
