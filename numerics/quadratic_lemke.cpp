#include <cmath>
#include <new>
#include <vector>

#include "numerics/linear_program.h"

// The conditions of the program as a linear complementarity problem: with
// every row written as g.x <= h (an equality as two rows), H = C + C', and
// z = (x, u) for the variables and the rows' multipliers,
//   w = M z + q,  M = [H G'; -G 0],  q = (-p, h),  w, z >= 0,  w.z = 0,
// where w = (v, slack) are x's reduced costs and the rows' slacks. Lemke's
// method reaches a solution, or a ray when there is none, in finitely many
// pivots for the positive semidefinite M of a convex program; ties in the
// ratio test are broken lexicographically, which keeps degenerate rows (as
// rows that repeat others make) from cycling.

namespace {

// The tableau w - M z - z0 e = q: columns 1..N are z (x first, so that the
// tableau's solution gives x), N + 1 .. 2N are w, 2N + 1 is z0.
struct LemkeColumns {
  uint32_t size;  // N
  uint32_t Complement(uint32_t j) const { return j <= size ? j + size : j - size; }
  uint32_t Z0() const { return 2 * size + 1; }
};

// Every row of the program as g.x <= h.
void InequalityRows(const Matrix& s, uint32_t m, std::vector<uint32_t>& rows, std::vector<double>& signs) {
  for (uint32_t k = 1; k <= m; ++k) {
    if (s(k, 1) >= 0.0) {
      rows.push_back(k);
      signs.push_back(1.0);
    }
    if (s(k, 1) <= 0.0) {
      rows.push_back(k);
      signs.push_back(-1.0);
    }
  }
}

// The leaving row for column j: the smallest ratio; among equal ratios z0's
// row, else the lexicographically smallest row of the inverse basis (the w
// columns) divided by its entry. 0 when no entry is positive.
uint32_t LexicographicRatioTest(const SimplexTableau& tab, const LemkeColumns& columns, uint32_t j) {
  uint32_t leaving = 0;
  double best = 0.0;
  const double tie = tab.epsilon;
  for (uint32_t i = 1; i <= tab.rows; ++i) {
    const double entry = tab.t(i, j);
    if (!(entry > tab.epsilon)) continue;
    const double ratio = tab.rhs(i, 1) / entry;
    if (leaving == 0 || ratio < best - tie * std::fmax(1.0, std::fabs(best))) {
      leaving = i;
      best = ratio;
      continue;
    }
    if (ratio > best + tie * std::fmax(1.0, std::fabs(best))) continue;
    if (tab.Basic(leaving) == columns.Z0()) continue;
    if (tab.Basic(i) == columns.Z0()) {
      leaving = i;
      continue;
    }
    for (uint32_t k = columns.size + 1; k <= 2 * columns.size; ++k) {
      const double mine = tab.t(i, k) / entry;
      const double theirs = tab.t(leaving, k) / tab.t(leaving, j);
      if (std::fabs(mine - theirs) <= tie * std::fmax(1.0, std::fabs(theirs))) continue;
      if (mine < theirs) leaving = i;
      break;
    }
  }
  return leaving;
}

// Whether any x >= 0 meets the rows: a linear program with no objective.
ProgramStatus RowsCanBeMet(const Matrix& a, const Matrix& s, const Matrix& b, uint32_t m, uint32_t n,
                           double epsilon) {
  Matrix aa, ss, bb, zero, point;
  if (!aa.Resize(m, n) || !ss.Resize(m, 1) || !bb.Resize(m, 1) || !zero.Resize(n, 1) || !point.Resize(n, 1))
    return kProgramNoMemory;
  for (uint32_t i = 1; i <= m; ++i) {
    for (uint32_t j = 1; j <= n; ++j) aa(i, j) = a(i, j);
    ss(i, 1) = s(i, 1);
    bb(i, 1) = b(i, 1);
  }
  zero.Zero();
  int32_t vector = 1;
  return SimplexLinearProgram(aa, ss, bb, zero, point, &vector, m, n, epsilon, 1.0);
}

}  // namespace

ProgramStatus LemkeQuadraticProgram(const Matrix& a, const Matrix& s, const Matrix& b, const Matrix& p,
                                    const Matrix& c, Matrix& x, int32_t* vector, uint32_t m, uint32_t n,
                                    double epsilon) {
  try {
    std::vector<uint32_t> rows;
    std::vector<double> signs;
    InequalityRows(s, m, rows, signs);
    const uint32_t mm = uint32_t(rows.size());
    const LemkeColumns columns{n + mm};
    const uint32_t size = columns.size;
    SimplexTableau tab;
    if (!tab.Start(size, 2 * size + 1, n, epsilon)) return kProgramNoMemory;
    tab.columns = 2 * size + 1;
    tab.slackEnd = tab.columns;
    for (uint32_t i = 1; i <= size; ++i) {
      tab.t(i, size + i) = 1.0;
      tab.t(i, columns.Z0()) = -1.0;
      tab.basis(i, 1) = size + i;
    }
    for (uint32_t i = 1; i <= n; ++i) {
      for (uint32_t j = 1; j <= n; ++j) tab.t(i, j) = -(c(i, j) + c(j, i));
      for (uint32_t k = 1; k <= mm; ++k) tab.t(i, n + k) = -signs[k - 1] * a(rows[k - 1], i);
      tab.rhs(i, 1) = -p(i, 1);
    }
    for (uint32_t k = 1; k <= mm; ++k) {
      for (uint32_t j = 1; j <= n; ++j) tab.t(n + k, j) = signs[k - 1] * a(rows[k - 1], j);
      tab.rhs(n + k, 1) = signs[k - 1] * b(rows[k - 1], 1);
    }
    // z0 enters where q is most negative (the first such row), which makes
    // every right-hand side 0 or more; none negative: x = 0 is the optimum.
    uint32_t row = 0;
    for (uint32_t i = 1; i <= size; ++i)
      if (tab.rhs(i, 1) < 0.0 && (row == 0 || tab.rhs(i, 1) < tab.rhs(row, 1))) row = i;
    uint32_t entering = columns.Z0();
    const uint32_t cap = SimplexRoundCap(tab.rows, tab.columns);
    for (uint32_t round = 0; row != 0; ++round) {
      if (round >= cap) return kProgramGaveUp;
      const uint32_t leaving = tab.Basic(row);
      SimplexPivot(tab, row, entering);
      if (leaving == columns.Z0()) break;
      entering = columns.Complement(leaving);
      row = LexicographicRatioTest(tab, columns, entering);
      // A ray: the conditions have no solution, so the rows cannot be met or
      // the objective grows without bound.
      if (row == 0) {
        const ProgramStatus feasible = RowsCanBeMet(a, s, b, m, n, epsilon);
        return feasible == kProgramSolved ? kProgramUnbounded : feasible;
      }
    }
    // A strictly convex objective has one optimum.
    if (*vector == 0) {
      *vector = 1;
      return kProgramSolved;
    }
    if (*vector > 1) return kProgramInfeasible;
    SimplexSolution(tab, x);
    for (uint32_t j = 1; j <= n; ++j) x(j, 1) = x(j, 1) > 0.0 ? x(j, 1) : 0.0;
    return kProgramSolved;
  } catch (const std::bad_alloc&) {
    return kProgramNoMemory;
  }
}
