#include "core/styles/sheet_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/cells/paged_array.h"
#include "core/styles/style_table.h"

#include "tests/core/allocation_limit.h"
#include "test_seed.h"

namespace {

// ---------------------------------------------------------------------------
// The model: every styled cell with its style and the run it belongs to.
// Runs matter beyond the cells' styles: inserting columns inside a run
// widens it, and neighbouring runs of one style stay apart unless an insert
// extended one of them.

struct ModelCell {
  uint16_t style;
  uint32_t run;
};
using CellKey = std::pair<uint32_t, uint16_t>;  // (row, column)

struct Rect {
  uint16_t firstColumn, lastColumn;
  uint32_t firstRow, lastRow;
};

struct Piece {
  uint32_t row;                      // relative to the snapshot's first row
  uint16_t firstColumn, lastColumn;  // relative to the snapshot's first column
  uint16_t style;
};

class Model {
 public:
  Model() { std::memset(columns, 0, sizeof columns); }

  void InsertRun(uint32_t row, uint16_t first, uint16_t last, uint16_t style) {
    uint32_t run = 0;
    auto left = first > 0 ? cells.find({row, uint16_t(first - 1)}) : cells.end();
    auto right = last < kMaxColumn ? cells.find({row, uint16_t(last + 1)}) : cells.end();
    if (left != cells.end() && left->second.style == style)
      run = left->second.run;
    else if (right != cells.end() && right->second.style == style)
      run = right->second.run;
    else
      run = nextRun_++;
    for (uint32_t c = first; c <= last; ++c) cells[{row, uint16_t(c)}] = {style, run};
  }

  void Clear(const Rect& r) {
    for (auto it = cells.begin(); it != cells.end();) it = Inside(it->first, r) ? cells.erase(it) : std::next(it);
    SplitBrokenRuns();
  }

  void InsertRows(uint32_t first, uint32_t count) {
    std::map<CellKey, ModelCell> moved;
    for (const auto& [key, cell] : cells) {
      if (key.first < first)
        moved[key] = cell;
      else if (uint64_t(key.first) + count <= kMaxRow)
        moved[{key.first + count, key.second}] = cell;
    }
    cells.swap(moved);
    if (rows.size() > first) {
      std::vector<uint16_t> old = rows;
      rows.resize(std::min<size_t>(rows.size() + count, RowTable::kMaxRows), 0);
      for (size_t i = first + count; i < rows.size(); ++i) rows[i] = old[i - count];
      for (size_t i = first; i < first + count && i < rows.size(); ++i)
        rows[i] = uint16_t((i < old.size() ? old[i] : 0) & RowTable::kFlagBits);
    }
  }

  void DeleteRows(uint32_t first, uint32_t last) {
    const uint32_t count = last - first + 1;
    std::map<CellKey, ModelCell> moved;
    for (const auto& [key, cell] : cells) {
      if (key.first < first)
        moved[key] = cell;
      else if (key.first > last)
        moved[{key.first - count, key.second}] = cell;
    }
    cells.swap(moved);
    if (rows.size() > first) {
      const size_t n = rows.size();
      for (size_t i = first; i + count < n; ++i) rows[i] = rows[i + count];
      for (size_t i = std::max<size_t>(first, n > count ? n - count : 0); i < n; ++i) rows[i] &= RowTable::kFlagBits;
    }
  }

  void InsertColumns(uint16_t first, uint16_t count) {
    // What would pass the last column goes first; a run still spanning the
    // insertion point then covers the new columns too.
    Clear({uint16_t(kColumnCount - count), kMaxColumn, 0, kMaxRow});
    std::map<CellKey, ModelCell> moved;
    for (const auto& [key, cell] : cells) {
      if (key.second < first) {
        moved[key] = cell;
        auto after = cells.find({key.first, first});
        if (key.second == first - 1 && after != cells.end() && after->second.run == cell.run)
          for (uint32_t c = first; c < uint32_t(first) + count; ++c) moved[{key.first, uint16_t(c)}] = cell;
      } else {
        moved[{key.first, uint16_t(key.second + count)}] = cell;
      }
    }
    cells.swap(moved);
    std::memmove(columns + first + count, columns + first, (kColumnCount - first - count) * sizeof(ColumnRecord));
    std::memset(columns + first, 0, count * sizeof(ColumnRecord));
  }

  void DeleteColumns(uint16_t first, uint16_t last) {
    const uint16_t count = uint16_t(last - first + 1);
    std::map<CellKey, ModelCell> moved;
    for (const auto& [key, cell] : cells) {
      if (key.second < first)
        moved[key] = cell;
      else if (key.second > last)
        moved[{key.first, uint16_t(key.second - count)}] = cell;
    }
    cells.swap(moved);  // a run cut in two by the gap closes up as one run
    std::memmove(columns + first, columns + last + 1, (kMaxColumn - last) * sizeof(ColumnRecord));
    std::memset(columns + kColumnCount - count, 0, count * sizeof(ColumnRecord));
  }

  void SetRow(uint32_t row, uint16_t height, bool fixed) {
    if (rows.size() <= row)
      rows.resize(row + 1, 0);
    rows[row] = uint16_t((rows[row] & RowTable::kFlagBits) | ((height << 1) & RowTable::kHeightMask) | (fixed ? 1 : 0));
  }
  uint16_t RowRecord(uint32_t row) const { return row < rows.size() ? rows[row] : 0; }

