#ifndef TALVERO_CORE_REF_CORNER_H
#define TALVERO_CORE_REF_CORNER_H

// One corner of a cell reference as formulas read and write it. Relative
// parts are resolved against the formula's own cell as soon as they are read,
// so a corner always holds absolute 0-based coordinates; the relative flags
// only decide how the corner is written again.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_record.h"  // the grid: kColumnCount, kRowCount

// Corner flags.
constexpr uint32_t kRefHasRow = 0x01;
constexpr uint32_t kRefRowRelative = 0x02;
constexpr uint32_t kRefRowNegative = 0x04;  // relative with a negative offset
constexpr uint32_t kRefHasColumn = 0x08;
constexpr uint32_t kRefColumnRelative = 0x10;
constexpr uint32_t kRefColumnNegative = 0x20;
constexpr uint32_t kRefOutsideGrid = 0x40;  // evaluates to "#REF!"
constexpr uint32_t kRefCell = kRefHasRow | kRefHasColumn;

struct RefCorner {
  uint32_t column;  // 16 bits used
  uint32_t row;
  uint32_t flags;
};
static_assert(sizeof(RefCorner) == 12, "a corner is three 32-bit words");

inline bool IsFullCell(const RefCorner& c) { return (c.flags & kRefCell) == kRefCell; }
inline bool IsWholeColumn(const RefCorner& c) {
  return (c.flags & kRefCell) == kRefHasColumn;
}
inline bool IsWholeRow(const RefCorner& c) { return (c.flags & kRefCell) == kRefHasRow; }

#endif
