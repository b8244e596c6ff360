#include "core/base/error_code.h"
#include "core/formula/eval_value.h"
#include "core/formula/kept_cell_lookups.h"
#include "numerics/formula_solvers.h"
#include "numerics/matrix_call.h"
#include "numerics/solver_handlers.h"

namespace {

constexpr double kLargest = 1.7976931348623157e308;

CellStore* SheetOf(const EvalState& state, const EvalValue& value) { return value.sheet ? value.sheet : state.sheet; }

// The cells a reference argument names: one cell, or a one-column range of
// at most kMaxSolverVariables rows. "#REF!" for anything else. A single
// cell is found where the target's evaluations will look for it.
// A variable holding a formula is read as that formula's value of this pass:
// one not yet calculated is noted, so that the pass calculates it first and
// then runs the search again; so is the formula of a result area the cell
// lies in, which may still write it, whether the cell is there or not.
bool AddVariable(EvalState& state, CellStore* sheet, uint32_t row, uint32_t column, CellRecord* cell,
                 SolverVariables& variables) {
  if (cell)
    state.NotePending(cell, sheet);
  else
    state.NoteSpillAreaMeeting(sheet, column, column, row, row);
  return variables.Add(cell);
}

uint32_t AddReferencedVariables(EvalState& state, uint16_t slot, KeptCellLookups& cells, SolverVariables& variables) {
  const EvalValue& value = state.operands[slot];
  if (value.error != 0) return value.error;
  CellStore* sheet = SheetOf(state, value);
  if (!sheet) return kErrorRef;
  if (value.kind == kEvalCellRef)
    return AddVariable(state, sheet, value.cell.row, value.cell.column,
                       cells.Find(*sheet, value.cell.row, uint16_t(value.cell.column)), variables)
               ? 0
               : kErrorRef;
  if (value.kind != kEvalRange || value.first.column != value.second.column ||
      value.second.row - value.first.row >= kMaxSolverVariables || !IsFullCell(value.first) ||
      !IsFullCell(value.second))
    return kErrorRef;
  for (uint32_t row = value.first.row; row <= value.second.row; ++row)
    if (!AddVariable(state, sheet, row, value.first.column, sheet->GetCell(row, uint16_t(value.first.column)),
                     variables))
      return kErrorRef;
  return 0;
}

// The worksheet of a single cell argument, whose record the kept lookups
// found; else null.
const CellStore* CellRefSheet(const EvalState& state, uint16_t slot) {
  const EvalValue& value = state.operands[slot];
  return value.kind == kEvalCellRef && value.error == 0 ? SheetOf(state, value) : nullptr;
}

// The target's record when the recalculation pass has just written its
// number in place, as it has for a target beside the search; else null.
const CellRecord* TargetStoredByPass(const EvalState& state, uint16_t slot) {
  const EvalState::StoredFormulaCell& stored = state.lastStored;
  const EvalValue& value = state.operands[slot];
  if (!stored.cell || value.kind != kEvalCellRef || value.error != 0) return nullptr;
  const CellStore* sheet = SheetOf(state, value);
  if (stored.store != sheet || stored.changes != sheet->ChainChanges() || stored.cell->Row() != value.cell.row ||
      stored.cell->Column() != value.cell.column)
    return nullptr;
  return stored.cell;
}

uint32_t LoadTarget(EvalState& state, uint16_t slot, EvalState& nested, KeptCellLookups& cells,
                    const CellRecord* stored, SolverTarget& target) {
  const EvalValue& value = state.operands[slot];
  if (value.error != 0) return value.error;
  CellStore* sheet = SheetOf(state, value);
  if (value.kind != kEvalCellRef || !sheet) return kErrorRef;
  const CellRecord* cell = stored ? stored : cells.Find(*sheet, value.cell.row, uint16_t(value.cell.column));
  // The target must show a number in this pass: one not yet calculated is
  // calculated first.
  if (cell) state.NotePending(cell, sheet);
  return LoadSolverTarget(target, nested, sheet, cell) ? 0 : kErrorRef;
}

// The variable's column when it lies in the row on the same worksheet,
// else 0.
uint32_t VariableColumnIn(const EvalState& state, uint16_t variableSlot, const CellStore* sheet, uint32_t row) {
  const EvalValue& variable = state.operands[variableSlot];
  return variable.kind == kEvalCellRef && SheetOf(state, variable) == sheet && variable.cell.row == row
             ? variable.cell.column
             : 0;
}

// A root search's target, its variable and the target's own cells mostly
// lie in one row: its cells up to the target's column, or the variable's
// when further right, are found by one walk.
void KeepTargetRow(const EvalState& state, uint16_t targetSlot, uint16_t variableSlot, KeptCellLookups& cells) {
  const EvalValue& target = state.operands[targetSlot];
  CellStore* sheet = SheetOf(state, target);
  if (target.kind != kEvalCellRef || target.error != 0 || !sheet || !IsFullCell(target.cell)) return;
  uint32_t lastColumn = target.cell.column;
  const uint32_t variableColumn = VariableColumnIn(state, variableSlot, sheet, target.cell.row);
  if (variableColumn > lastColumn) lastColumn = variableColumn;
  if (lastColumn < KeptCellLookups::kRowSpan) cells.KeepRow(*sheet, target.cell.row, uint16_t(lastColumn));
}

// GetArgNumber, with a plain number argument read in place.
inline uint8_t NumberArg(EvalState& state, uint16_t slot, double* out, double min, double max) {
  const EvalValue& value = state.operands[slot];
  // An omitted argument leaves the default, as GetArgNumber leaves it.
  if (value.kind == kEvalEmpty && value.error == 0) return 0;
  if (value.kind != kEvalNumber || value.error != 0) return GetArgNumber(state, slot, out, min, max);
  *out = value.number;
  return value.number >= min && value.number <= max ? 0 : uint8_t(kErrorNum);
}

// A nested evaluator over the caller's workbook and worksheet, which takes
// the tokens its caller kept and finds the cells of the target's references
// once for the whole search. Each level of nesting keeps its evaluator from
// one search to the next: making one clears some kilobytes of tables, which
// costs a root search about as much as the rest of its set-up.
class NestedEvaluator {
 public:
  NestedEvaluator(EvalState& state, const SolverNesting& nesting)
      : evaluator(LevelEvaluator(nesting.Level())), outer_(state) {
    evaluator.StartOneCall(state.owner, state.sheet);
    evaluator.resolveSheet = state.resolveSheet;
    evaluator.ownersFormulas = &state.scannedFormulas;
    evaluator.keptCells = &cells;
    // The target's evaluations read cells as the pass stands: they know
    // its unsettled result areas, and what they find not yet calculated
    // the caller's formula waits for as if it had read it itself.
    evaluator.ShareSpillAreas(state);
    evaluator.solverFoundCells = state.solverFoundCells;
    evaluator.solverTrialPrograms = state.solverTrialPrograms;
    evaluator.solverKnownOperations = state.solverKnownOperations;
  }
  ~NestedEvaluator() {
    if (outer_.pending.kind == kEvalInvalid) outer_.pending = evaluator.pending;
    evaluator.ForgetSpillAreas();
    if (!untouched_) {
      evaluator.EndOneCall();
      return;
    }
    evaluator.ownersFormulas = nullptr;
    evaluator.keptCells = nullptr;
  }
  NestedEvaluator(const NestedEvaluator&) = delete;
  NestedEvaluator& operator=(const NestedEvaluator&) = delete;

