#include "numerics/linear_program.h"

#include <cmath>
#include <new>
#include <vector>

namespace {

constexpr double kHalfLargest = 8.988465674311579e307;

int32_t RowType(double s) { return s > 0.0 ? 1 : (s < 0.0 ? -1 : 0); }

// After a first phase, the artificial columns still basic (at zero) make way
// for structural or slack columns, so that the real costs cannot raise them
// again; a row without such a column repeats others and keeps its
// artificial column, which no pivot then moves.
void DriveOutArtificials(SimplexTableau& tab) {
  for (uint32_t i = 1; i <= tab.rows; ++i) {
    if (tab.Basic(i) <= tab.slackEnd) continue;
    uint32_t column = 0;
    for (uint32_t j = 1; j <= tab.slackEnd; ++j)
      if (std::fabs(tab.t(i, j)) > tab.epsilon && !IsBasicColumn(tab, j) &&
          (column == 0 || std::fabs(tab.t(i, j)) > std::fabs(tab.t(i, column))))
        column = j;
    if (column == 0) continue;
    tab.rhs(i, 1) = 0.0;
    SimplexPivot(tab, i, column);
  }
}

}  // namespace

uint32_t SimplexRoundCap(uint32_t rows, uint32_t columns) { return 50u * (rows + columns) + 1000u; }

double DefaultPenaltyCoefficient(const Matrix& a, const Matrix& c, uint32_t m, uint32_t n, double epsilon) {
  double scale = 1.0;
  for (uint32_t i = 1; i <= m; ++i)
    for (uint32_t j = 1; j <= n; ++j) {
      const double v = std::fabs(a(i, j));
      if (!(v > epsilon)) continue;
      const double term = v < 1.0 ? 10.0 / v : 10.0 * v;
      if (term < kHalfLargest && term > scale) scale = term;
    }
  double penalty = scale;
  for (uint32_t j = 1; j <= n; ++j) {
    const double term = 10.0 * std::fabs(c(j, 1)) * scale;
    if (term < kHalfLargest && term > penalty) penalty = term;
  }
  return penalty;
}

double PrepareLinearProgram(Matrix& a, Matrix& s, Matrix& b, uint32_t m, uint32_t n, double epsilon) {
  for (uint32_t i = 1; i <= m; ++i) {
    if (!(b(i, 1) < 0.0)) continue;
    for (uint32_t j = 1; j <= n; ++j) a(i, j) = -a(i, j);
    b(i, 1) = -b(i, 1);
    s(i, 1) = -s(i, 1);
  }
  return epsilon > 0.0 ? epsilon : 1e-8;
}

bool SimplexTableau::Start(uint32_t rowCount, uint32_t width, uint32_t structuralCount, double tolerance) {
  if (!t.Resize(rowCount, width) || !rhs.Resize(rowCount, 1) || !cost.Resize(1, width) ||
      !reduced.Resize(1, width) || !basis.Resize(rowCount, 1))
    return false;
  t.Zero();
  rhs.Zero();
  cost.Zero();
  reduced.Zero();
  basis.Zero();
  rows = rowCount;
  structural = structuralCount;
  epsilon = tolerance;
  artificialsBarred = false;
  return true;
}

