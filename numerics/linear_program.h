#ifndef TALVERO_NUMERICS_LINEAR_PROGRAM_H
#define TALVERO_NUMERICS_LINEAR_PROGRAM_H

// Linear programs over non-negative variables, c.x maximised subject to
// rows of A with a type each (1 "<=", 0 "=", -1 ">="), solved by the simplex
// method with penalised artificial variables; branch and bound on top of it
// for integer and 0/1 restrictions. Matrices are 1-based columns (m x 1,
// n x 1) except A (m x n).

#include <cstdint>

#include "numerics/matrix.h"

enum ProgramStatus : int32_t {
  kProgramNoMemory = 0,
  kProgramSolved = 1,
  kProgramUnbounded = 2,
  kProgramInfeasible = 3,  // also a requested optimum vector beyond those found
  kProgramGaveUp = 4,      // the round or node cap was reached
};

// Pivots allowed per simplex run: degenerate problems end by Bland's rule
// well inside this; the cap only stops a run that cannot finish.
uint32_t SimplexRoundCap(uint32_t rows, uint32_t columns);
constexpr uint32_t kBranchNodeCap = 20000;

// The simplex tableau: T (rows x columns), the right-hand sides (later the
// basic variables' values), the running cost row K, the reduced costs D and
// the basic column of each row.
struct SimplexTableau {
  Matrix t, rhs, cost, reduced, basis;
  uint32_t rows = 0;
  uint32_t columns = 0;     // used columns: structural, slack, artificial
  uint32_t structural = 0;  // n
  uint32_t slackEnd = 0;    // last slack column
  double epsilon = 1e-8;
  uint32_t rounds = 0;      // pivots performed, over the tableau's life
  bool artificialsBarred = false;  // artificial columns may not enter

  uint32_t Basic(uint32_t row) const { return uint32_t(basis(row, 1) + 0.5); }
  // An empty tableau of the given rows and width with its tolerance; false
  // when memory runs out.
  bool Start(uint32_t rowCount, uint32_t width, uint32_t structuralCount, double tolerance);
};

// A bound row appended to the constraints: x[variable] <= value (type 1) or
// >= value (type -1).
struct BoundRow {
  uint32_t variable;
  int32_t type;
  double value;
};

// The penalty of the artificial variables when none is given.
double DefaultPenaltyCoefficient(const Matrix& a, const Matrix& c, uint32_t m, uint32_t n, double epsilon);

// Fills the tableau from A, s, b (right-hand sides 0 or more), c and the bound
// rows; false when memory runs out.
bool BuildSimplexTableau(SimplexTableau& tab, const Matrix& a, const Matrix& s, const Matrix& b, const Matrix& c,
                         uint32_t m, uint32_t n, const BoundRow* bounds, uint32_t boundCount, double penalty,
                         double epsilon);

// Simplex rounds to the optimum: kProgramSolved, kProgramUnbounded or
// kProgramGaveUp.
ProgramStatus SimplexIterate(SimplexTableau& tab);
// The rounds with the penalised costs, and, when they end without a leaving
// row or with an artificial variable still positive (a penalty too small for
// the problem gives both), a first phase that decides by the artificial
// variables alone whether the rows can be met, then the real costs from its
// basis: kProgramSolved, kProgramUnbounded, kProgramInfeasible or
// kProgramGaveUp.
ProgramStatus SolveSimplexTableau(SimplexTableau& tab);
// The reduced costs of every column into tab.reduced.
void ComputeReducedCosts(SimplexTableau& tab);
// The leaving row for column j (0 when none); with bland, ties go to the
// row of the lowest basic column.
uint32_t SimplexRatioTest(const SimplexTableau& tab, uint32_t j, bool bland);
void SimplexPivot(SimplexTableau& tab, uint32_t row, uint32_t j);
// Ratio test and pivot; false when the column has no leaving row.
bool SimplexPivotColumn(SimplexTableau& tab, uint32_t j);
// True when an artificial variable stays positive.
bool SimplexInfeasible(const SimplexTableau& tab);
bool IsBasicColumn(const SimplexTableau& tab, uint32_t j);
// The next non-basic structural or slack column after the given one whose
// reduced cost is zero (moving along it keeps the optimum); 0 when none.
uint32_t NextAlternativeColumn(const SimplexTableau& tab, uint32_t after);
// vector 0: the count of optimum vectors into vector; k: the k-th optimum
// vertex's solution into x (the (k-1)-th alternative column pivoted in).
ProgramStatus SelectOptimumVector(SimplexTableau& tab, Matrix& x, int32_t* vector);
// x[j] for the basic structural columns, 0 elsewhere.
void SimplexSolution(const SimplexTableau& tab, Matrix& x);

// Negates the rows with a negative right-hand side; returns the epsilon
// to use.
double PrepareLinearProgram(Matrix& a, Matrix& s, Matrix& b, uint32_t m, uint32_t n, double epsilon);

// vector in: 0 for the count of optimum vectors (left in vector), k for the
// k-th vector (left in x).
ProgramStatus SimplexLinearProgram(Matrix& a, Matrix& s, Matrix& b, const Matrix& c, Matrix& x, int32_t* vector,
                                   uint32_t m, uint32_t n, double epsilon, double penalty);
ProgramStatus BranchBoundProgram(Matrix& a, Matrix& s, Matrix& b, const Matrix& c, const Matrix& flags, Matrix& x,
                                 int32_t* vector, uint32_t m, uint32_t n, double epsilon, double penalty,
                                 bool binary);

// Maximises p.x - x'Cx over x >= 0 subject to the rows of A (Wolfe's method);
// statuses and vector as for SimplexLinearProgram, where the optimum vectors
// are the distinct ones whose objective equals the optimum's.
ProgramStatus QuadraticProgram(const Matrix& a, const Matrix& s, const Matrix& b, const Matrix& p, const Matrix& c,
                               Matrix& x, int32_t* vector, uint32_t m, uint32_t n, double epsilon);
// The same problem by Lemke's complementary pivoting, for when Wolfe's
// rounds stop short: kProgramInfeasible when the rows cannot be met,
// kProgramUnbounded when the objective grows without bound (C not positive
// semidefinite); the one optimum it finds is vector 1.
ProgramStatus LemkeQuadraticProgram(const Matrix& a, const Matrix& s, const Matrix& b, const Matrix& p,
                                    const Matrix& c, Matrix& x, int32_t* vector, uint32_t m, uint32_t n,
                                    double epsilon);

#endif
