#include "engine/random/random.h"

#include <cstdlib>

namespace {

constexpr int DEGREE = 31;
constexpr int SEPARATION = 3;

}  // namespace

void random_start(RANDOM_TYP* generator, unsigned seed) {
  if (seed == 0) seed = 1;
  // The words start as a Lehmer sequence (16807 times the last, modulo 2^31 - 1), worked out in
  // Schrage's way on the seed taken as a signed 32-bit word, so that no product overflows.
  int32_t word = static_cast<int32_t>(seed);
  generator->words[0] = static_cast<uint32_t>(word);
  for (int i = 1; i < DEGREE; ++i) {
    const int64_t high = word / 127773;
    const int64_t low = word % 127773;
    word = static_cast<int32_t>(16807 * low - 2836 * high);
    if (word < 0) word += 2147483647;
    generator->words[i] = static_cast<uint32_t>(word);
  }
  generator->front = SEPARATION;
  generator->rear = 0;
  // The first ten rounds are thrown away: they still show the seed too plainly.
  for (int i = 0; i < 10 * DEGREE; ++i) random_draw(generator);
}

int random_draw(RANDOM_TYP* generator) {
  uint32_t& sum = generator->words[generator->front];
  sum += generator->words[generator->rear];
  generator->front = (generator->front + 1) % DEGREE;
  generator->rear = (generator->rear + 1) % DEGREE;
  return static_cast<int>(sum >> 1);
}

#if defined(__GLIBC__)

void random_seed(unsigned seed) { std::srand(seed); }
int random_next() { return std::rand(); }

#else

namespace {
RANDOM_TYP game_generator;
bool game_generator_started = false;
}  // namespace

void random_seed(unsigned seed) {
  random_start(&game_generator, seed);
  game_generator_started = true;
}

int random_next() {
  if (!game_generator_started) random_seed(1);
  return random_draw(&game_generator);
}

#endif
