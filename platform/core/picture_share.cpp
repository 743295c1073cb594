// Pictures shared between surfaces: one blank picture per geometry for new off-screen surfaces,
// and a table of written pictures that a surface whose pixels come out the same joins instead
// of keeping a copy. A shared picture is read-only; a write first takes a private copy.
#include <cstring>
#include <new>
#include <unordered_map>

#include "platform/core/surface_internal.h"

namespace {

// Sprite frames and small off-screen surfaces only: the screens and large work surfaces are
// written all the time and would pay for the hashing on every unlock.
constexpr size_t SHARE_LIMIT = 64 * 1024;

// Never destroyed: a surface may still be released while the program's statics go.
std::unordered_multimap<uint64_t, PICTURE_TYP*>& shared_table() {
  static auto* table = new std::unordered_multimap<uint64_t, PICTURE_TYP*>;
  return *table;
}
std::unordered_map<uint64_t, PICTURE_TYP*>& blank_table() {
  static auto* table = new std::unordered_map<uint64_t, PICTURE_TYP*>;
  return *table;
}
int live_pictures = 0;

bool shareable(int caps, size_t bytes) {
  return (caps & DDSCAPS_OFFSCREENPLAIN) != 0 && bytes <= SHARE_LIMIT;
}

uint64_t geometry_of(const PICTURE_TYP* p) {
  return uint64_t(p->width) | uint64_t(p->height) << 16 | uint64_t(p->pitch) << 32 |
         uint64_t(p->bpp) << 56;
}

uint64_t mix(uint64_t h, uint64_t v) {
  h = (h ^ v) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 31);
}

// The table only narrows the search (a match is always compared byte for byte), so the hash
// can be cheap: the xor and the sum of all 8-byte words (loops the compiler turns into vector
// code), one word in every 16 by position, and the geometry.
uint64_t hash_of(const PICTURE_TYP* p) {
  const uint8_t* b = p->bytes.data();
  const size_t n = p->bytes.size(), words = n / 8;
  uint64_t xor_fold = 0, sum_fold = 0, placed = geometry_of(p);
  for (size_t i = 0; i < words; ++i) {
    uint64_t v;
    std::memcpy(&v, b + 8 * i, 8);
    xor_fold ^= v;
    sum_fold += v;
  }
  for (size_t i = 0; i < words; i += 16) {
    uint64_t v;
    std::memcpy(&v, b + 8 * i, 8);
    placed = mix(placed, v);
  }
  for (size_t i = 8 * words; i < n; ++i) placed = mix(placed, b[i]);
  return mix(mix(placed, xor_fold), sum_fold);
}

bool same(const PICTURE_TYP* a, const PICTURE_TYP* b) {
  return a->width == b->width && a->height == b->height && a->bpp == b->bpp &&
         a->pitch == b->pitch && a->bytes == b->bytes;
}

void unshare(PICTURE_TYP* p) {
  auto range = shared_table().equal_range(p->hash);
  for (auto it = range.first; it != range.second; ++it) {
    if (it->second == p) {
      shared_table().erase(it);
      break;
    }
  }
  auto blank = blank_table().find(geometry_of(p));
  if (blank != blank_table().end() && blank->second == p) blank_table().erase(blank);
  p->shared = 0;
}

// Enters a picture into the table (it stays private when the table cannot grow).
bool enter(PICTURE_TYP* p) {
  p->hash = hash_of(p);
  try {
    shared_table().emplace(p->hash, p);
  } catch (...) {
    return false;
  }
  p->shared = 1;
  return true;
}

// A picture cleared to 0, or a copy of `from`'s pixels.
PICTURE_TYP* make(int width, int height, int bpp, int pitch, const PICTURE_TYP* from = nullptr) {
  auto* p = new (std::nothrow) PICTURE_TYP{};
  if (!p) return nullptr;
  try {
    if (from)
      p->bytes = from->bytes;
    else
      p->bytes.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
  } catch (...) {
    delete p;
    return nullptr;
  }
  p->references = 1;
  p->width = width;
  p->height = height;
  p->bpp = bpp;
  p->pitch = pitch;
  ++live_pictures;
  return p;
}

}  // namespace

PICTURE_TYP* plat_picture_blank(int width, int height, int bpp, int pitch, int caps) {
  const size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(height);
  if (!shareable(caps, bytes)) return make(width, height, bpp, pitch);
  PICTURE_TYP probe{};
  probe.width = width;
  probe.height = height;
  probe.bpp = bpp;
  probe.pitch = pitch;
  auto found = blank_table().find(geometry_of(&probe));
  if (found != blank_table().end()) {
    ++found->second->references;
    return found->second;
  }
  PICTURE_TYP* p = make(width, height, bpp, pitch);
  if (!p || !enter(p)) return p;
  try {
    blank_table().emplace(geometry_of(p), p);
  } catch (...) {
    // Still shared through the table of written pictures; only the quick way to it is missing.
  }
  return p;
}

void plat_picture_release(PICTURE_TYP* picture) {
  if (!picture || --picture->references > 0) return;
  if (picture->shared) unshare(picture);
  --live_pictures;
  delete picture;
}

int plat_picture_own(SURFACE_TYP* surface) {
  PICTURE_TYP* p = surface->picture;
  if (p->references == 1) {
    if (p->shared) unshare(p);
    return 1;
  }
  PICTURE_TYP* copy = make(p->width, p->height, p->bpp, p->pitch, p);
  if (!copy) return 0;
  --p->references;
  surface->picture = copy;
  return 1;
}

void plat_picture_share(SURFACE_TYP* surface) {
  PICTURE_TYP* p = surface->picture;
  if (p->shared || !shareable(surface->caps, p->bytes.size())) return;
  const uint64_t hash = hash_of(p);
  auto range = shared_table().equal_range(hash);
  for (auto it = range.first; it != range.second; ++it) {
    if (same(it->second, p)) {
      ++it->second->references;
      surface->picture = it->second;
      plat_picture_release(p);
      return;
    }
  }
  enter(p);
}

int plat_picture_count() { return live_pictures; }
