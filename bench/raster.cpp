// Software rasterising against the memory bound. The same fixed set of triangles (and of
// lines) is drawn by the rasterisers and, as the baseline, the same number of bytes is written
// as whole-screen memsets: the fastest the memory takes those bytes. Plain memsets of exactly
// the spans the shapes cover are reported beside them (what the spans alone cost, call by call).
// The ratios at the end compare medians in the same run.
//
//   build/bench/bench_raster --benchmark_repetitions=9
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/ratio_report.h"
#include "engine/graphics/display.h"
#include "engine/graphics/lines.h"
#include "engine/math/triangle.h"

namespace {

constexpr int W = 640;
constexpr int H = 480;

struct Span {
  int y, x, length;
};

struct Shape {
  int v[6];
};

struct Scene {
  std::vector<Shape> triangles;
  std::vector<Span> triangle_spans;  // of the float 8-bit triangles
  std::vector<Span> fixed_spans;     // of the fixed-point triangles
  std::vector<Shape> lines;          // x0, y0, x1, y1 in v[0..3]
  std::vector<Span> line_spans;
  std::vector<uint8_t> screen = std::vector<uint8_t>(W * H);
};

// Runs of written pixels in rows first..last (cleared again as they are read).
void collect(std::vector<uint8_t>& screen, int first, int last, std::vector<Span>* spans) {
  for (int y = first; y <= last; ++y) {
    uint8_t* row = &screen[y * W];
    for (int x = 0; x < W;) {
      if (!row[x]) {
        ++x;
        continue;
      }
      int end = x;
      while (end < W && row[end]) row[end++] = 0;
      spans->push_back({y, x, end - x});
      x = end;
    }
  }
}

Scene make_scene() {
  clip_min_x = 0;
  clip_max_x = W - 1;
  clip_min_y = 0;
  clip_max_y = H - 1;
  Scene s;
  std::mt19937 rng(1234);
  // Triangles of up to 96 pixels a side anywhere on the screen, some cut by its edges.
  std::uniform_int_distribution<int> where_x(-40, W + 40), where_y(-40, H + 40), off(-48, 48);
  for (int i = 0; i < 4000; ++i) {
    const int cx = where_x(rng), cy = where_y(rng);
    Shape t;
    for (int k = 0; k < 3; ++k) {
      t.v[2 * k] = cx + off(rng);
      t.v[2 * k + 1] = cy + off(rng);
    }
    s.triangles.push_back(t);
    draw_triangle_8(t.v[0], t.v[1], t.v[2], t.v[3], t.v[4], t.v[5], 1, s.screen.data(), W);
    collect(s.screen, 0, H - 1, &s.triangle_spans);
    draw_triangle_fixed_8(t.v[0], t.v[1], t.v[2], t.v[3], t.v[4], t.v[5], 1, s.screen.data(), W);
    collect(s.screen, 0, H - 1, &s.fixed_spans);
  }
  // Lines with ends up to half a screen beyond each edge.
  std::uniform_int_distribution<int> lx(-W / 2, W + W / 2), ly(-H / 2, H + H / 2);
  for (int i = 0; i < 2000; ++i) {
    Shape l = {{lx(rng), ly(rng), lx(rng), ly(rng), 0, 0}};
    s.lines.push_back(l);
    draw_clip_line8(l.v[0], l.v[1], l.v[2], l.v[3], 1, s.screen.data(), W);
    collect(s.screen, 0, H - 1, &s.line_spans);
  }
  return s;
}

Scene& scene() {
  static Scene s = make_scene();
  return s;
}

int64_t bytes(const std::vector<Span>& spans) {
  int64_t n = 0;
  for (const Span& s : spans) n += s.length;
  return n;
}

void finish(benchmark::State& state, int64_t shapes, int64_t written, const char* unit) {
  state.counters[unit] =
      benchmark::Counter(static_cast<double>(shapes), benchmark::Counter::kIsIterationInvariantRate);
  state.SetBytesProcessed(state.iterations() * written);
}

void BM_TriangleFloat8(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) {
    for (const Shape& t : s.triangles)
      draw_triangle_8(t.v[0], t.v[1], t.v[2], t.v[3], t.v[4], t.v[5], 7, s.screen.data(), W);
    benchmark::ClobberMemory();
  }
  finish(state, s.triangles.size(), bytes(s.triangle_spans), "triangles/s");
}

