#include "core/edit/reference_adjust.h"

#include <cstring>

#include "core/base/bounded_text.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_ref_text.h"

namespace {

constexpr uint64_t kLineGone = ~uint64_t(0);

// One axis of a row or column edit.
struct AxisEdit {
  bool rows;
  bool insert;
  uint32_t first;
  uint32_t last;
  uint32_t count;
  uint32_t limit;  // lines of the grid
};

AxisEdit AxisOf(uint32_t operation, const CellRange& area) {
  AxisEdit edit;
  edit.rows = operation == kEditRowsInserted || operation == kEditRowsDeleted;
  edit.insert = operation == kEditRowsInserted || operation == kEditColumnsInserted;
  edit.first = edit.rows ? area.firstRow : area.firstColumn;
  edit.last = edit.rows ? area.lastRow : area.lastColumn;
  edit.count = edit.last - edit.first + 1;
  edit.limit = edit.rows ? kRowCount : kColumnCount;
  return edit;
}

uint64_t LineAfterEdit(const AxisEdit& edit, uint32_t line) {
  if (line < edit.first) return line;
  if (edit.insert) return uint64_t(line) + edit.count;
  if (line <= edit.last) return kLineGone;
  return line - edit.count;
}

// The former line of a line that holds a surviving cell; inserted lines
// held no cell before and stay where they are.
uint32_t LineBeforeEdit(const AxisEdit& edit, uint32_t line) {
  if (line < edit.first) return line;
  if (edit.insert) return line - edit.first < edit.count ? line : line - edit.count;
  return line + edit.count;
}

bool InBlock(const CellRange& area, uint32_t column, uint32_t row) {
  return column >= area.firstColumn && column <= area.lastColumn && row >= area.firstRow && row <= area.lastRow;
}

// Where the block's cells lie after the transposition.
bool InTransposedExtent(const CellRange& area, uint32_t column, uint32_t row) {
  return column >= area.firstColumn && column - area.firstColumn <= area.lastRow - area.firstRow &&
         row >= area.firstRow && row - area.firstRow <= uint32_t(area.lastColumn - area.firstColumn);
}

// Rows and columns exchanged about the block's top-left corner; its own inverse.
void TransposeAboutCorner(const CellRange& area, uint32_t column, uint32_t row, uint32_t* newColumn,
                          uint32_t* newRow) {
  *newColumn = area.firstColumn + (row - area.firstRow);
  *newRow = area.firstRow + (column - area.firstColumn);
}

struct Cell {
  uint32_t column;
  uint32_t row;
};

Cell FormerCell(uint32_t operation, const CellRange& area, Cell now) {
  Cell former = now;
  if (operation == kEditBlockTransposed) {
    if (InTransposedExtent(area, now.column, now.row))
      TransposeAboutCorner(area, now.column, now.row, &former.column, &former.row);
    return former;
  }
  const AxisEdit edit = AxisOf(operation, area);
  uint32_t& line = edit.rows ? former.row : former.column;
  line = LineBeforeEdit(edit, line);
  return former;
}

enum ReferenceFate { kReferenceKept, kReferenceLost, kReferenceOffGrid };

bool HasPart(const RefCorner& corner, bool rows) {
  return (corner.flags & (rows ? kRefHasRow : kRefHasColumn)) != 0;
}
bool RelativePart(const RefCorner& corner, bool rows) {
  return HasPart(corner, rows) && (corner.flags & (rows ? kRefRowRelative : kRefColumnRelative)) != 0;
}
uint32_t& PartOf(RefCorner& corner, bool rows) { return rows ? corner.row : corner.column; }

// New lines for the corners (second may be null) of a reference after a row
// or column edit. Only relative parts move; they follow their target.
ReferenceFate AdjustForLines(const AxisEdit& edit, bool formulaMoved, RefCorner* first, RefCorner* second) {
  RefCorner* corners[2] = {first, second};
  bool anyRelative = false;
  for (RefCorner* corner : corners) {
    if (!corner || !RelativePart(*corner, edit.rows)) continue;
    anyRelative = true;
    // A relative part already off the grid keeps its offset only while its
    // formula stays put: moved, the same offset would reach a real cell.
    if (PartOf(*corner, edit.rows) >= edit.limit) return formulaMoved ? kReferenceLost : kReferenceKept;
  }
  if (!anyRelative) return kReferenceKept;

  const bool range = second && HasPart(*first, edit.rows) && HasPart(*second, edit.rows);
  uint32_t low = 0;
  uint32_t high = 0;
  if (range) {
    const uint32_t a = PartOf(*first, edit.rows);
    const uint32_t b = PartOf(*second, edit.rows);
    low = a < b ? a : b;
    high = a < b ? b : a;
    if (!edit.insert && low >= edit.first && high <= edit.last) return kReferenceLost;
  }
  for (RefCorner* corner : corners) {
    if (!corner || !RelativePart(*corner, edit.rows)) continue;
    uint32_t& line = PartOf(*corner, edit.rows);
    uint64_t moved = LineAfterEdit(edit, line);
    if (moved == kLineGone) {
      if (!range) return kReferenceLost;
      // One end in the deleted lines: the range keeps the lines that remain.
      moved = line == low ? edit.first : edit.first - 1;
    }
    if (moved >= edit.limit) return kReferenceOffGrid;
    line = static_cast<uint32_t>(moved);
  }
  return kReferenceKept;
}

// A corner relative in both parts whose target lay in the block follows it
// to its transposed place; every other target stays where it was.
ReferenceFate AdjustForTransposition(const CellRange& area, RefCorner* corner) {
  if (!corner || !RelativePart(*corner, true) || !RelativePart(*corner, false)) return kReferenceKept;
  if (!InBlock(area, corner->column, corner->row)) return kReferenceKept;
  uint32_t column = 0;
  uint32_t row = 0;
  TransposeAboutCorner(area, corner->column, corner->row, &column, &row);
  if (column >= kColumnCount || row >= kRowCount) return kReferenceOffGrid;
  corner->column = column;
  corner->row = row;
  return kReferenceKept;
}

// Relative parts off the grid hold their target modulo 2^32, as read.
int32_t Offset(uint32_t target, uint32_t base) { return static_cast<int32_t>(target - base); }

// Whether a relative part's distance from its formula changed.
bool CornerNeedsRewrite(const RefCorner& before, const RefCorner& after, Cell former, Cell now) {
  if (RelativePart(before, true) && Offset(before.row, former.row) != Offset(after.row, now.row)) return true;
  if (RelativePart(before, false) && Offset(before.column, former.column) != Offset(after.column, now.column))
    return true;
  return false;
}

// Drops what a token left on the text pool or the array stack.
void DiscardTokenPayload(EvalState& state, uint32_t kind) {
  if (kind == kEvalText) {
    state.strings.Pop();
  } else if (kind == kEvalArray) {
    CellBlock* chain = state.arrays.PopChain();
    if (chain) state.arrays.ReleaseChain(chain);
  }
}

}  // namespace

