#include "numerics/formula_solvers.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "core/eval/read_plain_cell.h"
#include "core/eval/run_numbers_program.h"
#include "core/formula/eval_value.h"
#include "functions/random_stream.h"

namespace {
int32_t solverDepth = 0;
bool cellShortcut = true;
bool trialShortcut = true;
bool knownOperations = true;

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
  TrialProgram program;
};

bool SameReference(const ScannedToken& a, const ScannedToken& b) {
  return a.resolved == b.resolved && a.corner.column == b.corner.column && a.corner.row == b.corner.row &&
         a.corner.flags == b.corner.flags && a.corner.bare == b.corner.bare;
}

// Compiles a target's program on the way: each operand a slot, marked
// when the search never changes its number.
class TrialCompiler {
 public:
  explicit TrialCompiler(TrialProgram& trial) : trial_(trial) {
    trial_.operationCount = 0;
    trial_.variableCount = 0;
    trial_.foldCount = 0;
    trial_.cellCount = 0;
  }

  void TakeNumber(double number) { Push(NewSlot(number), true); }

  void TakeCellNumber(double number) {
    trial_.cellSlots[trial_.cellCount++] = uint8_t(slots_);
    TakeNumber(number);
  }

  void TakeVariable(const CellRecord* cell, uint16_t column) {
    trial_.cellSlots[trial_.cellCount++] = kVariableCellSlot;
    for (uint32_t i = 0; i < trial_.variableCount; ++i)
      if (trial_.variables[i] == cell) return Push(trial_.variableSlots[i], false);
    const uint32_t i = trial_.variableCount++;
    trial_.variables[i] = cell;
    trial_.columns[i] = column;
    trial_.variableSlots[i] = NewSlot(0.0);
    Push(trial_.variableSlots[i], false);
  }

  // False when an operator on numbers that never change gives a result the
  // found cells' evaluation refuses: then it refuses at every trial.
  bool Apply(uint32_t op) {
    const bool unary = op == kOpUnaryMinus || op == kOpPercent;
    if (depth_ < (unary ? 1u : 2u)) return false;
    if (op == kOpUnaryMinus) {
      TakeNumber(0.0);
      Swap();
      op = kOpMinus;
    } else if (op == kOpPercent) {
      TakeNumber(100.0);
      op = kOpDivide;
    }
    const Entry right = stack_[--depth_];
    const Entry left = stack_[--depth_];
    if (left.constant && right.constant) {
      const double result = ApplyNumberOperator(op, trial_.slots[left.slot], trial_.slots[right.slot]);
      if (IsBadNumber(result)) return false;
      trial_.folds[trial_.foldCount++] = TrialOperation{uint8_t(op), left.slot, right.slot, uint8_t(slots_)};
      TakeNumber(result);
      return true;
    }
    const uint8_t result = NewSlot(0.0);
    trial_.operations[trial_.operationCount++] = TrialOperation{uint8_t(op), left.slot, right.slot, result};
    Push(result, false);
    return true;
  }

  // False unless the program left one number, as it was checked to.
  bool Finish() {
    if (depth_ != 1) return false;
    trial_.resultSlot = stack_[0].slot;
    return true;
  }

 private:
  struct Entry {
    uint8_t slot;
    bool constant;
  };
  uint8_t NewSlot(double number) {
    trial_.slots[slots_] = number;
    return uint8_t(slots_++);
  }
  void Push(uint8_t slot, bool constant) { stack_[depth_++] = Entry{slot, constant}; }
  void Swap() {
    const Entry top = stack_[depth_ - 1];
    stack_[depth_ - 1] = stack_[depth_ - 2];
    stack_[depth_ - 2] = top;
  }

  TrialProgram& trial_;
  // One entry per step at most, and one more for a unary operator's 0.0.
  Entry stack_[kMaxTrialSteps + 1];
  uint32_t depth_ = 0;
  uint32_t slots_ = 0;
};

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

// The compiled target's operators, its variables' slots filled: the same
// operations on the same numbers as the found cells' evaluation. False when
// that one would refuse somewhere.
inline bool RunTrialOperations(TrialProgram& trial, double* out) {
  double* const slots = trial.slots;
  const TrialOperation* const end = trial.operations + trial.operationCount;
  for (const TrialOperation* operation = trial.operations; operation != end; ++operation) {
    const double result = ApplyNumberOperator(operation->op, slots[operation->left], slots[operation->right]);
    if (IsBadNumber(result)) return false;
    slots[operation->result] = result;
  }
  // A number alone is checked only at the end, as at the end of an
  // evaluation. After an operation the result is the last one's, checked:
  // every other result is an operand of a later operation.
  if (trial.operationCount == 0 && IsBadNumber(slots[trial.resultSlot])) return false;
  *out = slots[trial.resultSlot];
  return true;
}

