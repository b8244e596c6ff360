#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/edit/cell_input.h"
#include "core/formula/eval_state.h"
#include "core/edit/reference_adjust.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "test_seed.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutNumber(CellStore& cells, uint32_t row, uint16_t column, double value) {
  uint8_t record[kNumberCellSize];
  BuildNumberCell(record, sizeof record, row, column, value);
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

void PutFormula(CellStore& cells, uint32_t row, uint16_t column, const std::string& text,
                const char* cachedText = nullptr, double cachedNumber = 0.0) {
  uint8_t record[kBlockPayload];
  FormulaCellFields fields;
  fields.formula = text.data();
  fields.formulaLength = static_cast<uint16_t>(text.size());
  fields.cachedNumber = cachedNumber;
  fields.resultFlags = kResultCachedNumber;
  if (cachedText) {
    fields.cachedText = cachedText;
    fields.cachedTextLength = static_cast<uint16_t>(std::strlen(cachedText));
  }
  ASSERT_NE(0u, BuildFormulaCell(record, sizeof record, row, column, fields));
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

std::string FormulaAt(CellStore& cells, uint32_t row, uint16_t column) {
  const CellRecord* cell = cells.GetCell(row, column);
  if (!cell || !cell->IsFormula()) return "(none)";
  return std::string(cell->FormulaText(), cell->FormulaLength());
}

void AppendChain(Bytes& bytes, const BlockStore& store) {
  for (const CellBlock* block = store.FirstBlock(); block; block = block->next)
    bytes.insert(bytes.end(), block->payload, block->payload + block->used);
}

// Everything a structural edit may touch, byte for byte.
Bytes Snapshot(const CWorkSheet& sheet) {
  Bytes bytes;
  AppendChain(bytes, sheet.cells);
  AppendChain(bytes, sheet.format.runs);
  const uint8_t* columns = reinterpret_cast<const uint8_t*>(sheet.format.columns);
  bytes.insert(bytes.end(), columns, columns + sizeof sheet.format.columns);
  for (uint32_t row = 0; row < sheet.format.rows.Count(); ++row) {
    const uint16_t height = *sheet.format.rows.At(row);
    bytes.push_back(static_cast<uint8_t>(height));
    bytes.push_back(static_cast<uint8_t>(height >> 8));
  }
  return bytes;
}

class WorksheetStructure : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
  }
  CWorkBook book;
  CWorkSheet* sheet = nullptr;
};

TEST_F(WorksheetStructure, RefusedEditsLeaveTheWorksheetAsItWas) {
  struct Case {
    const char* what;
    uint32_t row;
    uint16_t column;
    const char* formula;  // null: a number
    bool rows;
    uint32_t first;  // the line inserted
    uint8_t error;
  };
  std::string tooLong = "=R[9]C";
  while (tooLong.size() + 7 <= kFormulaTextCapacity) tooLong += "+R[9]C";
  const Case cases[] = {
      {"a cell on the last row", kMaxRow, 0, nullptr, true, 0, kWorkbookNoRoomForRows},
      {"a reference to the last row", 0, 0, "=R[2097151]C", true, 0, kWorkbookNoRoomForRows},
      {"a cell in the last column", 0, kMaxColumn, nullptr, false, 0, kWorkbookNoRoomForColumns},
      {"a reference to the last column", 0, 0, "=RC[2046]", false, 0, kWorkbookNoRoomForColumns},
      {"a formula that would grow too long", 0, 0, tooLong.c_str(), true, 5, kWorkbookFormulaTooLong},
  };
  for (const Case& c : cases) {
    sheet->cells.Clear(true);
    PutNumber(sheet->cells, 3, 1, 7.0);
    PutFormula(sheet->cells, 1, 1, "=R[2]C+R[-1]C[-1]");
    if (c.formula)
      PutFormula(sheet->cells, c.row, c.column, c.formula);
    else
      PutNumber(sheet->cells, c.row, c.column, 1.0);
    sheet->format.columns[4].SetWidth(33, true);
    const Bytes before = Snapshot(*sheet);
    book.error = kWorkbookNoError;
    const uint16_t column = uint16_t(c.first);
    const bool done = c.rows ? book.InsertRows(sheet, c.first, c.first) : book.InsertColumns(sheet, column, column);
    EXPECT_FALSE(done) << c.what;
    EXPECT_EQ(c.error, book.error) << c.what;
    EXPECT_TRUE(before == Snapshot(*sheet)) << c.what;
  }
}

