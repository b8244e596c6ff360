#ifndef TALVERO_NUMERICS_MATRIX_CALL_H
#define TALVERO_NUMERICS_MATRIX_CALL_H

// The frame the matrix handlers share: options read from the last argument
// to the first, then the matrix arguments' cells, the call's error the
// largest of all, the matrices sized and read, the arguments released and
// the result stored. Matrices too large for the evaluator's array budget
// are refused with "#MEMORY!" before anything is computed.

#include <cstdint>

#include "core/formula/eval_state.h"
#include "functions/arg_range_slots.h"
#include "functions/arg_readers.h"
#include "numerics/matrix.h"

constexpr int32_t kMaxInt32Arg = 2147483647;
constexpr int32_t kMinInt32Arg = -2147483647;

class MatrixCall {
 public:
  static constexpr uint16_t kMaxArgs = EvalState::kStackSlots;

  // False, with the syntax status set, when fewer than minimum arguments
  // (or, with exact, not exactly minimum) were given. Arguments beyond
  // maximum are released unread.
  static bool Begin(EvalState& state, uint16_t minimum, uint16_t maximum, bool exact = false);

  explicit MatrixCall(EvalState& state);
  ~MatrixCall();
  MatrixCall(const MatrixCall&) = delete;
  MatrixCall& operator=(const MatrixCall&) = delete;

  uint16_t Count() const { return count_; }
  // Option readers; an omitted option keeps the output's value.
  void Int(uint16_t arg, int32_t* out, int32_t min, int32_t max);
  void Number(uint16_t arg, double* out, double min, double max);
  // The cells of a matrix argument; an omitted one is "#VALUE!" when required.
  // An ignored one contributes no error.
  void Range(uint16_t arg, bool required = true);
  void IgnoreRange(uint16_t arg);
  bool Given(uint16_t arg) const { return given_[arg]; }
  bool IsRangeOrArray(uint16_t arg) const;
  // The cells of a given matrix argument, their walk not yet started.
  const ArgRange& RangeOf(uint16_t arg) const { return ranges_[arg]; }
  uint32_t Rows(uint16_t arg) const { return given_[arg] ? ranges_[arg].lastRow - ranges_[arg].firstRow + 1 : 0; }
  uint32_t Cols(uint16_t arg) const {
    return given_[arg] ? ranges_[arg].lastColumn - ranges_[arg].firstColumn + 1 : 0;
  }

  // Sizes a matrix within the budget; "#MEMORY!" otherwise.
  bool Size(Matrix& m, uint32_t rows, uint32_t cols);
  bool SizeInt32(Matrix& m, uint32_t rows, uint32_t cols);
  // Sizes m to the argument's shape and reads its cells.
  bool Read(uint16_t arg, Matrix& m);
  // Reads the argument afresh into an already sized matrix.
  void Reread(uint16_t arg, Matrix& m);

  void Fail(uint32_t error);
  uint32_t Error() const { return error_; }
  bool Ok() const { return error_ == 0; }

  // Ends the call.
  void Finish(double value);
  void Finish(const Matrix& m, uint32_t rows, uint32_t cols, bool limitToSheet = false);
  // A short result kept by the handler itself: count numbers as one column.
  void FinishColumn(const double* values, uint32_t count);
  void FinishWithError();

 private:
  void ReleaseRanges();
  void ReadInto(uint16_t arg, Matrix& m, bool zeroed);

  EvalState& state_;
  uint16_t first_;
  uint16_t count_;
  uint16_t held_ = 0;  // ranges still to release
  uint32_t error_ = 0;
  bool given_[kMaxArgs] = {};
  ArgRangeSlots ranges_;
};

#endif
