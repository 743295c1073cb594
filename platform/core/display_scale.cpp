// The scale modes by the names a player types.
#include <cstring>

#include "platform/display.h"

int plat_display_scale_named(const char* name) {
  if (!name) return -1;
  if (!std::strcmp(name, "nearest")) return SCALE_NEAREST;
  if (!std::strcmp(name, "sharp")) return SCALE_SHARP;
  if (!std::strcmp(name, "integer")) return SCALE_INTEGER;
  return -1;
}
