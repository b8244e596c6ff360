#ifndef TALVERO_NUMERICS_FORMULA_SOLVERS_H
#define TALVERO_NUMERICS_FORMULA_SOLVERS_H

// Searches over a formula cell: trial values are written into the variable
// cells' stored numbers, the formula cells between them and the target are
// recalculated in place, and the target's formula text is evaluated afresh
// in a nested evaluator, without a recalculation pass; a numbers-only target
// that reads no formula cell is compiled once per search instead. The variables and the
// cells between get their previous values back whatever way the search ends.

#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/formula/eval_state.h"
#include "core/recalc/dependency_path.h"
#include "numerics/matrix.h"

constexpr uint32_t kMaxSolverVariables = 1023;
// Secant steps ROOT takes before it gives up.
constexpr uint32_t kRootStepCap = 1000;

// A target formula may itself call a solver (even on its own cell): each
// level multiplies the evaluations, and a self-reference would never end.
constexpr int32_t kMaxSolverNesting = 2;

// Counts the searches in progress for as long as it lives.
class SolverNesting {
 public:
  SolverNesting();
  ~SolverNesting();
  SolverNesting(const SolverNesting&) = delete;
  SolverNesting& operator=(const SolverNesting&) = delete;
  // False when too many searches are nested to start another.
  bool Allowed() const { return allowed_; }
  // 0 for a search that no other search encloses, 1 for one inside the
  // target of another, and so on; at most kMaxSolverNesting, as a refused
  // search evaluates nothing.
  int32_t Level() const { return level_; }

 private:
  int32_t level_;
  bool allowed_;
};

class SolverVariables {
 public:
  SolverVariables() = default;
  ~SolverVariables() { Restore(); }
  SolverVariables(const SolverVariables&) = delete;
  SolverVariables& operator=(const SolverVariables&) = delete;

  // False when the cell is missing, is not a number, or is a formula without
  // a cached number, or when the list is full.
  bool Add(CellRecord* cell);
  uint32_t Count() const { return count_; }
  const CellRecord* const* Cells() const { return cells_; }
  double Value(uint32_t i) const;
  void Set(uint32_t i, double value);
  void Restore();

 private:
  // Only the first count_ entries are ever read: clearing 16 KB for the one
  // variable of a root search would cost more than the search's set-up.
  CellRecord* cells_[kMaxSolverVariables];
  double saved_[kMaxSolverVariables];
  uint32_t count_ = 0;
};

// Cells a numbers-only target reads, at most, for its cells to be found once
// for the whole search rather than at every evaluation.
constexpr uint32_t kMaxFoundTargetCells = 16;

// The records of the target's cell references, in the order its program
// takes them, found while the worksheet showed the count of chain changes
// kept here: the search writes trial numbers in place, so the records stay
// where they are until something adds, removes or moves a cell.
struct FoundTargetCells {
  enum : uint8_t { kNotFound, kFound, kUnusable };
  const CellRecord* cells[kMaxFoundTargetCells];
  uint16_t columns[kMaxFoundTargetCells];
  uint64_t changes;
  uint32_t count;
  uint8_t state;
};

// Steps a numbers-only target may have, at most, to be compiled for a search.
constexpr uint32_t kMaxTrialSteps = 48;
// A slot for each operand taken and each operator's result, and one more
// for a unary operator's constant operand.
constexpr uint32_t kMaxTrialSlots = 2 * kMaxTrialSteps;
static_assert(kMaxTrialSlots <= 256, "an operation names its slots by a byte");

// An operator of a compiled target, over numbers kept in the program's slots.
struct TrialOperation {
  uint8_t op;
  uint8_t left;
  uint8_t right;
  uint8_t result;
};

// A numbers-only target without a path compiled for one search: within a
// search only the variables change, so the cells that are no variable are
// read once, operators on numbers that never change are applied once, and
// each trial reads the variables and applies the other operators in their
// order on doubles. Compiled with the found cells, and given up (for the
// found cells) after a trial it could not finish, since the general
// evaluation may then change what a cell reads.
//
// The operations and their slots alone, which name no cell: what a search
// runs, and what is kept of a program for a later target of the same text.
struct TrialOperations {
  double slots[kMaxTrialSlots];
  TrialOperation operations[kMaxTrialSteps];
  // The operators on numbers that never change, applied once, in order:
  // kept for the program to be filled again for another cell.
  TrialOperation folds[kMaxTrialSteps];
  // Each found cell's slot, in the order the program takes them; a
  // variable's is kVariableCellSlot.
  uint8_t cellSlots[kMaxFoundTargetCells];
  uint8_t variableSlots[kMaxFoundTargetCells];
  uint32_t operationCount;
  uint32_t variableCount;
  uint32_t foldCount;
  uint32_t cellCount;
  uint8_t resultSlot;
};
// The program of one search: its operations and the records of the
// variables it reads, valid while the search lasts.
struct TrialProgram : TrialOperations {
  const CellRecord* variables[kMaxFoundTargetCells];
  uint16_t columns[kMaxFoundTargetCells];
  bool usable;
};
constexpr uint8_t kVariableCellSlot = 0xFF;
static_assert(kMaxTrialSlots < kVariableCellSlot, "no slot is taken for the mark");

