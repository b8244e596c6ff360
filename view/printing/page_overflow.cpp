#include "view/printing/page_overflow.h"

#include "core/edit/cell_display_text.h"
#include "core/numfmt/number_format.h"
#include "core/styles/token_text_layout.h"
#include "core/workbook/workbook.h"
#include "view/draw_context/text_placement.h"
#include "view/geometry/sheet_sizes.h"
#include "view/printing/print_exclusions.h"
#include "view/printing/print_frame.h"

namespace {

bool ShowsNumber(const CellRecord& cell) {
  if (cell.IsNumber())
    return true;
  return cell.IsFormula() && !cell.HasCachedText() && cell.ErrorCode() == 0;
}

// A column's room on the printed page with its grid line; none when excluded.
int32_t Step(const OverflowScan& scan, uint32_t column) {
  if (scan.exclusions->Column(column))
    return 0;
  return GetColumnWidth(scan.sheet, column, scan.zoomX) + 1;
}

void CollectRow(const CWorkSheet* sheet, uint32_t row, RowCells* cells) {
  for (uint32_t i = 0; i < cells->count; ++i) cells->byColumn[cells->columns[i]] = nullptr;
  cells->count = 0;
  CellCursor walk = sheet->cells.StartRangeWalk(row);
  while (const CellRecord* cell = walk.Next()) {
    if (cell->Row() != row)
      break;
    cells->byColumn[cell->Column()] = cell;
    cells->columns[cells->count++] = cell->Column();
  }
}

// The columns a text of the cell covers: first and last.
void TextSpan(const OverflowScan& scan, const RowCells& cells, uint32_t row, uint16_t column, int32_t* spanFirst,
              int32_t* spanLast) {
  *spanFirst = *spanLast = column;
  const CellRecord& cell = *cells.byColumn[column];
  const StyleTable& styles = scan.workbook->styles;
  const StyleRecord& style = styles.StyleAt(scan.sheet->format.CellStyle(row, column));
  const StyleAlignment& align = style.alignment;
  if (align.wrapText || align.fitToCell)
    return;
  int horizontal = ShowsNumber(cell) ? kAlignRight : kAlignLeft;
  if (align.horizontal >= kHAlignLeft && align.horizontal <= kHAlignRight)
    horizontal = align.horizontal;

  NumberFormat tokens;
  FormatCellForDisplay(scan.workbook->evaluator, false, cell, style.numFormat, &tokens);
  scan.measurer->SelectFont(styles.FontAt(style.fontIndex), align.rotation, scan.zoomY);
  int32_t tw = 0;
  int32_t th = 0;
  if (!TextExtentLines(*scan.measurer, tokens, &tw, &th, 0, tokens.tokenCount))
    return;
  const int32_t indent = ScaleByZoom(align.horizontalIndent, scan.zoomX);

  // Box edges relative to the cell's first pixel, as the cell painter keeps them.
  int64_t boxLeft = 0;
  int64_t boxRight = GetColumnWidth(scan.sheet, column, scan.zoomX) - 1;
  uint16_t first = column;
  uint16_t last = column;
  auto takeRight = [&]() {
    if (last >= kMaxColumn || cells.byColumn[last + 1])
      return false;
    ++last;
    boxRight += Step(scan, last);
    return true;
  };
  auto takeLeft = [&]() {
    if (first == 0 || (scan.frozenColumn && first <= scan.firstColumn) || cells.byColumn[first - 1])
      return false;
    --first;
    boxLeft -= Step(scan, first);
    return true;
  };
  if (horizontal == kAlignLeft) {
    while (boxLeft + 2 * indent + tw - 1 > boxRight && takeRight()) {
    }
  } else if (horizontal == kAlignRight) {
    while (boxRight - 2 * indent - tw + 1 < boxLeft && takeLeft()) {
    }
  } else {
    const int64_t centre = (boxLeft + boxRight) / 2;
    const int64_t needLeft = centre - indent - tw / 2 + 1;
    int64_t needRight = centre + indent + tw / 2 - 1;
    while (needLeft < boxLeft && takeLeft()) {
    }
    if (needLeft < boxLeft)
      needRight = boxLeft + 2 * indent + tw;
    while (needRight > boxRight && takeRight()) {
    }
  }
  *spanFirst = first;
  *spanLast = last;
}

}  // namespace

int32_t RowTextReach(const OverflowScan& scan, uint32_t row, RowCells* cells) {
  CollectRow(scan.sheet, row, cells);
  const auto isFrozen = [&](uint32_t c) { return scan.frozenColumn && c == scan.frozenColumnIndex; };
  int32_t start = -1;
  int32_t end = -1;
  for (uint32_t i = 0; i < cells->count; ++i) {
    const uint16_t c = cells->columns[i];
    if (c < scan.firstColumn && !isFrozen(c) && !scan.exclusions->Column(c))
      start = c;
    if (c > scan.fitLastColumn && c <= scan.areaLastColumn && end < 0)
      end = c;
  }
  if (start < 0)
    start = scan.firstColumn;
  if (end < 0)
    end = scan.fitLastColumn < scan.areaLastColumn ? scan.fitLastColumn : scan.areaLastColumn;

  int32_t reach = -1;
  for (uint32_t i = 0; i < cells->count; ++i) {
    const uint16_t c = cells->columns[i];
    if (static_cast<int32_t>(c) < start || static_cast<int32_t>(c) > end || isFrozen(c) ||
        scan.exclusions->Column(c))
      continue;
    int32_t spanFirst = 0;
    int32_t spanLast = 0;
    TextSpan(scan, *cells, row, c, &spanFirst, &spanLast);
    if (spanLast >= scan.firstColumn && spanFirst <= scan.fitLastColumn && spanLast > reach)
      reach = spanLast;
  }
  return reach;
}
