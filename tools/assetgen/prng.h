// A small fixed-seed generator so every run of assetgen writes the same bytes.
#pragma once
#include <cstdint>

struct PRNG_TYP {
  uint64_t state;
};

inline void prng_seed(PRNG_TYP* prng, uint64_t seed) { prng->state = seed * 0x9E3779B97F4A7C15ull + 1; }

// splitmix64: good enough spread for art and noise, and identical on every machine.
inline uint64_t prng_next(PRNG_TYP* prng) {
  uint64_t z = (prng->state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Uniform in [0, 1).
inline float prng_unit(PRNG_TYP* prng) { return static_cast<float>(prng_next(prng) >> 40) / 16777216.0f; }

inline float prng_range(PRNG_TYP* prng, float lo, float hi) { return lo + (hi - lo) * prng_unit(prng); }

inline int prng_int(PRNG_TYP* prng, int n) { return static_cast<int>(prng_next(prng) % static_cast<uint64_t>(n)); }
