#ifndef TALVERO_NUMERICS_RANDOM_NUMBERS_H
#define TALVERO_NUMERICS_RANDOM_NUMBERS_H

// Vectors of random deviates from the program's generator: uniform ones from
// the shared stream (RAND, MTXRAND), and deviates of six distributions from
// the second stream (MTXRAND2). A seed given replaces that component's state
// and stays in effect for the following draws of the same stream.

#include <cstdint>

#include "numerics/matrix.h"

// Fills the first n elements of out's buffer, in storage order.
void RandomUniform(Matrix& out, int32_t n, bool hasSeed1, int32_t seed1, bool hasSeed2, int32_t seed2);

enum RandomDeviateType : int32_t {
  kDeviateUniform = 0,
  kDeviateNormal = 1,       // mean v1, standard deviation v2
  kDeviateExponential = 2,  // mean v1
  kDeviatePoisson = 3,      // mean v1
  kDeviateBernoulli = 4,    // probability v1
  kDeviateGeometric = 5,    // probability v1
};

// Fills elements 1..n of out (n x 1). A deviate that has no value for the
// parameters is +infinity, which a result shows as "#NUM!": a geometric
// probability outside [0, 1] or 0, and a Poisson mean too large for its
// product of uniforms to reach exp(-mean).
void RandomDeviates(Matrix& out, int32_t n, bool hasSeed1, int32_t seed1, bool hasSeed2, int32_t seed2,
                    int32_t type, double v1, double v2);

#endif
