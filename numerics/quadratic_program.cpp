#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "numerics/linear_algebra.h"
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

double Objective(const Matrix& p, const Matrix& c, const Matrix& x, uint32_t n) {
  double z = 0.0;
  for (uint32_t i = 1; i <= n; ++i) {
    z += p(i, 1) * x(i, 1);
    for (uint32_t j = 1; j <= n; ++j) z -= x(i, 1) * c(i, j) * x(j, 1);
  }
  return z;
}

// Whether no complementary pair (x[i] and v[i], u[k] and the slack of
// constraint k) has both members positive: the basis then solves the
// optimality conditions, not only their linear part.
bool Complementary(const SimplexTableau& tab, uint32_t n, uint32_t m) {
  std::vector<double> values(tab.columns + 1, 0.0);
  for (uint32_t i = 1; i <= tab.rows; ++i) values[tab.Basic(i)] = tab.rhs(i, 1);
  for (uint32_t j = 1; j <= n + m; ++j)
    if (values[j] > tab.epsilon && values[ComplementOf(j, n, m)] > tab.epsilon) return false;
  return true;
}

bool CopyTableau(const SimplexTableau& from, SimplexTableau& to) {
  if (!to.Start(from.rows, from.t.cols, from.structural, from.epsilon)) return false;
  CopySubmatrix(from.t, to.t, int32_t(from.rows), int32_t(from.t.cols), 1, 1);
  CopySubmatrix(from.rhs, to.rhs, int32_t(from.rows), 1, 1, 1);
  CopySubmatrix(from.cost, to.cost, 1, int32_t(from.t.cols), 1, 1);
  CopySubmatrix(from.reduced, to.reduced, 1, int32_t(from.t.cols), 1, 1);
  CopySubmatrix(from.basis, to.basis, int32_t(from.rows), 1, 1, 1);
  to.columns = from.columns;
  to.slackEnd = from.slackEnd;
  return true;
}

// The optimum vectors: the optimal basis's solution, then that of each
// alternative column pivoted into a copy of it. Most such pivots break the
// complementarity that made the basis optimal, and others only exchange
// multipliers; a vector counts when it meets the constraints and the
// conditions, reaches the optimum's objective within epsilon and differs
// from those counted (a vertex near the optimum can come within epsilon of
// its objective without being optimal).
ProgramStatus SelectQuadraticOptimum(const SimplexTableau& tab, const Matrix& p, const Matrix& c, uint32_t n,
                                     uint32_t m, Matrix& x, int32_t* vector) {
  Matrix optimum, point;
  if (!optimum.Resize(n, 1) || !point.Resize(n, 1)) return kProgramNoMemory;
  SimplexSolution(tab, optimum);
  if (*vector == 1) {
    SimplexSolution(tab, x);
    return kProgramSolved;
  }
  const double best = Objective(p, c, optimum, n);
  const double tolerance = tab.epsilon * std::fmax(1.0, std::fabs(best));
  std::vector<std::vector<double>> found(1, std::vector<double>(optimum.Doubles(), optimum.Doubles() + n));
  SimplexTableau work;
  for (uint32_t j = NextAlternativeColumn(tab, 0); j != 0; j = NextAlternativeColumn(tab, j)) {
    if (!CopyTableau(tab, work)) return kProgramNoMemory;
    if (!SimplexPivotColumn(work, j) || SimplexInfeasible(work) || !Complementary(work, n, m)) continue;
    SimplexSolution(work, point);
    if (std::fabs(Objective(p, c, point, n) - best) > tolerance) continue;
    const auto samePoint = [&](const std::vector<double>& counted) {
      for (uint32_t k = 1; k <= n; ++k)
        if (std::fabs(point(k, 1) - counted[k - 1]) > tab.epsilon * std::fmax(1.0, std::fabs(counted[k - 1])))
          return false;
      return true;
    };
    if (std::any_of(found.begin(), found.end(), samePoint)) continue;
    found.emplace_back(point.Doubles(), point.Doubles() + n);
    if (int32_t(found.size()) == *vector) {
      SimplexSolution(work, x);
      return kProgramSolved;
    }
  }
  if (*vector != 0) return kProgramInfeasible;
  *vector = int32_t(found.size());
  return kProgramSolved;
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
    // The rounds may stop with an artificial column still positive although
    // the constraints can be met: x[i] may not enter while v[i] is basic, and
    // the slack columns make the system's quadratic part only semidefinite,
    // where the restricted rounds are not sure to finish.
    if (QpRestrictedSimplex(tab, n, mm) != kProgramSolved || SimplexInfeasible(tab))
      return LemkeQuadraticProgram(a, s, b, p, c, x, vector, m, n, epsilon);
    return SelectQuadraticOptimum(tab, p, c, n, mm, x, vector);
  } catch (const std::bad_alloc&) {
    return kProgramNoMemory;
  }
}
