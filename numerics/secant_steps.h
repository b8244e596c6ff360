#ifndef TALVERO_NUMERICS_SECANT_STEPS_H
#define TALVERO_NUMERICS_SECANT_STEPS_H

// The secant steps of a root search, over trials a caller gives (the general
// evaluation, a compiled target or a kept one), and the loops for compiled
// targets of one or two known operations. Templates, so that each search
// keeps its trials inline.

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "core/eval/run_numbers_program.h"
#include "numerics/formula_solvers.h"

// std::fmax, inline: the larger, or the one that is not a NaN (a NaN is
// unequal to itself, and no comparison with it holds).
inline double LargerNumber(double x, double y) { return y > x || x != x ? y : x; }
// The same for two numbers neither of which is a NaN.
inline double LargerOfNumbers(double x, double y) { return y > x ? y : x; }

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
    TrialOperations& trial = general.Program();
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
SecantSearch<General> KnownSecondOperation(const TrialOperations& trial) {
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
SecantSearch<General> KnownOperationsSearch(const TrialOperations& trial) {
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

#endif