// Found by fuzzing: under R1C1 addressing a typed "=$" is stored as typed,
// and every later insertion or deletion then scanned it for ever.
TEST_F(WorksheetStructure, FormulasTypedUntranslatedSurviveEdits) {
  ResetGlobalOptions();
  AddressingA1 = 0;
  const RegionalSettings saved = CurrentRegionalSettings();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const char* const typed[] = {"=$", "=$A$1", "=#"};
  for (uint32_t i = 0; i < 3; ++i) {
    NumFormatParams format = book.styles.StyleAt(0).numFormat;
    alignas(8) uint8_t record[kCellInputCapacity];
    ASSERT_GT(CWorkSheet::ParseCellInput(&book, typed[i], &format, 4, uint16_t(4 + i), record, sizeof record), 0u);
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  ASSERT_TRUE(book.InsertRows(sheet, 1, 2));
  ASSERT_TRUE(book.InsertColumns(sheet, 1, 1));
  ASSERT_TRUE(book.DeleteRows(sheet, 0, 0));
  ASSERT_TRUE(book.DeleteColumns(sheet, 0, 1));
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(FormulaAt(sheet->cells, 5, uint16_t(3 + i)), typed[i]);
  CurrentRegionalSettings() = saved;
  ResetGlobalOptions();
}

TEST_F(WorksheetStructure, InsertsUpToTheLastRow) {
  PutNumber(sheet->cells, kMaxRow - 1, 0, 5.0);
  PutFormula(sheet->cells, 0, 0, "=R[2097150]C");
  ASSERT_TRUE(book.InsertRows(sheet, 1, 1));
  const CellRecord* moved = sheet->cells.GetCell(kMaxRow, 0);
  ASSERT_TRUE(moved != nullptr);
  EXPECT_EQ(5.0, moved->Number());
  EXPECT_EQ("=R[2097151]C", FormulaAt(sheet->cells, 0, 0));
  EXPECT_TRUE(sheet->cells.CheckInvariants());
}

TEST_F(WorksheetStructure, MovesFormatsWithTheCells) {
  sheet->format.columns[3].SetWidth(50, true);
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{2, 6, 0, 5}, nullptr));
  PutNumber(sheet->cells, 0, 3, 1.0);
  ASSERT_TRUE(book.InsertColumns(sheet, 3, 4));
  EXPECT_EQ(50, sheet->format.columns[5].Width());
  EXPECT_EQ(0, sheet->format.columns[3].Width());
  ASSERT_TRUE(sheet->cells.GetCell(0, 5) != nullptr);
  const StyleRun* run = sheet->format.runs.FindRun(0, 8);
  ASSERT_TRUE(run != nullptr);
  EXPECT_EQ(2, run->firstColumn);
  EXPECT_EQ(8, run->lastColumn);
  ASSERT_TRUE(book.DeleteColumns(sheet, 3, 4));
  EXPECT_EQ(50, sheet->format.columns[3].Width());
  ASSERT_TRUE(sheet->cells.GetCell(0, 3) != nullptr);
  EXPECT_TRUE(sheet->format.CheckInvariants());
}

