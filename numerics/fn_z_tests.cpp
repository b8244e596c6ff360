#include <cmath>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "numerics/continuous_cdfs.h"
#include "numerics/running_moments.h"
#include "functions/scalar_call.h"
#include "functions/sum_stretches.h"
#include "numerics/statistics_handlers.h"

namespace {

enum class ZResult { kProbability, kStatistic };

void ZTest(EvalState& state, ZResult wanted) {
  if (!BeginListCall(state, 2, 3, 0x6u)) return;
  const uint16_t first = FirstArg(state);
  double deviation = 0.0;
  bool deviationGiven = false;
  uint32_t error = kErrorNone;
  if (ArgCount(state) > 2 && !IsOmittedArg(state.operands[first + 2])) {
    deviationGiven = true;
    error = GetArgNumber(state, static_cast<uint16_t>(first + 2), &deviation, -kLargestNumber, kLargestNumber);
  }
  double x = 0.0;
  error = LargerErrorOf(error, GetArgNumber(state, static_cast<uint16_t>(first + 1), &x, -kLargestNumber,
                                            kLargestNumber));
  ArgRange range;
  error = LargerErrorOf(error, GetArgRange(state, first, &range));
  RunningMoments moments;
  double sum = 0.0;
  // Every cell is read, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  while (const CellRecord* cell = NextArgCell(range)) {
    double value = 0.0;
    const uint8_t cellError = ReadCellNumber(state, first, range, cell, &value);
    if (cellError != kErrorNone) {
      error = LargerErrorOf(error, cellError);
      continue;
    }
    moments.Add(value);
    sum += value;
    if (IsBadNumber(sum)) error = LargerErrorOf(error, kErrorNum);
  }
  ReleaseArgRange(state, range);
  if (error == kErrorNone && moments.n < 2.0) error = kErrorDivZero;
  double result = 0.0;
  if (error == kErrorNone) {
    const double sigma = deviationGiven ? deviation : std::sqrt(moments.SampleVariance());
    const double standardError = sigma / std::sqrt(moments.n);
    if (standardError == 0.0) {
      error = kErrorDivZero;
    } else {
      const double z = -moments.Deviation(x) / standardError;
      // 1 - cdf(z) as the lower tail at -z, which keeps its digits.
      result = wanted == ZResult::kStatistic ? z : StdNormalCdf(-z);
    }
  }
  SetNumberResult(state, result, error);
}

}  // namespace

void FnZTest(EvalState& state) { ZTest(state, ZResult::kProbability); }
void FnZTest2(EvalState& state) { ZTest(state, ZResult::kStatistic); }

namespace {

// PROB's walk goes on past pairs of numbers while its sum stays one, read
// in stretches (see sum_stretches.h) whose probabilities keep it one
// whichever of them are added.
struct ProbabilitiesKey {
  double termLimit;
  // The probabilities' rectangle: a cell in it is judged as a probability
  // (a value that lies there on another worksheet too, more strictly than
  // it needs).
  uint32_t firstRow;
  uint32_t lastRow;
  uint32_t firstColumn;
  uint32_t lastColumn;
  uint8_t way;  // a SumWay
};

// Whether the walk stops at (or after) a cell calculated anew: at anything
// but a number, and at a probability its stretch does not take.
bool ProbabilitiesStopAt(const void* bytes, const CellRecord* cell) {
  if (!PendingGather::IsPlainNumberCell(cell)) return true;
  ProbabilitiesKey key;
  std::memcpy(&key, bytes, sizeof key);
  const bool probability = cell->Row() >= key.firstRow && cell->Row() <= key.lastRow &&
                           cell->Column() >= key.firstColumn && cell->Column() <= key.lastColumn;
  return probability && !TermKeepsSumSound(key.way, key.termLimit, cell->CachedNumber());
}

// A stretch: a search that stops at values of other kinds, its cells noted
// with whether they read as numbers, so that a pair of two errors alike,
// passed over, one of which becomes a number, ends the walk.
void RestartProbabilitiesStretch(PendingGather& gather, PendingGather::SearchScope& stretch,
                                 const ProbabilitiesKey& key) {
  stretch.Restart(&ProbabilitiesStopAt, &key, sizeof key);
  gather.SetNoteFlags(PendingGather::kPlainValue);
}

}  // namespace

void FnProb(EvalState& state) {
  if (!BeginListCall(state, 3, 4, 0xcu)) return;
  const uint16_t first = FirstArg(state);
  double lower = 0.0;
  double upper = 0.0;
  bool upperGiven = false;
  uint32_t error = kErrorNone;
  if (ArgCount(state) > 3 && !IsOmittedArg(state.operands[first + 3])) {
    upperGiven = true;
    error = GetArgNumber(state, static_cast<uint16_t>(first + 3), &upper, -kLargestNumber, kLargestNumber);
  }
  error = LargerErrorOf(error, GetArgNumber(state, static_cast<uint16_t>(first + 2), &lower, -kLargestNumber,
                                            kLargestNumber));
  if (!upperGiven) upper = lower;
  ArgRange xs;
  ArgRange probabilities;
  error = LargerErrorOf(error, GetArgRange(state, static_cast<uint16_t>(first + 1), &probabilities));
  error = LargerErrorOf(error, GetArgRange(state, first, &xs));
  double sum = 0.0;
  // Until a stretch lists its first cell its key follows the walk.
  PendingGather& gather = state.pendingGather;
  const double cells = (double(probabilities.lastColumn) - probabilities.firstColumn + 1) *
                       (double(probabilities.lastRow) - probabilities.firstRow + 1);
  ProbabilitiesKey key{SumTermLimit(cells), probabilities.firstRow, probabilities.lastRow,
                       probabilities.firstColumn, probabilities.lastColumn, kFrozenWay};
  bool committed = false;
  bool negativeSeen = false;
  PendingGather::SearchScope stretch(gather, &ProbabilitiesStopAt, &key, sizeof key);
  gather.SetNoteFlags(PendingGather::kPlainValue);
  while (error == kErrorNone) {
    if (!committed) key.way = SumWayAfter(sum, negativeSeen);
    const uint32_t listed = gather.End();
    const CellRecord* cellX = NextArgCell(xs);
    const CellRecord* cellP = NextArgCell(probabilities);
    if (!cellX && !cellP) break;
    if (!cellX || !cellP) {
      error = kErrorNA;
      break;
    }
    double x = 0.0;
    double p = 0.0;
    const uint8_t errorX = ReadCellNumber(state, first, xs, cellX, &x);
    const uint8_t errorP = ReadCellNumber(state, static_cast<uint16_t>(first + 1), probabilities, cellP, &p);
    if (errorX != errorP) {
      error = kErrorNA;
      break;
    }
    negativeSeen = negativeSeen || (errorP == kErrorNone && p < 0);
    if (!committed && gather.End() != listed) committed = true;
    if (committed && gather.Open() && errorP == kErrorNone && !TermKeepsSumSound(key.way, key.termLimit, p)) {
      // After a change before it, the sum that reaches the cells after it
      // is unknown.
      RestartProbabilitiesStretch(gather, stretch, key);
      committed = false;
    }
    if (errorX == kErrorNone && lower <= x && x <= upper) {
      sum += p;
      if (IsBadNumber(sum)) error = kErrorNum;
    }
  }
  ReleaseArgRange(state, probabilities);
  ReleaseArgRange(state, xs);
  SetNumberResult(state, sum, error);
}
