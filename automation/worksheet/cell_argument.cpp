#include "automation/worksheet/cell_argument.h"

#include "core/base/global_options.h"
#include "core/formula/formula_ref_text.h"

namespace {

constexpr uint32_t kRelativeParts = kRefRowRelative | kRefColumnRelative;

bool ParseAbsoluteCorner(const char* text, const EvalState& evaluator, RefCorner* corner, const char** end) {
  const uint32_t flags =
      AddressingA1 ? ParseA1Reference(text, corner, end) : ParseR1C1Reference(evaluator, text, corner, end);
  return flags != 0 && (flags & (kRelativeParts | kRefOutsideGrid)) == 0;
}

}  // namespace

bool ParseCellArgument(const char* text, const EvalState& evaluator, CellRange* range) {
  if (text == nullptr) return false;
  RefCorner first = {};
  const char* end = nullptr;
  if (!ParseAbsoluteCorner(text, evaluator, &first, &end)) return false;
  RefCorner second = first;
  if (*end == ':' && !ParseAbsoluteCorner(end + 1, evaluator, &second, &end)) return false;
  if (*end != '\0' || (first.flags & kRefCell) != (second.flags & kRefCell)) return false;

  const bool hasColumns = (first.flags & kRefHasColumn) != 0;
  const bool hasRows = (first.flags & kRefHasRow) != 0;
  const uint32_t firstColumn = first.column < second.column ? first.column : second.column;
  const uint32_t lastColumn = first.column < second.column ? second.column : first.column;
  const uint32_t firstRow = first.row < second.row ? first.row : second.row;
  const uint32_t lastRow = first.row < second.row ? second.row : first.row;
  range->firstColumn = static_cast<uint16_t>(hasColumns ? firstColumn : 0);
  range->lastColumn = static_cast<uint16_t>(hasColumns ? lastColumn : kMaxColumn);
  range->firstRow = hasRows ? firstRow : 0;
  range->lastRow = hasRows ? lastRow : kMaxRow;
  return true;
}