bool BuildSimplexTableau(SimplexTableau& tab, const Matrix& a, const Matrix& s, const Matrix& b, const Matrix& c,
                         uint32_t m, uint32_t n, const BoundRow* bounds, uint32_t boundCount, double penalty,
                         double epsilon) {
  const uint32_t rows = m + boundCount;
  const uint32_t width = n + 2 * rows;
  if (!tab.Start(rows, width, n, epsilon))
    return false;
  std::vector<int32_t> types;
  types.resize(rows + 1);
  for (uint32_t i = 1; i <= m; ++i) {
    for (uint32_t j = 1; j <= n; ++j) tab.t(i, j) = a(i, j);
    tab.rhs(i, 1) = b(i, 1);
    types[i] = RowType(s(i, 1));
  }
  for (uint32_t k = 0; k < boundCount; ++k) {
    tab.t(m + 1 + k, bounds[k].variable) = 1.0;
    tab.rhs(m + 1 + k, 1) = bounds[k].value;
    types[m + 1 + k] = bounds[k].type;
  }
  for (uint32_t j = 1; j <= n; ++j) tab.cost(1, j) = c(j, 1);
  uint32_t column = n;
  for (uint32_t i = 1; i <= rows; ++i) {
    if (types[i] == 0) continue;
    tab.t(i, ++column) = types[i];
    if (types[i] > 0) tab.basis(i, 1) = column;
  }
  tab.slackEnd = column;
  for (uint32_t i = 1; i <= rows; ++i) {
    if (tab.basis(i, 1) != 0.0) continue;
    tab.t(i, ++column) = 1.0;
    tab.cost(1, column) = -penalty;
    tab.basis(i, 1) = column;
  }
  tab.columns = column;
  return true;
}

void ComputeReducedCosts(SimplexTableau& tab) {
  for (uint32_t j = 1; j <= tab.columns; ++j) {
    double d = tab.cost(1, j);
    for (uint32_t i = 1; i <= tab.rows; ++i) d -= tab.cost(1, tab.Basic(i)) * tab.t(i, j);
    tab.reduced(1, j) = d;
  }
}

uint32_t SimplexRatioTest(const SimplexTableau& tab, uint32_t j, bool bland) {
  uint32_t leaving = 0;
  double best = 0.0;
  for (uint32_t i = 1; i <= tab.rows; ++i) {
    const double entry = tab.t(i, j);
    if (!(entry > tab.epsilon)) continue;
    const double ratio = tab.rhs(i, 1) / entry;
    if (leaving == 0 || ratio < best || (bland && ratio == best && tab.Basic(i) < tab.Basic(leaving))) {
      leaving = i;
      best = ratio;
    }
  }
  return leaving;
}

void SimplexPivot(SimplexTableau& tab, uint32_t row, uint32_t j) {
  const double pivot = tab.t(row, j);
  for (uint32_t c = 1; c <= tab.columns; ++c) tab.t(row, c) /= pivot;
  tab.rhs(row, 1) /= pivot;
  tab.t(row, j) = 1.0;
  for (uint32_t i = 1; i <= tab.rows; ++i) {
    if (i == row) continue;
    const double factor = tab.t(i, j);
    if (factor == 0.0) continue;
    for (uint32_t c = 1; c <= tab.columns; ++c) tab.t(i, c) -= factor * tab.t(row, c);
    tab.rhs(i, 1) -= factor * tab.rhs(row, 1);
    tab.t(i, j) = 0.0;
  }
  const double factor = tab.cost(1, j);
  for (uint32_t c = 1; c <= tab.columns; ++c) tab.cost(1, c) -= factor * tab.t(row, c);
  tab.cost(1, j) = 0.0;
  tab.basis(row, 1) = j;
  ++tab.rounds;
}

bool SimplexPivotColumn(SimplexTableau& tab, uint32_t j) {
  const uint32_t row = SimplexRatioTest(tab, j, false);
  if (row == 0) return false;
  SimplexPivot(tab, row, j);
  return true;
}

ProgramStatus SimplexIterate(SimplexTableau& tab) {
  const uint32_t cap = SimplexRoundCap(tab.rows, tab.columns);
  // The steepest column may cycle through degenerate vertices; after a pivot
  // that did not move, the lowest-index rule takes over until one does.
  bool bland = false;
  for (uint32_t round = 0;; ++round) {
    ComputeReducedCosts(tab);
    uint32_t entering = 0;
    double best = tab.epsilon;
    const uint32_t candidates = tab.artificialsBarred ? tab.slackEnd : tab.columns;
    for (uint32_t j = 1; j <= candidates; ++j) {
      const double d = tab.reduced(1, j);
      if (!(d > best) || IsBasicColumn(tab, j)) continue;
      entering = j;
      if (bland) break;
      best = d;
    }
    if (entering == 0) return kProgramSolved;
    if (round >= cap) return kProgramGaveUp;
    const uint32_t row = SimplexRatioTest(tab, entering, bland);
    if (row == 0) return kProgramUnbounded;
    bland = !(tab.rhs(row, 1) > tab.epsilon);
    SimplexPivot(tab, row, entering);
  }
}

