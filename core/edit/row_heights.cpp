#include "core/edit/cell_display_text.h"
#include "core/edit/text_height_memo.h"
#include "core/numfmt/number_format.h"
#include "core/styles/column_font_heights.h"
#include "core/styles/default_sizes.h"
#include "core/styles/sheet_format_rows.h"
#include "core/styles/token_text_layout.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"

namespace {

constexpr int32_t kMaxHeight = 4095;

// A refit of fewer rows keeps only each column's last text: the one row
// refitted after typing would pay more to clear the table of texts than it
// saves.
constexpr uint32_t kRowsForTextTable = 256;

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

// Within one refit of many rows, for each column: the height of one line in
// the last font measured there, and of the last text (or wrapped value) laid
// out there. The measurer is asked once per font and once per text, not once
// per cell, and a text met again is not even laid out, however long it is (a
// text pasted into a whole column repeats two million times).
struct KnownHeights {
  uint32_t fontIndex = UINT32_MAX;
  int32_t height = 0;
  TextLayoutKey text = {};
  int32_t textHeight = 0;
  TextHeightMemo::Trail trail;
};

// Columns share a few slots: the cells of one row do not push each other's
// heights out, while each column repeats its own down the rows. Behind them,
// in a refit of many rows, every text laid out, once a column meets a second
// one: a block of texts tiled down a column brings them back in turn. Beside
// them, the height of one line in the last font of a formatted area
// measured: a formatted column asks it of every row.
struct OneLineHeights {
  static constexpr uint32_t kSlots = 16;
  KnownHeights slots[kSlots];
  bool manyRows = false;
  TextHeightMemo texts;
  uint32_t runFontIndex = UINT32_MAX;
  int32_t runHeight = 0;
  KnownHeights* For(uint16_t column) { return &slots[column % kSlots]; }
};

int32_t CellHeight(CWorkBook* workbook, const TextMeasurer& measurer, CWorkSheet* sheet, const CellRecord& cell,
                   const StyleRecord& style, OneLineHeights* memo) {
  KnownHeights* known = memo ? memo->For(cell.Column()) : nullptr;
  if (!ShowsText(cell) && !style.alignment.wrapText) {
    if (known != nullptr && known->fontIndex == style.fontIndex)
      return known->height + style.alignment.verticalIndent;
    if (!measurer.SelectFont(workbook->styles.FontAt(style.fontIndex), 0, 100))
      return 0;
    const NumberFormat& line = OneLineLayout();
    int32_t w = 0;
    int32_t h = 0;
    if (!TextExtentLines(measurer, line, &w, &h, 0, line.tokenCount))
      return 0;
    if (known != nullptr) {
      known->fontIndex = style.fontIndex;
      known->height = h;
    }
    return h + style.alignment.verticalIndent;
  }
  // The same stored text (or a value's "X") in the same style lays out the
  // same; wrapped, in the same column, whose width does not change during a
  // refit.
  const bool shown = ShowsText(cell);
  size_t storedLength = 1;
  const char* stored = shown ? StoredCellText(&cell, &storedLength) : "X";
  const bool kept = known != nullptr && stored != nullptr;
  const uint16_t column = style.alignment.wrapText ? cell.Column() : 0;
  const TextLayoutKey key = {&style, stored, storedLength, LayoutForm(column, cell.ErrorCode(), shown)};
  if (kept) {
    int32_t height = 0;
    if (memo->texts.Made()) {
      if (memo->texts.Find(key, &known->trail, &height))
        return height + style.alignment.verticalIndent;
    } else if (SameLayout(known->text, key)) {
      return known->textHeight + style.alignment.verticalIndent;
    } else if (memo->manyRows && known->text.style != nullptr) {
      // A column's first text needs no table; its second does.
      memo->texts.Make();
    }
  }
  NumberFormat tokens;
  if (shown)
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
    known->text = key;
    known->textHeight = h;
    memo->texts.Remember(key, h, &known->trail);
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
  // A worksheet without formats has no style run in any row: each cell
  // takes its column's style, as CellStyle would find without searching.
  const bool anyRuns = sheet->format.runs.BlockCount() != 0;
  CellCursor styleCursor;
  for (;;) {
    // A refit's walk stands on the next row's first cell after each row:
    // the rows without a cell in between are told at once.
    const CellRecord* ahead = RecordUnderCursor(*cells);
    if (ahead && ahead->Row() > row)
      break;
    const CellRecord* cell = NextCellInRange(*cells, 0, kMaxColumn, row, row);
    if (!cell)
      break;
    const uint16_t styleIndex = anyRuns ? sheet->format.CellStyle(row, cell->Column(), &styleCursor)
                                        : sheet->format.columns[cell->Column()].Style();
    const StyleRecord& style = styles.StyleAt(styleIndex);
    if (style.alignment.fitToCell)
      continue;
    const int32_t height = CellHeight(workbook, measurer, sheet, *cell, style, memo);
    if (height > highest)
      highest = height;
  }

  if (!anyRuns)
    return static_cast<uint16_t>(highest > kMaxHeight ? kMaxHeight : highest);
  CellCursor runScratch;
  CellCursor* runs = runWalk ? runWalk : &runScratch;
  runs->flags = kCursorAfterRecord;
  const FontRecord& defaultFont = styles.FontAt(0);
  while (const StyleRun* run = sheet->format.runs.FindFirstInRect(runs, 0, kMaxColumn, row, row)) {
    const uint32_t fontIndex = styles.StyleAt(run->style).fontIndex;
    const FontRecord& font = styles.FontAt(fontIndex);
    if (StyleTable::FontsEqual(font, defaultFont))
      continue;
    int32_t h = 0;
    if (memo != nullptr && memo->runFontIndex == fontIndex) {
      h = memo->runHeight;
    } else {
      int32_t w = 0;
      if (!measurer.SelectFont(font, 0, 100) || !TextExtent(measurer, "X", 1, &w, &h))
        continue;
      if (memo != nullptr) {
        memo->runFontIndex = fontIndex;
        memo->runHeight = h;
      }
    }
    if (h + 2 > highest)
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
  if (rows.Count() <= lastRow && !rows.AppendZeroed(lastRow + 1 - rows.Count())) {
    workbook->error = kWorkbookOutOfMemory;
    return false;
  }
  // Only a speed-up: without the table each page of records is found by
  // walking the pages before it.
  rows.BuildPageTable();
  CellCursor cellWalk;
  CellCursor runWalk;
  OneLineHeights memo;
  memo.manyRows = lastRow >= firstRow && lastRow - firstRow >= kRowsForTextTable - 1;
  ForEachRowStretch(rows, firstRow, lastRow, [&](uint32_t first, uint16_t* records, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
      uint16_t& record = records[i];
      if (record & RowTable::kFixedHeight)
        continue;
      const uint16_t height = RowHeight(workbook, measurer, sheet, first + i, &cellWalk, &runWalk, &memo);
      record = static_cast<uint16_t>((record & ~RowTable::kHeightMask) | (height << RowTable::kHeightShift));
    }
  });
  return true;
}