TEST_F(WorksheetStructure, LongerTextKeepsTheCachedResult) {
  PutNumber(sheet->cells, 9, 0, 4.0);
  PutFormula(sheet->cells, 0, 0, "=R[9]C*2", "eight", 8.0);
  PutFormula(sheet->cells, 1, 0, "=R[8]C", nullptr, 4.0);
  ASSERT_TRUE(book.InsertRows(sheet, 5, 5));
  const CellRecord* cell = sheet->cells.GetCell(0, 0);
  ASSERT_TRUE(cell && cell->IsFormula());
  EXPECT_EQ("=R[10]C*2", FormulaAt(sheet->cells, 0, 0));
  ASSERT_TRUE(cell->HasCachedText());
  EXPECT_EQ("eight", std::string(cell->CachedText(), cell->CachedTextLength()));
  EXPECT_EQ(8.0, cell->CachedNumber());
  EXPECT_EQ("=R[9]C", FormulaAt(sheet->cells, 1, 0));
  EXPECT_TRUE(sheet->cells.CheckInvariants());
}

TEST_F(WorksheetStructure, NotifyFormulasAfterTheCellsMoved) {
  PutFormula(sheet->cells, 2, 0, "=R[-2]C");
  ASSERT_TRUE(sheet->cells.InsertRows(1, 1));
  ASSERT_TRUE(NotifyFormulas(book.evaluator, &sheet->cells, kEditRowsInserted, CellRange{0, 1, kMaxColumn, 1}));
  EXPECT_EQ("=R[-3]C", FormulaAt(sheet->cells, 3, 0));
}

int allocationsLeft = -1;
void* CountedAllocation(size_t bytes) {
  if (allocationsLeft == 0) return nullptr;
  if (allocationsLeft > 0) --allocationsLeft;
  return std::malloc(bytes);
}

TEST_F(WorksheetStructure, RunningOutOfMemoryNeverLeavesFormulasHalfRewritten) {
  int refusedUnchanged = 0;
  int succeeded = 0;
  for (int granted = 0; granted < 12; ++granted) {
    SCOPED_TRACE("blocks granted " + std::to_string(granted));
    sheet->cells.Clear(true);
    sheet->cells.FreePool();
    for (uint32_t row = 0; row < 400; ++row) PutFormula(sheet->cells, row, 0, row % 2 ? "=R[99]C" : "=R[500]C");
    PutNumber(sheet->cells, 900, 0, 1.0);
    const Bytes before = Snapshot(*sheet);
    allocationsLeft = granted;
    SetStorePageAllocatorForTesting(CountedAllocation);
    book.error = kWorkbookNoError;
    const bool done = book.InsertRows(sheet, 450, 450);
    SetStorePageAllocatorForTesting(nullptr);
    allocationsLeft = -1;
    ASSERT_TRUE(sheet->cells.CheckInvariants());
    const bool moved = sheet->cells.GetCell(901, 0) != nullptr;
    if (!done) {
      EXPECT_EQ(kWorkbookOutOfMemory, book.error);
      // Before the cells move a failure changes nothing at all.
      if (!moved) {
        EXPECT_TRUE(before == Snapshot(*sheet));
        ++refusedUnchanged;
      }
      continue;
    }
    ASSERT_TRUE(moved);
    ++succeeded;
    for (uint32_t row = 0; row < 400; ++row)
      ASSERT_EQ(row % 2 ? (row + 99 < 450 ? "=R[99]C" : "=R[100]C") : "=R[501]C", FormulaAt(sheet->cells, row, 0));
  }
  EXPECT_GT(refusedUnchanged, 0);
  EXPECT_GT(succeeded, 0);
}

// A model of "the same cells, moved": each row and column is a line with an
// identity; an insertion adds new lines, a deletion removes lines. Every
// reference is remembered by the identities of the lines it names.
struct LineRef {
  bool range = false;
  bool lost = false;
  int row1 = 0, column1 = 0, row2 = 0, column2 = 0;  // line identities
};
struct ModelFormula {
  int row, column;  // identities
  std::vector<LineRef> refs;
};

struct Model {
  std::vector<int> rows, columns;  // identity of each current line
  int nextId = 0;

  static int IndexOf(const std::vector<int>& lines, int id) {
    const auto it = std::find(lines.begin(), lines.end(), id);
    return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
  }
};

// The end of a range in removed lines moves toward its other end to the
// first line that remains; -1 when none remains between them.
int Survivor(const std::vector<int>& lines, const std::vector<bool>& removed, int index, int other) {
  const int step = other >= index ? 1 : -1;
  for (int i = index;; i += step) {
    if (!removed[i]) return lines[i];
    if (i == other) return -1;
  }
}