ProgramStatus SolveSimplexTableau(SimplexTableau& tab) {
  std::vector<double> costs(tab.columns + 1);
  for (uint32_t j = 1; j <= tab.columns; ++j) costs[j] = j <= tab.slackEnd ? tab.cost(1, j) : 0.0;
  ProgramStatus status = SimplexIterate(tab);
  if (status == kProgramGaveUp || (status == kProgramSolved && !SimplexInfeasible(tab))) return status;
  for (uint32_t j = 1; j <= tab.columns; ++j) tab.cost(1, j) = j <= tab.slackEnd ? 0.0 : -1.0;
  status = SimplexIterate(tab);
  if (status != kProgramSolved) return status;
  if (SimplexInfeasible(tab)) return kProgramInfeasible;
  DriveOutArtificials(tab);
  for (uint32_t j = 1; j <= tab.columns; ++j) tab.cost(1, j) = costs[j];
  tab.artificialsBarred = true;
  return SimplexIterate(tab);
}

bool SimplexInfeasible(const SimplexTableau& tab) {
  for (uint32_t i = 1; i <= tab.rows; ++i)
    if (tab.Basic(i) > tab.slackEnd && std::fabs(tab.rhs(i, 1)) > tab.epsilon) return true;
  return false;
}

void SimplexSolution(const SimplexTableau& tab, Matrix& x) {
  for (uint32_t j = 1; j <= tab.structural; ++j) x(j, 1) = 0.0;
  for (uint32_t i = 1; i <= tab.rows; ++i) {
    const uint32_t j = tab.Basic(i);
    if (j >= 1 && j <= tab.structural) x(j, 1) = tab.rhs(i, 1);
  }
}

bool IsBasicColumn(const SimplexTableau& tab, uint32_t j) {
  for (uint32_t i = 1; i <= tab.rows; ++i)
    if (tab.Basic(i) == j) return true;
  return false;
}

uint32_t NextAlternativeColumn(const SimplexTableau& tab, uint32_t after) {
  for (uint32_t j = after + 1; j <= tab.slackEnd; ++j)
    if (std::fabs(tab.reduced(1, j)) <= tab.epsilon && !IsBasicColumn(tab, j)) return j;
  return 0;
}

ProgramStatus SelectOptimumVector(SimplexTableau& tab, Matrix& x, int32_t* vector) {
  if (*vector == 0) {
    int32_t count = 1;
    for (uint32_t j = NextAlternativeColumn(tab, 0); j != 0; j = NextAlternativeColumn(tab, j)) ++count;
    *vector = count;
    return kProgramSolved;
  }
  if (*vector >= 2) {
    uint32_t j = 0;
    for (int32_t k = 1; k < *vector; ++k) {
      j = NextAlternativeColumn(tab, j);
      if (j == 0) return kProgramInfeasible;
    }
    if (!SimplexPivotColumn(tab, j)) return kProgramUnbounded;
  }
  SimplexSolution(tab, x);
  return kProgramSolved;
}

ProgramStatus SimplexLinearProgram(Matrix& a, Matrix& s, Matrix& b, const Matrix& c, Matrix& x, int32_t* vector,
                                   uint32_t m, uint32_t n, double epsilon, double penalty) {
  epsilon = PrepareLinearProgram(a, s, b, m, n, epsilon);
  if (!(penalty > 0.0)) penalty = DefaultPenaltyCoefficient(a, c, m, n, epsilon);
  SimplexTableau tab;
  if (!BuildSimplexTableau(tab, a, s, b, c, m, n, nullptr, 0, penalty, epsilon)) return kProgramNoMemory;
  const ProgramStatus solved = SolveSimplexTableau(tab);
  if (solved != kProgramSolved) return solved;
  return SelectOptimumVector(tab, x, vector);
}
