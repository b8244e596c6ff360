#ifndef TALVERO_CORE_ROW_TABLE_H
#define TALVERO_CORE_ROW_TABLE_H

// The row records of a worksheet: one u16 per row from row 0 up to the last
// row that has a record; rows beyond the table have the default height.

#include <cstdint>
#include <cstring>

#include "core/cells/paged_array.h"

class RowTable : public PagedArrayOf<2> {
 public:
  static constexpr uint32_t kMaxRows = 2097152;  // rows of a worksheet
  static constexpr uint16_t kFixedHeight = 0x0001;
  static constexpr int kHeightShift = 1;
  static constexpr uint16_t kHeightMask = 0x1FFE;  // bits 1-12, 0 = default height
  static constexpr uint16_t kFlagBits = 0xE000;    // kept by every change here

  // The record of a row, or null when the table does not reach it. Records
  // sit at even offsets of a page, so the pointer is aligned.
  uint16_t* At(uint32_t row) { return reinterpret_cast<uint16_t*>(PagedArray::At(row)); }
  const uint16_t* At(uint32_t row) const {
    return reinterpret_cast<const uint16_t*>(PagedArray::At(row));
  }
  bool Append(uint16_t record) { return PagedArray::Append(&record); }
  // Each record from row 0 on, handed to visit(uint16_t record).
  template <class Visit>
  void ForEachRowRecord(Visit visit) const {
    ForEachPageBytes([&](const uint8_t* bytes, uint32_t length) {
      for (uint32_t offset = 0; offset + sizeof(uint16_t) <= length; offset += sizeof(uint16_t)) {
        uint16_t record;
        std::memcpy(&record, bytes + offset, sizeof record);
        visit(record);
      }
    });
  }

  // Replaces this table's records by the source's. On failure the table is
  // left empty with its pages in its pool.
  bool CopyFrom(const RowTable& source);
  // Grows the table with zero records up to the row, then sets the height
  // (12 bits) and the fixed flag, keeping bits 13-15. False for a row outside
  // the worksheet or when the table cannot grow; records appended before a
  // failed growth stay, as zero records mean the default height anyway.
  bool SetRow(uint32_t row, uint16_t height, bool fixed);
};

#endif
