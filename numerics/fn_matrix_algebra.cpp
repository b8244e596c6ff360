#include <cmath>

#include "core/base/error_code.h"
#include "numerics/linear_algebra.h"
#include "numerics/matrix_call.h"
#include "numerics/matrix_handlers.h"

namespace {

constexpr double kLargest = 1.7976931348623157e308;
// Improvement passes stop at a fixed point, and after this many at most, so
// that a huge count cannot hold the program.
constexpr int32_t kMaxImprovementPasses = 1000;

bool IsSquare(MatrixCall& call, uint16_t arg) {
  if (call.Rows(arg) == call.Cols(arg)) return true;
  call.Fail(kErrorValue);
  return false;
}

// R := B - A X, summing A(i, k) X(k, j) in increasing k.
void ResidualOf(const Matrix& a, const Matrix& b, const Matrix& x, Matrix& product, Matrix& r, int32_t n, int32_t l) {
  MatrixMultiply(a, x, product, n, n, l);
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= l; ++j) r(i, j) = b(i, j) - product(i, j);
}

// X := X + R; false when nothing changed, so that further passes would
// compute the same correction again.
bool AddCorrection(Matrix& x, const Matrix& r, int32_t n, int32_t l) {
  bool changed = false;
  for (int32_t i = 1; i <= n; ++i)
    for (int32_t j = 1; j <= l; ++j) {
      const double before = x(i, j);
      x(i, j) = before + r(i, j);
      if (x(i, j) != before) changed = true;
    }
  return changed;
}

double Determinant(const Matrix& a, int32_t n, int32_t exchanges) {
  double product = 1.0;
  for (int32_t i = 1; i <= n; ++i) product *= a(i, i);
  // A singular matrix's determinant is zero without a sign, whichever
  // pivot or exchange left a negative zero.
  if (product == 0.0) return 0.0;
  return exchanges % 2 ? -product : product;
}

void Substitute(EvalState& state, bool forward) {
  if (!MatrixCall::Begin(state, 2, 2)) return;
  MatrixCall call(state);
  call.Range(1);
  call.Range(0);
  const uint32_t n = call.Rows(0);
  const uint32_t l = call.Cols(1);
  if (call.Ok() && IsSquare(call, 0) && call.Rows(1) != n) call.Fail(kErrorValue);
  Matrix t, b;
  if (call.Ok() && call.Read(0, t) && call.Read(1, b)) {
    if (forward)
      ForwardSubstitution(t, b, int32_t(n), int32_t(l));
    else
      BackSubstitution(t, b, int32_t(n), int32_t(l));
  }
  call.Finish(b, n, l);
}

}  // namespace

void FnMtxGauss(EvalState& state) {
  if (!MatrixCall::Begin(state, 5, 5)) return;
  MatrixCall call(state);
  int32_t iterations = 1;
  int32_t scaling = 1;
  int32_t result = 1;
  call.Int(4, &result, 1, 6);
  call.Int(3, &scaling, 0, 1);
  call.Int(2, &iterations, 1, kMaxInt32Arg);
  if (result != 1)
    call.IgnoreRange(1);
  else
    call.Range(1);
  call.Range(0);
  const uint32_t n = call.Rows(0);
  const uint32_t l = result == 1 ? call.Cols(1) : (result == 5 ? n : 1);
  if (call.Ok() && IsSquare(call, 0) && result == 1 && call.Rows(1) != n) call.Fail(kErrorValue);
  Matrix a, b, scale, pivots;
  if (call.Ok() && call.Read(0, a) && call.Size(b, n, l) && call.Size(scale, n, 1) && call.SizeInt32(pivots, n, 1)) {
    if (result == 1)
      call.Reread(1, b);
    else if (result == 5)
      MatrixIdentity(b, int32_t(n));
    else
      b.Zero();
    int32_t exchanges = 0;
    Matrix* scaleVector = scaling ? &scale : nullptr;
    if (!GaussEliminate(a, b, scaleVector, &pivots, int32_t(n), int32_t(l), &exchanges)) call.Fail(kErrorNull);
    if (call.Ok() && result == 1 && iterations > 1) {
      Matrix original, rhs, product, r;
      if (call.Size(original, n, n) && call.Size(rhs, n, l) && call.Size(product, n, l) && call.Size(r, n, l)) {
        for (int32_t pass = 1; pass < iterations && pass <= kMaxImprovementPasses; ++pass) {
          call.Reread(0, original);
          call.Reread(1, rhs);
          ResidualOf(original, rhs, b, product, r, int32_t(n), int32_t(l));
          GaussEliminate(original, r, scaleVector, nullptr, int32_t(n), int32_t(l));
          if (!AddCorrection(b, r, int32_t(n), int32_t(l))) break;
        }
      }
    }
    if (call.Ok()) {
      const int32_t size = int32_t(n);
      switch (result) {
        case 2:
          for (int32_t i = 1; i <= size; ++i)
            for (int32_t j = 1; j <= size; ++j) a(i, j) = i > j ? a(i, j) : (i == j ? 1.0 : 0.0);
          break;
        case 3:
          for (int32_t i = 1; i <= size; ++i)
            for (int32_t j = 1; j < i; ++j) a(i, j) = 0.0;
          break;
        case 4:
          for (int32_t i = 1; i <= size; ++i)
            for (int32_t j = 1; j <= size; ++j) a(i, j) = pivots.Int32s()[i - 1] == j ? 1.0 : 0.0;
          break;
        case 6:
          call.Finish(Determinant(a, size, exchanges));
          return;
        default:
          break;
      }
    }
  }
  if (result == 6) {
    call.Finish(0.0);
    return;
  }
  call.Finish(result == 1 || result == 5 ? b : a, n, result == 1 ? l : n);
}

