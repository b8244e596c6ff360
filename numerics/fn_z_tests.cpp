#include <cmath>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "numerics/continuous_cdfs.h"
#include "numerics/running_moments.h"
#include "functions/scalar_call.h"
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
  state.pendingGather.EnterWalk();
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
  state.pendingGather.LeaveWalk();
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

// PROB's walk goes on past pairs of numbers while its sum stays one: sums of
// tame numbers never stop being one, whatever their order. It stops at a
// cell whose new value is anything but a tame number (its value or its
// probability: either may be that cell).
bool ProbabilitiesStopAt(const void*, const CellRecord* cell) {
  return !PendingGather::IsPlainNumberCell(cell) || !PendingGather::IsTame(cell->CachedNumber());
}

// A search that stops at values of other kinds, its cells noted with
// whether they read as numbers: a pair of two errors alike is passed over,
// and one of them become a number ends the walk. A probability read that is
// not tame starts another such walk, so that the cells after it are not
// taken once a value before them changed.
constexpr uint8_t kNoKey = 0;
void EnterProbabilitiesWalk(PendingGather& gather) {
  gather.EnterSearch(&ProbabilitiesStopAt, &kNoKey, sizeof kNoKey);
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
  PendingGather& gather = state.pendingGather;
  EnterProbabilitiesWalk(gather);
  while (error == kErrorNone) {
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
    if (gather.Open() && errorP == kErrorNone && !PendingGather::IsTame(p)) {
      gather.LeaveSearch();
      EnterProbabilitiesWalk(gather);
    }
    if (errorX == kErrorNone && lower <= x && x <= upper) {
      sum += p;
      if (IsBadNumber(sum)) error = kErrorNum;
    }
  }
  gather.LeaveSearch();
  ReleaseArgRange(state, probabilities);
  ReleaseArgRange(state, xs);
  SetNumberResult(state, sum, error);
}
