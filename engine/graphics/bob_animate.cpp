// Sprite records: animation, movement, sequences, setters and the collision test.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/graphics/bob.h"
#include "engine/graphics/display.h"

namespace {

int sequence_length(const int* sequence) {
  int n = 0;
  while (sequence[n] != -1) ++n;
  return n;
}

void step_sequence(BOB_TYP* bob) {
  if (bob->sequence < 0 || bob->sequence >= BOB_MAX_SEQUENCES) return;
  const int* sequence = bob->sequences[bob->sequence];
  if (!sequence) return;
  const int length = sequence_length(sequence);
  if (length == 0) return;
  if (++bob->anim_ticks < bob->anim_period) return;
  bob->anim_ticks = 0;
  ++bob->sequence_pos;
  if (bob->sequence_pos < 0) bob->sequence_pos = 0;
  if (bob->sequence_pos < length) {
    bob->frame = sequence[bob->sequence_pos];
  } else if (bob->attributes & ATTR_PLAY_ONCE) {
    bob->anim_done = 1;
    bob->sequence_pos = length - 1;
    bob->frame = sequence[bob->sequence_pos];
  } else {
    bob->sequence_pos = 0;
    bob->frame = sequence[0];
  }
}

// Truncation toward zero, kept inside a range where the sums below cannot overflow.
int64_t trunc_clamped(float value) {
  if (!(value > -1.0e9f)) return std::isnan(value) ? 0 : -1000000000;
  if (value > 1.0e9f) return 1000000000;
  return int64_t(value);
}

}  // namespace

int bob_animate(BOB_TYP* bob) {
  if (!bob) return 0;
  if (bob->attributes & ATTR_ONE_FRAME) {
    bob->frame = 0;
  } else if (bob->attributes & ATTR_FRAME_CYCLE) {
    if (++bob->anim_ticks >= bob->anim_period) {
      bob->anim_ticks = 0;
      if (++bob->frame >= bob->frame_count || bob->frame < 0) bob->frame = 0;
    }
  } else if (bob->attributes & ATTR_SEQUENCED) {
    step_sequence(bob);
  }
  return 1;
}

int bob_move(BOB_TYP* bob) {
  if (!bob) return 0;
  bob->x += bob->vel_x;
  bob->y += bob->vel_y;
  if (bob->attributes & ATTR_WRAP) {
    if (bob->x > clip_max_x)
      bob->x = float(clip_min_x - bob->width);
    else if (bob->x < clip_min_x - bob->width)
      bob->x = float(clip_max_x);
    if (bob->y > clip_max_y)
      bob->y = float(clip_min_y - bob->height);
    else if (bob->y < clip_min_y - bob->height)
      bob->y = float(clip_max_y);
  } else if (bob->attributes & ATTR_BOUNCE) {
    if (bob->x > clip_max_x - bob->width || bob->x < clip_min_x) bob->vel_x = -bob->vel_x;
    if (bob->y > clip_max_y - bob->height || bob->y < clip_min_y) bob->vel_y = -bob->vel_y;
  }
  return 1;
}

int bob_add_sequence(BOB_TYP* bob, int index, int count, const int* frames) {
  if (!bob || index < 0 || index >= BOB_MAX_SEQUENCES || count < 0 || (count > 0 && !frames)) return 0;
  if (bob->attributes & ATTR_CLONE) return 0;  // the arrays belong to the source
  if (count > (1 << 20)) return 0;
  auto* sequence = static_cast<int*>(std::malloc((size_t(count) + 1) * sizeof(int)));
  if (!sequence) return 0;
  if (count) std::memcpy(sequence, frames, size_t(count) * sizeof(int));
  sequence[count] = -1;
  std::free(bob->sequences[index]);
  bob->sequences[index] = sequence;
  return 1;
}

int bob_set_position(BOB_TYP* bob, int x, int y) {
  if (!bob) return 0;
  bob->x = float(x);
  bob->y = float(y);
  return 1;
}

int bob_set_velocity(BOB_TYP* bob, float vel_x, float vel_y) {
  if (!bob) return 0;
  bob->vel_x = vel_x;
  bob->vel_y = vel_y;
  return 1;
}

int bob_set_anim_period(BOB_TYP* bob, int period) {
  if (!bob) return 0;
  bob->anim_period = period;
  return 1;
}

int bob_set_sequence(BOB_TYP* bob, int index) {
  if (!bob || index < 0 || index >= BOB_MAX_SEQUENCES) return 0;
  bob->sequence = index;
  bob->sequence_pos = 0;
  return 1;
}

int bob_hide(BOB_TYP* bob) {
  if (!bob) return 0;
  bob->attributes &= ~ATTR_VISIBLE;
  return 1;
}

int bob_show(BOB_TYP* bob) {
  if (!bob) return 0;
  bob->attributes |= ATTR_VISIBLE;
  return 1;
}

int bob_overlap(const BOB_TYP* a, const BOB_TYP* b) {
  if (!a || !b) return 0;
  const int64_t hwa = (a->width >> 1) - (a->width >> 3), hha = (a->height >> 1) - (a->height >> 3);
  const int64_t hwb = (b->width >> 1) - (b->width >> 3), hhb = (b->height >> 1) - (b->height >> 3);
  const int64_t cxa = trunc_clamped(a->x + float(hwa)), cya = trunc_clamped(a->y + float(hha));
  const int64_t cxb = trunc_clamped(b->x + float(hwb)), cyb = trunc_clamped(b->y + float(hhb));
  return std::llabs(cxb - cxa) < hwa + hwb && std::llabs(cyb - cya) < hha + hhb;
}
