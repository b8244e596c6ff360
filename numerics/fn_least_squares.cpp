#include "core/base/error_code.h"
#include "numerics/linear_algebra.h"
#include "numerics/matrix_call.h"
#include "numerics/matrix_handlers.h"
#include "numerics/svd.h"

namespace {

constexpr double kLargest = 1.7976931348623157e308;

enum SvdResult : int32_t {
  kSvdSolutions = 1,
  kSvdRank = 2,
  kSvdResiduals = 3,
  kSvdPseudoInverse = 4,
  kSvdU = 5,
  kSvdS = 6,
  kSvdV = 7,
};

// A kernel that could not have its scratch memory, or a decomposition that
// did not converge.
void CheckKernel(MatrixCall& call, bool succeeded, bool converged) {
  if (!succeeded)
    call.Fail(kErrorMemory);
  else if (!converged)
    call.Fail(kErrorNum);
}

// m >= n for every least-squares function.
void RequireTallOrSquare(MatrixCall& call) {
  if (call.Ok() && call.Rows(0) < call.Cols(0)) call.Fail(kErrorValue);
}


// The trailing arguments both least-squares handlers share: the singular-value
// ratio at ratioPos and, after it, which result to give (1 the solution, 2 the
// residual norm).
void ReadRatioAndResult(MatrixCall& call, uint16_t ratioPos, double* ratio, int32_t* result) {
  call.Int(uint16_t(ratioPos + 1), result, kMinInt32Arg, kMaxInt32Arg);
  if (call.Ok() && *result != 1 && *result != 2) call.Fail(kErrorNum);
  call.Number(ratioPos, ratio, 0.0, kLargest);
}

void FinishSolution(MatrixCall& call, int32_t result, const Matrix& x, const Matrix& r, uint32_t n) {
  if (result == 2)
    call.Finish(call.Ok() ? r(1, 1) : 0.0);
  else
    call.Finish(x, n, 1);
}

}  // namespace

void FnMtxSvd(EvalState& state) {
  if (!MatrixCall::Begin(state, 4, 4)) return;
  MatrixCall call(state);
  double ratio = 0.0;
  int32_t result = kSvdSolutions;
  call.Int(3, &result, 1, 7);
  call.Number(2, &ratio, 0.0, kLargest);
  const bool withB = result == kSvdSolutions || result == kSvdResiduals;
  if (withB)
    call.Range(1);
  else
    call.IgnoreRange(1);
  call.Range(0);
  RequireTallOrSquare(call);
  const uint32_t m = call.Rows(0);
  const uint32_t n = call.Cols(0);
  const uint32_t l = call.Cols(1);
  if (call.Ok() && withB && call.Rows(1) != m) call.Fail(kErrorValue);
  bool converged = true;
  int32_t rank = 0;
  Matrix a, b, x, r, p, u, s, v;
  if (call.Ok() && call.Read(0, a)) {
    if (withB) {
      if (call.Read(1, b) && call.Size(x, n, l) && call.Size(r, l, 1))
        CheckKernel(call, SvdLeastSquares(a, b, x, r, int32_t(m), int32_t(n), int32_t(l), &rank, &converged, ratio),
                    converged);
    } else if (call.Size(p, n, m) && call.Size(u, m, m) && call.Size(s, m, n) && call.Size(v, n, n)) {
      CheckKernel(call, SvdDriver(a, p, u, s, v, int32_t(m), int32_t(n), &rank, &converged, ratio), converged);
    }
  }
  switch (result) {
    case kSvdSolutions:
      call.Finish(x, n, l);
      break;
    case kSvdRank:
      call.Finish(double(rank));
      break;
    case kSvdResiduals:
      call.Finish(r, l, 1);
      break;
    case kSvdPseudoInverse:
      call.Finish(p, n, m);
      break;
    case kSvdU:
      call.Finish(u, m, m);
      break;
    case kSvdS:
      call.Finish(s, m, n);
      break;
    default:
      call.Finish(v, n, n);
      break;
  }
}

void FnMtxLsw(EvalState& state) {
  if (!MatrixCall::Begin(state, 5, 5)) return;
  MatrixCall call(state);
  double ratio = 0.0;
  int32_t result = 1;
  ReadRatioAndResult(call, 3, &ratio, &result);
  call.Range(2);
  call.Range(1);
  call.Range(0);
  RequireTallOrSquare(call);
  const uint32_t m = call.Rows(0);
  const uint32_t n = call.Cols(0);
  if (call.Ok() && (call.Rows(1) != m || call.Cols(1) != 1 || call.Rows(2) != m || call.Cols(2) != m))
    call.Fail(kErrorValue);
  bool converged = true;
  int32_t rank = 0;
  Matrix a, b, g, h, weightedA, weightedB, x, r;
  if (call.Ok() && call.Read(0, a) && call.Read(1, b) && call.Read(2, g) && call.Size(h, m, m) &&
      call.Size(weightedA, m, n) && call.Size(weightedB, m, 1) && call.Size(x, n, 1) && call.Size(r, 1, 1)) {
    // A weight matrix that is not positive definite has no factor.
    if (!CholeskyDecompose(g, h, int32_t(m))) call.Fail(kErrorNum);
    if (call.Ok()) {
      MatrixMultiply(h, a, weightedA, int32_t(m), int32_t(m), int32_t(n));
      MatrixMultiply(h, b, weightedB, int32_t(m), int32_t(m), 1);
      CheckKernel(call,
                  SvdLeastSquares(weightedA, weightedB, x, r, int32_t(m), int32_t(n), 1, &rank, &converged, ratio),
                  converged);
    }
  }
  FinishSolution(call, result, x, r, n);
}

void FnMtxLsc(EvalState& state) {
  if (!MatrixCall::Begin(state, 6, 6)) return;
  MatrixCall call(state);
  double ratio = 0.0;
  int32_t result = 1;
  ReadRatioAndResult(call, 4, &ratio, &result);
  call.Range(3);
  call.Range(2);
  call.Range(1);
  call.Range(0);
  RequireTallOrSquare(call);
  const uint32_t m = call.Rows(0);
  const uint32_t n = call.Cols(0);
  const uint32_t l = call.Rows(2);
  if (call.Ok() && (call.Rows(1) != m || call.Cols(1) != 1 || call.Cols(2) != n || l >= n || call.Rows(3) != l ||
                    call.Cols(3) != 1))
    call.Fail(kErrorValue);
  bool converged = true;
  Matrix a, b, e, d, x, r;
  if (call.Ok() && call.Read(0, a) && call.Read(1, b) && call.Read(2, e) && call.Read(3, d) && call.Size(x, n, 1) &&
      call.Size(r, 1, 1))
    CheckKernel(call,
                ConstrainedLeastSquares(a, b, e, d, x, r, int32_t(m), int32_t(n), int32_t(l), &converged, ratio),
                converged);
  FinishSolution(call, result, x, r, n);
}
