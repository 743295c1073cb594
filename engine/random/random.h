// The game's random numbers: the additive-feedback generator that the GNU C library's rand()
// gives, the one the game has always drawn from. Where the C library is another (the browser's
// build), the game draws from the copy here, so that every build makes the same choices from
// the same seed.
#pragma once
#include <cstdint>

constexpr int RANDOM_MAX = 0x7FFFFFFF;

// One generator: 31 words of state; each number is the sum of the words 31 and 3 places back,
// less its lowest bit.
struct RANDOM_TYP {
  uint32_t words[31];
  int front;  // the word the next sum is stored in
  int rear;   // the word it adds
};

// Starts a generator from a seed as srand() does (0 counts as 1), and draws the next number,
// 0..RANDOM_MAX, as rand() does.
void random_start(RANDOM_TYP* generator, unsigned seed);
int random_draw(RANDOM_TYP* generator);

// The game's own sequence: the C library's rand() where that is this generator (so a srand()
// anywhere in the process still seeds it, as it always has), else one RANDOM_TYP. Before any
// seed the sequence is that of seed 1.
void random_seed(unsigned seed);
int random_next();
