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
  // The blow lands at once: a strike that restarts the sound must not cut it before the hit.
  const int n = static_cast<int>(SOUND_RATE * 0.25f);
  const float hit = 0.012f;  // a short rush of air, then contact
  std::vector<float> s(n, 0.0f);
  PRNG_TYP rng;
  prng_seed(&rng, 77);
  SVF_TYP whoosh, rattle;
  for (int i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / SOUND_RATE;
    float noise = prng_unit(&rng) * 2 - 1;
    // The swing's air: rising into the hit, then trailing off behind it.
    float air = t < hit ? t / hit : std::exp(-(t - hit) * 18);
    s[i] += svf_band(&whoosh, noise, 900 + 1500 * std::min(1.0f, t / hit), 0.7f) * air * 0.45f;
    if (t < hit) continue;
    float u = t - hit;
    // Thump: a low body blow falling in pitch; crack: bone on bone, bright and brief.
    float body = std::sin(2 * PI * (110 * u - 90 * u * u)) * std::exp(-u * 26) * 1.2f;
    float crack = std::sin(2 * PI * 1350 * u) * std::exp(-u * 70) * 0.6f + noise * std::exp(-u * 90) * 0.7f;
    // Loose bones rattling after the blow.
    float clatter = svf_band(&rattle, noise, 2600, 0.35f) * std::exp(-u * 16) * (0.6f + 0.4f * std::sin(2 * PI * 31 * u));
    s[i] += body + crack + clatter * 0.45f;
  }
  // Short fade so the last samples settle on silence.
  for (int i = n - 110; i < n; ++i) s[i] *= static_cast<float>(n - i) / 110;
  return to_unsigned(s);
}

std::vector<uint8_t> sound_make_laser() {
  // The game plays the laser 30 dB down, under the music: it has to be as dense as a sound can
  // be, a held, hard-limited level with its energy at 1 to 4 kHz where the ear is keenest.
  const int n = static_cast<int>(SOUND_RATE * 0.46f);
  const float hold = 0.38f, tail = 0.06f;
  std::vector<float> s(n, 0.0f);
  PRNG_TYP rng;
  prng_seed(&rng, 99);
  SVF_TYP hiss;
  float phase = 0, phase2 = 0;
  for (int i = 0; i < n; ++i) {
    float t = static_cast<float>(i) / SOUND_RATE;
    // Pitch falls from a shriek to a buzz that still sits in the keen band; a fast warble.
    float freq = 620 + 2300 * std::exp(-t * 6.0f);
    freq *= 1 + 0.06f * std::sin(2 * PI * 42 * t);
    phase += freq / SOUND_RATE;
    phase2 += freq * 1.5f / SOUND_RATE;
    float square = (phase - std::floor(phase)) < 0.5f ? 1.0f : -1.0f;
    float saw = 2 * (phase2 - std::floor(phase2)) - 1;
    float buzz = svf_band(&hiss, prng_unit(&rng) * 2 - 1, 2400, 0.5f);
    float v = square + 0.4f * saw + 0.12f * buzz;
    v = std::tanh(4.0f * v);  // hard-limited: every sample near full scale
    float env = std::min(1.0f, t / 0.003f);
    if (t > hold) env *= std::max(0.0f, 1 - (t - hold) / tail);
    s[i] = v * env;
  }
  return to_unsigned(s);
}
