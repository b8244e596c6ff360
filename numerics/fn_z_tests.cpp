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
    if (errorX == kErrorNone && lower <= x && x <= upper) {
      sum += p;
      if (IsBadNumber(sum)) error = kErrorNum;
    }
  }
  ReleaseArgRange(state, probabilities);
  ReleaseArgRange(state, xs);
  SetNumberResult(state, sum, error);
}