void RemoveLines(std::vector<int>& lines, int first, int count, std::vector<ModelFormula>& formulas,
                 bool rows) {
  std::vector<bool> removed(lines.size(), false);
  for (int i = first; i < first + count && i < static_cast<int>(lines.size()); ++i) removed[i] = true;
  const auto gone = [&](int id) {
    const int index = Model::IndexOf(lines, id);
    return index >= 0 && removed[index];
  };
  std::vector<ModelFormula> kept;
  for (ModelFormula& f : formulas) {
    if (gone(rows ? f.row : f.column)) continue;
    for (LineRef& ref : f.refs) {
      if (ref.lost) continue;
      int& a = rows ? ref.row1 : ref.column1;
      int& b = rows ? ref.row2 : ref.column2;
      if (!ref.range) {
        if (gone(a)) ref.lost = true;
        continue;
      }
      const int ia = Model::IndexOf(lines, a);
      const int ib = Model::IndexOf(lines, b);
      const int na = Survivor(lines, removed, ia, ib);
      const int nb = Survivor(lines, removed, ib, ia);
      if (na < 0 || nb < 0) {
        ref.lost = true;
      } else {
        a = na;
        b = nb;
      }
    }
    kept.push_back(f);
  }
  formulas.swap(kept);
  std::vector<int> remaining;
  for (size_t i = 0; i < lines.size(); ++i)
    if (!removed[i]) remaining.push_back(lines[i]);
  lines.swap(remaining);
}

std::string Offset(char letter, int distance) {
  return std::string(1, letter) + "[" + std::to_string(distance) + "]";
}

// The references of a stored formula in order: "#REF!" gives a lost one.
std::vector<LineRef> ReadRefs(EvalState& state, const std::string& text, uint32_t column, uint32_t row,
                              const Model& model) {
  std::vector<LineRef> refs;
  state.ResetForFormula(column, row);
  const char* p = text.c_str() + 1;
  const auto ids = [&](const RefCorner& corner, int* r, int* c) {
    *r = corner.row < model.rows.size() ? model.rows[corner.row] : -2;
    *c = corner.column < model.columns.size() ? model.columns[corner.column] : -2;
  };
  uint32_t previous = kEvalInvalid;
  for (;;) {
    EvalValue token;
    const uint32_t kind = state.NextToken(&p, &token, true);
    if (kind == kEvalEnd || kind == kEvalInvalid) break;
    if (kind == kEvalNumber && token.error == kErrorRef) {
      LineRef ref;
      ref.lost = true;
      refs.push_back(ref);
    } else if (kind == kEvalCellRef && previous == kOpRange) {
      refs.back().range = true;
      ids(token.cell, &refs.back().row2, &refs.back().column2);
    } else if (kind == kEvalCellRef) {
      LineRef ref;
      ids(token.cell, &ref.row1, &ref.column1);
      refs.push_back(ref);
    }
    previous = kind;
  }
  state.ResetForFormula(column, row);
  return refs;
}