// One trial of the compiled target with its variables read from their cells.
bool RunTrialProgram(TrialProgram& trial, const EvalState& nested, double* out) {
  // Every operand of a program is taken unless a step before fails: a
  // variable refused here would be refused there, with the same outcome.
  for (uint32_t i = 0; i < trial.variableCount; ++i)
    if (!nested.PlainCellNumber(trial.variables[i], trial.columns[i], &trial.slots[trial.variableSlots[i]]))
      return false;
  return RunTrialOperations(trial, out);
}

// Keeps a root search's compiled target, its cells taken at the tokens
// cellTokens names. Only a search the kept program could not take compiles:
// the same text then meets its variable at other references (an absolute
// one, say), and the latest program serves the rows that follow.
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
  kept.program = target.trial;
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

void SetSolverCellShortcut(bool on) { cellShortcut = on; }
void SetSolverTrialShortcut(bool on) { trialShortcut = on; }
void SetSolverKnownOperations(bool on) { knownOperations = on; }

SolverNesting::SolverNesting() : level_(solverDepth), allowed_(solverDepth < kMaxSolverNesting) { ++solverDepth; }
SolverNesting::~SolverNesting() { --solverDepth; }

bool SolverVariables::Add(CellRecord* cell) {
  if (!cell || count_ >= kMaxSolverVariables) return false;
  if (cell->IsNumber() && cell->ErrorCode() == 0) {
    saved_[count_] = cell->Number();
  } else if (cell->IsFormula() && cell->ErrorCode() == 0 && (cell->ResultFlags() & kResultCachedNumber) &&
             !cell->HasCachedText()) {
    saved_[count_] = cell->CachedNumber();
  } else {
    return false;
  }
  cells_[count_++] = cell;
  return true;
}

double SolverVariables::Value(uint32_t i) const {
  return cells_[i]->IsNumber() ? cells_[i]->Number() : cells_[i]->CachedNumber();
}

void SolverVariables::Set(uint32_t i, double value) {
  if (cells_[i]->IsNumber())
    cells_[i]->SetNumber(value);
  else
    cells_[i]->SetCachedNumber(value);
}