// The target formula, evaluated at its own cell of its own worksheet after
// the cells of its path, when it has one.
struct SolverTarget {
  EvalState* nested;
  CellStore* sheet;
  const CellRecord* cell;
  DependencyPath* path;
  // The tokens the caller's evaluator kept for the text, found once for the
  // whole search; null when it kept none.
  const ScannedFormula* tokens;
  FoundTargetCells found;
  // The search's variables, known once its path is traced.
  const SolverVariables* variables;
  // A root search's one variable when it lies on the target's worksheet,
  // found there while the worksheet showed the count of chain changes kept
  // beside it: the target's references to its cell take the record without
  // looking it up again. Null for any other search.
  const CellRecord* knownVariable;
  uint64_t knownVariableChanges;
  TrialProgram trial;
  // The formula text, NUL-terminated once TargetText has copied it.
  char text[kFormulaTextCapacity + 1];
  uint16_t textLength;
  bool textCopied;
  uint32_t row;
  uint16_t column;
  // Set once the nested evaluator scans or evaluates anything: until then
  // it holds nothing its owner must give back.
  bool evaluated;
};

// False when the cell is not a formula with a cached number or its text is
// too long.
bool LoadSolverTarget(SolverTarget& target, EvalState& nested, CellStore* sheet, const CellRecord* cell);

// Notes the one variable of a root search, found on variableSheet, for the
// target's references to its cell.
void KnowRootVariable(SolverTarget& target, const CellStore* variableSheet, const SolverVariables& variable);

// Finds the formula cells through which the target reads the variables;
// they are recalculated before each evaluation of the target and restored
// with the path. 0, or the error the search gives instead of its result.
// caller is the evaluator that called the solver: a path cell its pass has
// not calculated yet is noted pending there.
uint8_t TraceSolverPath(SolverTarget& target, const SolverVariables& variables, DependencyPath& path,
                        EvalState& caller);

// True with the number when the formula gives a number without error.
bool EvaluateFormulaValue(SolverTarget& target, double* out);


// What SearchKeptRoot did.
enum : uint8_t { kKeptRootNotTaken, kKeptRootFound, kKeptRootNone };

// A root search over target, a numbers-only formula cell, and variable, a
// plain number cell on the same worksheet, when an earlier search compiled
// the same formula text with its variable at the same references: that
// program is filled from this target's cells and searched without setting
// up the general search. kKeptRootFound with the root, kKeptRootNone when
// the search fails as the general one would, kKeptRootNotTaken (nothing
// changed) whenever the general search must decide: no such program, a
// cell it cannot read as a number, a formula among the cells, or a trial
// it cannot finish.
uint8_t SearchKeptRoot(EvalState& nested, CellStore& sheet, const CellRecord* target, const CellRecord* variable,
                       double x0, double x1, double epsilon, double* root);

// The root of f between x0 and x1 (f of opposite signs there) by the secant
// method with the Illinois modification; false, root left as it was, when
// the bracket is lost, an evaluation fails or the step cap is reached. The
// variable may hold any
// trial value or none afterwards: the caller restores it.
bool FindRootSecant(SolverTarget& target, SolverVariables& variable, double x0, double x1, double epsilon,
                    double* root);

// count uniform points over [from, to) for the varied variables; the best
// stays in the variables. False when an evaluation fails.
bool MinimizeMonteCarlo(SolverTarget& target, SolverVariables& variables, const Matrix& flags, double from, double to,
                        int32_t points, double* best);

// Nelder and Mead's simplex over the varied variables; the best vertex stays
// in the variables. False when an evaluation fails or maxSteps is passed.
bool MinimizeSimplex(SolverTarget& target, SolverVariables& variables, const Matrix& flags, double start,
                     double epsilon, int32_t maxSteps, int32_t* steps, double* best);

#endif
