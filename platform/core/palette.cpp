// Palettes: counted tables of 256 entries.
#include <cstring>
#include <new>

#include "platform/core/surface_internal.h"
#include "platform/faults.h"

namespace {
bool range_ok(int first, int count) {
  return first >= 0 && count >= 0 && first <= 255 && count <= 256 - first;
}
}  // namespace

PALETTE_TYP* plat_palette_create(const PALETTEENTRY entries[256]) {
  if (plat_fault(CALL_PALETTE_CREATE)) return nullptr;
  auto* palette = new (std::nothrow) PALETTE_TYP{};
  if (!palette) return nullptr;
  palette->references = 1;
  if (entries) std::memcpy(palette->entries, entries, sizeof palette->entries);
  return palette;
}

void plat_palette_release(PALETTE_TYP* palette) {
  if (palette && --palette->references <= 0) delete palette;
}

int plat_palette_set_entries(PALETTE_TYP* palette, int first, int count,
                             const PALETTEENTRY* entries) {
  if (!palette || !range_ok(first, count) || (count > 0 && !entries)) return 0;
  if (count > 0) std::memcpy(palette->entries + first, entries, sizeof(PALETTEENTRY) * count);
  return 1;
}

int plat_palette_get_entries(const PALETTE_TYP* palette, int first, int count,
                             PALETTEENTRY* entries) {
  if (!palette || !range_ok(first, count) || (count > 0 && !entries)) return 0;
  if (count > 0) std::memcpy(entries, palette->entries + first, sizeof(PALETTEENTRY) * count);
  return 1;
}
