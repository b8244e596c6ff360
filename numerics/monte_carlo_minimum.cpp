#include "numerics/formula_solvers.h"

#include <vector>

#include "functions/random_stream.h"

bool MinimizeMonteCarlo(SolverTarget& target, SolverVariables& variables, const Matrix& flags, double from, double to,
                        int32_t points, double* best) {
  const uint32_t count = variables.Count();
  std::vector<double> saved(count);
  for (uint32_t i = 0; i < count; ++i) saved[i] = variables.Value(i);
  *best = 1.7976931348623157e308;
  RandomSeedPair& stream = ProcessRandomSeeds().shared;
  for (int32_t point = 0; point < points; ++point) {
    for (uint32_t i = 0; i < count; ++i) {
      const double u = NextUniform(&stream);
      if (flags(i + 1, 1) == 1.0) variables.Set(i, from + (to - from) * u);
    }
    double value = 0.0;
    if (!EvaluateFormulaValue(target, &value)) return false;
    if (value < *best) {
      *best = value;
      for (uint32_t i = 0; i < count; ++i) saved[i] = variables.Value(i);
    }
  }
  for (uint32_t i = 0; i < count; ++i) variables.Set(i, saved[i]);
  return true;
}
