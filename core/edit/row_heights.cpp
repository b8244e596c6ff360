#include <cstring>

#include "core/edit/cell_display_text.h"
#include "core/numfmt/number_format.h"
#include "core/styles/column_font_heights.h"
#include "core/styles/default_sizes.h"
#include "core/styles/sheet_format_rows.h"
#include "core/styles/token_text_layout.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

namespace {

constexpr int32_t kMaxHeight = 4095;

// Only texts are laid out: every other value is one line of "X", as numbers
// never wrap.
bool ShowsText(const CellRecord& cell) {
  return cell.IsText() || (cell.IsFormula() && cell.HasCachedText());
}

// The layout of every value that is no text: one "X". Made once, as a
// layout record is large enough that clearing one per cell would cost more
// than measuring it (a paste into a whole column refits two million rows).
const NumberFormat& OneLineLayout() {
  static const NumberFormat layout = [] {
    NumberFormat made;
    made.AddToken(kTokenLiteral, 0, 'X');
    return made;
  }();
  return layout;
}

// Within one refit of many rows, the height of one line in the last font
// measured, and of the last short text that is not wrapped in the style it
// was measured in: the measurer is asked once per font and once per text,
// not once per cell, and a text met again is not even laid out (a text
// pasted into a whole column repeats two million times).
struct OneLineHeights {
  static constexpr size_t kTextBytes = 64;
  uint32_t fontIndex = UINT32_MAX;
  int32_t height = 0;
  const StyleRecord* textStyle = nullptr;
  uint8_t textError = 0;
  int32_t textHeight = 0;
  size_t textLength = 0;
  char text[kTextBytes];
};

int32_t CellHeight(CWorkBook* workbook, const TextMeasurer& measurer, CWorkSheet* sheet, const CellRecord& cell,
                   const StyleRecord& style, OneLineHeights* memo) {
  if (!ShowsText(cell) && !style.alignment.wrapText) {
    if (memo != nullptr && memo->fontIndex == style.fontIndex)
      return memo->height + style.alignment.verticalIndent;
    if (!measurer.SelectFont(workbook->styles.FontAt(style.fontIndex), 0, 100))
      return 0;
    const NumberFormat& line = OneLineLayout();
    int32_t w = 0;
    int32_t h = 0;
    if (!TextExtentLines(measurer, line, &w, &h, 0, line.tokenCount))
      return 0;
    if (memo != nullptr) {
      memo->fontIndex = style.fontIndex;
      memo->height = h;
    }
    return h + style.alignment.verticalIndent;
  }
  // The same stored text in the same style lays out the same.
  size_t storedLength = 0;
  const char* stored = StoredCellText(&cell, &storedLength);
  const bool kept = memo != nullptr && stored != nullptr && !style.alignment.wrapText &&
                    storedLength <= OneLineHeights::kTextBytes;
  if (kept && memo->textStyle == &style && memo->textError == cell.ErrorCode() &&
      memo->textLength == storedLength && std::memcmp(memo->text, stored, storedLength) == 0)
    return memo->textHeight + style.alignment.verticalIndent;
  NumberFormat tokens;
  if (ShowsText(cell))
    FormatCellForDisplay(workbook->evaluator, false, cell, style.numFormat, &tokens);  // a cut text still counts
  else
    tokens.AddToken(kTokenLiteral, 0, 'X');
  char text[kFormattedTextCapacity];
  size_t length = GatherTokenText(tokens, 0, tokens.tokenCount, text);
  if (!measurer.SelectFont(workbook->styles.FontAt(style.fontIndex), 0, 100))
    return 0;
  if (style.alignment.wrapText) {
    const ColumnRecord& column = sheet->format.columns[cell.Column()];
    int32_t width = (column.WidthFixed() || column.Width() != 0)
                        ? column.Width()
                        : GetDefaultColumnWidth(&sheet->format, measurer);
    width -= 2 * style.alignment.horizontalIndent;
    WrapTokens(measurer, &tokens, width);
    length = GatherTokenText(tokens, 0, tokens.tokenCount, text);
  }
  int32_t w = 0;
  int32_t h = 0;
  if (!TextExtent(measurer, text, length, &w, &h))
    return 0;
  if (kept) {
    memo->textStyle = &style;
    memo->textError = cell.ErrorCode();
    memo->textHeight = h;
    memo->textLength = storedLength;
    std::memcpy(memo->text, stored, storedLength);
  }
  return h + style.alignment.verticalIndent;
}

uint16_t RowHeight(CWorkBook* workbook, const TextMeasurer& measurer, CWorkSheet* sheet, uint32_t row,
                   CellCursor* cellWalk, CellCursor* runWalk, OneLineHeights* memo) {
  const StyleTable& styles = workbook->styles;
  int32_t highest = 0;

  CellCursor cellScratch;
  CellCursor* cells = cellWalk ? cellWalk : &cellScratch;
  if (!cells->block)
    sheet->cells.FindCell(row, 0, cells);
  cells->flags = kCursorAfterRecord;
  CellCursor styleCursor;
  while (const CellRecord* cell = cells->NextInRange(0, kMaxColumn, row, row)) {
    const StyleRecord& style = styles.StyleAt(sheet->format.CellStyle(row, cell->Column(), &styleCursor));
    if (style.alignment.fitToCell)
      continue;
    const int32_t height = CellHeight(workbook, measurer, sheet, *cell, style, memo);
    if (height > highest)
      highest = height;
  }

  CellCursor runScratch;
  CellCursor* runs = runWalk ? runWalk : &runScratch;
  runs->flags = kCursorAfterRecord;
  const FontRecord& defaultFont = styles.FontAt(0);
  while (const StyleRun* run = sheet->format.runs.FindFirstInRect(runs, 0, kMaxColumn, row, row)) {
    const FontRecord& font = styles.FontAt(styles.StyleAt(run->style).fontIndex);
    if (StyleTable::FontsEqual(font, defaultFont))
      continue;
    int32_t w = 0;
    int32_t h = 0;
    if (measurer.SelectFont(font, 0, 100) && TextExtent(measurer, "X", 1, &w, &h) && h + 2 > highest)
      highest = h + 2;
  }
  return static_cast<uint16_t>(highest > kMaxHeight ? kMaxHeight : highest);
}

}  // namespace

