#include "view/painting/grid_painter.h"

#include <cstring>
#include <new>

#include "core/base/scheme_colors.h"
#include "core/edit/cell_display_text.h"
#include "core/styles/token_text_layout.h"
#include "core/workbook/workbook.h"
#include "view/draw_context/default_font.h"
#include "view/draw_context/text_placement.h"
#include "view/geometry/sheet_sizes.h"
#include "view/painting/background_cover.h"
#include "view/painting/paint_geometry.h"

// What one call of PaintCells carries from row to row.
struct GridPainter::RowPass {
  const PaintSurface* surface;
  CWorkSheet* sheet;
  PixelRect area;
  PaintGeometry g;
  uint32_t firstRow;
  uint16_t firstColumn;
  uint16_t zoomX;
  uint16_t zoomY;
  uint32_t gridColour;
  uint32_t firstPaintedRow;
  int32_t scrolledLeft;  // first pixel right of the scrolled columns' left grid line
  // The row being painted.
  uint32_t row;
  int32_t y;
  int32_t h;
  CellCursor styleWalk;
  CellCursor frozenStyleWalk;
  uint8_t frozenFlags;
  uint8_t flags[kColumnCount];
  const CellRecord* cells[kColumnCount];
  uint16_t cellColumns[kColumnCount];
  uint32_t cellCount;
};

namespace {

bool ShowsNumber(const CellRecord& cell, bool showFormulas) {
  if (cell.IsNumber())
    return true;
  return cell.IsFormula() && !showFormulas && !cell.HasCachedText() && cell.ErrorCode() == 0;
}

uint32_t ColourOr(uint8_t set, uint32_t colour, int scheme) { return set ? colour : GetSchemeColor(scheme); }

// The window colour, as an erased window shows it: the view does not erase
// before it paints. An empty band (right < left) paints nothing.
void PaintEmptyBackground(const PaintSurface& surface, const PixelRect& rect) {
  if (rect.right < rect.left)
    return;
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  surface.SelectBrush(1, window, window);
  surface.FillRect(rect, kRopPatCopy);
}

// Whether a text of extent tw x th anchored at (x, y) stays a pixel clear of
// the box's edges (a glyph's overhang may pass its measured extent by one).
// A baseline anchor leaves the descent unknown: never inside.
bool TextInsideBox(const PixelRect& box, int32_t x, int32_t y, int32_t tw, int32_t th, int horizontal,
                   int vertical) {
  int32_t left = x;
  if (horizontal == kAlignRight)
    left = x - tw + 1;
  else if (horizontal == kAlignCentre)
    left = x - tw / 2;
  int32_t top = y;
  if (vertical == kAlignMiddle)
    top = y - th / 2;
  else if (vertical == kAlignBottom)
    top = y - th + 1;
  else if (vertical != kAlignTop)
    return false;
  return left > box.left && left + tw < box.right && top > box.top && top + th < box.bottom;
}

}  // namespace

