// Key runs: each row of a sprite frame as the spans that are not the key, so a keyed blit copies
// whole spans instead of testing every pixel. Made once per frame surface and kept until its
// pixels change, with the picture (so every actor drawn from a shared frame uses one set).
#include <algorithm>
#include <cstring>

#include "platform/core/blit_rows.h"
#include "platform/core/surface_internal.h"

namespace {

// Fewer runs than one per this many pixels on average, or the per-pixel row is as quick.
constexpr size_t PIXELS_PER_RUN = 8;
// Block merges that cost no more than one run's copy (with its branches on the run's length).
constexpr size_t BLOCKS_PER_RUN = 2;

// The same few blocks in every row that holds pixels, when that pays against the runs.
void choose_blocks(KEY_RUNS_TYP& runs, const std::vector<KEY_RUN_TYP>& spans, int width, int bytes) {
  runs.block_count = 0;
  runs.block_bytes = 0;
  runs.row_block.clear();
  const int row_bytes = width * bytes;
  int widest = 0;
  size_t rows = 0;
  for (const KEY_RUN_TYP& span : spans) {
    if (span.end <= span.start) continue;
    widest = std::max(widest, (span.end - span.start) * bytes);
    ++rows;
  }
  if (rows == 0) return;
  // The widest merge whose blocks fit the row side by side.
  int block = plat_block_bytes();
  while (block >= 16 && (widest + block - 1) / block * block > row_bytes) block /= 2;
  if (block < 16) return;
  const int count = (widest + block - 1) / block;
  if (rows * static_cast<size_t>(count) > BLOCKS_PER_RUN * runs.list.size()) return;
  runs.block_count = count;
  runs.block_bytes = block;
  runs.row_block.reserve(spans.size());
  for (const KEY_RUN_TYP& span : spans)
    runs.row_block.push_back(span.end <= span.start
                                 ? NO_BLOCKS
                                 : static_cast<uint16_t>(std::min(span.start * bytes, row_bytes - count * block)));
}

bool is_key(const uint8_t* row, int x, int bytes, uint32_t key) {
  if (bytes == 1) return row[x] == static_cast<uint8_t>(key);
  uint16_t v;
  std::memcpy(&v, row + 2 * x, 2);
  return v == static_cast<uint16_t>(key);
}

void build(SURFACE_TYP* s, uint32_t key) {
  KEY_RUNS_TYP& runs = s->picture->runs;
  const int bytes = s->bpp / 8;
  const size_t limit = static_cast<size_t>(s->width) * static_cast<size_t>(s->height) / PIXELS_PER_RUN + 1;
  runs.key = key;
  runs.row_first.assign(static_cast<size_t>(s->height) + 1, 0);
  runs.spans.assign(static_cast<size_t>(s->height), {0, 0});
  runs.list.clear();
  runs.run_row.clear();
  runs.by_spans = 0;
  size_t blocks = 0;  // 16-byte merges of the spans, drawn whole
  for (int y = 0; y < s->height; ++y) {
    const uint8_t* row = plat_surface_bytes(s) + static_cast<size_t>(y) * static_cast<size_t>(s->pitch);
    const size_t first = runs.list.size();
    runs.row_first[static_cast<size_t>(y)] = static_cast<uint32_t>(first);
    for (int x = 0; x < s->width;) {
      if (is_key(row, x, bytes, key)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < s->width && !is_key(row, x, bytes, key)) ++x;
      runs.list.push_back({static_cast<uint16_t>(start), static_cast<uint16_t>(x)});
      runs.run_row.push_back(static_cast<uint16_t>(y));
    }
    if (runs.list.size() > first) {
      KEY_RUN_TYP& span = runs.spans[static_cast<size_t>(y)];
      span = {runs.list[first].start, runs.list.back().end};
      const size_t span_bytes = static_cast<size_t>(span.end - span.start) * static_cast<size_t>(bytes);
      blocks += span_bytes <= 16 ? 1 : (span_bytes + 15) / 16;
    }
  }
  runs.row_first[static_cast<size_t>(s->height)] = static_cast<uint32_t>(runs.list.size());
  choose_blocks(runs, runs.spans, s->width, bytes);
  // The spans need no runs; without them, a picture of too many short runs is drawn per pixel.
  if (static_cast<size_t>(s->width * bytes) >= 16 && plat_spans_pay(runs.list.size(), blocks)) {
    runs.by_spans = 1;
    runs.state = KEY_RUNS_BUILT;
  } else if (runs.list.size() > limit) {
    runs.state = KEY_RUNS_TOO_BROKEN;
  } else {
    runs.state = KEY_RUNS_BUILT;
  }
  if (runs.state != KEY_RUNS_BUILT || runs.by_spans) {
    runs.list.clear();
    runs.run_row.clear();
    runs.row_first.clear();
  }
  if (!runs.by_spans) runs.spans.clear();
}

// A short copy without a library call: sprite runs are mostly a few dozen bytes. The source and
// destination never overlap (a surface blitted onto itself is drawn per pixel), so the
// overlapping tail copies write the same bytes twice and nothing else.
inline void copy_bytes(uint8_t* to, const uint8_t* from, size_t n) {
  if (n >= 16) {
    size_t i = 0;
    for (; i + 16 <= n; i += 16) std::memcpy(to + i, from + i, 16);
    if (i < n) std::memcpy(to + n - 16, from + n - 16, 16);
  } else if (n >= 8) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else {
    to[0] = from[0];
    to[n - 1] = from[n - 1];
    to[n / 2] = from[n / 2];
  }
}

}  // namespace

