#include "numerics/matrix_call.h"

#include "core/base/error_code.h"
#include "functions/aggregate_cells.h"

bool MatrixCall::Begin(EvalState& state, uint16_t minimum, uint16_t maximum, bool exact) {
  const uint16_t given = ArgCount(state);
  if (given < minimum || (exact && given != minimum)) {
    state.status = kEvalStatusSyntax;
    return false;
  }
  if (given > maximum) IgnoreArgsBeyond(state, maximum);
  return true;
}

MatrixCall::MatrixCall(EvalState& state) : state_(state), first_(FirstArg(state)) {
  count_ = ArgCount(state);
  if (count_ > kMaxArgs) count_ = kMaxArgs;
  ranges_.Start(count_);
  held_ = count_;
}

MatrixCall::~MatrixCall() { ReleaseRanges(); }

void MatrixCall::ReleaseRanges() {
  // Finish releases them and the destructor would again: once is enough.
  for (uint16_t i = 0; i < held_; ++i) ReleaseArgRange(state_, ranges_[i]);
  held_ = 0;
}

void MatrixCall::Int(uint16_t arg, int32_t* out, int32_t min, int32_t max) {
  if (arg < count_) Fail(GetArgInt(state_, static_cast<uint16_t>(first_ + arg), out, min, max));
}

void MatrixCall::Number(uint16_t arg, double* out, double min, double max) {
  if (arg < count_) Fail(GetArgNumber(state_, static_cast<uint16_t>(first_ + arg), out, min, max));
}

bool MatrixCall::IsRangeOrArray(uint16_t arg) const {
  return arg < count_ && ::IsRangeOrArray(state_.operands[first_ + arg]);
}

void MatrixCall::Range(uint16_t arg, bool required) {
  if (arg >= count_) {
    if (required) Fail(kErrorValue);
    return;
  }
  const uint16_t slot = static_cast<uint16_t>(first_ + arg);
  const bool omitted = IsOmittedArg(state_.operands[slot]);
  const uint8_t error = GetArgRange(state_, slot, &ranges_[arg]);
  Fail(omitted && required ? uint8_t(kErrorValue) : error);
  given_[arg] = !omitted && error == 0;
}

void MatrixCall::IgnoreRange(uint16_t arg) {
  if (arg >= count_) return;
  ArgRange ignored;
  GetArgRange(state_, static_cast<uint16_t>(first_ + arg), &ignored);
  ReleaseArgRange(state_, ignored);
}

bool MatrixCall::Size(Matrix& m, uint32_t rows, uint32_t cols) {
  if (uint64_t(rows) * cols > EvalState::kArrayElementBudget || !m.Resize(rows, cols)) {
    Fail(kErrorMemory);
    return false;
  }
  return true;
}

bool MatrixCall::SizeInt32(Matrix& m, uint32_t rows, uint32_t cols) {
  if (uint64_t(rows) * cols > EvalState::kArrayElementBudget || !m.ResizeInt32(rows, cols)) {
    Fail(kErrorMemory);
    return false;
  }
  return true;
}

bool MatrixCall::Read(uint16_t arg, Matrix& m) {
  // A matrix sized from nothing comes zero-filled.
  const bool fresh = m.data == nullptr;
  if (!Size(m, Rows(arg), Cols(arg))) return false;
  ReadInto(arg, m, fresh);
  return true;
}

void MatrixCall::Reread(uint16_t arg, Matrix& m) { ReadInto(arg, m, false); }

void MatrixCall::ReadInto(uint16_t arg, Matrix& m, bool zeroed) {
  // GetArgRange left the kept range at its start, and every read walks a
  // copy, so the copy starts there too.
  ArgRange walk = ranges_[arg];
  walk.ownsChain = false;
  ReadRangeToMatrix(state_, static_cast<uint16_t>(first_ + arg), walk, m, zeroed);
}

void MatrixCall::Fail(uint32_t error) {
  if (error > error_) error_ = error;
}

void MatrixCall::Finish(double value) {
  ReleaseRanges();
  SetNumberResult(state_, value, error_);
}

void MatrixCall::Finish(const Matrix& m, uint32_t rows, uint32_t cols, bool limitToSheet) {
  ReleaseRanges();
  if (error_ != 0) {
    SetErrorResult(state_, error_);
    return;
  }
  StoreMatrixResult(state_, m, rows, cols, limitToSheet);
}

void MatrixCall::FinishColumn(const double* values, uint32_t count) {
  ReleaseRanges();
  if (error_ != 0) {
    SetErrorResult(state_, error_);
    return;
  }
  StoreNumbersResult(state_, values, 1, count, 1, false);
}

void MatrixCall::FinishWithError() {
  ReleaseRanges();
  SetErrorResult(state_, error_ ? error_ : uint32_t(kErrorValue));
}