  // For a search whose target the evaluator never scanned nor evaluated:
  // it is left as the last search left it, with nothing to give back.
  void KeepUntouched(const SolverTarget& target) { untouched_ = !target.evaluated; }
  void KeepUntouched() { untouched_ = true; }

  // Fresh for every search: a store freed and another made at its address
  // may show the same count of changes.
  KeptCellLookups cells;
  EvalState& evaluator;

 private:
  EvalState& outer_;
  bool untouched_ = false;
  static EvalState& LevelEvaluator(int32_t level) {
    static EvalState levels[kMaxSolverNesting + 1];
    return levels[level < 0 ? 0 : level > kMaxSolverNesting ? kMaxSolverNesting : level];
  }
};

// A root search by a program kept from an earlier one (SearchKeptRoot), for
// a target and variable that are single cells of one worksheet; the nested
// evaluator is left as the last search left it, as nothing evaluates.
uint8_t SearchKeptTarget(EvalState& state, uint16_t targetSlot, NestedEvaluator& nested, const CellRecord* stored,
                         double x0, double x1, double epsilon, double* root) {
  const EvalValue& target = state.operands[targetSlot];
  const EvalValue& variable = state.operands[targetSlot + 1];
  if (target.kind != kEvalCellRef || target.error != 0 || variable.kind != kEvalCellRef || variable.error != 0)
    return kKeptRootNotTaken;
  CellStore* sheet = SheetOf(state, target);
  if (!sheet || SheetOf(state, variable) != sheet) return kKeptRootNotTaken;
  KeptCellLookups& cells = nested.cells;
  const CellRecord* targetCell = stored ? stored : cells.Find(*sheet, target.cell.row, uint16_t(target.cell.column));
  if (targetCell) state.NotePending(targetCell, sheet);
  if (state.pending.kind != kEvalInvalid) return kKeptRootNotTaken;
  // The row's walk goes as far as the variable, when in the row, at once.
  if (stored) {
    const uint32_t variableColumn = VariableColumnIn(state, uint16_t(targetSlot + 1), sheet, stored->Row());
    cells.KeepRow(*sheet, stored->Row(), variableColumn < KeptCellLookups::kRowSpan ? uint16_t(variableColumn) : 0);
  }
  const CellRecord* variableCell = cells.Find(*sheet, variable.cell.row, uint16_t(variable.cell.column));
  const uint8_t outcome =
      SearchKeptRoot(nested.evaluator, *sheet, targetCell, variableCell, x0, x1, epsilon, root);
  if (outcome != kKeptRootNotTaken) nested.KeepUntouched();
  return outcome;
}

// v, one flag per variable; an omitted v leaves every variable fixed.
void ReadUsageFlags(MatrixCall& call, uint32_t count, Matrix& flags) {
  call.Range(2, false);
  if (!call.Ok()) return;
  if (call.Given(2) && (call.Cols(2) != 1 || call.Rows(2) != count)) call.Fail(kErrorValue);
  if (call.Ok() && call.Size(flags, count ? count : 1, 1)) {
    flags.Zero();
    if (call.Given(2)) call.Reread(2, flags);
  }
}

void StoreVariables(MatrixCall& call, const SolverVariables& variables, Matrix& result) {
  const uint32_t count = variables.Count();
  if (call.Ok() && call.Size(result, count, 1))
    for (uint32_t i = 0; i < count; ++i) result(i + 1, 1) = variables.Value(i);
}

}  // namespace

