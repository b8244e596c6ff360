#include "numerics/formula_solvers.h"

#include <cmath>
#include <cstring>

#include "core/eval/read_plain_cell.h"
#include "core/eval/run_numbers_program.h"
#include "core/formula/eval_value.h"
#include "numerics/kept_root_program.h"
#include "numerics/trial_program.h"

namespace {

bool IsSolverVariable(const SolverVariables& variables, const CellRecord* cell) {
  for (uint32_t i = 0; i < variables.Count(); ++i)
    if (variables.Cells()[i] == cell) return true;
  return false;
}

// Compiles a found cell of the target: a cell that is no variable is read
// now, as every trial would read it, for nothing but the variables changes
// during the search. False when the numbers-only reading refuses the cell:
// the trials are left to the found cells, which refuse it in turn.
bool CompileTrialCell(TrialCompiler& compiler, const SolverTarget& target, const CellRecord* cell,
                      uint16_t column) {
  double number = 0.0;
  if (cell && IsSolverVariable(*target.variables, cell))
    compiler.TakeVariable(cell, column);
  else if (target.nested->PlainCellNumber(cell, column, &number))
    compiler.TakeCellNumber(number);
  else
    return false;
  return true;
}

// Finds the cells the target's program reads as the evaluator would, at the
// target's own cell; a reference outside the grid or more cells than kept
// leave every evaluation to the general way.
void FindTargetCells(SolverTarget& target) {
  FoundTargetCells& found = target.found;
  EvalState& nested = *target.nested;
  CellStore& store = *target.sheet;
  found.state = FoundTargetCells::kUnusable;
  found.count = 0;
  found.changes = store.ChainChanges();
  const ScannedFormula& scanned = *target.tokens;
  // The target is compiled for the trials on the way, once its variables
  // are known.
  TrialCompiler compiler(target.trial);
  bool compiling = target.variables && scanned.stepCount <= kMaxTrialSteps;
  const CellRecord* const known =
      target.variables && target.knownVariableChanges == found.changes ? target.knownVariable : nullptr;
  uint16_t cellTokens[kMaxFoundTargetCells];
  target.trial.usable = false;
  for (uint32_t i = 0; i < scanned.stepCount; ++i) {
    const ProgramStep& step = scanned.steps[i];
    if (step.action != kStepTakeOperand) {
      compiling = compiling && compiler.Apply(step.value);
      continue;
    }
    const ScannedToken& token = scanned.tokens[step.token];
    if (token.kind == kEvalNumber) {
      if (compiling) compiler.TakeNumber(token.number);
      continue;
    }
    if (found.count == kMaxFoundTargetCells) return;
    const RefCorner corner = ScannedTokenCorner(token, target.column, target.row);
    const CellRecord*& cell = found.cells[found.count];
    found.columns[found.count] = static_cast<uint16_t>(corner.column);
    cellTokens[found.count] = step.token;
    if (known && corner.row == known->Row() && corner.column == known->Column() && !(corner.flags & kRefOutsideGrid)) {
      // The lookup would give the variable's record, found on this
      // worksheet since it last changed its chain.
      cell = known;
      if (compiling) compiler.TakeVariable(cell, found.columns[found.count]);
    } else {
      if (!nested.FindGridCell(store, corner, &cell)) return;
      compiling = compiling && CompileTrialCell(compiler, target, cell, found.columns[found.count]);
    }
    ++found.count;
  }
  found.state = FoundTargetCells::kFound;
  target.trial.usable = compiling && compiler.Finish();
  // A root search's program over its one variable is kept for the next.
  if (known && target.trial.usable && target.trial.variableCount == 1) KeepRootProgram(target, cellTokens);
}

// The numbers-only evaluation from the found cells: the same steps and the
// same cell readings as the evaluator's, without looking a cell up or
// resetting the evaluator (nothing of it is touched). False when the general
// way must decide.
bool EvaluateFromFoundCells(SolverTarget& target, double* out) {
  FoundTargetCells& found = target.found;
  if (found.state != FoundTargetCells::kFound) return false;
  const EvalState& nested = *target.nested;
  uint32_t next = 0;
  const auto read = [&](const ScannedToken& token, double* number) {
    if (token.kind == kEvalNumber) {
      *number = token.number;
      return true;
    }
    const uint32_t i = next++;
    return nested.PlainCellNumber(found.cells[i], found.columns[i], number);
  };
  // A number the program gives passed IsBadNumber: it is finite.
  return RunNumbersProgram(*target.tokens, read, out);
}

}  // namespace

