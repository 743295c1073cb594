// Presented pictures held for a later look: a backend that keeps frames (the headless one, for
// captures and tests) holds the primary's picture instead of copying it on every present. Most
// frames are never looked at and are dropped before anything draws over them, so most holds
// never copy at all.
#include <cstring>
#include <new>

#include "platform/core/backend.h"
#include "platform/core/surface_internal.h"

struct PICTURE_HOLD_TYP {
  PICTURE_TYP* picture;  // read in place while its pixels stay as presented, else null
  uint8_t* copy;         // the pixels taken just before they changed (not cleared first)
  size_t capacity;
  size_t size;
  int pitch;
  int lost;  // no memory for the copy
  PICTURE_HOLD_TYP* next;
  PICTURE_HOLD_TYP* prev;
};

namespace {

// Plain pointers, so nothing here is destroyed while the program's statics go.
PICTURE_HOLD_TYP* live = nullptr;
// Released records keep their copy's memory for the next hold: a backend keeping the last few
// frames reuses the same few blocks.
PICTURE_HOLD_TYP* spare = nullptr;
int spare_count = 0;
constexpr int SPARE_LIMIT = 16;

void unlink(PICTURE_HOLD_TYP* hold) {
  if (hold->prev) hold->prev->next = hold->next;
  else live = hold->next;
  if (hold->next) hold->next->prev = hold->prev;
  hold->next = hold->prev = nullptr;
}

void drop_picture(PICTURE_HOLD_TYP* hold) {
  if (!hold->picture) return;
  --hold->picture->holds;
  plat_picture_release(hold->picture);
  hold->picture = nullptr;
}

void take_copy(PICTURE_HOLD_TYP* hold) {
  const std::vector<uint8_t>& bytes = hold->picture->bytes;
  if (hold->capacity < bytes.size()) {
    delete[] hold->copy;
    hold->copy = new (std::nothrow) uint8_t[bytes.size()];
    hold->capacity = hold->copy ? bytes.size() : 0;
  }
  if (hold->copy) {
    std::memcpy(hold->copy, bytes.data(), bytes.size());
    hold->size = bytes.size();
  } else {
    hold->lost = 1;
  }
  drop_picture(hold);
}

}  // namespace

PICTURE_HOLD_TYP* plat_picture_hold(const SURFACE_TYP* surface) {
  if (!surface || !surface->picture) return nullptr;
  PICTURE_HOLD_TYP* hold = spare;
  if (hold) {
    spare = hold->next;
    --spare_count;
  } else {
    hold = new (std::nothrow) PICTURE_HOLD_TYP{};
    if (!hold) return nullptr;
  }
  hold->picture = surface->picture;
  ++hold->picture->references;
  ++hold->picture->holds;
  hold->size = 0;
  hold->pitch = surface->pitch;
  hold->lost = 0;
  hold->prev = nullptr;
  hold->next = live;
  if (live) live->prev = hold;
  live = hold;
  return hold;
}

const uint8_t* plat_picture_hold_pixels(const PICTURE_HOLD_TYP* hold, int* pitch) {
  if (!hold || hold->lost) return nullptr;
  if (pitch) *pitch = hold->pitch;
  return hold->picture ? hold->picture->bytes.data() : hold->copy;
}

void plat_picture_hold_release(PICTURE_HOLD_TYP* hold) {
  if (!hold) return;
  unlink(hold);
  drop_picture(hold);
  if (spare_count >= SPARE_LIMIT) {
    delete[] hold->copy;
    delete hold;
    return;
  }
  hold->next = spare;
  spare = hold;
  ++spare_count;
}

void plat_picture_let_go(PICTURE_TYP* picture) {
  for (PICTURE_HOLD_TYP* hold = live; hold && picture->holds > 0; hold = hold->next) {
    if (hold->picture == picture) take_copy(hold);
  }
}