void SolverVariables::Restore() {
  for (uint32_t i = 0; i < count_; ++i) Set(i, saved_[i]);
}

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
  if (cellShortcut && target.tokens && target.tokens->numeric) {
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
  if (!target.path && cellShortcut && target.tokens && target.tokens->numeric && nested.numberShortcuts) {
    FoundTargetCells& found = target.found;
    if (found.state == FoundTargetCells::kNotFound || found.changes != target.sheet->ChainChanges())
      FindTargetCells(target);
    if (target.trial.usable && found.state == FoundTargetCells::kFound) {
      if (trialShortcut && RunTrialProgram(target.trial, nested, out)) return true;
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

namespace {

// The target at trial values of a root search's one variable. While the
// compiled target reads that variable alone, as a plain number cell, a trial
// value goes straight into the program's slot: the cell would give the same
// number, and nothing else reads it before the search restores it. The
// first trial the program cannot finish, and every one after it, is written
// to the cell and evaluated as any other.
class RootTrials {
 public:
  // A trial evaluated the general way may take any number.
  static constexpr bool kFiniteTrials = false;
  RootTrials(SolverTarget& target, SolverVariables& variable)
      : target_(target),
        variable_(variable),
        direct_(Direct(target, variable)) {}

  bool At(double x, double* out) {
    if (direct_) {
      TrialProgram& trial = target_.trial;
      if (trial.variableCount == 0 || !IsBadNumber(x)) {
        if (trial.variableCount) trial.slots[trial.variableSlots[0]] = x;
        if (RunTrialOperations(trial, out)) return true;
      }
    }
    return Evaluate(x, out);
  }

  // Whether the trials run the compiled target, and its variable is the
  // search's, a plain number cell.
  bool Compiled() const { return direct_ && target_.trial.variableCount == 1; }
  TrialProgram& Program() { return target_.trial; }

  // A trial the compiled target cannot take, and every one after it.
  bool Evaluate(double x, double* out) {
    if (direct_) {
      direct_ = false;
      target_.trial.usable = false;
    }
    variable_.Set(0, x);
    return EvaluateFormulaValue(target_, out);
  }

  // Whether EvaluateFormulaValue would run the compiled target, and the
  // variable, if the target reads it, is a plain number cell.
  static bool Direct(const SolverTarget& target, const SolverVariables& variable) {
    const TrialProgram& trial = target.trial;
    if (target.path || !cellShortcut || !trialShortcut || !target.tokens || !target.tokens->numeric ||
        !target.nested->numberShortcuts || target.found.state != FoundTargetCells::kFound ||
        target.found.changes != target.sheet->ChainChanges() || !trial.usable || trial.variableCount > 1)
      return false;
    return trial.variableCount == 0 ||
           (variable.Count() == 1 && trial.variables[0] == variable.Cells()[0] &&
            variable.Cells()[0]->Type() == kCellNumber);
  }

  SolverTarget& target_;
  SolverVariables& variable_;
  bool direct_;
};

// std::fmax, inline: the larger, or the one that is not a NaN (a NaN is
// unequal to itself, and no comparison with it holds).
double LargerNumber(double x, double y) { return y > x || x != x ? y : x; }
// The same for two numbers neither of which is a NaN.
double LargerOfNumbers(double x, double y) { return y > x ? y : x; }

}  // namespace

namespace {

// The secant steps over the trials of RootTrials or of KnownOperations, the
// trials inline in each. The root is written only when found.
template <class Trials>
bool SecantSteps(Trials& trials, double x0, double x1, double epsilon, double* root) {
  double a = x0, b = x1, fa = 0.0, fb = 0.0;
  if (!trials.At(a, &fa)) return false;
  if (!trials.At(b, &fb)) return false;
  if (!(fa * fb < 0.0)) return false;
  for (uint32_t step = 0; step < kRootStepCap; ++step) {
    const double c = b - fb * (b - a) / (fb - fa);
    // Between two neighbouring doubles the secant lands on an end: no better
    // root exists at this precision.
    // Two tests with a branch each: joined, they are computed as flags.
    if (c == a) {
      *root = c;
      return true;
    }
    if (c == b) {
      *root = c;
      return true;
    }
    double fc = 0.0;
    if (!trials.At(c, &fc)) return false;
    if ((fc < 0.0) != (fb < 0.0) && fc != 0.0) {
      a = b;
      fa = fb;
    } else {
      fa *= 0.5;
    }
    b = c;
    fb = fc;
    // Below the spacing of doubles near the root an absolute tolerance can
    // never be met.
    const double tolerance =
        Trials::kFiniteTrials
            ? LargerOfNumbers(epsilon, 4.0 * DBL_EPSILON * LargerOfNumbers(std::fabs(a), std::fabs(b)))
            : LargerNumber(epsilon, 4.0 * DBL_EPSILON * LargerNumber(std::fabs(a), std::fabs(b)));
    if (std::fabs(b - a) <= tolerance || fc == 0.0) {
      *root = c;
      return true;
    }
    if (!(fc * fa < 0.0)) return false;
  }
  return false;
}

// A compiled target of one or two operations over the search's variable,
// its operators known when the search starts: each trial applies them
// straight, without choosing them from the list, in the same order on the
// same slots, each result checked, as RunTrialOperations. The trial it
// cannot finish, and every one after it, is left to RootTrials.
constexpr uint32_t kNoOperation = 0;

template <uint32_t First, uint32_t Second, class General>
class KnownOperations {
 public:
  static constexpr bool kFiniteTrials = General::kFiniteTrials;
  explicit KnownOperations(General& general) : general_(general) {
    TrialProgram& trial = general.Program();
    double* const slots = trial.slots;
    variable_ = slots + trial.variableSlots[0];
    const TrialOperation* const operations = trial.operations;
    firstLeft_ = slots + operations[0].left;
    firstRight_ = slots + operations[0].right;
    firstResult_ = slots + operations[0].result;
    if (Second != kNoOperation) {
      secondLeft_ = slots + operations[1].left;
      secondRight_ = slots + operations[1].right;
    }
  }

  bool At(double x, double* out) {
    if (direct_ && !IsBadNumber(x)) {
      *variable_ = x;
      const double first = ApplyNumberOperator(First, *firstLeft_, *firstRight_);
      if (!IsBadNumber(first)) {
        // The last operation's result is the program's.
        if (Second == kNoOperation) {
          *out = first;
          return true;
        }
        *firstResult_ = first;
        const double second = ApplyNumberOperator(Second, *secondLeft_, *secondRight_);
        if (!IsBadNumber(second)) {
          *out = second;
          return true;
        }
      }
    }
    direct_ = false;
    // Through a number of its own: the search's numbers stay in registers
    // rather than in memory a call may write.
    double value = 0.0;
    const bool evaluated = general_.Evaluate(x, &value);
    *out = value;
    return evaluated;
  }

 private:
  General& general_;
  double* variable_;
  const double* firstLeft_;
  const double* firstRight_;
  double* firstResult_;
  const double* secondLeft_ = nullptr;
  const double* secondRight_ = nullptr;
  bool direct_ = true;
};

template <class General>
using SecantSearch = bool (*)(General& trials, double x0, double x1, double epsilon, double* root);

template <uint32_t First, uint32_t Second, class General>
bool KnownSecantSteps(General& general, double x0, double x1, double epsilon, double* root) {
  KnownOperations<First, Second, General> trials(general);
  return SecantSteps(trials, x0, x1, epsilon, root);
}

// The compiled operators are those of ApplyNumberOperator, whose default
// is the power.
template <uint32_t First, class General>
SecantSearch<General> KnownSecondOperation(const TrialProgram& trial) {
  if (trial.operationCount == 1) return KnownSecantSteps<First, kNoOperation, General>;
  switch (trial.operations[1].op) {
    case kOpPlus:
      return KnownSecantSteps<First, kOpPlus, General>;
    case kOpMinus:
      return KnownSecantSteps<First, kOpMinus, General>;
    case kOpMultiply:
      return KnownSecantSteps<First, kOpMultiply, General>;
    case kOpDivide:
      return KnownSecantSteps<First, kOpDivide, General>;
    default:
      return KnownSecantSteps<First, kOpPower, General>;
  }
}

// The search for a compiled target of one or two operations; null for
// any other.
template <class General>
SecantSearch<General> KnownOperationsSearch(const TrialProgram& trial) {
  if (trial.operationCount != 1 && trial.operationCount != 2) return nullptr;
  switch (trial.operations[0].op) {
    case kOpPlus:
      return KnownSecondOperation<kOpPlus, General>(trial);
    case kOpMinus:
      return KnownSecondOperation<kOpMinus, General>(trial);
    case kOpMultiply:
      return KnownSecondOperation<kOpMultiply, General>(trial);
    case kOpDivide:
      return KnownSecondOperation<kOpDivide, General>(trial);
    default:
      return KnownSecondOperation<kOpPower, General>(trial);
  }
}

// The trials of a kept program: as RootTrials' while it runs the compiled
// target, and given up at the first trial it cannot finish, which the
// general search must then take from the start.
class KeptProgramTrials {
 public:
  // Every trial it finishes was at a finite number, as the search's ends
  // are: so are the search's points, none of them a NaN.
  static constexpr bool kFiniteTrials = true;
  explicit KeptProgramTrials(TrialProgram& program) : program_(program) {}

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
  TrialProgram& Program() { return program_; }

  bool givenUp = false;

 private:
  TrialProgram& program_;
};

}  // namespace

bool FindRootSecant(SolverTarget& target, SolverVariables& variable, double x0, double x1, double epsilon,
                    double* root) {
  if (!(epsilon > 0.0)) epsilon = 1e-15;
  RootTrials trials(target, variable);
  if (knownOperations && trials.Compiled())
    if (const SecantSearch<RootTrials> search = KnownOperationsSearch<RootTrials>(target.trial))
      return search(trials, x0, x1, epsilon, root);
  return SecantSteps(trials, x0, x1, epsilon, root);
}

uint8_t SearchKeptRoot(EvalState& nested, CellStore& sheet, const CellRecord* target, const CellRecord* variable,
                       double x0, double x1, double epsilon, double* root) {
  KeptRootProgram* keeper = nested.handlerCaches.Get<KeptRootProgram>(kRootProgramCache);
  if (!keeper) return kKeptRootNotTaken;
  KeptRootProgram& kept = *keeper;
  if (kept.textLength == 0 || !cellShortcut || !trialShortcut || !knownOperations || !nested.numberShortcuts)
    return kKeptRootNotTaken;
  // The general search's conditions for a target, a variable, and no path
  // through formula cells.
  if (!target || !target->IsFormula() || !(target->ResultFlags() & kResultCachedNumber) ||
      target->HasCachedText() || target->FormulaLength() != kept.textLength ||
      !SameFormulaBytes(target->FormulaText(), kept.text, kept.textLength))
    return kKeptRootNotTaken;
  if (!variable || variable->Type() != kCellNumber) return kKeptRootNotTaken;
  TrialProgram& program = kept.program;
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

bool MinimizeMonteCarlo(SolverTarget& target, SolverVariables& variables, const Matrix& flags, double from, double to,
                        int32_t points, double* best) {
  const uint32_t count = variables.Count();
  std::vector<double> saved(count);
  for (uint32_t i = 0; i < count; ++i) saved[i] = variables.Value(i);
  *best = 1.7976931348623157e308;
  RandomSeedPair& stream = ProcessRandomSeeds().shared;
  for (int32_t point = 0; point < points; ++point) {
    for (uint32_t i = 0; i < count; ++i) {
      const double u = NextUniform(&stream);
      if (flags(i + 1, 1) == 1.0) variables.Set(i, from + (to - from) * u);
    }
    double value = 0.0;
    if (!EvaluateFormulaValue(target, &value)) return false;
    if (value < *best) {
      *best = value;
      for (uint32_t i = 0; i < count; ++i) saved[i] = variables.Value(i);
    }
  }
  for (uint32_t i = 0; i < count; ++i) variables.Set(i, saved[i]);
  return true;
}

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