uint16_t CWorkSheet::ComputeRowHeight(CWorkBook* workbook, const TextMeasurer& measurer, CWorkSheet* sheet,
                                      uint32_t row, CellCursor* cellWalk, CellCursor* runWalk) {
  return RowHeight(workbook, measurer, sheet, row, cellWalk, runWalk, nullptr);
}

bool CWorkSheet::AutoRowHeights(CWorkBook* workbook, const TextMeasurer& measurer, CWorkSheet* sheet,
                                uint32_t firstRow, uint32_t lastRow) {
  ComputeColumnFontHeights(measurer, workbook->styles, &sheet->format, 0, kMaxColumn);
  if (lastRow > kMaxRow)
    lastRow = kMaxRow;
  RowTable& rows = sheet->format.rows;
  while (rows.Count() <= lastRow) {
    if (!rows.Append(0)) {
      workbook->error = kWorkbookOutOfMemory;
      return false;
    }
  }
  // Only a speed-up: without the table every row's record is found by
  // walking the pages.
  rows.BuildPageTable();
  CellCursor cellWalk;
  CellCursor runWalk;
  OneLineHeights memo;
  for (uint32_t row = firstRow; row <= lastRow; ++row) {
    uint16_t* record = rows.At(row);
    if (!record || (*record & RowTable::kFixedHeight))
      continue;
    const uint16_t height = RowHeight(workbook, measurer, sheet, row, &cellWalk, &runWalk, &memo);
    *record = static_cast<uint16_t>((*record & ~RowTable::kHeightMask) | (height << RowTable::kHeightShift));
  }
  return true;
}
