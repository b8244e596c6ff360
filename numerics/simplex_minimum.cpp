#include "numerics/formula_solvers.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

// The simplex's vertices in the varied variables' space, k + 1 of them.
struct SimplexVertices {
  uint32_t k;
  std::vector<double> points;  // (k + 1) x k
  std::vector<double> values;
  double* Point(uint32_t v) { return &points[size_t(v) * k]; }
};

bool EvaluateAt(SolverTarget& target, SolverVariables& variables, const std::vector<uint32_t>& varied,
                const double* point, double* value) {
  for (size_t i = 0; i < varied.size(); ++i) variables.Set(varied[i], point[i]);
  return EvaluateFormulaValue(target, value);
}

}  // namespace

bool MinimizeSimplex(SolverTarget& target, SolverVariables& variables, const Matrix& flags, double start,
                     double epsilon, int32_t maxSteps, int32_t* steps, double* best) {
  std::vector<uint32_t> varied;
  for (uint32_t i = 0; i < variables.Count(); ++i)
    if (flags(i + 1, 1) == 1.0) varied.push_back(i);
  const uint32_t k = uint32_t(varied.size());
  SimplexVertices s{k, std::vector<double>(size_t(k + 1) * k), std::vector<double>(k + 1)};
  for (uint32_t v = 0; v <= k; ++v) {
    for (uint32_t i = 0; i < k; ++i) s.Point(v)[i] = variables.Value(varied[i]) + (v == i + 1 ? start : 0.0);
    if (!EvaluateAt(target, variables, varied, s.Point(v), &s.values[v])) return false;
  }
  std::vector<double> centroid(k), trial(k), expanded(k);
  *steps = 0;
  for (;;) {
    uint32_t lo = 0, hi = 0;
    for (uint32_t v = 1; v <= k; ++v) {
      if (s.values[v] < s.values[lo]) lo = v;
      if (s.values[v] > s.values[hi]) hi = v;
    }
    uint32_t second = lo;
    for (uint32_t v = 0; v <= k; ++v)
      if (v != hi && s.values[v] > s.values[second]) second = v;
    if (k == 0 || std::fabs(s.values[hi] - s.values[lo]) <= epsilon * std::fabs(s.values[lo]) + 1e-30) {
      *best = s.values[lo];
      return EvaluateAt(target, variables, varied, s.Point(lo), best);
    }
    if (++*steps > maxSteps) return false;
    for (uint32_t i = 0; i < k; ++i) {
      double sum = 0.0;
      for (uint32_t v = 0; v <= k; ++v)
        if (v != hi) sum += s.Point(v)[i];
      centroid[i] = sum / k;
      trial[i] = 2.0 * centroid[i] - s.Point(hi)[i];
    }
    double fr = 0.0;
    if (!EvaluateAt(target, variables, varied, trial.data(), &fr)) return false;
    if (fr < s.values[lo]) {
      for (uint32_t i = 0; i < k; ++i) expanded[i] = 2.0 * trial[i] - centroid[i];
      double fe = 0.0;
      if (!EvaluateAt(target, variables, varied, expanded.data(), &fe)) return false;
      if (fe < fr) {
        trial = expanded;
        fr = fe;
      }
      std::memcpy(s.Point(hi), trial.data(), sizeof(double) * k);
      s.values[hi] = fr;
      continue;
    }
    if (fr < s.values[second]) {
      std::memcpy(s.Point(hi), trial.data(), sizeof(double) * k);
      s.values[hi] = fr;
      continue;
    }
    for (uint32_t i = 0; i < k; ++i) trial[i] = 0.5 * (s.Point(hi)[i] + centroid[i]);
    double fc = 0.0;
    if (!EvaluateAt(target, variables, varied, trial.data(), &fc)) return false;
    if (fc < s.values[hi]) {
      std::memcpy(s.Point(hi), trial.data(), sizeof(double) * k);
      s.values[hi] = fc;
      continue;
    }
    for (uint32_t v = 0; v <= k; ++v) {
      if (v == lo) continue;
      for (uint32_t i = 0; i < k; ++i) s.Point(v)[i] = 0.5 * (s.Point(v)[i] + s.Point(lo)[i]);
      if (!EvaluateAt(target, variables, varied, s.Point(v), &s.values[v])) return false;
    }
  }
}