bool CellAfterEdit(uint32_t operation, const CellRange& area, uint32_t column, uint32_t row, uint32_t* newColumn,
                   uint32_t* newRow) {
  *newColumn = column;
  *newRow = row;
  if (operation == kEditBlockTransposed) {
    if (InBlock(area, column, row)) {
      TransposeAboutCorner(area, column, row, newColumn, newRow);
      return true;
    }
    return !InTransposedExtent(area, column, row);
  }
  const AxisEdit edit = AxisOf(operation, area);
  const uint64_t moved = LineAfterEdit(edit, edit.rows ? row : column);
  if (moved == kLineGone) return false;
  // Past the grid only when the caller did not check the room first.
  const uint32_t line = moved > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(moved);
  (edit.rows ? *newRow : *newColumn) = line;
  return true;
}

bool AdjustReferences(EvalState& state, char* text, size_t capacity, uint32_t column, uint32_t row,
                      uint32_t operation, const CellRange& area, bool* changed, uint8_t* failure) {
  *changed = false;
  uint8_t localFailure = kAdjustNoFailure;
  uint8_t& why = failure ? *failure : localFailure;
  why = kAdjustNoFailure;
  if (!text || (text[0] != '=' && text[0] != '+')) return true;

  const Cell now{column, row};
  const Cell former = FormerCell(operation, area, now);
  const bool lines = operation >= kEditRowsInserted && operation <= kEditColumnsDeleted;
  const AxisEdit edit = lines ? AxisOf(operation, area) : AxisEdit{};
  const bool formulaMoved = lines && (edit.rows ? former.row != now.row : former.column != now.column);

  // Corners are read at the formula's former cell, so that they hold the
  // cells they designated before the edit.
  state.ResetForFormula(former.column, former.row);
  char buffer[kFormulaTextCapacity + 1];
  BoundedText out(buffer, sizeof buffer);
  const char* copied = text;  // text before this is already in out
  const char* p = text + 1;
  uint32_t previous = kEvalInvalid;
  bool inQualifiedRef = false;
  bool rewritten = false;
  for (;;) {
    const char* start = SkipFormulaBlanks(p);
    EvalValue token;
    const uint32_t kind = state.NextToken(&p, &token, true);
    // An unreadable rest is kept as it stands; evaluation reports it. A lone
    // "$" or "#" (typed under R1C1 addressing, where nothing translates it)
    // reads as an empty name that does not advance.
    if (kind == kEvalEnd || kind == kEvalInvalid || p == start) break;
    DiscardTokenPayload(state, kind);
    if (kind != kEvalCellRef) {
      // The far corner of a qualified range lies in the same worksheet.
      if (kind != kOpRange) inQualifiedRef = false;
      previous = kind;
      continue;
    }

    // A reference right after "!" points into another worksheet, and so does
    // the far end of such a range.
    const bool qualified = previous == kOpSheet || (previous == kOpRange && inQualifiedRef);
    inQualifiedRef = qualified;
    previous = kind;
    if (qualified) continue;

    RefCorner first = token.cell;
    RefCorner second = {};
    bool range = false;
    const char* afterRange = p;
    EvalValue next;
    const uint32_t colonKind = state.NextToken(&afterRange, &next, true);
    DiscardTokenPayload(state, colonKind);
    if (colonKind == kOpRange) {
      const uint32_t endKind = state.NextToken(&afterRange, &next, true);
      DiscardTokenPayload(state, endKind);
      if (endKind == kEvalCellRef) {
        range = true;
        second = next.cell;
        p = afterRange;
      }
    }

    const RefCorner firstBefore = first;
    const RefCorner secondBefore = second;
    ReferenceFate fate;
    if (lines) {
      fate = AdjustForLines(edit, formulaMoved, &first, range ? &second : nullptr);
    } else {
      fate = AdjustForTransposition(area, &first);
      if (fate == kReferenceKept && range) fate = AdjustForTransposition(area, &second);
    }
    if (fate == kReferenceOffGrid) {
      why = kAdjustOffGrid;
      return false;
    }
    if (fate == kReferenceKept && !CornerNeedsRewrite(firstBefore, first, former, now) &&
        !(range && CornerNeedsRewrite(secondBefore, second, former, now)))
      continue;

    out.Append(copied, static_cast<size_t>(start - copied));
    if (fate == kReferenceLost) {
      out.Append(ErrorName(kErrorRef));
    } else {
      state.column = static_cast<uint16_t>(now.column);
      state.row = now.row;
      FormatR1C1Reference(state, out, first);
      if (range) {
        out.Put(':');
        FormatR1C1Reference(state, out, second);
      }
      state.column = static_cast<uint16_t>(former.column);
      state.row = former.row;
    }
    copied = p;
    rewritten = true;
  }
  // Nothing of the scan is kept.
  state.ResetForFormula(now.column, now.row);
  if (!rewritten) return true;

  out.Append(copied);
  if (out.Overflowed() || out.Length() >= capacity) {
    why = kAdjustTooLong;
    return false;
  }
  std::memcpy(text, out.Text(), out.Length() + 1);
  *changed = true;
  return true;
}
