#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "functions/fn_math.h"
#include "functions/int_pow.h"
#include "functions/scalar_call.h"
#include "functions/sum_stretches.h"
#include "functions/random_stream.h"

namespace {

constexpr ScalarArg kAnyNumber = {false, -kLargestDouble, kLargestDouble, 0};
constexpr ScalarArg kAnyInteger = {true, -kLargestInt, kLargestInt, 0};

// x to a power that may lie beyond 32 bits. There |x| > 1 overflows and
// |x| < 1 vanishes whatever the exact power, so only the parity matters.
double PowerOf(double x, int64_t power) {
  constexpr int64_t kLimit = 2147483646;  // even
  if (power > kLimit) power = kLimit + (power & 1);
  if (power < -kLimit) power = -kLimit - (-power & 1);
  return IntPow(x, static_cast<int32_t>(power));
}

// ReadScalarArgs for arguments that are all numbers without error, as a
// series' x, n and m nearly always are: each within its bounds, an
// integer's whole, is taken as it stands (a zero without its sign, as an
// integer's reading gives it); false, nothing read, for any other, which
// ReadScalarArgs then reads.
bool ReadPlainScalarArgs(const EvalState& state, const ScalarArg* args, uint16_t count, double* values) {
  const EvalValue* slots = state.operands + FirstArg(state);
  for (uint16_t i = 0; i < count; ++i) {
    const EvalValue& value = slots[i];
    const double x = value.number;
    if (value.kind != kEvalNumber || value.error != kErrorNone || !(x >= args[i].min && x <= args[i].max))
      return false;
    if (args[i].integer && !(x >= -kLargestInt && x <= kLargestInt && x == double(int32_t(x)))) return false;
  }
  for (uint16_t i = 0; i < count; ++i)
    values[i] = args[i].integer ? double(int32_t(slots[i].number)) : slots[i].number;
  return true;
}

// x to the power a series' term takes it to: rising powers from the table
// of products, any other by squaring, as the series computes them.
double TermPower(double x, bool rising, int64_t power) {
  if (rising && power <= RisingPowers::kMost) return RisingPowers(x).Of(int32_t(power));
  return PowerOf(x, power);
}

// The walk of a series' coefficients goes on past numbers while its sum
// stays one: read in stretches (see sum_stretches.h), a coefficient
// calculated anew judged by its term, its power known by its place in a
// stretch without gaps.
struct SeriesKey {
  double x;
  double termLimit;
  int64_t step;
  // The first listed cell's place in the coefficients (in storage order,
  // counting absent cells) and its power; the stretch's cells follow it
  // without a gap.
  uint64_t baseOffset;
  int64_t basePower;
  uint32_t firstRow;
  uint32_t firstColumn;
  uint32_t columns;
  bool rising;  // the powers come from the table of products
  uint8_t way;  // a SumWay
};

bool TermKeepsSeriesSound(const SeriesKey& key, double term) {
  return TermKeepsSumSound(key.way, key.termLimit, term);
}

uint64_t CoefficientOffset(const SeriesKey& key, const CellRecord* cell) {
  return uint64_t(cell->Row() - key.firstRow) * key.columns + (cell->Column() - key.firstColumn);
}

// Whether the series stops at (or after) a coefficient of the stretch
// calculated anew.
bool SeriesStopsAt(const void* bytes, const CellRecord* cell) {
  SeriesKey key;
  std::memcpy(&key, bytes, sizeof key);
  if (!PendingGather::IsPlainNumberCell(cell)) return true;
  const uint64_t offset = CoefficientOffset(key, cell);
  if (offset < key.baseOffset) return true;
  const int64_t power = key.basePower + int64_t(offset - key.baseOffset) * key.step;
  return !TermKeepsSeriesSound(key, TermPower(key.x, key.rising, power) * cell->CachedNumber());
}

}  // namespace