void GridPainter::PaintCells(const PaintSurface& surface, const PixelRect& area, CWorkSheet* sheet,
                             uint32_t firstRow, uint16_t firstColumn, uint16_t zoomX, uint16_t zoomY) {
  const WorksheetViewFormat& view = sheet->viewFormat;
  const uint32_t headingColour = ColourOr(view.headingsColorSet, view.headingsColor, kSchemeButtonShadow);
  borders_.Clear();

  // A row's worth of column flags and cells (14 KB on the 32-bit target)
  // stays off the paint handler's stack.
  RowPass* pass = new (std::nothrow) RowPass;
  if (!pass)
    return;
  pass->surface = &surface;
  pass->sheet = sheet;
  pass->area = area;
  pass->g = ComputePaintGeometry(surface.measurer, area, sheet, firstRow, firstColumn, zoomX, zoomY);
  if (printForm) {
    pass->g.lastRow = printForm->lastRow;
    pass->g.lastColumn = printForm->lastColumn;
    pass->g.rowHeaderWidth = printForm->rowHeaderWidth;
    pass->g.columnHeaderHeight = printForm->columnHeaderHeight;
  }
  pass->firstRow = firstRow;
  pass->firstColumn = firstColumn;
  pass->zoomX = zoomX;
  pass->zoomY = zoomY;
  pass->gridColour = printForm ? printForm->gridColour : ColourOr(view.gridColorSet, view.gridColor, kSchemeButtonFace);
  pass->firstPaintedRow = pass->g.panes.row ? pass->g.panes.frozenRow : firstRow;
  const PaintGeometry& g = pass->g;
  const int32_t rw = g.rowHeaderWidth;
  const int32_t ch = g.columnHeaderHeight;
  pass->scrolledLeft = area.left + rw + 1 + g.frozenWidth + 1;
  pass->cellCount = 0;
  std::memset(pass->cells, 0, sizeof pass->cells);

  if (!printForm) {
    // The background stops where the sheet does; past its end the view
    // shows an empty window, headings included. On the screen, what the
    // background leaves bare shows the empty window too.
    const SheetEndBands ends = ComputeSheetEndBands(area, sheet, g, firstRow, firstColumn, zoomX, zoomY);
    const bool endBelow = ends.below.right >= ends.below.left;
    const bool endRight = ends.right.right >= ends.right.left;
    surface.PushClip({area.left, area.top, endRight ? ends.right.left - 1 : area.right + 1,
                      endBelow ? ends.below.top - 1 : area.bottom + 1});
    const PixelRect background = {area.left + rw, area.top + ch, area.right + 1, area.bottom + 1};
    if (onScreen) {
      const BareBackground bare = BackgroundLeftBare(sheet->viewFormat, BackgroundPicture(sheet), background);
      PaintEmptyBackground(surface, bare.right);
      PaintEmptyBackground(surface, bare.below);
    }
    PaintBackground(surface, sheet, background);
    surface.PopClip();
    PaintEmptyBackground(surface, ends.below);
    PaintEmptyBackground(surface, ends.right);
  }

  FontRecord font;
  CopyDefaultFont(&font);
  surface.SelectFont(font, 0, 100);
  surface.SelectPen(1, headingColour, 100);
  surface.SelectBrush(1, pass->gridColour, pass->gridColour);
  surface.SetTextAlign(kAlignCentre, kAlignMiddle);
  surface.SetBkMode(1);
  if (!printForm)
    PaintHeaders(surface, area, sheet, firstColumn, firstRow, g.lastColumn, g.lastRow, rw, ch, zoomX, zoomY);

  int32_t y = area.top + ch + 1;
  if (g.panes.row) {
    PaintRow(*pass, g.panes.frozenRow, y);
    y += g.frozenHeight;
  }
  for (uint32_t row = firstRow; row <= g.lastRow; ++row) {
    if (printForm && printForm->rowLeftOut(printForm->context, row))
      continue;
    PaintRow(*pass, row, y);
    y += GetRowHeight(sheet, row, zoomY) + 1;
  }

  // A text that ran in from a column scrolled out to the left queued its
  // whole box; the headings stay clear of its border.
  const PixelRect cellArea = {area.left + rw + 1, area.top + ch + 1, area.right, area.bottom};
  surface.PushClip(cellArea);
  DrawBorders(surface, borders_, printForm ? (zoomX < zoomY ? zoomX : zoomY) : 100);
  surface.PopClip();
  if (printForm) {
    delete pass;
    return;
  }

  surface.PushClip({cellArea.left + 1 + g.frozenWidth, cellArea.top + 1 + g.frozenHeight, area.right, area.bottom});
  PaintObjects(surface, cellArea, sheet, firstColumn, firstRow, zoomX, zoomY);
  surface.PopClip();
  delete pass;
}

