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
// Pictures made by a copy into a blank surface, by what was copied (see plat_surface_copy_in).
std::unordered_multimap<uint64_t, PICTURE_TYP*>& copy_table() {
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
// can be cheap: the xor and the sum of all 8-byte words, in four lanes the processor runs side by
// side, one word in every 16 by position, and the geometry. Each picture is hashed once, when it
// is first shared.
uint64_t hash_of(const PICTURE_TYP* p) {
  const uint8_t* b = p->bytes.data();
  const size_t n = p->bytes.size(), words = n / 8, blocks = words / 4;
  uint64_t x0 = 0, x1 = 0, x2 = 0, x3 = 0, s0 = 0, s1 = 0, s2 = 0, s3 = 0;
  for (size_t i = 0; i < blocks; ++i) {
    uint64_t v0, v1, v2, v3;
    std::memcpy(&v0, b + 32 * i, 8);
    std::memcpy(&v1, b + 32 * i + 8, 8);
    std::memcpy(&v2, b + 32 * i + 16, 8);
    std::memcpy(&v3, b + 32 * i + 24, 8);
    x0 ^= v0, x1 ^= v1, x2 ^= v2, x3 ^= v3;
    s0 += v0, s1 += v1, s2 += v2, s3 += v3;
  }
  uint64_t xor_fold = x0 ^ x1 ^ x2 ^ x3;
  uint64_t sum_fold = mix(mix(mix(s0, s1), s2), s3);
  for (size_t i = 4 * blocks; i < words; ++i) {
    uint64_t v;
    std::memcpy(&v, b + 8 * i, 8);
    xor_fold ^= v;
    sum_fold += v;
  }
  uint64_t placed = geometry_of(p);
  for (size_t i = 0; i < words; i += 16) {
    uint64_t v;
    std::memcpy(&v, b + 8 * i, 8);
    placed = mix(placed, v);
  }
  for (size_t i = 8 * words; i < n; ++i) placed = mix(placed, b[i]);
  return mix(mix(placed, xor_fold), sum_fold);
}

uint64_t copy_hash(const COPY_KEY_TYP& key, uint64_t geometry) {
  uint64_t h = mix(geometry, key.source);
  h = mix(h, reinterpret_cast<uintptr_t>(key.from));
  h = mix(h, key.from_pitch);
  return mix(h, uint64_t(uint32_t(key.row_bytes)) | uint64_t(uint32_t(key.rows)) << 32);
}

bool same_copy(const COPY_KEY_TYP& a, const COPY_KEY_TYP& b) {
  return a.source == b.source && a.from == b.from && a.from_pitch == b.from_pitch &&
         a.row_bytes == b.row_bytes && a.rows == b.rows;
}

bool same_geometry(const PICTURE_TYP* a, const PICTURE_TYP* b) {
  return a->width == b->width && a->height == b->height && a->bpp == b->bpp && a->pitch == b->pitch;
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
  if (p->copied) {
    auto copies = copy_table().equal_range(copy_hash(p->copy_key, geometry_of(p)));
    for (auto it = copies.first; it != copies.second; ++it) {
      if (it->second == p) {
        copy_table().erase(it);
        break;
      }
    }
    p->copied = 0;
  }
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
    if (from && !from->blank)
      p->bytes = from->bytes;
    else
      p->bytes.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
  } catch (...) {
    delete p;
    return nullptr;
  }
  p->references = 1;
  p->blank = !from || from->blank;
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

int plat_picture_join_copy(SURFACE_TYP* surface, const COPY_KEY_TYP& key) {
  PICTURE_TYP* p = surface->picture;
  if (!p->blank || !shareable(surface->caps, p->bytes.size())) return 0;
  auto range = copy_table().equal_range(copy_hash(key, geometry_of(p)));
  for (auto it = range.first; it != range.second; ++it) {
    PICTURE_TYP* found = it->second;
    if (found != p && same_copy(found->copy_key, key) && same_geometry(found, p)) {
      ++found->references;
      surface->picture = found;
      plat_picture_release(p);
      return 1;
    }
  }
  return 0;
}

// Filed by what was copied only, never hashed: the frames of sprites all arrive this way, and
// each new one would otherwise be read once more for the hash.
void plat_picture_share_copy(SURFACE_TYP* surface, const COPY_KEY_TYP& key) {
  PICTURE_TYP* p = surface->picture;
  if (p->shared || !shareable(surface->caps, p->bytes.size())) return;
  try {
    copy_table().emplace(copy_hash(key, geometry_of(p)), p);
  } catch (...) {
    return;  // stays private
  }
  p->copy_key = key;
  p->copied = 1;
  p->shared = 1;
}

int plat_picture_count() { return live_pictures; }
