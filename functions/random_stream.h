#ifndef TALVERO_FUNCTIONS_RANDOM_STREAM_H
#define TALVERO_FUNCTIONS_RANDOM_STREAM_H

// The program's one pseudo-random generator: L'Ecuyer's combination of two
// multiplicative congruential generators in 32-bit integers (Schrage's
// method, no shuffle table). Two process-wide streams of it exist: the
// shared one (RAND, RANDBETWEEN, MTXRAND, MINMC) and a second one
// (MTXRAND2). Their states live for the whole process, are never saved and
// change only by drawing or by a seed argument.

#include <cstdint>

struct RandomSeedPair {
  int32_t s1;  // multiplier 40014, modulus 2147483563
  int32_t s2;  // multiplier 40692, modulus 2147483399
};

constexpr RandomSeedPair kInitialRandomSeeds = {123456, 654321};

struct RandomSeeds {
  RandomSeedPair shared;
  RandomSeedPair second;
};

RandomSeeds& ProcessRandomSeeds();

// One step of the pair: a deviate strictly between 0 and 1.
double NextUniform(RandomSeedPair* pair);

#endif
