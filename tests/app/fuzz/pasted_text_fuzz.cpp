// libFuzzer target: text another program put on the clipboard, read into a
// block of cells as a paste whose top-left cell the first bytes choose (near
// the grid's edges as often as not). A parse gives a block whose store keeps
// its invariants, whose cells lie inside the block's extent and, placed at
// the paste's origin, inside the grid.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "app/clipboard/pasted_text.h"
#include "core/workbook/workbook.h"

namespace {

void Check(bool condition) {
  if (!condition)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CWorkBook* book = [] {
    auto* made = new CWorkBook;
    Check(made->NewDocument());
    return made;
  }();
  if (size < 2)
    return 0;
  const uint16_t originColumn = (data[0] & 1) ? uint16_t(kMaxColumn - data[0] % 8) : uint16_t(data[0] % 8);
  const uint32_t originRow = (data[1] & 1) ? kMaxRow - data[1] % 8 : data[1] % 8;
  auto block = std::make_unique<PastedBlock>();
  if (!ParsePastedText(book, reinterpret_cast<const char*>(data + 2), size - 2, originColumn, originRow, block.get()))
    return 0;
  Check(block->cells.CheckInvariants());
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = block->cells.FirstBlock();
  while (const CellRecord* cell = cursor.Next()) {
    Check(cell->Column() <= block->lastColumn && cell->Row() <= block->lastRow);
    Check(cell->Column() <= kMaxColumn && uint64_t(originRow) + cell->Row() <= kMaxRow);
  }
  return 0;
}
