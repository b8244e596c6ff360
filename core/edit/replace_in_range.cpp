#include "core/edit/replace_in_range.h"

#include <cstring>

#include "core/base/bounded_text.h"
#include "core/edit/cell_display_text.h"
#include "core/edit/cell_input.h"
#include "core/cells/cell_store.h"
#include "core/edit/cell_text.h"
#include "core/edit/wildcard_find.h"

namespace {

// The text a cell offers to the search; false when that is only the start
// of a text longer than a cell may take, which replacing would cut.
bool SearchedText(EvalState& translator, const CellRecord& cell, const NumFormatParams& format, char* text,
                  size_t size) {
  if (cell.IsFormula()) {
    FormulaDisplayText(translator, cell, text, size);
    return cell.FormulaLength() <= kFormulaTextCapacity;
  }
  FormatCellValueText(cell, format, text, size);
  return !cell.IsText() || cell.ErrorCode() != kErrorNone || cell.TextLength() <= kMaxCellTextLength;
}

// An array formula typed again keeps its place as an array formula over
// the same extent; only its text changes.
uint32_t KeepArrayExtent(const CellRecord& old, uint8_t* record, uint32_t size, size_t capacity) {
  CellRecord* fresh = AsCellRecord(record);
  if (!old.IsFormula() || !(old.ResultFlags() & kResultArray) || !fresh->IsFormula()) return size;
  FormulaCellFields fields;
  char formula[kFormulaTextCapacity + 1];
  std::memcpy(formula, fresh->FormulaText(), fresh->FormulaLength());
  fields.formula = formula;
  fields.formulaLength = fresh->FormulaLength();
  fields.resultFlags = static_cast<uint8_t>(fresh->ResultFlags() | kResultArray);
  fields.arrayColumns = old.ArrayColumns();
  fields.arrayRows = old.ArrayRows();
  return BuildFormulaCell(record, capacity, fresh->Row(), fresh->Column(), fields);
}

}  // namespace

bool ReplaceInText(const char* text, const char* pattern, const char* replacement, bool matchCase,
                   bool wholeText, char* buffer, size_t size, bool* changed) {
  *changed = false;
  if (size == 0) return false;
  const size_t limit = size - 1 < kMaxCellTextLength ? size - 1 : kMaxCellTextLength;
  BoundedText out(buffer, limit + 1);
  const size_t length = std::strlen(text);
  size_t position = 0;
  WildcardSpan span;
  while (FindWildcardSpan(pattern, text + position, matchCase, wholeText, &span)) {
    out.Append(text + position, span.start);
    out.Append(replacement);
    *changed = true;
    // A pattern of stars alone matches the empty rest of the text again and
    // again; the search ends with the text.
    if (span.end == span.start) {
      if (position + span.start >= length) {
        position = length;
        break;
      }
      out.Put(text[position + span.start]);
      position += span.start + 1;
    } else {
      position += span.end;
    }
    if (wholeText || position >= length) break;
  }
  out.Append(text + position);
  if (out.Overflowed()) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}

bool ReplaceInRange(EvalState& translator, CellStore& cells, const CellFormats& formats, uint16_t firstColumn,
                    uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, const char* pattern,
                    const char* replacement, bool matchCase, bool wholeText, ReplaceOutcome* outcome,
                    const ImpliedFormatSink* formatSink) {
  *outcome = {0, 0};
  CellStore results;
  CellCursor walk = cells.StartRangeWalk(firstRow);
  CellCursor placed;
  CellCursor styleCursor;
  alignas(8) uint8_t record[kCellInputCapacity];
  while (const CellRecord* cell = walk.NextInRange(firstColumn, lastColumn, firstRow, lastRow)) {
    if (cell->IsSpillValue()) continue;
    const NumFormatParams& format = formats.At(cell->Row(), cell->Column(), &styleCursor);
    char text[kCellTextCapacity];
    char replaced[kCellTextCapacity];
    bool changed = false;
    const bool whole = SearchedText(translator, *cell, format, text, sizeof text);
    const bool fits = ReplaceInText(text, pattern, replacement, matchCase, wholeText, replaced, sizeof replaced,
                                    &changed);
    if (!changed) continue;
    if (!whole || !fits) {
      ++outcome->refused;
      continue;
    }
    NumFormatParams typed = format;
    uint32_t size = ParseCellInput(translator, replaced, &typed, cell->Row(), cell->Column(), record, sizeof record);
    size = KeepArrayExtent(*cell, record, size, sizeof record);
    if (size == 0 || !results.InsertCell(AsCellRecord(record), &placed)) return false;
    const bool formatChanged = typed.category != format.category ||
                               std::memcmp(&typed.options, &format.options, sizeof typed.options) != 0;
    if (formatChanged && formatSink && !formatSink->take(formatSink->context, cell->Column(), cell->Row(), typed))
      return false;
    ++outcome->replaced;
  }

  CellCursor read;
  read.block = results.FirstBlock();
  read.flags = kCursorAfterRecord;
  CellCursor write;
  while (const CellRecord* fresh = read.Next()) {
    if (!cells.InsertCell(fresh, &write)) return false;
  }
  return true;
}
