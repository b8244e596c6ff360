#include "app/frame/selection_reference.h"

#include <cstdio>
#include <cstring>

#include "services/convert/column_letters.h"
#include "core/cells/cell_record.h"

namespace {

// One corner: a column, a row or a cell (column or row of -1 left out).
int FormatCorner(int64_t column, int64_t row, bool a1, char* out, size_t size) {
  if (a1) {
    char letters[kColumnLettersCapacity] = {};
    if (column >= 0) ColumnNumberToLetters(letters, static_cast<uint32_t>(column + 1));
    if (row < 0) return std::snprintf(out, size, "%s", letters);
    return std::snprintf(out, size, "%s%lld", letters, static_cast<long long>(row + 1));
  }
  if (column < 0) return std::snprintf(out, size, "R%lld", static_cast<long long>(row + 1));
  if (row < 0) return std::snprintf(out, size, "C%lld", static_cast<long long>(column + 1));
  return std::snprintf(out, size, "R%lldC%lld", static_cast<long long>(row + 1), static_cast<long long>(column + 1));
}

}  // namespace

void FormatSelectionReference(uint16_t firstColumn, uint32_t firstRow, uint16_t lastColumn, uint32_t lastRow,
                              bool addressingA1, char* buffer, size_t size) {
  if (size == 0) return;
  buffer[0] = '\0';
  const bool allRows = firstRow == 0 && lastRow == kRowCount - 1;
  const bool allColumns = firstColumn == 0 && lastColumn == kColumnCount - 1;
  int64_t columns[2] = {firstColumn, lastColumn};
  int64_t rows[2] = {firstRow, lastRow};
  if (allRows) {
    rows[0] = rows[1] = -1;
  } else if (allColumns) {
    columns[0] = columns[1] = -1;
  }
  const bool oneCell = !allRows && !allColumns && firstColumn == lastColumn && firstRow == lastRow;
  char text[2 * kSelectionReferenceCapacity];
  int length = FormatCorner(columns[0], rows[0], addressingA1, text, sizeof text);
  if (!oneCell) {
    text[length++] = ':';
    length += FormatCorner(columns[1], rows[1], addressingA1, text + length, sizeof text - length);
  }
  if (static_cast<size_t>(length) < size) std::memcpy(buffer, text, static_cast<size_t>(length) + 1);
}
