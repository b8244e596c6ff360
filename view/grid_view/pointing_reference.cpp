#include "view/grid_view/pointing_reference.h"

#include "core/base/bounded_text.h"
#include "core/base/global_options.h"
#include "core/formula/formula_ref_text.h"

EvalValue SelectionReferenceRange(const SelectionRange& s, bool absolute, bool* whole) {
  uint32_t flags = kRefCell;
  if (s.firstRow == 0 && s.lastRow == kMaxRow)
    flags = kRefHasColumn;
  else if (s.firstColumn == 0 && s.lastColumn == kMaxColumn)
    flags = kRefHasRow;
  *whole = flags != kRefCell;
  if (AddressingA1 && !absolute)
    flags |= kRefRowRelative | kRefColumnRelative;
  EvalValue range{};
  range.first = RefCorner{s.firstColumn, s.firstRow, flags};
  range.second = RefCorner{s.lastColumn, s.lastRow, flags};
  return range;
}

bool FormatSelectionReference(const EvalState& state, const SelectionRange& s, char* buffer, size_t size,
                              bool absolute, const char* sheetText, bool asRange) {
  bool whole = false;
  const EvalValue range = SelectionReferenceRange(s, absolute, &whole);
  BoundedText out(buffer, size);
  return FormatFormulaRef(state, nullptr, sheetText, range, out, false, whole || asRange);
}