void BM_TriangleFixed8(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) {
    for (const Shape& t : s.triangles)
      draw_triangle_fixed_8(t.v[0], t.v[1], t.v[2], t.v[3], t.v[4], t.v[5], 7, s.screen.data(), W);
    benchmark::ClobberMemory();
  }
  finish(state, s.triangles.size(), bytes(s.fixed_spans), "triangles/s");
}

void BM_ClippedLine8(benchmark::State& state) {
  Scene& s = scene();
  for (auto _ : state) {
    for (const Shape& l : s.lines)
      draw_clip_line8(l.v[0], l.v[1], l.v[2], l.v[3], 7, s.screen.data(), W);
    benchmark::ClobberMemory();
  }
  finish(state, s.lines.size(), bytes(s.line_spans), "lines/s");
}

// The memory bound: the same spans, each one memset.
void memset_spans(benchmark::State& state, const std::vector<Span>& spans, int64_t shapes,
                  const char* unit) {
  Scene& s = scene();
  for (auto _ : state) {
    for (const Span& sp : spans) memset(&s.screen[sp.y * W + sp.x], 7, sp.length);
    benchmark::ClobberMemory();
  }
  finish(state, shapes, bytes(spans), unit);
}

void BM_MemsetTriangleSpans(benchmark::State& state) {
  memset_spans(state, scene().triangle_spans, scene().triangles.size(), "triangles/s");
}

void BM_MemsetFixedSpans(benchmark::State& state) {
  memset_spans(state, scene().fixed_spans, scene().triangles.size(), "triangles/s");
}

void BM_MemsetLineSpans(benchmark::State& state) {
  memset_spans(state, scene().line_spans, scene().lines.size(), "lines/s");
}

BENCHMARK(BM_TriangleFloat8);
BENCHMARK(BM_MemsetTriangleSpans);
BENCHMARK(BM_TriangleFixed8);
BENCHMARK(BM_MemsetFixedSpans);
BENCHMARK(BM_ClippedLine8);
BENCHMARK(BM_MemsetLineSpans);

// The memory bound: a shape set's byte count written as whole-screen memsets.
void memset_bulk(benchmark::State& state, const std::vector<Span>& spans, int64_t shapes, const char* unit) {
  Scene& s = scene();
  const int64_t total = bytes(spans);
  for (auto _ : state) {
    for (int64_t left = total; left > 0; left -= W * H)
      memset(s.screen.data(), 7, static_cast<size_t>(left < W * H ? left : W * H));
    benchmark::ClobberMemory();
  }
  finish(state, shapes, total, unit);
}

void BM_MemsetBulkTriangles(benchmark::State& state) {
  memset_bulk(state, scene().triangle_spans, scene().triangles.size(), "triangles/s");
}
void BM_MemsetBulkFixed(benchmark::State& state) {
  memset_bulk(state, scene().fixed_spans, scene().triangles.size(), "triangles/s");
}
void BM_MemsetBulkLines(benchmark::State& state) {
  memset_bulk(state, scene().line_spans, scene().lines.size(), "lines/s");
}

BENCHMARK(BM_MemsetBulkTriangles);
BENCHMARK(BM_MemsetBulkFixed);
BENCHMARK(BM_MemsetBulkLines);

}  // namespace

int main(int argc, char** argv) {
  const BENCH_PAIR_TYP pairs[] = {
      {"float 8-bit triangles vs memory bound", "BM_TriangleFloat8", "BM_MemsetBulkTriangles"},
      {"fixed 8-bit triangles vs memory bound", "BM_TriangleFixed8", "BM_MemsetBulkFixed"},
      {"clipped 8-bit lines vs memory bound", "BM_ClippedLine8", "BM_MemsetBulkLines"},
      {"float 8-bit triangles vs span memsets", "BM_TriangleFloat8", "BM_MemsetTriangleSpans"},
      {"fixed 8-bit triangles vs span memsets", "BM_TriangleFixed8", "BM_MemsetFixedSpans"},
      {"clipped 8-bit lines vs span memsets", "BM_ClippedLine8", "BM_MemsetLineSpans"},
  };
  bench_run_with_ratios(&argc, argv, pairs, 6);
  return 0;
}
