#include "numerics/matrix.h"

#include <cstdlib>
#include <cstring>

#include "core/base/error_code.h"
#include "core/eval/eval_array_builder.h"
#include "core/numfmt/text_to_number.h"
#include "functions/aggregate_cells.h"
#include "functions/array_result.h"
#include "numerics/paired_range_walk.h"

uint32_t MatrixBufferBytes(uint64_t count, uint32_t width) {
  const uint64_t bytes = count * width;
  const uint64_t rounded = (bytes + kMatrixGranule - 1) / kMatrixGranule * kMatrixGranule;
  return rounded > 0xFFFFFFFFull ? 0 : static_cast<uint32_t>(rounded);
}

bool Matrix::ResizeTo(uint32_t newRows, uint32_t newCols, uint8_t newKind, uint8_t newWidth) {
  const uint64_t count = uint64_t(newRows) * newCols;
  if (data && count <= uint64_t(rows) * cols && kind == newKind && width == newWidth) {
    rows = newRows;
    cols = newCols;
    return true;
  }
  Free();
  // A zero-element matrix still gets a buffer, so that it counts as sized.
  if (count * newWidth <= kMatrixInlineBytes) {
    // Only the elements can be reached: a larger shape takes a new buffer.
    std::memset(inline_, 0, size_t(count) * newWidth);
    data = inline_;
  } else {
    const uint32_t bytes = MatrixBufferBytes(count, newWidth);
    if (bytes == 0) return false;
    data = std::calloc(bytes, 1);
    if (!data) return false;
  }
  rows = newRows;
  cols = newCols;
  width = newWidth;
  return true;
}

bool Matrix::Resize(uint32_t newRows, uint32_t newCols, uint8_t newKind) {
  return ResizeTo(newRows, newCols, newKind, sizeof(double));
}

bool Matrix::ResizeInt32(uint32_t newRows, uint32_t newCols, uint8_t newKind) {
  return ResizeTo(newRows, newCols, newKind, sizeof(int32_t));
}

void Matrix::Release() {
  cols = 0;
  rows = 0;
  kind = 0;
  width = 0;
  if (data != inline_) std::free(data);
  data = nullptr;
}

void Matrix::Zero() {
  if (data) std::memset(data, 0, size_t(rows) * cols * width);
}

namespace {

// One cell of a range read into its element, as ReadRangeToMatrix reads it.
// Inline at both walks: a call per cell costs as much as the reading.
[[gnu::always_inline]] inline void ReadCellToElement(EvalState& state, uint16_t slot, const ArgRange& range,
                                                     const CellRecord* cell, Matrix& m) {
  // Offsets from the range's corner; one above a row or column is past it.
  const uint32_t r = cell->Row() - range.firstRow;
  const uint32_t c = cell->Column() - range.firstColumn;
  if (r >= m.rows || c >= m.cols) return;
  // A formula's value (or an array formula's) is the one of this pass,
  // whatever it held before: one not yet calculated is noted first, so that
  // recalculation computes it and reads the range again.
  NotePendingCell(state, range, cell);
  if (cell->ErrorCode() != kErrorNone) return;
  double& element = m.Doubles()[size_t(r) * m.cols + c];
  if (cell->IsNumber()) {
    element = cell->Number();
    return;
  }
  if (cell->IsText()) {
    double number = 0.0;
    if (TextToNumberValue(cell->Text(), cell->TextLength(), &number)) element = number;
    return;
  }
  // A formula cell gives its result, and one not yet calculated in this
  // pass is noted, so that recalculation computes it first.
  CellValueToSlot(state, slot, range, cell);
  const EvalValue& value = state.operands[slot];
  if (value.error == kErrorNone) {
    if (value.kind == kEvalNumber) {
      element = value.number;
    } else if (value.kind == kEvalText) {
      double number = 0.0;
      if (TextToNumberValue(state.SlotText(slot), state.SlotTextLength(slot), &number)) element = number;
    }
  }
  state.DisownSlot(slot);
}

// Every cell of the range into the matrix, in the order the range gives.
void ReadCellsToMatrix(EvalState& state, uint16_t slot, ArgRange& range, Matrix& m) {
  // Over indexed rows the cells are read in the order the cursor gives
  // them, each row entered at the range's first column through the row
  // position memo; a column's cells are found at their places, without
  // passing the rows' other cells.
  if (IndexedRowsWalkable(range)) {
    if (range.firstColumn != range.lastColumn) {
      ForEachIndexedRowCell(range, range.firstColumn, range.lastColumn, [&](const CellRecord* cell, uint32_t) {
        ReadCellToElement(state, slot, range, cell, m);
        return true;
      });
      return;
    }
    for (uint32_t row = range.firstRow; row <= range.lastRow; ++row) {
      bool malformed = false;
      const CellRecord* cell = IndexedRecordAt(*range.sheet, row, range.firstColumn, &malformed);
      // The cursor's walk ends at a malformed record.
      if (malformed) break;
      if (cell) ReadCellToElement(state, slot, range, cell, m);
    }
    return;
  }
  while (const CellRecord* cell = NextArgCell(range)) ReadCellToElement(state, slot, range, cell, m);
}

}  // namespace

bool ReadRangeToMatrix(EvalState& state, uint16_t slot, ArgRange& range, Matrix& m, bool zeroed) {
  if (!zeroed) m.Zero();
  // Every cell is read, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  ReadCellsToMatrix(state, slot, range, m);
  return true;
}

void StoreMatrixResult(EvalState& state, const Matrix& m, uint32_t rows, uint32_t cols, bool limitToSheet) {
  StoreNumbersResult(state, m.Doubles(), m.cols, rows, cols, limitToSheet);
}

void StoreNumbersResult(EvalState& state, const double* values, size_t stride, uint32_t rows, uint32_t cols,
                        bool limitToSheet) {
  ArrayBuilder builder(state.arrays, &state.arrayElementsLeft);
  uint32_t error = kErrorNone;
  if (limitToSheet && (cols > kColumnCount - 1 || rows > kRowCount - 1)) error = kErrorRef;
  if (cols > kColumnCount || rows > kRowCount) error = kErrorRef;
  if (error == kErrorNone && !builder.AddNumbers(0, 0, cols, rows, values, stride)) error = kErrorMemory;
  SetArrayResult(state, builder, cols, rows, error);
}