void FnMtxChl(EvalState& state) {
  if (!MatrixCall::Begin(state, 4, 4)) return;
  MatrixCall call(state);
  int32_t iterations = 1;
  int32_t result = 1;
  call.Int(3, &result, 1, 5);
  call.Int(2, &iterations, 1, kMaxInt32Arg);
  if (result != 1)
    call.IgnoreRange(1);
  else
    call.Range(1);
  call.Range(0);
  const uint32_t n = call.Rows(0);
  const uint32_t l = call.Cols(1);
  if (call.Ok() && IsSquare(call, 0) && result == 1 && call.Rows(1) != n) call.Fail(kErrorValue);
  Matrix a, u;
  if (call.Ok() && call.Read(0, a) && call.Size(u, n, n)) {
    const int32_t size = int32_t(n);
    const bool factored = result == 4 ? CholeskyInvert(a, u, size) : CholeskyDecompose(a, u, size);
    // A matrix that is not positive definite has no such factor.
    if (!factored) call.Fail(kErrorNum);
    if (call.Ok() && result == 1) {
      Matrix lower, x, rhs, product, r;
      if (call.Size(lower, n, n) && call.Read(1, x) && call.Size(rhs, n, l) && call.Size(product, n, l) &&
          call.Size(r, n, l)) {
        MatrixTransposeInto(u, lower, size, size);
        ForwardSubstitution(lower, x, size, int32_t(l));
        BackSubstitution(u, x, size, int32_t(l));
        for (int32_t pass = 1; pass < iterations && pass <= kMaxImprovementPasses; ++pass) {
          call.Reread(1, rhs);
          ResidualOf(a, rhs, x, product, r, size, int32_t(l));
          ForwardSubstitution(lower, r, size, int32_t(l));
          BackSubstitution(u, r, size, int32_t(l));
          if (!AddCorrection(x, r, size, int32_t(l))) break;
        }
        call.Finish(x, n, l);
        return;
      }
    }
    if (call.Ok() && result == 5) {
      double product = 1.0;
      for (int32_t i = 1; i <= size; ++i) product *= u(i, i) * u(i, i);
      call.Finish(product);
      return;
    }
    if (call.Ok() && result == 3) {
      Matrix lower;
      if (call.Size(lower, n, n)) {
        MatrixTransposeInto(u, lower, size, size);
        call.Finish(lower, n, n);
        return;
      }
    }
  }
  if (result == 5) {
    call.Finish(0.0);
    return;
  }
  call.Finish(result == 4 ? a : u, n, n);
}

void FnMtxFwSubst(EvalState& state) { Substitute(state, true); }

void FnMtxBkSubst(EvalState& state) { Substitute(state, false); }

