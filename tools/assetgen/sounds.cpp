#include "tools/assetgen/sounds.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/prng.h"

namespace {

const float PI = 3.14159265f;

std::vector<uint8_t> to_unsigned(const std::vector<float>& s) {
  float peak = 1e-6f;
  for (float v : s) peak = std::max(peak, std::fabs(v));
  std::vector<uint8_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    float v = s[i] / peak * 0.92f;  // normalised, a little headroom
    out[i] = static_cast<uint8_t>(std::clamp(std::lround(128 + v * 127), 0L, 255L));
  }
  return out;
}

// A two-pole resonant band-pass (state-variable filter) step.
struct SVF_TYP {
  float low = 0, band = 0;
};
float svf_band(SVF_TYP* f, float in, float freq, float q) {
  float k = 2 * std::sin(PI * std::min(freq, SOUND_RATE * 0.24f) / SOUND_RATE);
  float high = in - f->low - q * f->band;
  f->band += k * high;
  f->low += k * f->band;
  return f->band;
}

}  // namespace

std::vector<uint8_t> sound_make_strike() {
  const int n = static_cast<int>(SOUND_RATE * 0.34f);
  std::vector<float> s(n, 0.0f);
  PRNG_TYP rng;
  prng_seed(&rng, 77);
  SVF_TYP whoosh;
  for (int i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / SOUND_RATE;
    // Whoosh: noise through a band that sweeps up and back as the arm swings.
    float sweep = t < 0.16f ? t / 0.16f : std::max(0.0f, 1 - (t - 0.16f) / 0.06f);
    float freq = 500 + 1900 * std::sin(sweep * PI * 0.5f);
    float env = t < 0.16f ? std::pow(t / 0.16f, 1.5f) : std::exp(-(t - 0.16f) * 40);
    float noise = prng_unit(&rng) * 2 - 1;
    s[i] += svf_band(&whoosh, noise, freq, 0.6f) * env * 0.9f;
    // Thump and crack at the moment of contact.
    if (t >= 0.15f) {
      float u = t - 0.15f;
      float body = std::sin(2 * PI * (95 * u - 60 * u * u)) * std::exp(-u * 22) * 1.1f;
      float crack = std::sin(2 * PI * 1250 * u) * std::exp(-u * 90) * 0.55f + noise * std::exp(-u * 120) * 0.5f;
      s[i] += body + crack;
    }
  }
  return to_unsigned(s);
}

std::vector<uint8_t> sound_make_laser() {
  const int n = static_cast<int>(SOUND_RATE * 0.55f);
  std::vector<float> s(n, 0.0f);
  PRNG_TYP rng;
  prng_seed(&rng, 99);
  float phase = 0, phase2 = 0;
  for (int i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / SOUND_RATE;
    // Pitch falls fast from a shriek to a growl, with a fast warble.
    float freq = 180 + 2200 * std::exp(-t * 7.5f);
    freq *= 1 + 0.08f * std::sin(2 * PI * 38 * t);
    phase += freq / SOUND_RATE;
    phase2 += freq * 1.51f / SOUND_RATE;
    float square = (phase - std::floor(phase)) < 0.5f ? 1.0f : -1.0f;
    float saw = 2 * (phase2 - std::floor(phase2)) - 1;
    float crackle = (prng_unit(&rng) < 0.04f ? (prng_unit(&rng) * 2 - 1) : 0.0f) * std::exp(-t * 4);
    float env = std::min(1.0f, t / 0.004f) * std::exp(-t * 4.2f);
    s[i] = (0.55f * square + 0.35f * saw + crackle) * env;
  }
  return to_unsigned(s);
}
