// Text on surfaces, on top of the platform's text drawing.
#include "engine/graphics/text.h"

#include "engine/graphics/display.h"
#include "platform/text.h"

int text_draw_gdi(const char* text, int x, int y, COLORREF color, SURFACE_TYP* surface) {
  if (!text || !surface) return 0;
  return plat_text_draw(surface, x, y, text, uint8_t(color & 0xFF), uint8_t(color >> 8 & 0xFF),
                        uint8_t(color >> 16 & 0xFF))
             ? 1
             : 0;
}

int text_draw_gdi_index(const char* text, int x, int y, int index, SURFACE_TYP* surface) {
  if (index < 0 || index > 255) return 0;
  const PALETTEENTRY& entry = palette_shadow[index];
  return text_draw_gdi(text, x, y, RGB(entry.red, entry.green, entry.blue), surface);
}
