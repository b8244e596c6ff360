#include "core/base/error_code.h"
#include "numerics/matrix_call.h"
#include "numerics/paired_range_walk.h"
#include "numerics/regression_handlers.h"
#include "numerics/svd.h"

namespace {

// The least-squares line through the points (x, y): X(1) the intercept,
// X(2) the slope. c is 1, or 0 for a line through the origin. Without
// known x, the cells of the r-th row of y have x = r + 1.
struct LineFit {
  double intercept = 0.0;
  double slope = 0.0;
};

// Solves for the line through (xs[k], ys[k]) with a first column of c,
// overwriting both lists, and keeps the fit; false, with the call's error,
// when there is none.
bool SolveLine(MatrixCall& call, double* xs, double* ys, uint32_t count, double c, LineFit* fit) {
  int32_t rank = 0;
  bool converged = true;
  double solution[2] = {0.0, 0.0};
  LineLeastSquares(c, xs, ys, int32_t(count), 0.0, solution, &rank, &converged);
  if (!converged) {
    call.Fail(kErrorNum);
    return false;
  }
  // Points that all share one x leave the slope undetermined: the
  // minimum-norm solution would split their mean between intercept and
  // slope and look like an answer.
  if (rank < (c != 0.0 ? 2 : 1)) {
    call.Fail(kErrorDivZero);
    return false;
  }
  fit->intercept = solution[0];
  fit->slope = solution[1];
  return true;
}

// The points of a short fit whose known x and y are plain numbers in two
// ranges over the same rows, read in one walk; false when they are not.
constexpr uint32_t kStackPoints = 64;

bool ReadStackPoints(const MatrixCall& call, uint16_t yArg, uint16_t xArg, uint32_t count, double* ys, double* xs) {
  const ArgRange& yRange = call.RangeOf(yArg);
  const ArgRange& xRange = call.RangeOf(xArg);
  const uint32_t cols = call.Cols(yArg);
  // Empty cells read as 0, as a matrix read leaves them.
  for (uint32_t k = 0; k < count; ++k) {
    ys[k] = 0.0;
    xs[k] = 0.0;
  }
  return WalkPlainNumberPair(yRange, xRange, [&](bool inY, bool inX, const CellRecord* cell, double number) {
    const uint32_t row = cell->Row() - yRange.firstRow;
    if (inY) ys[row * cols + (cell->Column() - yRange.firstColumn)] = number;
    if (inX) xs[row * cols + (cell->Column() - xRange.firstColumn)] = number;
  });
}

bool FitLine(MatrixCall& call, uint16_t yArg, int16_t xArg, double c, LineFit* fit) {
  const uint32_t rows = call.Rows(yArg);
  const uint32_t cols = call.Cols(yArg);
  const uint32_t count = rows * cols;
  // Two unknowns need two points; the decomposition needs rows >= columns.
  if (count < 2) {
    call.Fail(kErrorDivZero);
    return false;
  }
  // Known x has known y's shape (the callers check it).
  if (xArg >= 0 && count <= kStackPoints) {
    double ys[kStackPoints];
    double xs[kStackPoints];
    if (ReadStackPoints(call, yArg, uint16_t(xArg), count, ys, xs)) return SolveLine(call, xs, ys, count, c, fit);
  }
  // b and known are read in the argument's shape; as columns they are the
  // same elements.
  Matrix b, known;
  if (!call.Read(yArg, b)) return false;
  if (xArg >= 0) {
    if (!call.Read(uint16_t(xArg), known)) return false;
  } else {
    if (!call.Size(known, count, 1)) return false;
    for (uint32_t k = 0; k < count; ++k) known.Doubles()[k] = double(k / cols + 2);
  }
  return SolveLine(call, known.Doubles(), b.Doubles(), count, c, fit);
}

enum class LineResult { kForecast, kIntercept, kSlope };

void LineValue(EvalState& state, LineResult wanted) {
  const uint16_t positions = wanted == LineResult::kForecast ? 3 : 2;
  if (!MatrixCall::Begin(state, positions, positions)) return;
  MatrixCall call(state);
  const uint16_t xArg = wanted == LineResult::kForecast ? 2 : 1;
  call.Range(xArg);
  call.Range(uint16_t(xArg - 1));
  double at = 0.0;
  if (wanted == LineResult::kForecast) call.Number(0, &at, -1.7976931348623157e308, 1.7976931348623157e308);
  const uint16_t yArg = uint16_t(xArg - 1);
  if (call.Ok() && (call.Rows(xArg) != call.Rows(yArg) || call.Cols(xArg) != call.Cols(yArg))) call.Fail(kErrorValue);
  LineFit fit;
  if (call.Ok()) FitLine(call, yArg, int16_t(xArg), 1.0, &fit);
  double result = fit.slope;
  if (wanted == LineResult::kForecast) result = fit.intercept + fit.slope * at;
  if (wanted == LineResult::kIntercept) result = fit.intercept;
  call.Finish(result);
}

// Known x must match known y's shape; without it, y must be one column.
void CheckLineShapes(MatrixCall& call, uint16_t yArg, uint16_t xArg) {
  if (!call.Ok()) return;
  const bool matches = call.Given(xArg) ? call.Rows(xArg) == call.Rows(yArg) && call.Cols(xArg) == call.Cols(yArg)
                                        : call.Cols(yArg) == 1;
  if (!matches) call.Fail(kErrorValue);
}

}  // namespace

void FnForecast(EvalState& state) { LineValue(state, LineResult::kForecast); }
void FnIntercept(EvalState& state) { LineValue(state, LineResult::kIntercept); }
void FnSlope(EvalState& state) { LineValue(state, LineResult::kSlope); }

void FnLinEst(EvalState& state) {
  if (!MatrixCall::Begin(state, 3, 3)) return;
  MatrixCall call(state);
  int32_t withConstant = 1;
  call.Int(2, &withConstant, 0, 1);
  call.Range(1, false);
  call.Range(0);
  CheckLineShapes(call, 0, 1);
  LineFit fit;
  if (call.Ok()) FitLine(call, 0, call.Given(1) ? 1 : -1, withConstant, &fit);
  const double result[2] = {fit.intercept, fit.slope};
  call.FinishColumn(result, 2);
}

void FnTrend(EvalState& state) {
  if (!MatrixCall::Begin(state, 4, 4)) return;
  MatrixCall call(state);
  int32_t withConstant = 1;
  call.Int(3, &withConstant, 0, 1);
  call.Range(2, false);
  call.Range(1, false);
  call.Range(0);
  CheckLineShapes(call, 0, 1);
  LineFit fit;
  if (call.Ok()) FitLine(call, 0, call.Given(1) ? 1 : -1, withConstant, &fit);
  Matrix newX, result;
  uint32_t count = call.Rows(0) * call.Cols(0);
  const bool givenX = call.Given(2);
  if (call.Ok() && givenX) {
    count = call.Rows(2) * call.Cols(2);
    call.Read(2, newX);
  }
  // A short column of values needs no matrix of its own.
  double shortValues[kStackPoints];
  double* values = shortValues;
  if (call.Ok() && count > kStackPoints && call.Size(result, count, 1)) values = result.Doubles();
  if (call.Ok()) {
    for (uint32_t k = 1; k <= count; ++k) {
      const double x = givenX ? newX.Doubles()[k - 1] : double(k + 1);
      values[k - 1] = fit.intercept + fit.slope * x;
    }
  }
  call.FinishColumn(values, count);
}
