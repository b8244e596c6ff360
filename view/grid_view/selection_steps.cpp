#include "view/grid_view/selection_steps.h"

#include <algorithm>

SelectionRange SelectionRangeOf(const GridSelection& s) {
  return {std::min(s.currentColumn, s.endColumn), std::min(s.currentRow, s.endRow),
          std::max(s.currentColumn, s.endColumn), std::max(s.currentRow, s.endRow)};
}

bool SameSelection(const GridSelection& a, const GridSelection& b) {
  return a.currentColumn == b.currentColumn && a.currentRow == b.currentRow && a.endColumn == b.endColumn &&
         a.endRow == b.endRow;
}

void SpanSelection(GridSelection* s, uint32_t column1, uint32_t row1, uint32_t column2, uint32_t row2) {
  s->currentColumn = std::min(column1, column2);
  s->endColumn = std::max(column1, column2);
  s->currentRow = std::min(row1, row2);
  s->endRow = std::max(row1, row2);
}

uint32_t MovingColumn(const GridSelection& s) {
  if (s.anchorActive && s.currentColumn == s.anchorColumn)
    return s.endColumn;
  return s.currentColumn;
}

uint32_t MovingRow(const GridSelection& s) {
  if (s.anchorActive && s.currentRow == s.anchorRow)
    return s.endRow;
  return s.currentRow;
}

void ApplyColumnStep(GridSelection* s, uint32_t value) {
  if (!s->anchorActive) {
    s->currentColumn = s->endColumn = value;
    return;
  }
  s->currentColumn = std::min(s->anchorColumn, value);
  s->endColumn = std::max(s->anchorColumn, value);
}

void ApplyRowStep(GridSelection* s, uint32_t value) {
  if (!s->anchorActive) {
    s->currentRow = s->endRow = value;
    return;
  }
  s->currentRow = std::min(s->anchorRow, value);
  s->endRow = std::max(s->anchorRow, value);
}
