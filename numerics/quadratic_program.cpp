#include <cmath>
#include <new>
#include <vector>

#include "numerics/linear_program.h"

namespace {

// One constraint of the Wolfe system: a row of A taken with a sign, and the
// type it has after equalities were split and right-hand sides made >= 0.
struct QpConstraint {
  uint32_t row;
  double sign;
  int32_t type;  // 1 "<=", -1 ">="
};

// The column whose being basic keeps column j out of the basis: x[i] and
// v[i], u[k] and the slack of constraint k; 0 for artificial columns.
uint32_t ComplementOf(uint32_t j, uint32_t n, uint32_t m) {
  if (j <= n) return n + m + j;
  if (j <= n + m) return 2 * n + m + (j - n);
  if (j <= 2 * n + m) return j - n - m;
  if (j <= 2 * n + 2 * m) return n + (j - 2 * n - m);
  return 0;
}

// Simplex rounds that never bring a column into the basis beside its
// complement, unless the pivot drives the complement out.
ProgramStatus QpRestrictedSimplex(SimplexTableau& tab, uint32_t n, uint32_t m) {
  const uint32_t cap = SimplexRoundCap(tab.rows, tab.columns);
  bool bland = false;
  for (uint32_t round = 0;; ++round) {
    ComputeReducedCosts(tab);
    uint32_t entering = 0;
    uint32_t leaving = 0;
    double best = tab.epsilon;
    for (uint32_t j = 1; j <= tab.columns; ++j) {
      const double d = tab.reduced(1, j);
      if (!(d > best) || IsBasicColumn(tab, j)) continue;
      const uint32_t partner = ComplementOf(j, n, m);
      const uint32_t row = SimplexRatioTest(tab, j, bland);
      if (partner != 0 && IsBasicColumn(tab, partner) && (row == 0 || tab.Basic(row) != partner)) continue;
      entering = j;
      leaving = row;
      if (bland) break;
      best = d;
    }
    if (entering == 0) return kProgramSolved;
    if (round >= cap) return kProgramGaveUp;
    if (leaving == 0) return kProgramUnbounded;
    bland = !(tab.rhs(leaving, 1) > tab.epsilon);
    SimplexPivot(tab, leaving, entering);
  }
}

}  // namespace

ProgramStatus QuadraticProgram(const Matrix& a, const Matrix& s, const Matrix& b, const Matrix& p, const Matrix& c,
                               Matrix& x, int32_t* vector, uint32_t m, uint32_t n, double epsilon) {
  if (!(epsilon > 0.0)) epsilon = 1e-8;
  try {
    std::vector<QpConstraint> constraints;
    for (uint32_t k = 1; k <= m; ++k) constraints.push_back(QpConstraint{k, 1.0, s(k, 1) < 0.0 ? -1 : 1});
    for (uint32_t k = 1; k <= m; ++k)
      if (s(k, 1) == 0.0) constraints.push_back(QpConstraint{k, 1.0, -1});
    for (QpConstraint& k : constraints)
      if (b(k.row, 1) < 0.0) {
        k.sign = -1.0;
        k.type = -k.type;
      }
    const uint32_t mm = uint32_t(constraints.size());
    const uint32_t rows = n + mm;
    SimplexTableau tab;
    if (!tab.Start(rows, 3 * rows, n, epsilon))
      return kProgramNoMemory;
    tab.slackEnd = 2 * n + 2 * mm;
    uint32_t column = tab.slackEnd;
    for (uint32_t i = 1; i <= n; ++i) {
      for (uint32_t j = 1; j <= n; ++j) tab.t(i, j) = i == j ? -2.0 * c(i, i) : -(c(i, j) + c(j, i));
      for (uint32_t k = 1; k <= mm; ++k) {
        const QpConstraint& q = constraints[k - 1];
        const double coefficient = q.sign * a(q.row, i);
        tab.t(i, n + k) = q.type > 0 ? -coefficient : coefficient;
      }
      tab.t(i, n + mm + i) = 1.0;
      tab.rhs(i, 1) = -p(i, 1);
      if (tab.rhs(i, 1) >= 0.0) {
        tab.basis(i, 1) = n + mm + i;
        continue;
      }
      for (uint32_t j = 1; j <= 2 * n + mm; ++j) tab.t(i, j) = -tab.t(i, j);
      tab.rhs(i, 1) = -tab.rhs(i, 1);
      tab.t(i, ++column) = 1.0;
      tab.cost(1, column) = -1.0;
      tab.basis(i, 1) = column;
    }
    for (uint32_t k = 1; k <= mm; ++k) {
      const QpConstraint& q = constraints[k - 1];
      const uint32_t i = n + k;
      for (uint32_t j = 1; j <= n; ++j) tab.t(i, j) = q.sign * a(q.row, j);
      tab.t(i, 2 * n + mm + k) = q.type;
      tab.rhs(i, 1) = q.sign * b(q.row, 1);
      if (q.type > 0) {
        tab.basis(i, 1) = 2 * n + mm + k;
        continue;
      }
      tab.t(i, ++column) = 1.0;
      tab.cost(1, column) = -1.0;
      tab.basis(i, 1) = column;
    }
    tab.columns = column;
    const ProgramStatus iterated = QpRestrictedSimplex(tab, n, mm);
    if (iterated != kProgramSolved) return iterated;
    // The rounds may stop with an artificial column still positive although
    // the constraints can be met: x[i] may not enter while v[i] is basic, and
    // the slack columns make the system's quadratic part only semidefinite,
    // where the restricted rounds are not sure to finish.
    if (SimplexInfeasible(tab)) return ActiveSetQuadraticProgram(a, s, b, p, c, x, vector, m, n, epsilon);
    return SelectOptimumVector(tab, x, vector);
  } catch (const std::bad_alloc&) {
    return kProgramNoMemory;
  }
}