namespace {

// The target's text, copied from its cell when first asked for: a target
// whose kept tokens serve every evaluation never needs it, and nothing
// changes the cell's text while a search lasts.
const char* TargetText(SolverTarget& target) {
  if (!target.textCopied) {
    std::memcpy(target.text, target.cell->FormulaText(), target.textLength);
    target.text[target.textLength] = '\0';
    target.textCopied = true;
  }
  return target.text;
}

}  // namespace

bool LoadSolverTarget(SolverTarget& target, EvalState& nested, CellStore* sheet, const CellRecord* cell) {
  if (!cell || !cell->IsFormula() || !(cell->ResultFlags() & kResultCachedNumber) || cell->HasCachedText())
    return false;
  const uint16_t length = cell->FormulaLength();
  if (length > kFormulaTextCapacity) return false;
  target.textLength = length;
  target.textCopied = false;
  target.nested = &nested;
  target.sheet = sheet;
  target.cell = cell;
  target.path = nullptr;
  target.found.state = FoundTargetCells::kNotFound;
  target.variables = nullptr;
  target.knownVariable = nullptr;
  target.knownVariableChanges = 0;
  target.trial.usable = false;
  target.evaluated = false;
  target.row = cell->Row();
  target.column = cell->Column();
  // The caller evaluates nothing until the search ends, so its tokens stay.
  target.tokens =
      nested.ownersFormulas ? nested.ownersFormulas->FindKept(cell->FormulaText(), length, target.column) : nullptr;
  return true;
}

void KnowRootVariable(SolverTarget& target, const CellStore* variableSheet, const SolverVariables& variable) {
  if (variableSheet != target.sheet || variable.Count() != 1) return;
  target.knownVariable = variable.Cells()[0];
  target.knownVariableChanges = target.sheet->ChainChanges();
}

uint8_t TraceSolverPath(SolverTarget& target, const SolverVariables& variables, DependencyPath& path,
                        EvalState& caller) {
  // A numbers-only target names single cells alone: when none of them is a
  // formula, no path can lead through them, which the path's own look at
  // the references would find at several times the cost.
  if (target.nested->solverFoundCells && target.tokens && target.tokens->numeric) {
    target.variables = &variables;
    FindTargetCells(target);
    const FoundTargetCells& found = target.found;
    bool formula = found.state != FoundTargetCells::kFound;
    for (uint32_t i = 0; i < found.count && !formula; ++i) formula = found.cells[i] && found.cells[i]->IsFormula();
    if (!formula) {
      target.path = nullptr;
      return 0;
    }
  }
  target.evaluated = true;
  const uint8_t error = path.Find(*target.nested, target.sheet, target.cell, TargetText(target), variables.Cells(),
                                  variables.Count(), &caller);
  target.path = error == 0 && path.Count() > 0 ? &path : nullptr;
  return error;
}

bool EvaluateFormulaValue(SolverTarget& target, double* out) {
  EvalState& nested = *target.nested;
  // Formula cells between the variables and the target are recalculated
  // first, which the found cells know nothing of.
  if (!target.path && nested.solverFoundCells && target.tokens && target.tokens->numeric && nested.numberShortcuts) {
    FoundTargetCells& found = target.found;
    if (found.state == FoundTargetCells::kNotFound || found.changes != target.sheet->ChainChanges())
      FindTargetCells(target);
    if (target.trial.usable && found.state == FoundTargetCells::kFound) {
      if (nested.solverTrialPrograms && RunTrialProgram(target.trial, nested, out)) return true;
      target.trial.usable = false;
    }
    if (EvaluateFromFoundCells(target, out)) return true;
  }
  target.evaluated = true;
  if (target.path && !target.path->Recalculate(nested)) return false;
  nested.sheet = target.sheet;
  const uint32_t kind = target.tokens ? nested.Evaluate(*target.tokens, target.column, target.row)
                                      : nested.Evaluate(TargetText(target), target.column, target.row);
  const bool number = kind == kEvalNumber && nested.status == 0 && nested.operands[1].error == 0 &&
                      std::isfinite(nested.operands[1].number);
  if (number) {
    *out = nested.operands[1].number;
    return true;
  }
  // A text or an array is dropped with the evaluator's stacks.
  nested.ResetForFormula(target.column, target.row);
  return false;
}

bool RunTrialProgram(TrialProgram& trial, const EvalState& nested, double* out) {
  // Every operand of a program is taken unless a step before fails: a
  // variable refused here would be refused there, with the same outcome.
  for (uint32_t i = 0; i < trial.variableCount; ++i)
    if (!nested.PlainCellNumber(trial.variables[i], trial.columns[i], &trial.slots[trial.variableSlots[i]]))
      return false;
  return RunTrialOperations(trial, out);
}