// Sum of c_i * x^(n + i * m) over the coefficient cells in storage order;
// an empty cell adds nothing and does not advance the power. x, n and m
// apply element by element, the coefficients stay whole for every element.
void FnSeriesSum(EvalState& state) {
  if (!BeginElementCall(state, 4, 0x7u)) return;
  const ScalarArg scalars[3] = {kAnyNumber, kAnyInteger, kAnyInteger};
  const uint16_t coefficientsSlot = ArgSlot(state, 3);
  ArgRange coefficients;
  uint32_t error = GetRequiredArgRange(state, coefficientsSlot, &coefficients);
  double x[3] = {};
  if (!ReadPlainScalarArgs(state, scalars, 3, x)) error = LargerErrorOf(error, ReadScalarArgs(state, scalars, 3, x));
  double sum = 0;
  int64_t power = int64_t(x[1]);
  const int64_t step = int64_t(x[2]);
  // Powers rising one at a time, as most series' do, come one product each.
  RisingPowers powers(x[0]);
  const bool rising = step == 1 && power >= 1;
  // The walk's stretches: until a stretch lists its first cell its key
  // follows the walk, naming the cell about to be read.
  PendingGather& gather = state.pendingGather;
  const uint64_t cells = uint64_t(coefficients.lastColumn - coefficients.firstColumn + 1) *
                         (uint64_t(coefficients.lastRow) - coefficients.firstRow + 1);
  SeriesKey key{x[0], SumTermLimit(double(cells)), step, 0, 0, coefficients.firstRow,
                coefficients.firstColumn, coefficients.lastColumn - coefficients.firstColumn + 1, rising, kFrozenWay};
  // Each stretch of the coefficients' walk is a search that stops at new
  // values of other kinds (a value read as anything but a number ended the
  // walk where it was read).
  PendingGather::SearchScope stretch(gather, &SeriesStopsAt, &key, sizeof key);
  bool committed = false;
  bool negativeSeen = false;
  uint64_t lastOffset = 0;
  while (error == kErrorNone) {
    const CellRecord* cell = NextArgCell(coefficients);
    if (!cell) break;
    const uint64_t offset = CoefficientOffset(key, cell);
    if (committed && gather.Open() && offset != lastOffset + 1) {
      // A gap: the powers of the cells after it are no longer known by
      // their places.
      stretch.Restart(&SeriesStopsAt, &key, sizeof key);
      committed = false;
    }
    if (!committed) {
      key.baseOffset = offset;
      key.basePower = power;
      key.way = SumWayAfter(sum, negativeSeen);
    }
    const uint32_t listed = gather.End();
    double c = 0;
    error = ReadCellNumberInPlace(state, coefficientsSlot, coefficients, cell, &c);
    const double xToPower =
        error != kErrorNone ? 0.0 : rising && power <= RisingPowers::kMost ? powers.Of(int32_t(power)) : PowerOf(x[0], power);
    const double term = xToPower * c;
    if (gather.End() == listed + 1 && gather.Open() && key.way != kFrozenWay &&
        (error != kErrorNone || !TermKeepsSeriesSound(key, term))) {
      // A cell not yet calculated, just listed, whose stored value the
      // stretch does not take (none, or left by a file written elsewhere):
      // the evaluation is to be made again, and reading on without its term
      // lists the rest, each taken only if this one becomes a value the
      // stretch takes; its very value kept ends the list there.
      gather.EndListIfLastKept();
      error = kErrorNone;
      power += step;
      lastOffset = offset;
      committed = true;
      continue;
    }
    if (error != kErrorNone) break;
    sum += term;
    power += step;
    if (IsBadNumber(sum)) error = kErrorNum;
    lastOffset = offset;
    negativeSeen = negativeSeen || term < 0;
    if (!committed && gather.End() != listed) committed = true;
    if (committed && gather.Open() && !TermKeepsSeriesSound(key, term)) {
      // A term the stretch's way does not take: after a change before it,
      // the sum that reaches the cells after it is unknown.
      stretch.Restart(&SeriesStopsAt, &key, sizeof key);
      committed = false;
    }
  }
  ReleaseArgRange(state, coefficients);
  SetNumberResult(state, sum, error);
}

// A whole number of the closed range between the bounds, each equally
// likely: one uniform deviate of the shared stream mapped onto the integers
// from ceil(min(a, b)) to floor(max(a, b)); none there, or more than a
// double counts, is "#NUM!".
void FnRandBetween(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call draws anew
  RunScalarFunction(state, ScalarFunction{2, {kAnyNumber, kAnyNumber}, [](const double* x, uint32_t* error) {
                                             const double lo = std::ceil(x[0] < x[1] ? x[0] : x[1]);
                                             const double hi = std::floor(x[0] < x[1] ? x[1] : x[0]);
                                             // A span beyond the doubles has no uniform mapping.
                                             if (lo > hi || !std::isfinite(hi - lo + 1.0)) {
                                               *error = kErrorNum;
                                               return 0.0;
                                             }
                                             const double u = NextUniform(&ProcessRandomSeeds().shared);
                                             const double k = lo + std::floor((hi - lo + 1.0) * u);
                                             return k > hi ? hi : k;
                                           }});
}
