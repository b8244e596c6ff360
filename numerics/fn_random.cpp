#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"
#include "numerics/matrix_call.h"
#include "numerics/matrix_handlers.h"
#include "numerics/random_numbers.h"

namespace {

constexpr int32_t kMaxRandomCount = 2097152;
constexpr double kLargest = 1.7976931348623157e308;

}  // namespace

void FnRand(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call draws anew
  if (!MatrixCall::Begin(state, 0, 0, true)) return;
  MatrixCall call(state);
  Matrix one;
  if (call.Size(one, 1, 1)) RandomUniform(one, 1, false, 0, false, 0);
  call.Finish(call.Ok() ? one(1, 1) : 0.0);
}

void FnMtxRand(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call draws anew
  if (!MatrixCall::Begin(state, 3, 3)) return;
  MatrixCall call(state);
  int32_t n = 0;
  int32_t seed1 = 0;
  int32_t seed2 = 0;
  const bool hasSeed1 = !IsOmittedArg(state.operands[FirstArg(state) + 1]);
  const bool hasSeed2 = !IsOmittedArg(state.operands[FirstArg(state) + 2]);
  call.Int(2, &seed2, kMinInt32Arg, kMaxInt32Arg);
  call.Int(1, &seed1, kMinInt32Arg, kMaxInt32Arg);
  call.Int(0, &n, 1, kMaxRandomCount);
  Matrix values;
  if (call.Ok() && call.Size(values, uint32_t(n), 1)) RandomUniform(values, n, hasSeed1, seed1, hasSeed2, seed2);
  call.Finish(values, uint32_t(n), 1);
}

void FnMtxRand2(EvalState& state) {
  state.pendingGather.Forbid();  // evaluated as often as ever: each call draws anew
  if (!MatrixCall::Begin(state, 6, 6)) return;
  MatrixCall call(state);
  int32_t n = 0;
  int32_t seed1 = 0;
  int32_t seed2 = 0;
  int32_t type = 0;
  double v1 = 0.0;
  double v2 = 0.0;
  const bool hasSeed1 = !IsOmittedArg(state.operands[FirstArg(state) + 1]);
  const bool hasSeed2 = !IsOmittedArg(state.operands[FirstArg(state) + 2]);
  call.Number(5, &v2, -kLargest, kLargest);
  call.Number(4, &v1, -kLargest, kLargest);
  call.Int(3, &type, 0, 5);
  call.Int(2, &seed2, kMinInt32Arg, kMaxInt32Arg);
  call.Int(1, &seed1, kMinInt32Arg, kMaxInt32Arg);
  call.Int(0, &n, 1, kMaxRandomCount);
  Matrix values;
  if (call.Ok() && call.Size(values, uint32_t(n), 1))
    RandomDeviates(values, n, hasSeed1, seed1, hasSeed2, seed2, type, v1, v2);
  call.Finish(values, uint32_t(n), 1);
}
