#ifndef TALVERO_NUMERICS_MATRIX_H
#define TALVERO_NUMERICS_MATRIX_H

// The dense matrix beneath the matrix, regression and solver functions:
// elements row after row, addressed from 1. A second flavour with 4-byte
// elements holds pivot orders. A matrix lives on the stack of one call and
// owns its buffer; buffers grow in 8192-byte granules and are reused,
// without clearing, when a resize does not ask for more elements. The
// small matrices most calls read live in the matrix itself, off the heap.

#include <cstddef>
#include <cstdint>

#include "core/formula/eval_state.h"
#include "functions/arg_readers.h"

constexpr uint32_t kMatrixGranule = 8192;
// The bytes held inside the matrix: an 8 x 8 matrix, or 32 points of a
// straight-line fit, without a heap buffer.
constexpr uint32_t kMatrixInlineBytes = 512;

// The bytes a buffer of count elements of width bytes takes: rounded up to
// the granule; 0 when that does not fit in 32 bits.
uint32_t MatrixBufferBytes(uint64_t count, uint32_t width);

struct Matrix {
  void* data = nullptr;  // doubles, or 32-bit integers in the 4-byte flavour
  uint32_t cols = 0;     // also the row stride
  uint32_t rows = 0;
  uint8_t kind = 0;      // compared when a buffer is reused
  uint8_t width = 0;     // bytes per element of the buffer held

  Matrix() {}
  ~Matrix() { Free(); }
  Matrix(const Matrix&) = delete;
  Matrix& operator=(const Matrix&) = delete;

  // rows x cols doubles. A buffer whose current shape holds at least as many
  // elements is kept with whatever it holds; a new one is zero-filled. False,
  // the matrix left empty, when memory runs out.
  bool Resize(uint32_t newRows, uint32_t newCols, uint8_t newKind = 0);
  bool ResizeInt32(uint32_t newRows, uint32_t newCols, uint8_t newKind = 0);
  void Free() {
    if (data) Release();
  }
  // The rows x cols elements (not the slack of the buffer) set to 0.
  void Zero();

  double* Doubles() { return static_cast<double*>(data); }
  const double* Doubles() const { return static_cast<const double*>(data); }
  int32_t* Int32s() { return static_cast<int32_t*>(data); }
  double& operator()(uint32_t r, uint32_t c) { return Doubles()[size_t(r - 1) * cols + (c - 1)]; }
  const double& operator()(uint32_t r, uint32_t c) const { return Doubles()[size_t(r - 1) * cols + (c - 1)]; }

 private:
  bool ResizeTo(uint32_t newRows, uint32_t newCols, uint8_t newKind, uint8_t newWidth);
  void Release();

  // Left uninitialised until a resize takes it, which clears the elements.
  alignas(double) unsigned char inline_[kMatrixInlineBytes];
};

// Reads the cells of a range or array argument (as GetArgRange gave them)
// into m, already sized to the argument's rows and columns: numbers as they
// are, texts that spell a number as that number; empty cells, errors and
// other texts read as 0. slot is the argument's own slot, which owns nothing
// after GetArgRange and serves to read formula cells. zeroed tells that m's
// elements are all 0 already (a matrix just sized from nothing).
bool ReadRangeToMatrix(EvalState& state, uint16_t slot, ArgRange& range, Matrix& m, bool zeroed = false);

// Ends a call with m's first rows x cols elements as an array value; an
// element that is not a finite double carries "#NUM!". With limitToSheet a
// result wider or taller than a worksheet is "#REF!". A result that cannot
// be stored is "#MEMORY!".
void StoreMatrixResult(EvalState& state, const Matrix& m, uint32_t rows, uint32_t cols, bool limitToSheet);
// The same for rows x cols numbers row after row, rows stride apart.
void StoreNumbersResult(EvalState& state, const double* values, size_t stride, uint32_t rows, uint32_t cols,
                        bool limitToSheet);

#endif