  // What a snapshot of the rectangle holds: per row, the same-style
  // stretches (the snapshot's inserts merge them left to right), and the
  // fixed row heights.
  std::vector<Piece> Snapshot(const Rect& r, std::vector<uint16_t>* fixedRows) const {
    std::vector<Piece> pieces;
    for (auto it = cells.lower_bound({r.firstRow, 0}); it != cells.end() && it->first.first <= r.lastRow; ++it) {
      const auto& [key, cell] = *it;
      if (key.second < r.firstColumn || key.second > r.lastColumn)
        continue;
      const uint32_t row = key.first - r.firstRow;
      const uint16_t column = uint16_t(key.second - r.firstColumn);
      if (!pieces.empty() && pieces.back().row == row && pieces.back().lastColumn + 1 == column &&
          pieces.back().style == cell.style)
        pieces.back().lastColumn = column;
      else
        pieces.push_back({row, column, column, cell.style});
    }
    fixedRows->clear();
    for (uint32_t row = r.firstRow; row <= r.lastRow && row < rows.size(); ++row)
      fixedRows->push_back((rows[row] & 1) ? uint16_t(rows[row] & (RowTable::kHeightMask | 1)) : 0);
    return pieces;
  }

  void Paste(const Rect& to, const Rect& from, const std::vector<Piece>& pieces,
             const std::vector<uint16_t>& fixedRows) {
    Clear(to);
    const uint32_t width = from.lastColumn - from.firstColumn + 1;
    const uint32_t height = from.lastRow - from.firstRow + 1;
    for (uint64_t tileRow = to.firstRow; tileRow <= to.lastRow; tileRow += height) {
      for (size_t i = 0; i < pieces.size();) {
        const uint64_t row = tileRow + pieces[i].row;
        if (row > to.lastRow)
          break;
        size_t end = i;
        while (end < pieces.size() && pieces[end].row == pieces[i].row) ++end;
        for (uint32_t tileColumn = to.firstColumn; tileColumn <= to.lastColumn; tileColumn += width)
          for (size_t p = i; p < end; ++p) {
            const uint32_t first = tileColumn + pieces[p].firstColumn;
            if (first > to.lastColumn)
              continue;
            const uint32_t last = std::min<uint32_t>(tileColumn + pieces[p].lastColumn, to.lastColumn);
            InsertRun(uint32_t(row), uint16_t(first), uint16_t(last), pieces[p].style);
          }
        i = end;
      }
    }
    for (uint32_t row = to.firstRow; row <= to.lastRow; ++row) {
      const uint32_t k = (row - to.firstRow) % height;
      const uint16_t record = k < fixedRows.size() ? fixedRows[k] : 0;
      if (row < rows.size())
        rows[row] = uint16_t((rows[row] & RowTable::kFlagBits) | record);
      else if (record)
        SetRow(row, uint16_t(record >> 1), record & 1);
    }
  }

  // (row, first, last, style) of every run, in store order.
  std::vector<StyleRun> Runs() const {
    std::vector<StyleRun> runs;
    uint32_t lastRun = 0;
    for (const auto& [key, cell] : cells) {
      if (!runs.empty() && cell.run == lastRun && runs.back().row == key.first &&
          runs.back().lastColumn + 1 == key.second)
        runs.back().lastColumn = key.second;
      else
        runs.push_back({key.second, key.second, key.first, cell.style});
      lastRun = cell.run;
    }
    return runs;
  }

  int StyleOf(uint32_t row, uint16_t column) const {
    auto it = cells.find({row, column});
    return it == cells.end() ? -1 : it->second.style;
  }

  std::map<CellKey, ModelCell> cells;
  std::vector<uint16_t> rows;
  ColumnRecord columns[kColumnCount];

 private:
  static bool Inside(const CellKey& key, const Rect& r) {
    return key.first >= r.firstRow && key.first <= r.lastRow && key.second >= r.firstColumn &&
           key.second <= r.lastColumn;
  }
  // Cells of one run that are no longer side by side belong to different runs.
  void SplitBrokenRuns() {
    CellKey previous{0, 0};
    uint32_t previousOld = 0, previousNew = 0;
    bool any = false;
    for (auto& [key, cell] : cells) {
      const bool continues =
          any && key.first == previous.first && key.second == previous.second + 1 && cell.run == previousOld;
      previousOld = cell.run;
      cell.run = continues ? previousNew : nextRun_++;
      previousNew = cell.run;
      previous = key;
      any = true;
    }
  }

