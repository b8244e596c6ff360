#ifndef TALVERO_CORE_CELLS_NUMBER_RUN_H
#define TALVERO_CORE_CELLS_NUMBER_RUN_H

// Plain number cells read straight from their records, and runs of them
// taken in one tight loop: a row of a range is a run of back-to-back
// records, and stepping through them without a walk's general tests is
// most of a gathering list's cost. A run stops at the first record the
// caller would not take as a plain number, leaving the cursor on it, so
// that the walk goes on from there exactly as it would have.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/cells/block_store.h"
#include "core/cells/cell_record.h"

// The least biased exponent of a number that is no multiple of 2^-1021:
// numbers below it in size (other than 0) are called tiny here.
constexpr uint32_t kLeastCoarseExponent = 54;

// Whether a number's bits are those of a number ReadPlainNumber takes: zero
// or normal (no subnormal, infinity or NaN). With kRefuseNegativeZero, -0 is
// refused too; with kRefuseTiny, tiny numbers too.
template <bool kRefuseNegativeZero, bool kRefuseTiny = false>
inline bool PlainNumberBits(uint64_t bits) {
  // The exponent and fraction without the sign, the exponent on top: the
  // range of exponents is one range of these.
  constexpr uint64_t kLeast = uint64_t(kRefuseTiny ? kLeastCoarseExponent : 1u) << 53;
  constexpr uint64_t kBeyond = uint64_t(0x7FFu) << 53;
  const uint64_t magnitude = bits << 1;
  if (magnitude - kLeast < kBeyond - kLeast) return true;
  return kRefuseNegativeZero ? bits == 0 : magnitude == 0;
}

// A number cell's number, when its type byte is a number's alone and
// PlainNumberBits takes it: what ReadPlainNumber gives, without the tests
// for formulas, errors and pending notes. False for any other cell, left
// to ReadPlainNumber.
template <bool kRefuseNegativeZero, bool kRefuseTiny = false>
inline bool TakeNumberCell(const CellRecord* cell, double* out) {
  if (cell->Type() != kCellNumber) return false;
  uint64_t bits = 0;
  std::memcpy(&bits, cell->Bytes() + offsetof(NumberCellLayout, value), sizeof bits);
  if (!PlainNumberBits<kRefuseNegativeZero, kRefuseTiny>(bits)) return false;
  std::memcpy(out, &bits, sizeof bits);
  return true;
}

// Takes the number records right after cell, in the cursor's block and
// cell's row, up to lastColumn, into out (at most room numbers) while
// PlainNumberBits takes them, and moves the cursor past them; their count.
// Nothing is taken unless the cursor lies right after cell, a number cell,
// with a walk's step past records.
template <bool kRefuseNegativeZero, bool kRefuseTiny = false>
inline uint32_t TakeNumberRunAfter(CellCursor& cursor, const CellRecord* cell, uint64_t lastColumn, double* out,
                                   uint32_t room) {
  const CellBlock* block = cursor.block;
  if (!block || !(cursor.flags & kCursorAfterRecord) || cell->Type() != kCellNumber) return 0;
  uint32_t offset = cursor.offset;
  if (offset > block->used || block->payload + offset != cell->Bytes() + kNumberCellSize) return 0;
  // Records lie in storage order, so a record past this one in its row lies
  // right of the cell, inside the rectangle while its column is no larger
  // than the last. The type byte, column and row are tested at once: less
  // the head of a number cell at column 0 of this row, a plain number
  // cell's head leaves only its column, shifted a byte up; any other type
  // byte leaves a low byte, rotated here above every column.
  const uint64_t head = kCellNumber | uint64_t(cell->Row()) << 24;
  uint32_t steps = (block->used - offset) / kNumberCellSize;
  if (steps > room) steps = room;
  const uint8_t* record = block->payload + offset;
  uint32_t count = 0;
  for (; count < steps; ++count, record += kNumberCellSize) {
    uint64_t bytes = 0;
    std::memcpy(&bytes, record, sizeof bytes);
    const uint64_t rest = (bytes & 0x00FFFFFFFFFFFFFFu) - head;
    if (((rest >> 8) | (rest << 56)) > lastColumn) break;
    uint64_t bits = 0;
    std::memcpy(&bits, record + offsetof(NumberCellLayout, value), sizeof bits);
    if (!PlainNumberBits<kRefuseNegativeZero, kRefuseTiny>(bits)) break;
    std::memcpy(&out[count], &bits, sizeof bits);
  }
  offset += count * kNumberCellSize;
  cursor.offset = static_cast<uint16_t>(offset);
  return count;
}

#endif
