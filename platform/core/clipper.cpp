// Clippers: counted lists of rectangles.
#include <cstddef>
#include <new>

#include "platform/core/surface_internal.h"
#include "platform/faults.h"

CLIPPER_TYP* plat_clipper_create() {
  if (plat_fault(CALL_CLIPPER_CREATE)) return nullptr;
  auto* clipper = new (std::nothrow) CLIPPER_TYP{};
  if (clipper) clipper->references = 1;
  return clipper;
}

void plat_clipper_release(CLIPPER_TYP* clipper) {
  if (clipper && --clipper->references <= 0) delete clipper;
}

int plat_clipper_set_list(CLIPPER_TYP* clipper, const RECT* rects, int count) {
  if (!clipper || count < 0 || (count > 0 && !rects)) return 0;
  if (plat_fault(CALL_CLIPPER_SET_LIST)) return 0;
  try {
    clipper->rects.assign(rects, rects + count);
  } catch (...) {
    return 0;
  }
  return 1;
}

int plat_clipper_get_list(const CLIPPER_TYP* clipper, RECT* rects, int max) {
  if (!clipper) return -1;
  int count = static_cast<int>(clipper->rects.size());
  if (rects)
    for (int i = 0; i < count && i < max; ++i) rects[i] = clipper->rects[static_cast<size_t>(i)];
  return count;
}