  uint32_t nextRun_ = 1;
};

// ---------------------------------------------------------------------------
// Comparison of a format with the model.

struct Window {
  uint32_t firstRow, rowCount;
  uint16_t firstColumn, columnCount;
};
const Window kWindows[] = {
    {0, 60, 0, 40}, {kMaxRow - 39, 40, uint16_t(kMaxColumn - 29), 30},  // a band at the last row and column
};

::testing::AssertionResult MatchesModel(SheetFormat& format, const Model& model, std::mt19937& random) {
  char problem[160];
  if (!format.CheckInvariants(problem, sizeof problem))
    return ::testing::AssertionFailure() << "invariant: " << problem;

  const std::vector<StyleRun> expected = model.Runs();
  CellCursor walk;
  walk.flags = kCursorAfterRecord;
  walk.block = format.runs.FirstBlock();
  size_t i = 0;
  for (const StyleRun* run; (run = StyleRunStore::NextRun(&walk)) != nullptr; ++i) {
    if (i >= expected.size())
      return ::testing::AssertionFailure() << "extra run on row " << run->row << " columns " << run->firstColumn;
    const StyleRun& e = expected[i];
    if (run->row != e.row || run->firstColumn != e.firstColumn || run->lastColumn != e.lastColumn ||
        run->style != e.style)
      return ::testing::AssertionFailure()
             << "run " << i << " is {" << run->firstColumn << "," << run->lastColumn << ", row " << run->row
             << ", style " << run->style << "}, expected {" << e.firstColumn << "," << e.lastColumn << ", row " << e.row
             << ", style " << e.style << "}";
  }
  if (i != expected.size())
    return ::testing::AssertionFailure() << "missing run on row " << expected[i].row;

  for (const Window& w : kWindows) {
    // A painter's walk: one cursor left on each run, column after column.
    CellCursor on;
    // A walk that leaves the cursor after each run found and jumps past it.
    CellCursor after;
    after.flags = kCursorAfterRecord;
    for (uint32_t row = w.firstRow; row < w.firstRow + w.rowCount; ++row) {
      for (uint32_t c = w.firstColumn; c < uint32_t(w.firstColumn) + w.columnCount; ++c) {
        const uint16_t column = uint16_t(c);
        const int style = model.StyleOf(row, column);
        const StyleRun* run = format.runs.FindRun(row, column, &on);
        if ((run ? int(run->style) : -1) != style ||
            (run && (run->row != row || run->firstColumn > column || run->lastColumn < column)))
          return ::testing::AssertionFailure() << "FindRun with a cursor at row " << row << " column " << column;
      }
      for (uint32_t c = w.firstColumn; c < uint32_t(w.firstColumn) + w.columnCount;) {
        const StyleRun* run = format.runs.FindRun(row, uint16_t(c), &after);
        if (!run) {
          if (model.StyleOf(row, uint16_t(c)) >= 0)
            return ::testing::AssertionFailure() << "walk past runs misses row " << row << " column " << c;
          ++c;
          continue;
        }
        for (; c <= run->lastColumn && c < uint32_t(w.firstColumn) + w.columnCount; ++c)
          if (model.StyleOf(row, uint16_t(c)) != run->style)
            return ::testing::AssertionFailure() << "walk past runs at row " << row << " column " << c;
      }
    }

    // A cell's style without a cursor (through the page index when built),
    // falling back on its column's, at a sample of cells.
    std::uniform_int_distribution<uint32_t> pickRow(0, w.rowCount - 1), pickColumn(0, w.columnCount - 1);
    for (int sample = 0; sample < 40; ++sample) {
      const uint32_t row = w.firstRow + pickRow(random);
      const uint16_t column = uint16_t(w.firstColumn + pickColumn(random));
      const int style = model.StyleOf(row, column);
      if (format.CellStyle(row, column) != (style >= 0 ? style : model.columns[column].Style()))
        return ::testing::AssertionFailure() << "CellStyle at row " << row << " column " << column;
    }

    // A rectangle walk returns exactly the runs meeting it, in order.
    uint32_t r1 = w.firstRow + pickRow(random), r2 = w.firstRow + pickRow(random);
    uint32_t c1 = w.firstColumn + pickColumn(random), c2 = w.firstColumn + pickColumn(random);
    if (r1 > r2)
      std::swap(r1, r2);
    if (c1 > c2)
      std::swap(c1, c2);
    std::vector<const StyleRun*> found;
    CellCursor rect;
    rect.flags = kCursorAfterRecord;
    while (const StyleRun* run = format.runs.FindFirstInRect(&rect, uint16_t(c1), uint16_t(c2), r1, r2))
      found.push_back(run);
    size_t k = 0;
    for (const StyleRun& e : expected) {
      if (e.row < r1 || e.row > r2 || e.lastColumn < c1 || e.firstColumn > c2)
        continue;
      if (k >= found.size() || found[k]->row != e.row || found[k]->firstColumn != e.firstColumn)
        return ::testing::AssertionFailure()
               << "FindFirstInRect misses the run on row " << e.row << " at column " << e.firstColumn;
      ++k;
    }
    if (k != found.size())
      return ::testing::AssertionFailure() << "FindFirstInRect gives runs outside the rectangle";
  }

  // Row records where the edits put them: the top rows and the last rows
  // (which pasted heights reach); the table grows no further than needed.
  if (format.rows.Count() != model.rows.size())
    return ::testing::AssertionFailure() << "row table of " << format.rows.Count() << " records, expected "
                                         << model.rows.size();
  format.rows.BuildPageTable();
  for (const Window& w : kWindows)
    for (uint32_t row = w.firstRow; row < w.firstRow + std::max<uint32_t>(w.rowCount, 100) && row <= kMaxRow; ++row) {
      const uint16_t* record = format.rows.At(row);
      if ((record ? *record : 0) != model.RowRecord(row))
        return ::testing::AssertionFailure() << "row record " << row;
    }
  if (std::memcmp(format.columns, model.columns, sizeof model.columns) != 0)
    return ::testing::AssertionFailure() << "column records differ";
  return ::testing::AssertionSuccess();
}

Rect RandomRect(std::mt19937& random, const Window& w, uint32_t maxWidth = 0, uint32_t maxHeight = 0) {
  auto pick = [&](uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(random); };
  uint32_t r1 = w.firstRow + pick(w.rowCount), r2 = w.firstRow + pick(w.rowCount);
  uint32_t c1 = w.firstColumn + pick(w.columnCount), c2 = w.firstColumn + pick(w.columnCount);
  if (r1 > r2)
    std::swap(r1, r2);
  if (c1 > c2)
    std::swap(c1, c2);
  if (maxWidth && c2 - c1 + 1 > maxWidth)
    c2 = c1 + maxWidth - 1;
  if (maxHeight && r2 - r1 + 1 > maxHeight)
    r2 = r1 + maxHeight - 1;
  return {uint16_t(c1), uint16_t(c2), r1, r2};
}

std::string Describe(const char* what, const Rect& r) {
  std::ostringstream text;
  text << what << " columns " << r.firstColumn << "-" << r.lastColumn << " rows " << r.firstRow << "-" << r.lastRow;
  return text.str();
}

void RunRandomEdits(uint32_t seed, int steps) {
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto pick = [&](uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(random); };
  SheetFormat format;
  Model model;
  // Row records with flag bits that every edit must keep.
  for (uint32_t row = 0; row < 70; ++row) {
    const uint16_t record = uint16_t((pick(8) << 13) | (pick(3) == 0 ? (pick(50) << 1) | pick(2) : 0));
    ASSERT_TRUE(format.rows.Append(record));
    model.rows.push_back(record);
  }

  for (int step = 0; step < steps; ++step) {
    const Window& w = kWindows[pick(2)];
    const uint32_t op = pick(100);
    std::string what;
    if (op < 30) {
      // A row's stretch restyled the way callers do it: clear, then insert
      // runs left to right with one cursor.
      Rect r = RandomRect(random, w, 12, 1);
      what = Describe("restyle", r);
      CellCursor cursor;
      cursor.flags = pick(2) ? kCursorAfterRecord : 0;
      ASSERT_TRUE(format.runs.ClearRect(r.firstColumn, r.lastColumn, r.firstRow, r.lastRow, &cursor, pick(2)));
      model.Clear(r);
      for (uint32_t c = r.firstColumn; c <= r.lastColumn;) {
        const uint32_t last = std::min<uint32_t>(c + pick(4), r.lastColumn);
        const uint16_t style = uint16_t(1 + pick(3));
        ASSERT_TRUE(format.runs.InsertRun({uint16_t(c), uint16_t(last), r.firstRow, style}, &cursor)) << what;
        model.InsertRun(r.firstRow, uint16_t(c), uint16_t(last), style);
        c = last + 1 + pick(2);
      }
    } else if (op < 40) {
      // A rectangle in one style, one run a row, or a checkerboard of
      // one-cell runs that fills blocks.
      Rect r = RandomRect(random, w);
      const bool checkerboard = pick(2);
      what = Describe(checkerboard ? "checkerboard" : "fill", r);
      const uint16_t style = uint16_t(1 + pick(3));
      ASSERT_TRUE(format.runs.ClearRect(r.firstColumn, r.lastColumn, r.firstRow, r.lastRow, nullptr, false));
      model.Clear(r);
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      for (uint32_t row = r.firstRow; row <= r.lastRow; ++row) {
        if (!checkerboard) {
          ASSERT_TRUE(format.runs.InsertRun({r.firstColumn, r.lastColumn, row, style}, &cursor)) << what;
          model.InsertRun(row, r.firstColumn, r.lastColumn, style);
          continue;
        }
        for (uint32_t c = r.firstColumn; c <= r.lastColumn; ++c) {
          const uint16_t cellStyle = uint16_t(style + (row + c) % 2);
          ASSERT_TRUE(format.runs.InsertRun({uint16_t(c), uint16_t(c), row, cellStyle}, &cursor)) << what;
          model.InsertRun(row, uint16_t(c), uint16_t(c), cellStyle);
        }
      }
    } else if (op < 55) {
      Rect r = RandomRect(random, w);
      what = Describe("clear", r);
      ASSERT_TRUE(format.runs.ClearRect(r.firstColumn, r.lastColumn, r.firstRow, r.lastRow, nullptr, pick(2)));
      model.Clear(r);
    } else if (op < 67) {
      const Rect from = RandomRect(random, w, 8, 8);
      const Rect to = RandomRect(random, kWindows[pick(2)]);
      what = Describe("paste from", from) + Describe(" to", to);
      SheetFormat snapshot;
      CellCursor cursor;
      ASSERT_TRUE(format.CopyRect(from.firstColumn, from.lastColumn, from.firstRow, from.lastRow, &snapshot, &cursor));
      std::vector<uint16_t> fixedRows;
      const std::vector<Piece> pieces = model.Snapshot(from, &fixedRows);
      ASSERT_TRUE(format.PasteFormat(nullptr, to.firstColumn, to.lastColumn, to.firstRow, to.lastRow, from.firstColumn,
                                     from.lastColumn, from.firstRow, from.lastRow, snapshot, nullptr))
          << what;
      model.Paste(to, from, pieces, fixedRows);
    } else if (op < 74) {
      const uint32_t first = w.firstRow + pick(w.rowCount);
      const uint32_t count = std::min<uint32_t>(1 + pick(5), kMaxRow - first + 1);
      what = "insert rows " + std::to_string(first) + " +" + std::to_string(count);
      ASSERT_TRUE(format.InsertRows(first, first + count - 1));
      model.InsertRows(first, count);
    } else if (op < 81) {
      const uint32_t first = w.firstRow + pick(w.rowCount);
      const uint32_t last = std::min<uint32_t>(first + pick(5), kMaxRow);
      what = "delete rows " + std::to_string(first) + "-" + std::to_string(last);
      ASSERT_TRUE(format.DeleteRows(first, last));
      model.DeleteRows(first, last);
    } else if (op < 88) {
      const uint16_t first = uint16_t(w.firstColumn + pick(w.columnCount));
      const uint16_t count = uint16_t(std::min<uint32_t>(1 + pick(5), kMaxColumn - first + 1));
      what = "insert columns " + std::to_string(first) + " +" + std::to_string(count);
      ASSERT_TRUE(format.InsertColumns(first, uint16_t(first + count - 1)));
      model.InsertColumns(first, count);
    } else if (op < 94) {
      const uint16_t first = uint16_t(w.firstColumn + pick(w.columnCount));
      const uint16_t last = uint16_t(std::min<uint32_t>(first + pick(5), kMaxColumn));
      what = "delete columns " + std::to_string(first) + "-" + std::to_string(last);
      ASSERT_TRUE(format.DeleteColumns(first, last));
      model.DeleteColumns(first, last);
    } else if (op < 97) {
      const uint32_t row = pick(kWindows[0].rowCount + 20);
      const uint16_t height = uint16_t(pick(60));
      const bool fixed = pick(2);
      what = "set row " + std::to_string(row);
      ASSERT_TRUE(format.rows.SetRow(row, height, fixed));
      model.SetRow(row, height, fixed);
    } else {
      const uint16_t column = uint16_t(w.firstColumn + pick(w.columnCount));
      what = "set column " + std::to_string(column);
      ColumnRecord record = {uint16_t(random()), uint16_t(random()), uint16_t(random())};
      format.columns[column] = record;
      model.columns[column] = record;
    }
    if (pick(8) == 0) {
      // Lookups without a cursor then go through the page index.
      ASSERT_TRUE(format.runs.BuildPageIndex(0, nullptr));
      ASSERT_TRUE(format.runs.BuildPageIndex(kPageCount - 1, nullptr));
    }
    ASSERT_TRUE(MatchesModel(format, model, random)) << "step " << step << ": " << what;
  }
}

TEST(SheetFormat, RandomEditsMatchAModelOfEveryCell) {
  uint32_t seeds[] = {1, 2, 3, 4, 5, 6};
  seeds[0] = TestSeed(seeds[0]);
  for (uint32_t seed : seeds) {
    RunRandomEdits(seed, 500);
    if (HasFatalFailure())
      return;
  }
}

// ---------------------------------------------------------------------------
// Edge cases and failures.

std::vector<StyleRun> RunsOf(const SheetFormat& format) {
  std::vector<StyleRun> runs;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = format.runs.FirstBlock();
  while (const StyleRun* run = StyleRunStore::NextRun(&cursor)) runs.push_back(*run);
  return runs;
}

bool SameRuns(const std::vector<StyleRun>& a, const std::vector<StyleRun>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(StyleRun)) == 0);
}

