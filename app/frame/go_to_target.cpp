#include "app/frame/go_to_target.h"

#include "core/base/global_options.h"
#include "core/formula/range_ref_parser.h"

CWorkSheet* FindGoToWorksheet(CWorkBook* book, const char* sheetPath) {
  const CellStore* from = book->activeWorksheet != nullptr ? &book->activeWorksheet->cells : nullptr;
  return CWorkSheet::FromItem(book->FindItemByQualifier(from, sheetPath));
}

bool ParseGoToReference(const EvalState& state, const char* text, SelectionRange* selection) {
  EvalValue range;
  range.Clear();
  const char* end = nullptr;
  const bool parsed =
      AddressingA1 != 0 ? ParseRangeRef(text, &range, &end) : ParseQualifiedRangeRef(state, text, &range, &end);
  if (!parsed || ((range.first.flags | range.second.flags) & kRefOutsideGrid) != 0) return false;
  RefCorner first = range.first;
  RefCorner last = range.second;
  if (IsWholeColumn(first)) {
    first.row = 0;
    last.row = kMaxRow;
  } else if (IsWholeRow(first)) {
    first.column = 0;
    last.column = kMaxColumn;
  }
  if (last.column > kMaxColumn || last.row > kMaxRow) return false;
  *selection = SelectionRange{first.column, first.row, last.column, last.row};
  return true;
}
