#ifndef TALVERO_CHARTS_SERIES_NICE_LIMITS_H
#define TALVERO_CHARTS_SERIES_NICE_LIMITS_H

// Axis limits rounded out so that a number of equal divisions of a round
// step (1, 2 or 5 times a power of ten, or whole units on a logarithmic
// axis) spans them. A range without a positive value keeps its top anchored
// at a step, any other range its bottom.

#include <cstdint>

// 10 to the power, from exact products of tens, so that every target rounds
// a step alike (1e-1 is 1 / 10, not 0.1 summed up).
double PowerOfTen(int exponent);

// Rounds *minimum and *maximum (log units on a logarithmic scale) for
// `divisions` steps, at least 1. False, with both unchanged, when their span
// is not a finite number; when no step in reach contains them they are kept
// unrounded.
bool NiceLimits(double* minimum, double* maximum, uint16_t divisions, uint8_t scale);

#endif