TEST_F(WorksheetStructure, FormulasKeepDesignatingTheSameCells) {
  for (uint32_t seed = TestSeed(1), end = seed + 30; seed < end; ++seed) {
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937 random(seed);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    sheet->cells.Clear(true);
    Model model;
    for (int i = 0; i < 90; ++i) model.rows.push_back(model.nextId++);
    for (int i = 0; i < 60; ++i) model.columns.push_back(model.nextId++);

    // Numbers name their own lines; formulas sit on other cells.
    std::vector<ModelFormula> formulas;
    std::vector<std::pair<int, int>> numbers;
    for (int row = 0; row < 24; ++row)
      for (int column = 0; column < 14; ++column) {
        const int dice = pick(0, 9);
        if (dice < 4) {
          PutNumber(sheet->cells, row, column, model.rows[row] * 1000.0 + model.columns[column]);
          numbers.push_back({model.rows[row], model.columns[column]});
        } else if (dice < 6) {
          ModelFormula f{model.rows[row], model.columns[column], {}};
          std::string text = "=";
          for (int n = pick(1, 3); n > 0; --n) {
            LineRef ref;
            const int r1 = pick(0, 30), c1 = pick(0, 18);
            ref.row1 = model.rows[r1];
            ref.column1 = model.columns[c1];
            if (text.size() > 1) text += "+";
            if (pick(0, 1)) {
              const int r2 = pick(r1, 34), c2 = pick(c1, 20);
              ref.range = true;
              ref.row2 = model.rows[r2];
              ref.column2 = model.columns[c2];
              text += "SUM(" + Offset('R', r1 - row) + Offset('C', c1 - column) + ":" + Offset('R', r2 - row) +
                      Offset('C', c2 - column) + ")";
            } else {
              text += Offset('R', r1 - row) + Offset('C', c1 - column);
            }
            f.refs.push_back(ref);
          }
          PutFormula(sheet->cells, row, column, text);
          formulas.push_back(f);
        }
      }

    for (int step = 0; step < 25; ++step) {
      const bool rows = pick(0, 1) == 1;
      const bool insert = pick(0, 1) == 1;
      const int first = pick(0, rows ? 28 : 16);
      const int count = pick(1, 3);
      std::vector<int>& lines = rows ? model.rows : model.columns;
      bool done;
      if (insert) {
        done = rows ? book.InsertRows(sheet, first, first + count - 1)
                    : book.InsertColumns(sheet, uint16_t(first), uint16_t(first + count - 1));
        for (int i = 0; i < count; ++i) lines.insert(lines.begin() + first, model.nextId++);
      } else {
        done = rows ? book.DeleteRows(sheet, first, first + count - 1)
                    : book.DeleteColumns(sheet, uint16_t(first), uint16_t(first + count - 1));
        RemoveLines(lines, first, count, formulas, rows);
        numbers.erase(std::remove_if(numbers.begin(), numbers.end(),
                                     [&](const std::pair<int, int>& n) {
                                       return Model::IndexOf(model.rows, n.first) < 0 ||
                                              Model::IndexOf(model.columns, n.second) < 0;
                                     }),
                      numbers.end());
      }
      SCOPED_TRACE("step " + std::to_string(step) + (insert ? " insert " : " delete ") +
                   (rows ? "rows " : "columns ") + std::to_string(first) + "+" + std::to_string(count));
      ASSERT_TRUE(done);
      ASSERT_TRUE(sheet->cells.CheckInvariants());

      for (const auto& n : numbers) {
        const CellRecord* cell = sheet->cells.GetCell(Model::IndexOf(model.rows, n.first),
                                                      uint16_t(Model::IndexOf(model.columns, n.second)));
        ASSERT_TRUE(cell && cell->IsNumber());
        ASSERT_EQ(n.first * 1000.0 + n.second, cell->Number());
      }
      for (const ModelFormula& f : formulas) {
        const uint32_t row = Model::IndexOf(model.rows, f.row);
        const uint32_t column = Model::IndexOf(model.columns, f.column);
        const std::string text = FormulaAt(sheet->cells, row, uint16_t(column));
        const std::vector<LineRef> refs = ReadRefs(book.evaluator, text, column, row, model);
        ASSERT_EQ(f.refs.size(), refs.size()) << text;
        for (size_t i = 0; i < refs.size(); ++i) {
          const LineRef& want = f.refs[i];
          const LineRef& got = refs[i];
          ASSERT_EQ(want.lost, got.lost) << text << " reference " << i;
          if (want.lost) continue;
          ASSERT_EQ(want.range, got.range) << text;
          EXPECT_EQ(want.row1, got.row1) << text << " reference " << i;
          EXPECT_EQ(want.column1, got.column1) << text << " reference " << i;
          if (want.range) {
            EXPECT_EQ(want.row2, got.row2) << text << " reference " << i;
            EXPECT_EQ(want.column2, got.column2) << text << " reference " << i;
          }
        }
      }
    }
  }
}

}  // namespace