void FnMtxMlt(EvalState& state) {
  if (!MatrixCall::Begin(state, 1, MatrixCall::kMaxArgs)) return;
  MatrixCall call(state);
  const uint16_t count = call.Count();
  for (uint16_t arg = count; arg-- > 0;) call.Range(arg);
  // The product so far and the next one take turns in two matrices, so
  // that no step copies a product back.
  Matrix first, next, second;
  Matrix* product = &first;
  Matrix* spare = &second;
  uint32_t rows = call.Rows(0);
  uint32_t cols = call.Cols(0);
  for (uint16_t arg = 1; arg < count && call.Ok(); ++arg)
    if (call.Rows(arg) != cols) {
      call.Fail(kErrorValue);
    } else {
      cols = call.Cols(arg);
    }
  if (call.Ok() && call.Read(0, first)) {
    cols = call.Cols(0);
    for (uint16_t arg = 1; arg < count && call.Ok(); ++arg) {
      const uint32_t q = call.Cols(arg);
      if (!call.Read(arg, next) || !call.Size(*spare, rows, q)) break;
      MatrixMultiply(*product, next, *spare, int32_t(rows), int32_t(cols), int32_t(q));
      Matrix* const done = product;
      product = spare;
      spare = done;
      cols = q;
    }
  }
  call.Finish(*product, rows, cols, true);
}

void FnMtxT(EvalState& state) {
  if (!MatrixCall::Begin(state, 1, 1, true)) return;
  MatrixCall call(state);
  call.Range(0);
  const uint32_t m = call.Rows(0);
  const uint32_t n = call.Cols(0);
  if (call.Ok() && m >= kColumnCount) call.Fail(kErrorRef);
  Matrix a, t;
  if (call.Ok() && call.Read(0, a)) {
    // A single row or column keeps its elements' order when turned: the
    // read matrix only takes the other shape, over the same buffer.
    if (m == 1 || n == 1) {
      a.Resize(n, m);
      call.Finish(a, n, m, true);
      return;
    }
    if (call.Size(t, n, m)) MatrixTransposeInto(a, t, int32_t(m), int32_t(n));
  }
  call.Finish(t, n, m, true);
}

void FnMtxDiag(EvalState& state) {
  if (!MatrixCall::Begin(state, 2, 2, true)) return;
  MatrixCall call(state);
  int32_t n = 1;
  double x = 0.0;
  const bool fromMatrix = call.IsRangeOrArray(1);
  if (fromMatrix)
    call.Range(1);
  else
    call.Number(1, &x, -kLargest, kLargest);
  call.Int(0, &n, 1, kMaxInt32Arg);
  if (call.Ok() && uint32_t(n) >= kColumnCount) call.Fail(kErrorRef);
  Matrix values, d;
  if (call.Ok() && (!fromMatrix || call.Read(1, values)) && call.Size(d, uint32_t(n), uint32_t(n))) {
    d.Zero();
    const uint64_t available = fromMatrix ? uint64_t(values.rows) * values.cols : 0;
    for (int32_t i = 1; i <= n; ++i)
      d(uint32_t(i), uint32_t(i)) = fromMatrix ? (uint64_t(i) <= available ? values.Doubles()[i - 1] : 0.0) : x;
  }
  call.Finish(d, uint32_t(n), uint32_t(n), true);
}

void FnMDeterm(EvalState& state) {
  if (!MatrixCall::Begin(state, 1, 1)) return;
  MatrixCall call(state);
  call.Range(0);
  const uint32_t n = call.Rows(0);
  if (call.Ok()) IsSquare(call, 0);
  Matrix a;
  double determinant = 0.0;
  if (call.Ok() && call.Read(0, a)) {
    int32_t exchanges = 0;
    if (EliminateForDeterminant(a, int32_t(n), &exchanges))
      determinant = Determinant(a, int32_t(n), exchanges);
    else
      call.Fail(kErrorNull);
  }
  call.Finish(determinant);
}

void FnMInverse(EvalState& state) {
  if (!MatrixCall::Begin(state, 1, 1)) return;
  MatrixCall call(state);
  call.Range(0);
  const uint32_t n = call.Rows(0);
  if (call.Ok()) IsSquare(call, 0);
  Matrix a, b;
  if (call.Ok() && call.Read(0, a) && call.Size(b, n, n)) {
    MatrixIdentity(b, int32_t(n));
    if (!GaussEliminate(a, b, nullptr, nullptr, int32_t(n), int32_t(n))) call.Fail(kErrorNull);
  }
  call.Finish(b, n, n);
}