std::vector<uint16_t> RowsOf(SheetFormat& format) {
  std::vector<uint16_t> rows(format.rows.Count());
  format.rows.BuildPageTable();
  for (uint32_t row = 0; row < rows.size(); ++row) rows[row] = *format.rows.At(row);
  return rows;
}

::testing::AssertionResult Valid(const SheetFormat& format) {
  char problem[160];
  if (format.CheckInvariants(problem, sizeof problem))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << problem;
}

int StyleAt(const SheetFormat& format, uint32_t row, uint16_t column) {
  const StyleRun* run = format.runs.FindRun(row, column);
  return run ? run->style : -1;
}

uint16_t Record(uint32_t row) { return uint16_t(((row % 8) << 13) | ((row % 40) << 1) | (row % 3 == 0)); }

TEST(SheetFormat, InsertRowsMovesRunsAndRowRecordsDown) {
  struct Case {
    const char* name;
    uint32_t tableRows;
    uint32_t first, last;
  };
  const Case cases[] = {
      {"inside the table", 40, 10, 12},
      {"at the table's last record", 40, 39, 40},
      {"past the table's end", 40, 40, 45},
      {"far past it", 40, 5000, 5003},
      {"empty table", 0, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SheetFormat format;
    std::vector<uint16_t> before;
    for (uint32_t row = 0; row < c.tableRows; ++row) {
      ASSERT_TRUE(format.rows.Append(Record(row)));
      before.push_back(Record(row));
    }
    std::vector<StyleRun> runs = {{1, 4, c.first, 2},
                                  {0, 0, kMaxRow - (c.last - c.first) - 1, 5},
                                  {0, 0, kMaxRow - (c.last - c.first), 4}};  // pushed off
    if (c.first > 0)
      runs.push_back({1, 4, c.first - 1, 3});
    for (const StyleRun& run : runs) ASSERT_TRUE(format.runs.InsertRun(run, nullptr));

    ASSERT_TRUE(format.InsertRows(c.first, c.last));
    const uint32_t count = c.last - c.first + 1;
    EXPECT_EQ(2, StyleAt(format, c.first + count, 1));
    EXPECT_EQ(-1, StyleAt(format, c.first, 1));
    if (c.first > 0) {
      EXPECT_EQ(3, StyleAt(format, c.first - 1, 1));
    }
    EXPECT_EQ(5, StyleAt(format, kMaxRow, 0));
    EXPECT_EQ(runs.size() - 1, RunsOf(format).size());

    // The inserted rows get default heights and keep their flag bits.
    std::vector<uint16_t> expected = before;
    if (c.tableRows > c.first) {
      expected.insert(expected.begin() + c.first, count, 0);
      for (uint32_t row = c.first; row <= c.last; ++row)
        expected[row] = uint16_t((row < before.size() ? before[row] : 0) & RowTable::kFlagBits);
    }
    EXPECT_EQ(expected, RowsOf(format));
    EXPECT_TRUE(Valid(format));
  }
}

TEST(SheetFormat, InsertRowsIntoAFullTableDropsTheRecordsPushedPastTheLastRow) {
  SheetFormat format;
  for (uint32_t row = 0; row < RowTable::kMaxRows; ++row) ASSERT_TRUE(format.rows.Append(Record(row)));
  ASSERT_TRUE(format.InsertRows(10, 12));
  ASSERT_EQ(RowTable::kMaxRows, format.rows.Count());
  ASSERT_TRUE(format.rows.BuildPageTable());
  for (uint32_t row = 0; row < RowTable::kMaxRows; ++row) {
    const uint16_t expected = row < 10    ? Record(row)
                              : row <= 12 ? uint16_t(Record(row) & RowTable::kFlagBits)
                                          : Record(row - 3);
    ASSERT_EQ(expected, *format.rows.At(row)) << row;
  }
  EXPECT_TRUE(Valid(format));
}

// The table grows before anything moves: when it cannot, the format is left
// as it was and the failure is reported.
TEST(SheetFormat, InsertRowsThatCannotGrowTheTableChangesNothing) {
  for (uint32_t tableRows : {4091u, 4090u}) {
    SCOPED_TRACE(tableRows);
    SheetFormat format;
    for (uint32_t row = 0; row < tableRows; ++row) ASSERT_TRUE(format.rows.Append(Record(row)));
    ASSERT_TRUE(format.runs.InsertRun({2, 3, 100, 1}, nullptr));
    const std::vector<StyleRun> runs = RunsOf(format);
    {
      AllocationLimit limit(0);
      EXPECT_FALSE(format.InsertRows(50, 52));
    }
    EXPECT_EQ(kSheetFormatOutOfMemory, format.LastError());
    EXPECT_TRUE(SameRuns(runs, RunsOf(format)));
    const std::vector<uint16_t> rows = RowsOf(format);
    ASSERT_EQ(4091u, rows.size());  // what did fit stays, as default rows
    for (uint32_t row = 0; row < rows.size(); ++row) ASSERT_EQ(row < tableRows ? Record(row) : 0, rows[row]) << row;
    EXPECT_TRUE(Valid(format));
  }
}

SheetFormat* BuildFormat(SheetFormat* format) {
  for (uint32_t row = 0; row < 2500; ++row) {
    EXPECT_TRUE(format->runs.InsertRun({uint16_t(row % 50), uint16_t(row % 50 + 3), row, uint16_t(row % 4)}, nullptr));
    EXPECT_TRUE(format->runs.InsertRun({100, 120, row, 7}, nullptr));
  }
  for (uint32_t row = 0; row < 5000; ++row) EXPECT_TRUE(format->rows.Append(Record(row)));
  for (uint32_t column = 0; column < kColumnCount; ++column)
    format->columns[column] = {uint16_t(column * 3), uint16_t(column % 12), 0};
  return format;
}

TEST(SheetFormat, CopyFromCopiesEverythingOrLeavesNothing) {
  SheetFormat source;
  BuildFormat(&source);
  const std::vector<StyleRun> runs = RunsOf(source);
  const std::vector<uint16_t> rows = RowsOf(source);
  for (int granted = 0;; ++granted) {
    SheetFormat target;
    ASSERT_TRUE(target.runs.InsertRun({0, 0, 0, 1}, nullptr));
    target.columns[3].widthWord = 77;
    bool copied;
    {
      AllocationLimit limit(granted);
      copied = target.CopyFrom(&source);
    }
    EXPECT_TRUE(Valid(target)) << granted;
    if (!copied) {
      EXPECT_EQ(kSheetFormatOutOfMemory, target.LastError());
      EXPECT_EQ(nullptr, target.runs.FirstBlock());
      EXPECT_EQ(0u, target.rows.Count());
      EXPECT_EQ(0, target.columns[3].widthWord);
      continue;
    }
    EXPECT_TRUE(SameRuns(runs, RunsOf(target)));
    EXPECT_EQ(rows, RowsOf(target));
    EXPECT_EQ(0, std::memcmp(source.columns, target.columns, sizeof source.columns));
    EXPECT_GT(granted, 3);
    break;
  }
  EXPECT_TRUE(SameRuns(runs, RunsOf(source)));
}

TEST(SheetFormat, CopyRectSnapshotsRunsColumnsAndFixedRows) {
  SheetFormat format;
  ASSERT_TRUE(format.runs.InsertRun({0, 9, 4, 1}, nullptr));
  ASSERT_TRUE(format.runs.InsertRun({5, 6, 5, 2}, nullptr));
  ASSERT_TRUE(format.runs.InsertRun({8, 9, 6, 3}, nullptr));  // right of the rectangle
  ASSERT_TRUE(format.runs.InsertRun({2, 3, 9, 4}, nullptr));  // below it
  ASSERT_TRUE(format.rows.SetRow(5, 30, true));
  ASSERT_TRUE(format.rows.SetRow(6, 40, false));
  *format.rows.At(5) |= 0xE000;
  format.columns[3] = {11, 12, 13};
  format.columns[2] = {21, 22, 23};

  SheetFormat snapshot;
  ASSERT_TRUE(snapshot.runs.InsertRun({0, 0, 0, 9}, nullptr));  // replaced
  CellCursor cursor;
  ASSERT_TRUE(format.CopyRect(3, 6, 4, 8, &snapshot, &cursor));
  const std::vector<StyleRun> expected = {{3, 6, 4, 1}, {5, 6, 5, 2}};
  EXPECT_TRUE(SameRuns(expected, RunsOf(snapshot)));
  EXPECT_EQ(12, snapshot.columns[3].styleWord);
  EXPECT_EQ(0, snapshot.columns[2].styleWord);
  // Fixed heights only, at row - first row, without the flag bits.
  EXPECT_EQ((std::vector<uint16_t>{0, (30 << 1) | 1}), RowsOf(snapshot));
  EXPECT_TRUE(Valid(snapshot));

  // No block for the runs, then no page for the rows.
  for (int granted = 0; granted < 2; ++granted) {
    SheetFormat fresh;
    AllocationLimit limit(granted);
    EXPECT_FALSE(format.CopyRect(3, 6, 4, 8, &fresh, nullptr));
    EXPECT_EQ(kSheetFormatOutOfMemory, format.LastError());
    EXPECT_EQ(nullptr, fresh.runs.FirstBlock());
    EXPECT_EQ(0u, fresh.rows.Count());
    EXPECT_TRUE(Valid(fresh));
  }
}

TEST(SheetFormat, RefusesReversedOrOffGridSpans) {
  SheetFormat format;
  EXPECT_FALSE(format.InsertColumns(6, 5));
  EXPECT_FALSE(format.InsertColumns(2040, kColumnCount));
  EXPECT_FALSE(format.InsertRows(10, kRowCount));
  EXPECT_FALSE(format.DeleteRows(kRowCount, kRowCount));
  EXPECT_FALSE(format.CopyRect(0, 0, 0, 0, &format, nullptr));
  EXPECT_EQ(kSheetFormatBadRange, format.LastError());
}

FontRecord FontOfWeight(uint8_t weight, uint8_t italic = 0) {
  FontRecord font;
  std::memset(&font, 0, sizeof font);
  font.weight = weight;
  font.italic = italic;
  return font;
}

TEST(SheetFormat, PasteFormatRegistersStylesInTheTargetTable) {
  StyleTable sourceTable;
  uint8_t bold = 0;
  ASSERT_TRUE(sourceTable.FindOrAddFont(FontOfWeight(kFontWeightBold), &bold));
  StyleRecord boldStyle = StyleRecord::Default();
  boldStyle.fontIndex = bold;
  StyleRecord centred = StyleRecord::Default();
  centred.alignment.horizontal = kHAlignCentre;
  uint16_t sourceBold = 0, sourceCentred = 0;
  ASSERT_TRUE(sourceTable.FindOrAddStyle(boldStyle, &sourceBold));
  ASSERT_TRUE(sourceTable.FindOrAddStyle(centred, &sourceCentred));

  StyleTable table;
  uint8_t italic = 0;
  ASSERT_TRUE(table.FindOrAddFont(FontOfWeight(0, 1), &italic));
  StyleRecord wrapped = StyleRecord::Default();
  wrapped.alignment.wrapText = 1;
  uint16_t unused = 0;
  ASSERT_TRUE(table.FindOrAddStyle(wrapped, &unused));

  SheetFormat source;
  ASSERT_TRUE(source.runs.InsertRun({0, 1, 0, sourceBold}, nullptr));
  ASSERT_TRUE(source.runs.InsertRun({2, 2, 0, sourceCentred}, nullptr));
  ASSERT_TRUE(source.runs.InsertRun({0, 2, 1, 40}, nullptr));  // past the source table: its style 0
  for (uint16_t column = 0; column < 3; ++column)
    source.columns[column] = {uint16_t(column << 1), uint16_t(0xA000 | sourceCentred), 5};

  SheetFormat target;
  ASSERT_TRUE(target.PasteFormat(&table, 5, 10, 10, 13, 0, 2, 0, 1, source, &sourceTable));
  EXPECT_TRUE(Valid(target));
  const int targetBold = StyleAt(target, 10, 5);
  const int targetCentred = StyleAt(target, 10, 7);
  ASSERT_EQ(4u, table.styleCount);
  ASSERT_EQ(3u, table.fontCount);
  EXPECT_EQ(targetBold, StyleAt(target, 12, 9));  // the next tile
  EXPECT_EQ(targetCentred, StyleAt(target, 12, 10));
  EXPECT_EQ(0, StyleAt(target, 13, 8));
  EXPECT_TRUE(StyleTable::FontsEqual(FontOfWeight(kFontWeightBold), table.FontAt(table.StyleAt(targetBold).fontIndex)));
  EXPECT_EQ(kHAlignCentre, table.StyleAt(targetCentred).alignment.horizontal);
  // Rows only: the column records stay.
  EXPECT_EQ(0, target.columns[5].styleWord);

  // Whole columns bring the column records of the source's columns, tiled
  // like the runs, with their styles mapped and their flag bits kept.
  SheetFormat whole;
  ASSERT_TRUE(whole.PasteFormat(&table, 20, 24, 0, kMaxRow, 0, 2, 0, kMaxRow, source, &sourceTable));
  const uint16_t sourceColumnOf[] = {0, 1, 2, 0, 1};
  for (uint16_t i = 0; i < 5; ++i) {
    EXPECT_EQ(sourceColumnOf[i] << 1, whole.columns[20 + i].widthWord) << i;
    EXPECT_EQ(0xA000 | targetCentred, whole.columns[20 + i].styleWord) << i;
  }
  EXPECT_EQ(4u, table.styleCount);
  EXPECT_TRUE(Valid(whole));
}

TEST(SheetFormat, PasteFormatTilesRowHeightsWithoutGrowingTheTableNeedlessly) {
  SheetFormat source;
  ASSERT_TRUE(source.rows.SetRow(1, 25, true));  // a snapshot's rows: fixed heights only
  SheetFormat target;
  for (uint32_t row = 0; row < 8; ++row) ASSERT_TRUE(target.rows.Append(uint16_t(0xE000 | (9 << 1) | 1)));
  ASSERT_TRUE(target.PasteFormat(nullptr, 0, 0, 4, 13, 0, 0, 0, 2, source, nullptr));
  const uint16_t kept = 0xE000 | (9 << 1) | 1, pasted = (25 << 1) | 1;
  const std::vector<uint16_t> expected = {kept,   kept,   kept,   kept, 0xE000, pasted | 0xE000,
                                          0xE000, 0xE000, pasted, 0,    0,      pasted};
  EXPECT_EQ(expected, RowsOf(target));
  EXPECT_TRUE(Valid(target));
}

TEST(SheetFormat, PasteFormatStopsWhenTheStyleTableIsFull) {
  StyleTable table;
  for (uint32_t i = 1; i < StyleTable::kMaxStyles; ++i) {
    StyleRecord style = StyleRecord::Default();
    style.alignment.rotation = int8_t(i % 91);
    style.alignment.verticalIndent = uint8_t(100 + i / 91);
    uint16_t index = 0;
    ASSERT_TRUE(table.FindOrAddStyle(style, &index));
  }
  ASSERT_EQ(StyleTable::kMaxStyles, table.styleCount);
  StyleTable sourceTable;
  StyleRecord odd = StyleRecord::Default();
  odd.hidden = 1;
  uint16_t oddIndex = 0;
  ASSERT_TRUE(sourceTable.FindOrAddStyle(odd, &oddIndex));
  SheetFormat source;
  ASSERT_TRUE(source.runs.InsertRun({0, 0, 0, oddIndex}, nullptr));
  SheetFormat target;
  EXPECT_FALSE(target.PasteFormat(&table, 0, 3, 0, 3, 0, 0, 0, 0, source, &sourceTable));
  EXPECT_EQ(kSheetFormatStyleTableFull, target.LastError());
  EXPECT_TRUE(Valid(target));
  EXPECT_FALSE(target.PasteFormat(&table, 0, 3, 0, 3, 0, 0, 0, 0, target, nullptr));
  EXPECT_EQ(kSheetFormatBadRange, target.LastError());
}

TEST(SheetFormat, PasteFormatOutOfMemoryLeavesAValidFormat) {
  SheetFormat source;
  BuildFormat(&source);
  SheetFormat reference;
  BuildFormat(&reference);
  ASSERT_TRUE(reference.PasteFormat(nullptr, 2, 110, 0, 2000, 0, 60, 100, 400, source, nullptr));
  const std::vector<StyleRun> expected = RunsOf(reference);
  for (int granted = 0;; ++granted) {
    SheetFormat target;
    BuildFormat(&target);
    bool pasted;
    {
      AllocationLimit limit(granted);
      pasted = target.PasteFormat(nullptr, 2, 110, 0, 2000, 0, 60, 100, 400, source, nullptr);
    }
    ASSERT_TRUE(Valid(target)) << granted;
    if (pasted) {
      EXPECT_TRUE(SameRuns(expected, RunsOf(target)));
      break;
    }
    EXPECT_EQ(kSheetFormatOutOfMemory, target.LastError());
  }
}

TEST(SheetFormat, CompareStylesInRangeFoldsEveryStyleTheCellsShow) {
  StyleTable table;
  uint8_t boldFont = 0;
  ASSERT_TRUE(table.FindOrAddFont(FontOfWeight(kFontWeightBold), &boldFont));
  StyleRecord bold = StyleRecord::Default();
  bold.fontIndex = boldFont;
  StyleRecord centred = StyleRecord::Default();
  centred.alignment.horizontal = kHAlignCentre;
  uint16_t boldIndex = 0, centredIndex = 0;
  ASSERT_TRUE(table.FindOrAddStyle(bold, &boldIndex));
  ASSERT_TRUE(table.FindOrAddStyle(centred, &centredIndex));

  SheetFormat format;
  format.columns[3].SetStyle(centredIndex);
  ASSERT_TRUE(format.runs.InsertRun({0, 9, 5, boldIndex}, nullptr));

  struct Case {
    const char* name;
    Rect rect;
    uint8_t weight, horizontal;
    uint8_t firstWeight;  // of the style given back: the first cell's
  };
  const Case cases[] = {
      {"one run", {0, 2, 5, 5}, kMarkAgree, kMarkAgree, kFontWeightBold},
      {"a run over a styled column", {3, 3, 5, 5}, kMarkAgree, kMarkAgree, kFontWeightBold},
      {"run and columns", {0, 3, 5, 6}, kMarkMixed, kMarkMixed, kFontWeightBold},
      {"plain columns", {0, 2, 6, 9}, kMarkAgree, kMarkAgree, kFontWeightNormal},
      {"a plain and a styled column", {2, 3, 0, kMaxRow}, kMarkMixed, kMarkMixed, kFontWeightNormal},
      {"columns only", {2, 3, 6, kMaxRow}, kMarkAgree, kMarkMixed, kFontWeightNormal},
      {"a column covered everywhere", {3, 3, 5, 5}, kMarkAgree, kMarkAgree, kFontWeightBold},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint8_t marks[kStyleMarkCount];
    std::memset(marks, 7, sizeof marks);
    StyleRecord style;
    FontRecord font;
    format.CompareStylesInRange(table, c.rect.firstColumn, c.rect.lastColumn, c.rect.firstRow, c.rect.lastRow, &style,
                                &font, marks);
    EXPECT_EQ(c.weight, marks[kMarkWeight]);
    EXPECT_EQ(c.horizontal, marks[kMarkHorizontalAlignment]);
    EXPECT_EQ(kMarkAgree, marks[kMarkFaceName]);
    EXPECT_EQ(c.firstWeight, font.weight);
    EXPECT_EQ(c.firstWeight == kFontWeightBold ? boldFont : 0, style.fontIndex);
  }
}

TEST(SheetFormat, ClearKeepsTheViewsSizesAndTheRowPages) {
  SheetFormat format;
  BuildFormat(&format);
  format.defaultColumnWidth = 64;
  format.defaultRowHeight = 17;
  const uint32_t pages = format.rows.PageCount();
  format.Clear(true);
  EXPECT_EQ(nullptr, format.runs.FirstBlock());
  EXPECT_EQ(0u, format.runs.PoolCount());
  EXPECT_EQ(0u, format.rows.Count());
  EXPECT_EQ(pages, format.rows.PoolCount());
  EXPECT_EQ(0, format.columns[7].widthWord);
  EXPECT_EQ(64, format.defaultColumnWidth);
  EXPECT_EQ(17, format.defaultRowHeight);
  EXPECT_TRUE(Valid(format));
  format.Destroy();
  EXPECT_EQ(0u, format.rows.PoolCount());
  EXPECT_TRUE(Valid(format));
}

}  // namespace