void GridPainter::PaintRow(RowPass& pass, uint32_t row, int32_t y) {
  CWorkSheet* sheet = pass.sheet;
  const PaintGeometry& g = pass.g;
  pass.row = row;
  pass.y = y;
  pass.h = GetRowHeight(sheet, row, pass.zoomY);
  pass.styleWalk = CellCursor();
  pass.frozenStyleWalk = CellCursor();
  pass.frozenFlags = kColumnAllFlags;
  std::memset(pass.flags, kColumnAllFlags, sizeof pass.flags);

  // The row's cells by column; the nearest one left of the view and right of
  // it bound the walk, so that their texts can run into view.
  for (uint32_t i = 0; i < pass.cellCount; ++i) pass.cells[pass.cellColumns[i]] = nullptr;
  pass.cellCount = 0;
  int32_t leftCell = -1;
  int32_t rightCell = -1;
  CellCursor walk = sheet->cells.StartRangeWalk(row);
  while (const CellRecord* cell = walk.Next()) {
    if (cell->Row() != row)
      break;
    const uint16_t column = cell->Column();
    pass.cells[column] = cell;
    pass.cellColumns[pass.cellCount++] = column;
    if (column < pass.firstColumn && !(g.panes.column && column == g.panes.frozenColumn) && !ColumnLeftOut(column))
      leftCell = column;
    else if (column > g.lastColumn && rightCell < 0)
      rightCell = column;
  }

  int32_t x = pass.area.left + g.rowHeaderWidth + 1;
  if (g.panes.column) {
    PaintCell(pass, g.panes.frozenColumn, x, true);
    x += g.frozenWidth;
  }
  const uint16_t start = leftCell >= 0 ? static_cast<uint16_t>(leftCell) : pass.firstColumn;
  const uint16_t end = rightCell >= 0 ? static_cast<uint16_t>(rightCell) : g.lastColumn;
  for (uint32_t c = start; c < pass.firstColumn; ++c) x -= ColumnStep(sheet, c, pass.zoomX);
  for (uint32_t c = start; c <= end; ++c) {
    // The frozen column was painted in its own place; a walk that starts
    // left of it must not paint it a second time.
    if (!(g.panes.column && c == g.panes.frozenColumn) && !ColumnLeftOut(c))
      PaintCell(pass, static_cast<uint16_t>(c), x, false);
    x += ColumnStep(sheet, c, pass.zoomX);
  }
  PaintGridLines(pass, y, pass.h);
}

