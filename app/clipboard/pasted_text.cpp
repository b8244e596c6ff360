#include "app/clipboard/pasted_text.h"

#include <cstring>

#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"

namespace {

bool IsSeparator(char c) { return c == '\t' || c == '\r' || c == '\n'; }

// The end of a quoted field that starts at `at`: just past its closing
// quote, which a separator or the text's end follows; null when the field is
// not quoted that way.
const char* QuotedFieldEnd(const char* at, const char* end) {
  if (at == end || *at != '"') return nullptr;
  for (const char* c = at + 1; c < end; ++c) {
    if (*c != '"') continue;
    if (c + 1 < end && c[1] == '"') {
      ++c;
      continue;
    }
    return c + 1 == end || IsSeparator(c[1]) ? c + 1 : nullptr;
  }
  return nullptr;
}

// Copies the field starting at *at into field (at most kPastedFieldCapacity
// characters and a NUL) and leaves *at on its separator or the end.
void ReadField(const char** at, const char* end, char* field) {
  size_t length = 0;
  if (const char* quotedEnd = QuotedFieldEnd(*at, end)) {
    for (const char* c = *at + 1; c < quotedEnd - 1; ++c) {
      if (*c == '"') ++c;  // the first of a doubled pair
      if (length < kPastedFieldCapacity) field[length++] = *c;
    }
    *at = quotedEnd;
  } else {
    const char* c = *at;
    for (; c < end && !IsSeparator(*c); ++c)
      if (length < kPastedFieldCapacity) field[length++] = *c;
    *at = c;
  }
  field[length] = '\0';
}

bool StoreField(CWorkBook* book, const char* field, uint16_t column, uint32_t row, uint16_t originColumn,
                uint32_t originRow, PastedBlock* block, CellCursor* cursor) {
  // Where the field lands in the paste's first tile; a field past the grid's
  // edge lands nowhere, and the edge serves it as well as any cell.
  const uint32_t targetColumn = uint32_t(originColumn) + column;
  const uint64_t targetRow = uint64_t(originRow) + row;
  NumFormatParams format;
  format.category = 0;
  std::memset(&format.options, 0, sizeof format.options);
  alignas(8) uint8_t record[kCellInputCapacity];
  const uint32_t size = CWorkSheet::ParseCellInput(
      book, field, &format, uint32_t(targetRow > kMaxRow ? kMaxRow : targetRow),
      uint16_t(targetColumn > kMaxColumn ? kMaxColumn : targetColumn), record, sizeof record);
  if (size == 0) return true;
  CellRecord* cell = AsCellRecord(record);
  cell->SetColumn(column);
  cell->SetRow(row);
  if (!block->cells.InsertCell(cell, cursor)) return false;
  if (column > block->lastColumn) block->lastColumn = column;
  block->lastRow = row;
  return true;
}

}  // namespace

bool ParsePastedText(CWorkBook* book, const char* text, size_t length, uint16_t originColumn, uint32_t originRow,
                     PastedBlock* block) {
  block->lastColumn = 0;
  block->lastRow = 0;
  const char* at = text;
  const char* end = text + length;
  uint16_t column = 0;
  uint32_t row = 0;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  char field[kPastedFieldCapacity + 1];
  // Rows only grow: once past the grid's last row nothing more lands.
  while (at < end && uint64_t(originRow) + row <= kMaxRow) {
    ReadField(&at, end, field);
    if (field[0] != '\0' && !StoreField(book, field, column, row, originColumn, originRow, block, &cursor)) {
      block->cells.DeleteRange(0, kMaxColumn, 0, kMaxRow, nullptr, true);
      block->lastColumn = 0;
      block->lastRow = 0;
      return false;
    }
    if (at == end) break;
    if (*at == '\t') {
      column = column == kMaxColumn ? 0 : uint16_t(column + 1);
      ++at;
    } else {
      // CR LF, a CR alone or an LF alone: the next row.
      if (*at == '\r' && at + 1 < end && at[1] == '\n') ++at;
      ++at;
      column = 0;
      ++row;
    }
  }
  return true;
}