// ROOT takes numbers and references only: it reads them without the matrix
// handlers' frame, whose room for range arguments costs more to set up and
// release than a root search's other set-up.
void FnRoot(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call tries values in cells
  if (!MatrixCall::Begin(state, 5, 5)) return;
  const uint16_t first = FirstArg(state);
  SolverNesting nesting;
  uint32_t error = nesting.Allowed() ? 0 : uint32_t(kErrorValue);
  const auto fail = [&error](uint32_t argError) {
    if (argError > error) error = argError;
  };
  double epsilon = 0.0, x0 = 0.0, x1 = 0.0;
  fail(NumberArg(state, uint16_t(first + 4), &epsilon, 0.0, kLargest));
  fail(NumberArg(state, uint16_t(first + 3), &x1, -kLargest, kLargest));
  fail(NumberArg(state, uint16_t(first + 2), &x0, -kLargest, kLargest));
  NestedEvaluator nested(state, nesting);
  const CellRecord* stored = TargetStoredByPass(state, first);
  if (error == 0 && !stored) KeepTargetRow(state, first, uint16_t(first + 1), nested.cells);
  if (error == 0 && x1 > x0) {
    double root = 0.0;
    const uint8_t outcome = SearchKeptTarget(state, first, nested, stored, x0, x1, epsilon, &root);
    if (outcome != kKeptRootNotTaken) {
      SetNumberResult(state, root, outcome == kKeptRootFound ? 0 : uint32_t(kErrorValue));
      return;
    }
  }
  SolverTarget target;
  SolverVariables variable;
  const uint32_t targetError = LoadTarget(state, first, nested.evaluator, nested.cells, stored, target);
  // A target the pass gave needs no finding: the row's walk goes no further
  // than the cells the search reads in it.
  if (error == 0 && stored && targetError == 0) nested.cells.KeepRow(*target.sheet, target.row, 0);
  fail(AddReferencedVariables(state, uint16_t(first + 1), nested.cells, variable));
  fail(targetError);
  if (error == 0 && variable.Count() != 1) fail(kErrorRef);
  if (error == 0) KnowRootVariable(target, CellRefSheet(state, uint16_t(first + 1)), variable);
  DependencyPath path;
  if (error == 0) fail(TraceSolverPath(target, variable, path, state));
  if (error == 0 && !(x1 > x0)) fail(kErrorNum);
  double root = 0.0;
  if (error == 0 && !FindRootSecant(target, variable, x0, x1, epsilon, &root)) fail(kErrorValue);
  variable.Restore();
  path.Restore();
  if (targetError == 0) nested.KeepUntouched(target);
  SetNumberResult(state, root, error);
}

