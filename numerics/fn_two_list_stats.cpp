#include <cmath>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "numerics/continuous_cdfs.h"
#include "numerics/paired_range_walk.h"
#include "numerics/running_moments.h"
#include "numerics/statistics_handlers.h"

namespace {

// Reads the two list arguments at first and first + 1 (the last first).
uint32_t ReadTwoLists(EvalState& state, ArgRange* x, ArgRange* y) {
  const uint16_t first = FirstArg(state);
  uint32_t error = GetArgRange(state, static_cast<uint16_t>(first + 1), y);
  return LargerErrorOf(error, GetArgRange(state, first, x));
}

// PairedMoments for two short lists of plain numbers over the same rows,
// read in one walk; false when they are not. Lists of different lengths
// give "#N/A!" in *error.
constexpr uint32_t kPairedPlainCells = 64;

bool PairedPlainMoments(const ArgRange& x, const ArgRange& y, RunningCoMoments* moments, uint32_t* error) {
  const uint64_t cellsX = uint64_t(x.lastColumn - x.firstColumn + 1) * (x.lastRow - x.firstRow + 1);
  const uint64_t cellsY = uint64_t(y.lastColumn - y.firstColumn + 1) * (y.lastRow - y.firstRow + 1);
  if (cellsX > kPairedPlainCells || cellsY > kPairedPlainCells) return false;
  double xs[kPairedPlainCells];
  double ys[kPairedPlainCells];
  uint32_t countX = 0;
  uint32_t countY = 0;
  const bool plain = WalkPlainNumberPair(x, y, [&](bool inX, bool inY, const CellRecord*, double number) {
    if (inX) xs[countX++] = number;
    if (inY) ys[countY++] = number;
  });
  if (!plain) return false;
  *error = countX != countY ? uint32_t(kErrorNA) : uint32_t(kErrorNone);
  if (*error != kErrorNone) return true;
  for (uint32_t k = 0; k < countX; ++k) moments->Add(xs[k], ys[k]);
  return true;
}

// The co-moments of the k-th existing cell of x with the k-th of y,
// whatever their positions. Pairs with the same error are left out; pairs
// with different errors, and lists of different lengths, give "#N/A!".
uint32_t PairedMoments(EvalState& state, ArgRange& x, ArgRange& y, RunningCoMoments* moments) {
  const uint32_t columnsX = x.lastColumn - x.firstColumn;
  const uint32_t rowsX = x.lastRow - x.firstRow;
  if (columnsX != y.lastColumn - y.firstColumn && rowsX != y.lastRow - y.firstRow) return kErrorNA;
  uint32_t plainError = kErrorNone;
  if (PairedPlainMoments(x, y, moments, &plainError)) return plainError;
  *moments = RunningCoMoments{};
  const uint16_t first = FirstArg(state);
  // The pairs are read on while both cells are numbers; a pair with an
  // error may end the walk.
  PendingGather& gather = state.pendingGather;
  PendingGather::WalkScope walk(gather, PendingGather::kPlainValue);
  uint32_t error = kErrorNone;
  for (;;) {
    const CellRecord* cellX = NextArgCell(x);
    const CellRecord* cellY = NextArgCell(y);
    if (!cellX && !cellY) break;
    if (!cellX || !cellY) {
      error = kErrorNA;
      break;
    }
    double a = 0.0;
    double b = 0.0;
    const uint8_t errorX = ReadCellNumberInPlace(state, first, x, cellX, &a);
    const uint8_t errorY = ReadCellNumberInPlace(state, static_cast<uint16_t>(first + 1), y, cellY, &b);
    if (errorX != errorY) {
      error = kErrorNA;
      break;
    }
    if (errorX != kErrorNone) continue;
    moments->Add(a, b);
  }
  return error;
}

enum class Coefficient { kPearson, kRsq, kStEyx };

void PairedStatistic(EvalState& state, Coefficient coefficient) {
  if (!RequireArgs(state, 2)) return;
  IgnoreArgsBeyond(state, 2);
  ArgRange x;
  ArgRange y;
  uint32_t error = ReadTwoLists(state, &x, &y);
  RunningCoMoments moments;
  if (error == kErrorNone) error = PairedMoments(state, x, y, &moments);
  ReleaseArgRange(state, y);
  ReleaseArgRange(state, x);
  double result = 0.0;
  if (error == kErrorNone && coefficient == Coefficient::kStEyx) {
    // The first list is y, the second x.
    if (moments.n < 3.0) {
      error = kErrorNA;
    } else if (moments.YY() == 0.0) {
      error = kErrorNum;
    } else {
      const double residual = std::fmax(moments.XX() - moments.XY() * moments.XY() / moments.YY(), 0.0);
      result = std::sqrt(residual / (moments.n - 2.0));
      if (IsBadNumber(result)) error = kErrorNum;
    }
  } else if (error == kErrorNone) {
    if (moments.n == 0.0) {
      error = kErrorNA;
    } else {
      result = moments.XY() / std::sqrt(moments.XX() * moments.YY());
      if (IsBadNumber(result)) error = kErrorNum;
      if (coefficient == Coefficient::kRsq) result *= result;
    }
  }
  SetNumberResult(state, result, error);
}

struct ListMoments {
  uint32_t error = kErrorNone;
  RunningMoments moments;
};

// One list by itself; cells with errors pass them on or are skipped.
ListMoments ReadListMoments(EvalState& state, uint16_t slot, ArgRange& range, bool skipErrors) {
  ListMoments list;
  double sum = 0.0;
  // Every cell is read, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  while (const CellRecord* cell = NextArgCell(range)) {
    double x = 0.0;
    const uint8_t error = ReadCellNumberInPlace(state, slot, range, cell, &x);
    if (error != kErrorNone) {
      if (!skipErrors) list.error = LargerErrorOf(list.error, error);
      continue;
    }
    if (list.error != kErrorNone) continue;
    list.moments.Add(x);
    sum += x;
    if (IsBadNumber(sum)) list.error = kErrorNum;
  }
  return list;
}

