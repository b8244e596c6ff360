#include "numerics/formula_solvers.h"

#include "numerics/secant_steps.h"
#include "numerics/trial_program.h"

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
    const EvalState& nested = *target.nested;
    if (target.path || !nested.solverFoundCells || !nested.solverTrialPrograms || !target.tokens ||
        !target.tokens->numeric || !nested.numberShortcuts || target.found.state != FoundTargetCells::kFound ||
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

}  // namespace

bool FindRootSecant(SolverTarget& target, SolverVariables& variable, double x0, double x1, double epsilon,
                    double* root) {
  if (!(epsilon > 0.0)) epsilon = 1e-15;
  RootTrials trials(target, variable);
  if (target.nested->solverKnownOperations && trials.Compiled())
    if (const SecantSearch<RootTrials> search = KnownOperationsSearch<RootTrials>(target.trial))
      return search(trials, x0, x1, epsilon, root);
  return SecantSteps(trials, x0, x1, epsilon, root);
}
