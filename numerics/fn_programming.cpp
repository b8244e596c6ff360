#include "core/base/error_code.h"
#include "numerics/linear_program.h"
#include "numerics/matrix_call.h"
#include "numerics/programming_handlers.h"

namespace {

constexpr double kLargest = 1.7976931348623157e308;

enum class ProgramKind { kContinuous, kInteger, kBinary };

void FailOnStatus(MatrixCall& call, ProgramStatus status) {
  switch (status) {
    case kProgramSolved:
      break;
    case kProgramNoMemory:
      call.Fail(kErrorMemory);
      break;
    case kProgramUnbounded:
      call.Fail(kErrorValue);
      break;
    case kProgramInfeasible:
      call.Fail(kErrorNull);
      break;
    case kProgramGaveUp:
      call.Fail(kErrorNum);
      break;
  }
}

bool IsColumnOf(const MatrixCall& call, uint16_t arg, uint32_t rows) {
  return call.Rows(arg) == rows && call.Cols(arg) == 1;
}

void RunLinearProgram(EvalState& state, ProgramKind kind) {
  const bool restricted = kind != ProgramKind::kContinuous;
  const uint16_t positions = restricted ? 8 : 7;
  if (!MatrixCall::Begin(state, positions, positions)) return;
  MatrixCall call(state);
  const uint16_t options = restricted ? 5 : 4;
  double penalty = 0.0;
  double epsilon = 1e-8;
  int32_t vector = 1;
  call.Number(uint16_t(options + 2), &penalty, 0.0, kLargest);
  call.Number(uint16_t(options + 1), &epsilon, 0.0, kLargest);
  call.Int(options, &vector, 0, kMaxInt32Arg);
  if (restricted) call.Range(4, false);
  for (uint16_t arg = 4; arg-- > 0;) call.Range(arg);
  const uint32_t m = call.Rows(0);
  const uint32_t n = call.Cols(0);
  if (call.Ok() && (!IsColumnOf(call, 1, m) || !IsColumnOf(call, 2, m) || !IsColumnOf(call, 3, n) ||
                    (restricted && call.Given(4) && !IsColumnOf(call, 4, n))))
    call.Fail(kErrorValue);
  const int32_t requested = vector;
  Matrix a, s, b, c, f, x;
  if (call.Ok() && call.Read(0, a) && call.Read(1, s) && call.Read(2, b) && call.Read(3, c) && call.Size(x, n, 1) &&
      call.Size(f, n, 1)) {
    f.Zero();
    if (restricted && call.Given(4)) {
      call.Reread(4, f);
      for (uint32_t j = 1; j <= n; ++j)
        if (f(j, 1) != 0.0 && f(j, 1) != 1.0) call.Fail(kErrorNum);
    }
    if (call.Ok()) {
      x.Zero();
      FailOnStatus(call, restricted ? BranchBoundProgram(a, s, b, c, f, x, &vector, m, n, epsilon, penalty,
                                                         kind == ProgramKind::kBinary)
                                    : SimplexLinearProgram(a, s, b, c, x, &vector, m, n, epsilon, penalty));
    }
  }
  if (requested == 0)
    call.Finish(double(vector));
  else
    call.Finish(x, n, 1);
}

}  // namespace

void FnLProg(EvalState& state) { RunLinearProgram(state, ProgramKind::kContinuous); }
void FnLProgInt(EvalState& state) { RunLinearProgram(state, ProgramKind::kInteger); }
void FnLProgBin(EvalState& state) { RunLinearProgram(state, ProgramKind::kBinary); }

void FnQProg(EvalState& state) {
  if (!MatrixCall::Begin(state, 7, 7)) return;
  MatrixCall call(state);
  double epsilon = 1e-8;
  int32_t vector = 1;
  call.Number(6, &epsilon, 0.0, kLargest);
  call.Int(5, &vector, 0, kMaxInt32Arg);
  for (uint16_t arg = 5; arg-- > 0;) call.Range(arg);
  const uint32_t m = call.Rows(0);
  const uint32_t n = call.Cols(0);
  if (call.Ok() && (!IsColumnOf(call, 1, m) || !IsColumnOf(call, 2, m) || !IsColumnOf(call, 3, n) ||
                    call.Rows(4) != n || call.Cols(4) != n))
    call.Fail(kErrorValue);
  const int32_t requested = vector;
  Matrix a, s, b, p, c, x;
  if (call.Ok() && call.Read(0, a) && call.Read(1, s) && call.Read(2, b) && call.Read(3, p) && call.Read(4, c) &&
      call.Size(x, n, 1)) {
    x.Zero();
    FailOnStatus(call, QuadraticProgram(a, s, b, p, c, x, &vector, m, n, epsilon));
  }
  if (requested == 0)
    call.Finish(double(vector));
  else
    call.Finish(x, n, 1);
}
