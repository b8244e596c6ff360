#ifndef TALVERO_CORE_CELLS_CELL_RECORD_BUFFER_H
#define TALVERO_CORE_CELLS_CELL_RECORD_BUFFER_H

// What one cell record can hold, and room to build any record a store takes.
// A record never spans two blocks, so a cell is at most one block's payload:
// readers that build cells cut their texts and size their buffers by these,
// never by the record layout.

#include <cstddef>
#include <cstdint>

#include "core/cells/block_store.h"
#include "core/cells/cell_record.h"

constexpr uint32_t kLargestCellRecord = kBlockPayload;
// The longest text a text cell's record holds.
constexpr uint16_t kLongestRecordText = uint16_t(kLargestCellRecord - kTextCellHeadSize);

// The longest cached text a formula cell keeps beside a formula text of
// formulaLength bytes; negative when the formula alone passes a record.
constexpr int32_t LongestCachedText(uint32_t formulaLength) {
  return int32_t(kLargestCellRecord - kFormulaCellHeadSize - kCachedTextLengthSize) - int32_t(formulaLength);
}

// One cell record built in place. Each builder writes a complete record and
// returns its size, or 0 (nothing written) for a record larger than a store
// takes.
class CellRecordBuffer {
 public:
  uint32_t BuildText(uint32_t row, uint16_t column, const char* text, uint16_t length, uint8_t typeExtra = 0) {
    return BuildTextCell(bytes_, sizeof bytes_, row, column, text, length, typeExtra);
  }
  uint32_t BuildNumber(uint32_t row, uint16_t column, double value, uint8_t typeExtra = 0) {
    return BuildNumberCell(bytes_, sizeof bytes_, row, column, value, typeExtra);
  }
  uint32_t BuildFormula(uint32_t row, uint16_t column, const FormulaCellFields& fields) {
    return BuildFormulaCell(bytes_, sizeof bytes_, row, column, fields);
  }

  // The record the last builder that succeeded wrote.
  CellRecord* Record() { return AsCellRecord(bytes_); }
  const CellRecord* Record() const { return AsCellRecord(bytes_); }

 private:
  alignas(8) uint8_t bytes_[kLargestCellRecord];
};

#endif
