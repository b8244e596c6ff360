#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "numerics/matrix_call.h"
#include "numerics/poly_fit.h"
#include "numerics/regression_handlers.h"

namespace {

enum PolyRegResult : int32_t { kCoefficients = 1, kPolynomials = 2, kChiSquares = 3 };

bool IsColumnOf(const MatrixCall& call, uint16_t arg, uint32_t rows) {
  return call.Cols(arg) == 1 && call.Rows(arg) == rows;
}

// An omitted required number is "#NUM!" although the handler has a value
// to start from.
void RequireGiven(EvalState& state, MatrixCall& call, uint16_t arg) {
  if (arg >= call.Count() || IsOmittedArg(state.operands[ArgSlot(state, arg)])) call.Fail(kErrorNum);
}

}  // namespace

void FnPolyReg(EvalState& state) {
  if (!MatrixCall::Begin(state, 5, 5)) return;
  MatrixCall call(state);
  int32_t r = 1;
  int32_t type = kCoefficients;
  call.Int(4, &type, 1, 3);
  call.Int(3, &r, 1, kMaxInt32Arg);
  call.Range(2);
  call.Range(1);
  call.Range(0);
  const uint32_t n = call.Rows(0);
  if (call.Ok() && (n < uint32_t(r) || !IsColumnOf(call, 0, n) || !IsColumnOf(call, 1, n) || !IsColumnOf(call, 2, n)))
    call.Fail(kErrorValue);
  Matrix t, y, sy, x, b, f, chi2;
  if (call.Ok() && call.Read(0, t) && call.Read(1, y) && call.Read(2, sy) && call.Size(x, r, 1) &&
      call.Size(b, r, r) && call.Size(f, n, r) && call.Size(chi2, r, 1) &&
      !PolyRegressionKernel(t, y, sy, int32_t(n), r, x, b, f, chi2))
    call.Fail(kErrorMemory);
  if (type == kPolynomials)
    call.Finish(b, r, r, true);
  else
    call.Finish(type == kChiSquares ? chi2 : x, r, 1, true);
}

void FnPolyPoints(EvalState& state) {
  if (!MatrixCall::Begin(state, 7, 7)) return;
  MatrixCall call(state);
  double p = 0.9;
  int32_t n = 1;
  int32_t r = 1;
  RequireGiven(state, call, 6);
  call.Number(6, &p, 1e-15, 1.0);
  call.Range(5);
  RequireGiven(state, call, 4);
  call.Int(4, &r, 1, kMaxInt32Arg);
  RequireGiven(state, call, 3);
  call.Int(3, &n, 1, kMaxInt32Arg);
  call.Range(2);
  call.Range(1);
  call.Range(0);
  const uint32_t m = call.Rows(0);
  if (call.Ok() && (!IsColumnOf(call, 0, m) || call.Rows(1) != m || call.Cols(1) != m || !IsColumnOf(call, 2, m) ||
                    call.Cols(5) != 1 || uint32_t(r) > m || uint32_t(n) < m))
    call.Fail(kErrorValue);
  const uint32_t points = call.Rows(5);
  Matrix x, b, chi2, t, result;
  if (call.Ok() && call.Read(0, x) && call.Read(1, b) && call.Read(2, chi2) && call.Read(5, t) &&
      call.Size(result, points, 2)) {
    // The chi-square goes in negated: only a negative one asks for Student's
    // t with its own scale, a non-negative one for the normal band.
    for (uint32_t q = 1; q <= points; ++q)
      PolyPointBand(x, b, t(q, 1), -chi2(uint32_t(r), 1), p, r, double(n) - r, &result(q, 1), &result(q, 2));
  }
  call.Finish(result, points, 2);
}

void FnTimeSeries(EvalState& state) {
  if (!MatrixCall::Begin(state, 4, 4)) return;
  MatrixCall call(state);
  double p = 0.9;
  int32_t k = 2;
  int32_t l = 2;
  RequireGiven(state, call, 3);
  call.Number(3, &p, 1e-15, 1.0);
  RequireGiven(state, call, 2);
  call.Int(2, &k, 1, kMaxInt32Arg);
  RequireGiven(state, call, 1);
  call.Int(1, &l, 1, kMaxInt32Arg);
  call.Range(0);
  const uint64_t width = 2 * uint64_t(k) + 1;
  const uint32_t n = call.Rows(0);
  if (call.Ok() && (call.Cols(0) != 1 || uint64_t(l) >= width || n < width)) call.Fail(kErrorValue);
  // The window's design and smoothing matrices count against the budget
  // like any other matrix of the call.
  if (call.Ok() && width * (uint64_t(l) + 1) > EvalState::kArrayElementBudget) call.Fail(kErrorMemory);
  const uint32_t rows = n + 2 * uint32_t(k);
  Matrix y, eta, confidence, result;
  if (call.Ok() && call.Read(0, y) && call.Size(eta, rows, 1) && call.Size(confidence, rows, 1) &&
      call.Size(result, rows, 2)) {
    if (!TimeSeriesKernel(y, int32_t(n), k, l, p, eta, confidence)) {
      call.Fail(kErrorMemory);
    } else {
      for (uint32_t o = 1; o <= rows; ++o) {
        result(o, 1) = eta(o, 1);
        result(o, 2) = confidence(o, 1);
      }
    }
  }
  call.Finish(result, rows, 2);
}