// Both lists by themselves when they are plain numbers over the same rows,
// read in one walk; false when they are not.
bool ReadPlainListPair(const ArgRange& a, const ArgRange& b, ListMoments* listA, ListMoments* listB) {
  double sumA = 0.0;
  double sumB = 0.0;
  const auto add = [](ListMoments& list, double& sum, double x) {
    if (list.error != kErrorNone) return;
    list.moments.Add(x);
    sum += x;
    if (IsBadNumber(sum)) list.error = kErrorNum;
  };
  return WalkPlainNumberPair(a, b, [&](bool inA, bool inB, const CellRecord*, double number) {
    if (inA) add(*listA, sumA, number);
    if (inB) add(*listB, sumB, number);
  });
}

enum class TTestResult { kProbability, kStatistic };

void TTest(EvalState& state, TTestResult wanted) {
  const uint16_t positions = wanted == TTestResult::kProbability ? 3 : 2;
  if (!RequireArgs(state, positions)) return;
  IgnoreArgsBeyond(state, positions);
  const uint16_t first = FirstArg(state);
  int32_t tails = 1;
  uint32_t error = kErrorNone;
  if (wanted == TTestResult::kProbability)
    error = GetArgInt(state, static_cast<uint16_t>(first + 2), &tails, 1, 2);
  ArgRange a;
  ArgRange b;
  error = LargerErrorOf(error, ReadTwoLists(state, &a, &b));
  ListMoments listA;
  ListMoments listB;
  if (error == kErrorNone) {
    if (!ReadPlainListPair(a, b, &listA, &listB)) {
      listA = ReadListMoments(state, first, a, true);
      listB = ReadListMoments(state, static_cast<uint16_t>(first + 1), b, true);
    }
    error = LargerErrorOf(listA.error, listB.error);
  }
  ReleaseArgRange(state, b);
  ReleaseArgRange(state, a);
  const double na = listA.moments.n;
  const double nb = listB.moments.n;
  if (error == kErrorNone && (na < 2.0 || nb < 2.0)) error = kErrorNA;
  double result = 0.0;
  if (error == kErrorNone) {
    const double pooled =
        ((na - 1.0) * listA.moments.SampleVariance() + (nb - 1.0) * listB.moments.SampleVariance()) / (na + nb - 2.0);
    const double standardError = std::sqrt(pooled * (na + nb) / (na * nb));
    // Identical constant lists leave nothing to divide by.
    if (standardError == 0.0) {
      error = kErrorDivZero;
    } else {
      const double t = MeanDifference(listA.moments, listB.moments) / standardError;
      // The upper tail beyond |t|, taken directly rather than as 1 - cdf.
      result = wanted == TTestResult::kStatistic ? t : StudentTCdf(-std::fabs(t), na + nb - 2.0) * tails;
    }
  }
  SetNumberResult(state, result, error);
}

}  // namespace

void FnPearson(EvalState& state) { PairedStatistic(state, Coefficient::kPearson); }
void FnRsq(EvalState& state) { PairedStatistic(state, Coefficient::kRsq); }
void FnStEyx(EvalState& state) { PairedStatistic(state, Coefficient::kStEyx); }

void FnFTest(EvalState& state) {
  if (!RequireArgs(state, 2)) return;
  IgnoreArgsBeyond(state, 2);
  const uint16_t first = FirstArg(state);
  ArgRange a;
  ArgRange b;
  uint32_t error = ReadTwoLists(state, &a, &b);
  ListMoments listA;
  ListMoments listB;
  if (error == kErrorNone) {
    listA = ReadListMoments(state, first, a, false);
    listB = ReadListMoments(state, static_cast<uint16_t>(first + 1), b, false);
    error = LargerErrorOf(listA.error, listB.error);
  }
  ReleaseArgRange(state, b);
  ReleaseArgRange(state, a);
  const double na = listA.moments.n;
  const double nb = listB.moments.n;
  if (error == kErrorNone && (na < 2.0 || nb < 2.0)) error = kErrorDivZero;
  double result = 0.0;
  if (error == kErrorNone) {
    const double va = listA.moments.SampleVariance();
    const double vb = listB.moments.SampleVariance();
    if (va == 0.0 || vb == 0.0 || IsBadNumber(va) || IsBadNumber(vb)) {
      error = kErrorDivZero;
    } else if (va >= vb) {
      result = FDistCdf(va / vb, na - 1.0, nb - 1.0);
    } else {
      result = FDistCdf(vb / va, nb - 1.0, na - 1.0);
    }
  }
  SetNumberResult(state, result, error);
}

void FnTTest(EvalState& state) { TTest(state, TTestResult::kProbability); }
void FnTTest2(EvalState& state) { TTest(state, TTestResult::kStatistic); }