void GridPainter::PaintCell(RowPass& pass, uint16_t column, int32_t x, bool frozen) {
  const PaintSurface& surface = *pass.surface;
  CWorkSheet* sheet = pass.sheet;
  const StyleTable& styles = workbook_->styles;
  const int32_t w = GetColumnWidth(sheet, column, pass.zoomX);
  const int32_t h = pass.h;
  const int32_t y = pass.y;
  const PixelRect cellBox = {x + 1, y + 1, x + w, y + h};
  PixelRect box = cellBox;
  uint16_t boxFirst = column;
  uint16_t boxLast = column;
  uint8_t& ownFlags = frozen ? pass.frozenFlags : pass.flags[column];

  const StyleRecord& style =
      styles.StyleAt(sheet->format.CellStyle(pass.row, column, frozen ? &pass.frozenStyleWalk : &pass.styleWalk));
  const StyleAlignment& align = style.alignment;
  const FontRecord& font = styles.FontAt(style.fontIndex);
  surface.SelectFont(font, align.rotation, pass.zoomY);
  surface.SetTextColor(ColourOr(style.fontColorSet, style.fontColor, kSchemeWindowText));
  const int32_t clampLeft = frozen ? cellBox.left : pass.scrolledLeft;
  const CellRecord* cell = pass.cells[column];

  if (!cell) {
    if (box.left < clampLeft)
      box.left = clampLeft;
    if (box.left >= pass.area.right || box.right < clampLeft)
      return;
    if (ownFlags & kColumnFree) {
      if (style.interior.pattern != 0)
        FillBox(pass, column, column, box, style.interior, frozen);
      if (style.dropDown.listId != 0)
        DrawCellMarker(surface, cellBox, kDropDownMarkerColour, kCornerBottomRight, pass.zoomX, pass.zoomY);
    }
  } else {
    int horizontal = ShowsNumber(*cell, showFormulas != 0) ? kAlignRight : kAlignLeft;
    if (align.horizontal >= kHAlignLeft && align.horizontal <= kHAlignRight)
      horizontal = align.horizontal;
    const int vertical = align.vertical == 0 ? kAlignMiddle : align.vertical;
    const int32_t indent = align.horizontalIndent;

    NumberFormat tokens;
    FormatCellForDisplay(workbook_->evaluator, showFormulas != 0, *cell, style.numFormat, &tokens);
    int32_t tw = 0;
    int32_t th = 0;
    bool measured = TextExtentLines(surface.measurer, tokens, &tw, &th, 0, tokens.tokenCount);
    int32_t aw = w - 2 * indent;
    if (measured && align.wrapText && tw > aw) {
      WrapTokens(surface.measurer, &tokens, aw);
      measured = TextExtentLines(surface.measurer, tokens, &tw, &th, 0, tokens.tokenCount);
    } else if (measured && align.fitToCell) {
      FontRecord smaller = font;
      if (smaller.size == 0)
        smaller.size = kDefaultFontSize;
      while (measured && smaller.size > 1 && (tw > aw || th > h - align.verticalIndent)) {
        --smaller.size;
        surface.SelectFont(smaller, align.rotation, pass.zoomY);
        measured = TextExtentLines(surface.measurer, tokens, &tw, &th, 0, tokens.tokenCount);
      }
    }

    // Running over empty neighbours. A column is taken over on the left only
    // while no other text covers it; on the right the walk stops at the
    // first cell, which paints later and owns its column.
    auto takeRight = [&]() {
      if (boxLast >= kMaxColumn || pass.cells[boxLast + 1])
        return false;
      const uint16_t next = static_cast<uint16_t>(boxLast + 1);
      pass.flags[next] &= static_cast<uint8_t>(~kColumnFree);
      pass.flags[boxLast] &= static_cast<uint8_t>(~kColumnRightLine);
      const int32_t grow = ColumnStep(sheet, next, pass.zoomX);
      box.right += grow;
      aw += grow;
      boxLast = next;
      return true;
    };
    auto takeLeft = [&]() {
      if (boxFirst == 0 || (pass.g.panes.column && boxFirst <= pass.firstColumn))
        return false;
      const uint16_t previous = static_cast<uint16_t>(boxFirst - 1);
      if (pass.cells[previous] || !(pass.flags[previous] & kColumnFree))
        return false;
      pass.flags[previous] &= static_cast<uint8_t>(~(kColumnRightLine | kColumnFree));
      const int32_t grow = ColumnStep(sheet, previous, pass.zoomX);
      box.left -= grow;
      aw += grow;
      boxFirst = previous;
      return true;
    };

    int32_t anchorX = 0;
    if (horizontal == kAlignLeft) {
      anchorX = box.left + indent;
      if (!frozen)
        while (box.left + 2 * indent + tw - 1 > box.right && takeRight()) {
        }
    } else if (horizontal == kAlignRight) {
      anchorX = box.right - indent;
      if (!frozen)
        while (box.right - 2 * indent - tw + 1 < box.left && takeLeft()) {
        }
    } else {
      const int32_t centre = (box.left + box.right) / 2;
      anchorX = centre;
      if (!frozen) {
        const int32_t needLeft = centre - indent - tw / 2 + 1;
        int32_t needRight = centre + indent + tw / 2 - 1;
        while (needLeft < box.left && takeLeft()) {
        }
        if (needLeft < box.left) {
          horizontal = kAlignLeft;
          anchorX = box.left + indent;
          needRight = box.left + 2 * indent + tw;
        }
        while (needRight > box.right && takeRight()) {
        }
        if (needRight > box.right) {
          horizontal = kAlignRight;
          anchorX = box.right - indent;
        }
      }
    }
    int32_t anchorY = (box.top + box.bottom) / 2;
    if (vertical == kAlignTop)
      anchorY = box.top + align.verticalIndent;
    else if (vertical == kAlignBaseline || vertical == kAlignBottom)
      anchorY = box.bottom - align.verticalIndent;

    const PixelRect fullBox = box;
    if (box.left < clampLeft)
      box.left = clampLeft;
    if (box.left >= pass.area.right || box.right < clampLeft)
      return;
    if (style.interior.pattern != 0)
      FillBox(pass, boxFirst, boxLast, box, style.interior, frozen);
    if (measured) {
      const bool elided = tw > aw;
      if (elided)
        ElideTokens(surface.measurer, &tokens, aw);
      surface.SetTextAlign(horizontal, vertical);
      // Clipping costs the device more than the text itself; a text that
      // lies wholly inside its box draws the same pixels without it.
      const bool clip = elided || box.left != fullBox.left || align.rotation != 0 ||
                        !TextInsideBox(box, anchorX, anchorY, tw, th, horizontal, vertical);
      if (clip)
        surface.PushClip(box);
      surface.DrawCellText(anchorX, anchorY, tokens, aw);
      if (cell->IsFormula())
        DrawCellMarker(surface, cellBox, kFormulaMarkerColour, kCornerTopLeft, pass.zoomX, pass.zoomY);
      if (style.dropDown.listId != 0)
        DrawCellMarker(surface, cellBox, kDropDownMarkerColour, kCornerBottomRight, pass.zoomX, pass.zoomY);
      if (clip)
        surface.PopClip();
    }
    box = fullBox;
  }

  if (style.borders.line.style != 0) {
    if (!cell) {
      box.left = cellBox.left;
    }
    const BorderEntry entry = {style.borders.sides, style.borders.line, box.left - 1, box.top - 1,
                               box.right + 1, box.bottom + 1};
    borders_.Append(entry);  // a border that finds no memory is left out
  }
}

