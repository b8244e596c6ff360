#include "numerics/kept_root_program.h"

#include <cstring>

#include "core/eval/read_plain_cell.h"
#include "numerics/secant_steps.h"
#include "numerics/trial_program.h"

namespace {

// The last root search's target compiled for its trials, with the text it
// was compiled from and its cell references in the order it takes them: a
// target filled down a column has the same text in every row, and so the
// same program over other cells. The text decides, as for kept tokens,
// which may be dropped and others made at their address. Its slots serve
// each search that takes it: that fills them before every use, and nothing
// a search does can start another meanwhile. The nested evaluator of the
// search's level owns it (see HandlerCaches).
constexpr uint32_t kKeptRootTextCapacity = 128;
struct KeptRootProgram {
  char text[kKeptRootTextCapacity];
  uint32_t textLength = 0;  // 0 while none is kept
  ScannedToken cells[kMaxFoundTargetCells];
  // For each reference, the first one written the same way, which reads
  // the same cell wherever the target stands (itself when none before).
  uint8_t sameCell[kMaxFoundTargetCells];
  TrialOperations program;
};

bool SameReference(const ScannedToken& a, const ScannedToken& b) {
  return a.resolved == b.resolved && a.corner.column == b.corner.column && a.corner.row == b.corner.row &&
         a.corner.flags == b.corner.flags && a.corner.bare == b.corner.bare;
}

// The trials of a kept program: as RootTrials' while it runs the compiled
// target, and given up at the first trial it cannot finish, which the
// general search must then take from the start.
class KeptProgramTrials {
 public:
  // Every trial it finishes was at a finite number, as the search's ends
  // are: so are the search's points, none of them a NaN.
  static constexpr bool kFiniteTrials = true;
  explicit KeptProgramTrials(TrialOperations& program) : program_(program) {}

  bool At(double x, double* out) {
    if (!IsBadNumber(x)) {
      program_.slots[program_.variableSlots[0]] = x;
      if (RunTrialOperations(program_, out)) return true;
    }
    return Evaluate(x, out);
  }
  bool Evaluate(double, double*) {
    givenUp = true;
    return false;
  }
  TrialOperations& Program() { return program_; }

  bool givenUp = false;

 private:
  TrialOperations& program_;
};

}  // namespace

void KeepRootProgram(const SolverTarget& target, const uint16_t* cellTokens) {
  const uint32_t length = target.textLength;
  KeptRootProgram* keeper = target.nested->handlerCaches.Get<KeptRootProgram>(kRootProgramCache);
  if (length > kKeptRootTextCapacity || length == 0 || !keeper) return;
  KeptRootProgram& kept = *keeper;
  const char* text = target.cell->FormulaText();
  std::memcpy(kept.text, text, length);
  kept.textLength = length;
  for (uint32_t i = 0; i < target.trial.cellCount; ++i) {
    kept.cells[i] = target.tokens->tokens[cellTokens[i]];
    kept.sameCell[i] = uint8_t(i);
    for (uint32_t before = 0; before < i; ++before)
      if (SameReference(kept.cells[before], kept.cells[i])) {
        kept.sameCell[i] = uint8_t(before);
        break;
      }
  }
  // The operations alone: the variable's record is this search's.
  kept.program = static_cast<const TrialOperations&>(target.trial);
}

uint8_t SearchKeptRoot(EvalState& nested, CellStore& sheet, const CellRecord* target, const CellRecord* variable,
                       double x0, double x1, double epsilon, double* root) {
  KeptRootProgram* keeper = nested.handlerCaches.Get<KeptRootProgram>(kRootProgramCache);
  if (!keeper) return kKeptRootNotTaken;
  KeptRootProgram& kept = *keeper;
  if (kept.textLength == 0 || !nested.solverFoundCells || !nested.solverTrialPrograms ||
      !nested.solverKnownOperations || !nested.numberShortcuts)
    return kKeptRootNotTaken;
  // The general search's conditions for a target, a variable, and no path
  // through formula cells.
  if (!target || !target->IsFormula() || !(target->ResultFlags() & kResultCachedNumber) ||
      target->HasCachedText() || target->FormulaLength() != kept.textLength ||
      !SameFormulaBytes(target->FormulaText(), kept.text, kept.textLength))
    return kKeptRootNotTaken;
  if (!variable || variable->Type() != kCellNumber) return kKeptRootNotTaken;
  TrialOperations& program = kept.program;
  const uint32_t column = target->Column(), row = target->Row();
  const uint32_t variableColumn = variable->Column(), variableRow = variable->Row();
  for (uint32_t i = 0; i < program.cellCount; ++i) {
    const uint32_t same = kept.sameCell[i];
    if (same != i) {
      // The cell read before, the variable again or the same number.
      if (program.cellSlots[i] != kVariableCellSlot)
        program.slots[program.cellSlots[i]] = program.slots[program.cellSlots[same]];
      continue;
    }
    const RefCorner corner = ScannedTokenCorner(kept.cells[i], column, row);
    const bool atVariable =
        corner.row == variableRow && corner.column == variableColumn && !(corner.flags & kRefOutsideGrid);
    const uint8_t slot = program.cellSlots[i];
    // The variable where the kept program took a cell, or the reverse,
    // would compile another program.
    if (atVariable != (slot == kVariableCellSlot)) return kKeptRootNotTaken;
    if (atVariable) continue;
    const CellRecord* cell = nullptr;
    if (!nested.FindGridCell(sheet, corner, &cell) || (cell && cell->IsFormula()) ||
        !nested.PlainCellNumber(cell, corner.column, &program.slots[slot]))
      return kKeptRootNotTaken;
  }
  for (uint32_t i = 0; i < program.foldCount; ++i) {
    const TrialOperation& fold = program.folds[i];
    const double result = ApplyNumberOperator(fold.op, program.slots[fold.left], program.slots[fold.right]);
    if (IsBadNumber(result)) return kKeptRootNotTaken;
    program.slots[fold.result] = result;
  }
  if (!(epsilon > 0.0)) epsilon = 1e-15;
  KeptProgramTrials trials(program);
  const SecantSearch<KeptProgramTrials> search = KnownOperationsSearch<KeptProgramTrials>(program);
  const bool found =
      search ? search(trials, x0, x1, epsilon, root) : SecantSteps(trials, x0, x1, epsilon, root);
  if (trials.givenUp) return kKeptRootNotTaken;
  return found ? kKeptRootFound : kKeptRootNone;
}