const KEY_RUNS_TYP* plat_surface_key_runs(SURFACE_TYP* surface, uint32_t key) {
  KEY_RUNS_TYP& runs = surface->picture->runs;
  if (runs.state != KEY_RUNS_NONE && runs.key == key)
    return runs.state == KEY_RUNS_BUILT ? &runs : nullptr;
  // A new key is a new picture as far as the runs go.
  if (runs.state != KEY_RUNS_NONE) runs.draws = 0;
  runs.state = KEY_RUNS_NONE;
  runs.key = key;
  if (++runs.draws < 2) return nullptr;
  build(surface, key);
  return runs.state == KEY_RUNS_BUILT ? &runs : nullptr;
}

namespace {

// Rows of a keyed blit from the runs, BYTES per pixel, cut to the visible columns.
template <int BYTES>
void draw_rows(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
               const KEY_RUN_TYP* list, const uint32_t* row_first, int rows, int from_x, int n) {
  const int end_x = from_x + n;
  uint32_t r = row_first[0];
  for (int y = 0; y < rows; ++y, row += row_pitch, to += to_pitch) {
    const uint32_t stop = row_first[y + 1];
    for (; r < stop; ++r) {
      int a = list[r].start, b = list[r].end;
      a = a > from_x ? a : from_x;
      b = b < end_x ? b : end_x;
      if (a >= b) continue;
      copy_bytes(to + static_cast<size_t>(a - from_x) * BYTES, row + static_cast<size_t>(a) * BYTES,
                 static_cast<size_t>(b - a) * BYTES);
    }
  }
}

// Whole rows: one loop over the runs, each placed by its own row, and no loop over the rows.
template <int BYTES>
void draw_whole_rows(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                     const KEY_RUN_TYP* list, const uint16_t* run_row, uint32_t first, uint32_t stop,
                     int first_row) {
  for (uint32_t r = first; r < stop; ++r) {
    const size_t y = static_cast<size_t>(run_row[r] - first_row);
    const size_t a = list[r].start;
    copy_bytes(to + y * to_pitch + a * BYTES, row + y * row_pitch + a * BYTES,
               static_cast<size_t>(list[r].end - list[r].start) * BYTES);
  }
}

}  // namespace

void plat_runs_draw(uint8_t* to, size_t to_pitch, const uint8_t* row, size_t row_pitch,
                    const KEY_RUNS_TYP* runs, int first_row, int rows, int from_x, int n, int width,
                    int bytes) {
  const bool whole_rows = from_x == 0 && n == width;
  if (whole_rows && runs->block_count) {
    plat_blocks_draw(to, to_pitch, row, row_pitch, runs, first_row, rows, bytes);
    return;
  }
  if (runs->by_spans) {
    plat_spans_draw(to, to_pitch, row, row_pitch, runs, first_row, rows, from_x, n, bytes);
    return;
  }
  const uint32_t* first = runs->row_first.data() + first_row;
  if (whole_rows) {
    if (bytes == 1)
      draw_whole_rows<1>(to, to_pitch, row, row_pitch, runs->list.data(), runs->run_row.data(),
                         first[0], first[rows], first_row);
    else
      draw_whole_rows<2>(to, to_pitch, row, row_pitch, runs->list.data(), runs->run_row.data(),
                         first[0], first[rows], first_row);
    return;
  }
  if (bytes == 1)
    draw_rows<1>(to, to_pitch, row, row_pitch, runs->list.data(), first, rows, from_x, n);
  else
    draw_rows<2>(to, to_pitch, row, row_pitch, runs->list.data(), first, rows, from_x, n);
}