void GridPainter::FillBox(RowPass& pass, uint16_t boxFirst, uint16_t boxLast, const PixelRect& box,
                          const FillRecord& fill, bool frozen) {
  const uint8_t clearBox = static_cast<uint8_t>(~(kColumnRightLine | kColumnBottomLine));
  if (frozen) {
    pass.frozenFlags &= clearBox;
  } else {
    for (uint32_t c = boxFirst; c <= boxLast; ++c) pass.flags[c] &= clearBox;
    if (boxFirst > 0)
      pass.flags[boxFirst - 1] &= static_cast<uint8_t>(~(kColumnRightLine | kColumnBottomCrossing));
  }
  PixelRect rect = {box.left, box.top, box.right + 1, box.bottom + 1};
  // The left neighbour's right grid line is covered only between scrolled
  // columns: the first column and the frozen one keep the line that divides
  // them from the headings or the panes.
  if (!frozen && boxFirst != pass.firstColumn && box.left > pass.scrolledLeft)
    rect.left -= 1;
  if (pass.row != pass.firstPaintedRow)
    rect.top -= 1;
  pass.surface->SelectFillRecord(fill);
  pass.surface->FillRect(rect, kRopPatCopy);
}

void GridPainter::PaintGridLines(RowPass& pass, int32_t y, int32_t h) {
  if (!pass.sheet->viewFormat.gridLines)
    return;
  const PaintSurface& surface = *pass.surface;
  surface.SelectBrush(1, pass.gridColour, pass.gridColour);
  int32_t x = pass.area.left + pass.g.rowHeaderWidth + 1;
  auto lines = [&](uint32_t column, uint8_t f) {
    const int32_t w = GetColumnWidth(pass.sheet, column, pass.zoomX);
    if (f & kColumnBottomLine)
      surface.FillRect({x + 1, y + h + 1, x + w + ((f & kColumnBottomCrossing) ? 1 : 0), y + h + 1}, kRopPatCopy);
    if (f & kColumnRightLine)
      surface.FillRect({x + w + 1, y + 1, x + w + 1, y + h + 1}, kRopPatCopy);
    x += w + 1;
  };
  if (pass.g.panes.column)
    lines(pass.g.panes.frozenColumn, pass.frozenFlags);
  for (uint32_t c = pass.firstColumn; c <= pass.g.lastColumn; ++c)
    if (!ColumnLeftOut(c))
      lines(c, pass.flags[c]);
}

int32_t GridPainter::ColumnStep(CWorkSheet* sheet, uint32_t column, uint16_t zoomX) const {
  return ColumnLeftOut(column) ? 0 : GetColumnWidth(sheet, column, zoomX) + 1;
}