void FnMinMC(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call tries values in cells
  if (!MatrixCall::Begin(state, 6, 6)) return;
  MatrixCall call(state);
  SolverNesting nesting;
  if (!nesting.Allowed()) call.Fail(kErrorValue);
  int32_t points = 1;
  double from = 0.0, to = 0.0;
  call.Int(5, &points, 1, kMaxInt32Arg);
  call.Number(4, &to, -kLargest, kLargest);
  call.Number(3, &from, -kLargest, kLargest);
  if (call.Ok() && !(to > from)) call.Fail(kErrorNum);
  NestedEvaluator nested(state, nesting);
  SolverTarget target;
  SolverVariables variables;
  call.Fail(AddReferencedVariables(state, ArgSlot(state, 1), nested.cells, variables));
  call.Fail(LoadTarget(state, ArgSlot(state, 0), nested.evaluator, nested.cells, nullptr, target));
  Matrix flags, result;
  ReadUsageFlags(call, variables.Count(), flags);
  DependencyPath path;
  if (call.Ok()) call.Fail(TraceSolverPath(target, variables, path, state));
  double best = 0.0;
  if (call.Ok() && !MinimizeMonteCarlo(target, variables, flags, from, to, points, &best)) call.Fail(kErrorValue);
  StoreVariables(call, variables, result);
  variables.Restore();
  path.Restore();
  call.Finish(result, variables.Count(), 1);
}

void FnMinSimplex(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call tries values in cells
  if (!MatrixCall::Begin(state, 7, 7)) return;
  MatrixCall call(state);
  SolverNesting nesting;
  if (!nesting.Allowed()) call.Fail(kErrorValue);
  int32_t result = 1, maxSteps = 0;
  double epsilon = 0.0, start = 0.0;
  call.Int(6, &result, 1, 3);
  call.Int(5, &maxSteps, 0, kMaxInt32Arg);
  call.Number(4, &epsilon, 0.0, kLargest);
  call.Number(3, &start, 0.0, kLargest);
  if (maxSteps < 1) maxSteps = 2000;
  if (!(epsilon > 0.0)) epsilon = 1e-25;
  if (!(start > 0.0)) start = 1e-5;
  NestedEvaluator nested(state, nesting);
  SolverTarget target;
  SolverVariables variables;
  call.Fail(AddReferencedVariables(state, ArgSlot(state, 1), nested.cells, variables));
  call.Fail(LoadTarget(state, ArgSlot(state, 0), nested.evaluator, nested.cells, nullptr, target));
  Matrix flags, column;
  ReadUsageFlags(call, variables.Count(), flags);
  DependencyPath path;
  if (call.Ok()) call.Fail(TraceSolverPath(target, variables, path, state));
  double best = 0.0;
  int32_t steps = 0;
  if (call.Ok() && !MinimizeSimplex(target, variables, flags, start, epsilon, maxSteps, &steps, &best))
    call.Fail(kErrorNum);
  if (result == 1) StoreVariables(call, variables, column);
  variables.Restore();
  path.Restore();
  if (result == 1)
    call.Finish(column, variables.Count(), 1);
  else
    call.Finish(result == 2 ? best : double(steps));
}
