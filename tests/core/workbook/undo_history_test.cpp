#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/allocation_limit.h"
#include "core/workbook/workbook.h"
#include "test_seed.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// The region the random edits touch; dumps cover it with a margin.
constexpr uint16_t kColumns = 8;
constexpr uint32_t kRows = 14;

void PutNumber(CellStore& cells, uint32_t row, uint16_t column, double value) {
  uint8_t record[kNumberCellSize];
  BuildNumberCell(record, sizeof record, row, column, value);
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

void PutText(CellStore& cells, uint32_t row, uint16_t column, const std::string& text) {
  uint8_t record[256];
  ASSERT_NE(0u, BuildTextCell(record, sizeof record, row, column, text.data(), uint16_t(text.size())));
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

std::unique_ptr<CWorkBook> NewBook() {
  auto book = std::make_unique<CWorkBook>();
  EXPECT_TRUE(book->NewDocument());
  return book;
}

void Activate(CWorkBook& book, CWorkSheet* sheet) {
  book.activeWorksheet = sheet;
  book.evaluator.sheet = &sheet->cells;
}

// Styles compared as the user sees them, whatever their index in a table:
// each distinct style gets the number of its first sighting.
class StyleNames {
 public:
  size_t Name(const StyleTable& table, uint16_t index) {
    StyleRecord style = table.StyleAt(index);
    const FontRecord& font = table.FontAt(style.fontIndex);
    style.fontIndex = 0;
    for (size_t i = 0; i < styles_.size(); ++i)
      if (StyleTable::StylesEqual(styles_[i], style) && StyleTable::FontsEqual(fonts_[i], font))
        return i;
    styles_.push_back(style);
    fonts_.push_back(font);
    return styles_.size() - 1;
  }

 private:
  std::vector<StyleRecord> styles_;
  std::vector<FontRecord> fonts_;
};

// What a user could see of the workbook: the tree, and for each worksheet
// its cells, each cell's style, the column and row sizes and the containers.
std::string Dump(CWorkBook& book, StyleNames& names) {
  std::string out;
  char line[256];
  for (CTreeItem* item = book.firstItem; item; item = item->next) {
    std::snprintf(line, sizeof line, "[%s %u %u]\n", item->name, item->kind, item->depth);
    out += line;
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    CellCursor cursor;
    cursor.block = sheet->cells.FirstBlock();
    cursor.flags = kCursorAfterRecord;
    while (const CellRecord* cell = cursor.Next()) {
      out += "c" + std::to_string(cell->Row()) + "," + std::to_string(cell->Column()) + ":";
      for (uint32_t i = 0; i < cell->Size(); ++i) out += std::to_string(cell->Bytes()[i]) + ".";
      out += "\n";
    }
    for (uint32_t row = 0; row < kRows + 4; ++row) {
      for (uint16_t column = 0; column < kColumns + 4; ++column)
        out += std::to_string(names.Name(book.styles, sheet->format.CellStyle(row, column))) + " ";
      const uint16_t* height = sheet->format.rows.At(row);
      // Heights that are not fixed are the view's to compute; only fixed ones are kept.
      out += "h" + std::to_string(height && (*height & RowTable::kFixedHeight) ? *height : 0) + "\n";
    }
    for (uint16_t column = 0; column < kColumns + 4; ++column) {
      const ColumnRecord& record = sheet->format.columns[column];
      out += "w" + std::to_string(record.widthWord) + "s" + std::to_string(names.Name(book.styles, record.Style()));
    }
    out += "\n";
    for (ContainerRecord* container = sheet->containers; container; container = container->next) {
      const std::string header(reinterpret_cast<const char*>(&container->header), sizeof container->header);
      out += "k" + std::to_string(container->header.id) + ":" + std::to_string(std::hash<std::string>()(header)) + "\n";
    }
  }
  return out;
}

// The first line where two dumps differ, for a readable failure.
std::string FirstDifference(const std::string& a, const std::string& b) {
  size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const size_t start = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
  return "at byte " + std::to_string(at) + ":\n" + a.substr(start, at - start + 40) + "\nvs\n" +
         b.substr(start, at - start + 40);
}

#define EXPECT_SAME_DUMP(a, b) EXPECT_TRUE((a) == (b)) << FirstDifference((a), (b))
#define ASSERT_SAME_DUMP(a, b) ASSERT_TRUE((a) == (b)) << FirstDifference((a), (b))

void ExpectSound(CWorkBook& book) {
  char message[256] = {};
  ASSERT_TRUE(book.undoHistory.CheckInvariants());
  ASSERT_TRUE(book.CheckTreeInvariants(message, sizeof message)) << message;
  for (CTreeItem* item = book.firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
      ASSERT_TRUE(sheet->cells.CheckInvariants(message, sizeof message)) << message;
      ASSERT_TRUE(sheet->format.CheckInvariants(message, sizeof message)) << message;
    }
}

// One random edit of the kind a user makes, recorded as the commands do:
// the step first, then the change.
class RandomEditor {
 public:
  RandomEditor(CWorkBook& book, uint32_t seed) : book_(book), random_(seed) {}

  uint32_t Below(uint32_t n) { return uint32_t(random_() % n); }

  CWorkSheet* PickSheet() {
    std::vector<CWorkSheet*> sheets;
    for (CTreeItem* item = book_.firstItem; item; item = item->next)
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
        sheets.push_back(sheet);
    return sheets[Below(uint32_t(sheets.size()))];
  }

  UndoRange PickRange() {
    UndoRange r;
    r.firstColumn = uint16_t(Below(kColumns));
    r.lastColumn = uint16_t(r.firstColumn + Below(kColumns - r.firstColumn));
    r.firstRow = Below(kRows);
    r.lastRow = r.firstRow + Below(kRows - r.firstRow);
    return r;
  }

  // True when an edit was made (and recorded).
  bool Edit() {
    CWorkSheet* sheet = PickSheet();
    Activate(book_, sheet);
    UndoHistory& history = book_.undoHistory;
    switch (Below(13)) {
      case 0: {
        const uint16_t column = uint16_t(Below(kColumns));
        const uint32_t row = Below(kRows);
        EXPECT_TRUE(history.RecordCells(&book_, {column, row, column, row}));
        const uint32_t what = Below(3);
        if (what == 0)
          sheet->cells.DeleteRange(column, column, row, row, nullptr, true);
        else if (what == 1)
          PutNumber(sheet->cells, row, column, double(Below(1000)));
        else
          PutText(sheet->cells, row, column, "t" + std::to_string(Below(100)));
        return true;
      }
      case 1: {
        const UndoRange r = PickRange();
        EXPECT_TRUE(history.RecordCellsAndStyles(&book_, r, true, false));
        for (uint32_t row = r.firstRow; row <= r.lastRow; ++row)
          if (Below(2))
            PutNumber(sheet->cells, row, r.firstColumn, row * 10.0 + Below(5));
        return true;
      }
      case 2:
      case 3: {
        const UndoRange r = PickRange();
        StyleRecord style = StyleRecord::Default();
        FontRecord font = book_.styles.FontAt(0);
        const int kinds[] = {kApplyWeight, kApplyFontSize, kApplyFontColor, kApplyProtection, kApplyAlignment};
        const int kind = kinds[Below(5)];
        font.weight = uint8_t(Below(3));
        font.size = uint8_t(8 + Below(4));
        style.fontColorSet = 1;
        style.fontColor = Below(4);
        style.isProtected = uint8_t(Below(2));
        style.alignment.horizontal = uint8_t(Below(3));
        EXPECT_TRUE(history.RecordCellsAndStyles(&book_, r, false, true));
        EXPECT_TRUE(book_.ApplyFormatToRange(&book_.styles, r.firstColumn, r.lastColumn, r.firstRow, r.lastRow,
                                             &sheet->format, kind, style, font));
        return true;
      }
      case 4: {
        const UndoRange r = PickRange();
        std::vector<uint32_t> order;
        for (uint32_t row = r.firstRow; row <= r.lastRow; ++row) order.push_back(row);
        std::shuffle(order.begin(), order.end(), random_);
        EXPECT_TRUE(history.RecordSort(&book_, r, order.data()));
        EXPECT_TRUE(book_.ReorderCellRows(&sheet->cells, r.firstColumn, r.lastColumn, r.firstRow, r.lastRow,
                                          order.data()));
        EXPECT_TRUE(book_.ReorderStyleRows(&sheet->format, r.firstColumn, r.lastColumn, r.firstRow, r.lastRow,
                                           order.data()));
        return true;
      }
      case 5: {
        const uint32_t row = Below(kRows);
        EXPECT_TRUE(history.RecordRowHeights(&book_, row, row + Below(3)));
        EXPECT_TRUE(sheet->format.rows.SetRow(row, uint16_t(10 + Below(30)), Below(2) != 0));
        return true;
      }
      case 6: {
        const uint16_t column = uint16_t(Below(kColumns));
        EXPECT_TRUE(history.RecordColumnWidths(&book_, column, column));
        sheet->format.columns[column].SetWidth(uint16_t(20 + Below(80)), true);
        return true;
      }
      case 7: {
        int32_t count = 0;
        for (CTreeItem* item = book_.firstItem; item; item = item->next) ++count;
        CTreeItem* item = book_.ItemByIndex(int32_t(Below(uint32_t(count))));
        EXPECT_TRUE(book_.RenameItem(item, ("Renamed" + std::to_string(Below(1000))).c_str()));
        return true;
      }
      case 8: {
        if (Below(2) && book_.worksheetCount > 1) {
          CTreeItem* item = book_.ItemByIndex(int32_t(Below(6)));
          const int32_t index = book_.IndexOfItem(item);
          if (!book_.RemoveItem(item))
            return false;
          EXPECT_TRUE(history.RecordItemRemoved(&book_, item, index));
          return true;
        }
        int32_t count = 0;
        for (CTreeItem* item = book_.firstItem; item; item = item->next) ++count;
        EXPECT_TRUE(history.RecordItemInserted(&book_, count));
        CWorkSheet* added = NewWorksheet(("Added" + std::to_string(Below(1000))).c_str(), 1);
        PutNumber(added->cells, 1, 1, 5.0);
        book_.InsertItems(added, nullptr);
        return true;
      }
      case 9: {
        const uint32_t first = Below(kRows);
        const uint32_t last = first + Below(3);
        if (Below(2)) {
          EXPECT_TRUE(history.RecordRowsChange(&book_, first, last));
          if (!book_.InsertRows(sheet, first, last)) {
            history.DropLast(true);
            return false;
          }
        } else {
          EXPECT_TRUE(history.RecordRowsChangeWithSnapshot(&book_, first, last));
          if (!book_.DeleteRows(sheet, first, last)) {
            history.DropLast(true);
            return false;
          }
        }
        return true;
      }
      case 10: {
        const uint16_t first = uint16_t(Below(kColumns));
        const uint16_t last = uint16_t(first + Below(2));
        if (Below(2)) {
          EXPECT_TRUE(history.RecordColumnsChange(&book_, first, last));
          if (!book_.InsertColumns(sheet, first, last)) {
            history.DropLast(true);
            return false;
          }
        } else {
          EXPECT_TRUE(history.RecordColumnsChangeWithSnapshot(&book_, first, last));
          if (!book_.DeleteColumns(sheet, first, last)) {
            history.DropLast(true);
            return false;
          }
        }
        return true;
      }
      case 11: {
        int32_t count = 0;
        for (CTreeItem* item = book_.firstItem; item; item = item->next) ++count;
        CTreeItem* item = book_.ItemByIndex(int32_t(Below(uint32_t(count))));
        CTreeItem* target = Below(4) == 0 ? nullptr : book_.ItemByIndex(int32_t(Below(uint32_t(count))));
        const int32_t from = book_.IndexOfItem(item);
        const uint16_t depth = item->depth;
        if (!book_.MoveItems(item, target))
          return false;
        EXPECT_TRUE(history.RecordItemMoved(&book_, item, from, depth));
        return true;
      }
      default: {
        ContainerRecord* present = sheet->LastContainer();
        const uint32_t what = Below(3);
        if (what == 0 || !present) {
          ContainerRecord* added = new ContainerRecord;
          EXPECT_TRUE(book_.AssignContainerId(added));
          added->header.opacity = uint8_t(Below(100));
          EXPECT_TRUE(history.RecordContainerAdded(&book_, added->header.id));
          sheet->AddContainer(added);
        } else if (what == 1) {
          sheet->RemoveContainer(present);
          EXPECT_TRUE(history.RecordContainerRemoved(&book_, present));
        } else {
          EXPECT_TRUE(history.RecordContainerChange(&book_, present));
          present->header.opacity = uint8_t(Below(100));
          present->header.columns = uint8_t(1 + Below(3));
        }
        return true;
      }
    }
  }

 private:
  CWorkBook& book_;
  std::mt19937 random_;
};

// A workbook with a folder, two worksheets and some content in each.
std::unique_ptr<CWorkBook> SeededBook(uint32_t seed) {
  auto book = NewBook();
  CTreeItem* folder = NewFolderItem("Folder", 1);
  book->InsertItems(folder, nullptr);
  CWorkSheet* inner = NewWorksheet("Inner", 1);
  book->InsertItems(inner, folder);
  std::mt19937 random(seed);
  for (CTreeItem* item = book->firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      for (int i = 0; i < 20; ++i)
        PutNumber(sheet->cells, random() % kRows, uint16_t(random() % kColumns), double(random() % 100));
  return book;
}

TEST(UndoHistory, UndoAllAndRedoAllRetraceRandomEdits) {
  for (uint32_t seed = TestSeed(1), end = seed + 12; seed < end; ++seed) {
    SCOPED_TRACE(SeedTrace(seed));
    auto book = SeededBook(seed);
    ASSERT_TRUE(book->undoHistory.SetLevels(200));
    StyleNames names;
    const std::string initial = Dump(*book, names);
    RandomEditor editor(*book, seed);
    int made = 0;
    for (int step = 0; step < 120; ++step) {
      if (editor.Edit())
        ++made;
      ASSERT_FALSE(::testing::Test::HasFailure()) << "edit " << step;
      ExpectSound(*book);
      // Undoing and redoing the newest step at once changes nothing.
      if (step % 7 == 0 && book->undoHistory.CanUndo()) {
        const std::string before = Dump(*book, names);
        ASSERT_TRUE(book->UndoStep());
        ASSERT_TRUE(book->RedoStep());
        ASSERT_SAME_DUMP(before, Dump(*book, names)) << "step " << step;
      }
    }
    ASSERT_EQ(made - 1, book->undoHistory.Current());
    const std::string final = Dump(*book, names);
    while (book->undoHistory.CanUndo()) {
      ASSERT_TRUE(book->UndoStep()) << "error " << int(book->error) << " at " << book->undoHistory.Current();
      ExpectSound(*book);
    }
    ASSERT_SAME_DUMP(initial, Dump(*book, names));
    while (book->undoHistory.CanRedo()) ASSERT_TRUE(book->RedoStep()) << "error " << int(book->error);
    ExpectSound(*book);
    ASSERT_SAME_DUMP(final, Dump(*book, names));
  }
}

TEST(UndoHistory, FewLevelsKeepTheNewestSteps) {
  struct Case {
    uint32_t levels;
    int steps;
  };
  for (const Case& c : {Case{3, 10}, Case{200, 250}, Case{17, 60}}) {
    SCOPED_TRACE("levels " + std::to_string(c.levels));
    auto book = SeededBook(c.levels);
    ASSERT_TRUE(book->undoHistory.SetLevels(c.levels));
    StyleNames names;
    std::vector<std::string> dumps{Dump(*book, names)};
    RandomEditor editor(*book, c.levels * 7);
    while (int(dumps.size()) <= c.steps) {
      if (editor.Edit())
        dumps.push_back(Dump(*book, names));
      ASSERT_FALSE(::testing::Test::HasFailure());
      ASSERT_LE(book->undoHistory.Current(), int32_t(c.levels) - 1);
      ExpectSound(*book);
    }
    ASSERT_EQ(int32_t(c.levels) - 1, book->undoHistory.Current());
    // The scratch record never became a step.
    EXPECT_EQ(kUndoStepNone, book->undoHistory.Record(kUndoScratchRecord).stepKind);
    int undone = 0;
    while (book->undoHistory.CanUndo()) {
      ASSERT_TRUE(book->UndoStep());
      ++undone;
    }
    EXPECT_EQ(int(c.levels), undone);
    EXPECT_SAME_DUMP(dumps[dumps.size() - 1 - c.levels], Dump(*book, names));
  }
}

TEST(UndoHistory, NewEditDiscardsTheRedoTail) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(10));
  CellStore& cells = book->activeWorksheet->cells;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(book->undoHistory.RecordCells(book.get(), {0, 0, 0, 0}));
    PutNumber(cells, 0, 0, i + 1.0);
  }
  ASSERT_TRUE(book->UndoStep());
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(1.0, cells.GetCell(0, 0)->Number());
  EXPECT_TRUE(book->undoHistory.CanRedo());
  ASSERT_TRUE(book->undoHistory.RecordCells(book.get(), {1, 1, 1, 1}));
  PutNumber(cells, 1, 1, 9.0);
  EXPECT_FALSE(book->undoHistory.CanRedo());
  EXPECT_FALSE(book->RedoStep());
  EXPECT_EQ(1, book->undoHistory.Current());
  EXPECT_EQ(kUndoStepNone, book->undoHistory.Record(2).stepKind);
  EXPECT_TRUE(book->undoHistory.CheckInvariants());
}

TEST(UndoHistory, RenameSwapsNamesEachTime) {
  auto book = NewBook();
  CTreeItem* item = book->firstItem;
  ASSERT_TRUE(book->RenameItem(item, "Sales"));
  EXPECT_STREQ("Sales", item->name);
  ASSERT_TRUE(CWorkSheet::Undo(book.get(), 0));
  EXPECT_STREQ("Worksheet1", item->name);
  ASSERT_TRUE(CWorkSheet::Undo(book.get(), 0));
  EXPECT_STREQ("Sales", item->name);
}

std::string RecordBytes(const CellRecord* cell) {
  return cell ? std::string(reinterpret_cast<const char*>(cell->Bytes()), cell->Size()) : "(none)";
}

TEST(UndoHistory, RestoresEveryCellByteForByte) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(5));
  CellStore& cells = book->activeWorksheet->cells;
  uint8_t error[kNumberCellSize];
  BuildNumberCell(error, sizeof error, 2, 2, 0.0, 0x30);
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(error), nullptr));
  PutText(cells, 3, 3, std::string("he\0llo", 6));
  uint8_t formula[128];
  FormulaCellFields fields;
  fields.formula = "R[-1]C+1";
  fields.formulaLength = 8;
  fields.resultFlags = kResultCachedNumber;
  fields.cachedNumber = 4.0;
  ASSERT_NE(0u, BuildFormulaCell(formula, sizeof formula, 4, 4, fields));
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(formula), nullptr));
  // A value an array formula spilled keeps its mark.
  uint8_t spilled[kNumberCellSize];
  BuildNumberCell(spilled, sizeof spilled, 5, 5, 8.0, kCellSpillValue);
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(spilled), nullptr));

  std::vector<std::string> before;
  for (uint32_t at = 2; at <= 5; ++at) {
    before.push_back(RecordBytes(cells.GetCell(at, uint16_t(at))));
    ASSERT_TRUE(book->undoHistory.RecordCells(book.get(), {uint16_t(at), at, uint16_t(at), at}));
    cells.DeleteRange(uint16_t(at), uint16_t(at), at, at, nullptr, true);
  }
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(book->UndoStep());
  for (uint32_t at = 2; at <= 5; ++at) EXPECT_EQ(before[at - 2], RecordBytes(cells.GetCell(at, uint16_t(at)))) << at;
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(book->RedoStep());
  for (uint32_t at = 2; at <= 5; ++at) EXPECT_EQ(nullptr, cells.GetCell(at, uint16_t(at))) << at;
}

TEST(UndoHistory, SortStepTakesOnlyAPermutationOfTheRangesRows) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(5));
  const UndoRange range{0, 10, 2, 13};
  struct Case {
    uint32_t rows[4];
    bool taken;
  };
  for (const Case& c : {Case{{13, 12, 11, 10}, true}, Case{{10, 11, 12, 14}, false}, Case{{9, 11, 12, 13}, false},
                        Case{{10, 10, 12, 13}, false}, Case{{4000000000u, 11, 12, 13}, false}}) {
    SCOPED_TRACE(c.rows[0]);
    const int32_t current = book->undoHistory.Current();
    EXPECT_EQ(c.taken, book->undoHistory.RecordSort(book.get(), range, c.rows));
    EXPECT_EQ(current + (c.taken ? 1 : 0), book->undoHistory.Current());
    if (!c.taken) {
      EXPECT_EQ(kWorkbookInvalidCacheIndex, book->error);
    }
    EXPECT_TRUE(book->undoHistory.CheckInvariants());
  }
}

TEST(UndoHistory, RowDeletionComesBackWithCellsAndFormats) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(5));
  CWorkSheet* sheet = book->activeWorksheet;
  for (uint32_t row = 0; row < 12; ++row) PutNumber(sheet->cells, row, 1, row);
  ASSERT_TRUE(sheet->format.rows.SetRow(6, 40, true));
  StyleRecord style = StyleRecord::Default();
  FontRecord font = book->styles.FontAt(0);
  font.weight = 2;
  ASSERT_TRUE(book->ApplyFormatToRange(&book->styles, 0, 3, 5, 7, &sheet->format, kApplyWeight, style, font));
  StyleNames names;
  const std::string before = Dump(*book, names);

  ASSERT_TRUE(book->undoHistory.RecordRowsChangeWithSnapshot(book.get(), 5, 7));
  ASSERT_TRUE(book->DeleteRows(sheet, 5, 7));
  EXPECT_EQ(8.0, sheet->cells.GetCell(5, 1)->Number());
  const std::string after = Dump(*book, names);
  ASSERT_TRUE(book->UndoStep());
  EXPECT_SAME_DUMP(before, Dump(*book, names));
  ASSERT_TRUE(book->RedoStep());
  EXPECT_SAME_DUMP(after, Dump(*book, names));
}

TEST(UndoHistory, PrivateStylesEmptyWhenNoStepHoldsFormats) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(2));
  CWorkSheet* sheet = book->activeWorksheet;
  StyleRecord style = StyleRecord::Default();
  FontRecord font = book->styles.FontAt(0);
  // Far more distinct formats than a table holds pass through the history.
  for (uint32_t i = 0; i < 1500; ++i) {
    const uint16_t column = uint16_t(i % 40);
    ASSERT_TRUE(book->undoHistory.RecordCellsAndStyles(book.get(), {column, 0, column, 0}, false, true)) << i;
    style.fontColorSet = 1;
    style.fontColor = i;
    ASSERT_TRUE(book->ApplyFormatToRange(&book->styles, column, column, 0, 0, &sheet->format, kApplyFontColor,
                                         style, font))
        << i;
    if (i % 3 == 0)
      book->CompactStyles();
  }
  EXPECT_LT(book->undoHistory.PrivateStyles().styleCount, StyleTable::kMaxStyles);
  book->undoHistory.FreeAll();
  EXPECT_EQ(0, book->undoHistory.PrivateStyles().styleCount);
  // Steps of cells alone hold no styles.
  ASSERT_TRUE(book->undoHistory.RecordCellsAndStyles(book.get(), {0, 0, 3, 3}, true, false));
  EXPECT_EQ(0, book->undoHistory.PrivateStyles().styleCount);
}

TEST(UndoHistory, RestoringASnapshotGrowsASingleCellAndTilesARange) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(3));
  CWorkSheet* sheet = book->activeWorksheet;
  PutNumber(sheet->cells, 0, 0, 1.0);
  PutNumber(sheet->cells, 0, 1, 2.0);
  PutNumber(sheet->cells, 1, 0, 3.0);
  StyleRecord style = StyleRecord::Default();
  FontRecord font = book->styles.FontAt(0);
  font.italic = 1;
  ASSERT_TRUE(book->ApplyFormatToRange(&book->styles, 1, 1, 1, 1, &sheet->format, kApplySlant, style, font));
  ASSERT_TRUE(book->undoHistory.RecordCellsAndStyles(book.get(), {0, 0, 1, 1}, true, true));
  const int32_t record = book->undoHistory.Current();

  ASSERT_TRUE(book->undoHistory.RestoreCellsAndStyles(book.get(), sheet, {5, 10, 5, 10}, record, true, true));
  EXPECT_EQ(1.0, sheet->cells.GetCell(10, 5)->Number());
  EXPECT_EQ(2.0, sheet->cells.GetCell(10, 6)->Number());
  EXPECT_EQ(3.0, sheet->cells.GetCell(11, 5)->Number());
  EXPECT_EQ(1, book->styles.FontAt(book->styles.StyleAt(sheet->format.CellStyle(11, 6)).fontIndex).italic);

  ASSERT_TRUE(book->undoHistory.RestoreCellsAndStyles(book.get(), sheet, {20, 20, 23, 22}, record, true, true));
  EXPECT_EQ(2.0, sheet->cells.GetCell(22, 23)->Number());
  EXPECT_EQ(nullptr, sheet->cells.GetCell(21, 23));
  EXPECT_EQ(nullptr, sheet->cells.GetCell(23, 20));
  EXPECT_EQ(1, book->styles.FontAt(book->styles.StyleAt(sheet->format.CellStyle(21, 23)).fontIndex).italic);
  EXPECT_EQ(0, book->styles.FontAt(book->styles.StyleAt(sheet->format.CellStyle(22, 23)).fontIndex).italic);
}

// A worksheet whose cells fill several blocks and whose formulas change
// length when lines move, so that every part of undoing a line edit needs
// memory.
void FillForLineEdits(CWorkBook& book) {
  CWorkSheet* sheet = book.activeWorksheet;
  for (uint32_t row = 0; row < 40; ++row)
    for (uint16_t column = 0; column < 40; ++column) PutNumber(sheet->cells, row, column, row * 100.0 + column);
  for (uint32_t row = 0; row < 12; ++row) {
    const std::string text = "R[" + std::to_string(row + 5) + "]C[" + std::to_string(row + 5) + "]";
    uint8_t record[128];
    FormulaCellFields fields;
    fields.formula = text.c_str();
    fields.formulaLength = uint16_t(text.size());
    ASSERT_NE(0u, BuildFormulaCell(record, sizeof record, row, 0, fields));
    ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  StyleRecord style = StyleRecord::Default();
  FontRecord font = book.styles.FontAt(0);
  font.weight = 2;
  ASSERT_TRUE(book.ApplyFormatToRange(&book.styles, 2, 9, 3, 30, &sheet->format, kApplyWeight, style, font));
}

// Undoes the newest step with ever more blocks granted: every failure must
// leave the workbook as after the edit and the step as it was.
void UndoUnderShortage(CWorkBook& book, StyleNames& names, const std::string& edited, const std::string& undone) {
  const int32_t index = book.undoHistory.Current();
  const uint8_t storage = book.undoHistory.Record(index).storageKind;
  for (int granted = 0; granted < 400; ++granted) {
    SCOPED_TRACE("blocks granted " + std::to_string(granted));
    bool applied = false;
    {
      AllocationLimit limit(granted);
      applied = book.UndoStep();
    }
    ExpectSound(book);
    if (applied) {
      EXPECT_SAME_DUMP(undone, Dump(book, names));
      return;
    }
    ASSERT_EQ(kWorkbookOutOfMemory, book.error);
    ASSERT_EQ(index, book.undoHistory.Current());
    ASSERT_EQ(storage, book.undoHistory.Record(index).storageKind);
    ASSERT_SAME_DUMP(edited, Dump(book, names));
  }
  FAIL() << "the undo never succeeded";
}

TEST(UndoHistory, UndoOfLineEditsRunningOutOfMemoryChangesNothing) {
  struct Case {
    const char* name;
    bool rows;
    bool insert;
  };
  for (const Case& c : {Case{"rows inserted", true, true}, Case{"rows deleted", true, false},
                        Case{"columns inserted", false, true}, Case{"columns deleted", false, false}}) {
    SCOPED_TRACE(c.name);
    auto book = NewBook();
    ASSERT_TRUE(book->undoHistory.SetLevels(5));
    FillForLineEdits(*book);
    CWorkSheet* sheet = book->activeWorksheet;
    StyleNames names;
    const std::string before = Dump(*book, names);
    if (c.rows && c.insert)
      ASSERT_TRUE(book->undoHistory.RecordRowsChange(book.get(), 4, 20) && book->InsertRows(sheet, 4, 20));
    else if (c.rows)
      ASSERT_TRUE(book->undoHistory.RecordRowsChangeWithSnapshot(book.get(), 4, 20) && book->DeleteRows(sheet, 4, 20));
    else if (c.insert)
      ASSERT_TRUE(book->undoHistory.RecordColumnsChange(book.get(), 4, 20) && book->InsertColumns(sheet, 4, 20));
    else
      ASSERT_TRUE(book->undoHistory.RecordColumnsChangeWithSnapshot(book.get(), 4, 20) &&
                  book->DeleteColumns(sheet, 4, 20));
    const std::string edited = Dump(*book, names);
    UndoUnderShortage(*book, names, edited, before);
    // Redo is the same step applied again.
    ASSERT_TRUE(book->RedoStep());
    EXPECT_SAME_DUMP(edited, Dump(*book, names));
  }
}

void* NoPages(size_t) { return nullptr; }

TEST(UndoHistory, FailedRecorderLeavesNoStep) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(5));
  CellStore& cells = book->activeWorksheet->cells;
  for (uint32_t row = 0; row < 50; ++row) PutNumber(cells, row, 0, row);
  ASSERT_TRUE(book->undoHistory.RecordCells(book.get(), {0, 0, 0, 0}));
  SetStorePageAllocatorForTesting(NoPages);
  const bool recorded = book->undoHistory.RecordCellsAndStyles(book.get(), {0, 0, 3, 49}, true, true);
  SetStorePageAllocatorForTesting(nullptr);
  EXPECT_FALSE(recorded);
  EXPECT_EQ(kWorkbookOutOfMemory, book->error);
  EXPECT_EQ(0, book->undoHistory.Current());
  EXPECT_EQ(kUndoStepNone, book->undoHistory.Record(1).stepKind);
  EXPECT_TRUE(book->undoHistory.CheckInvariants());
  // Dropping the last step after a failed edit leaves the one before it.
  ASSERT_TRUE(book->undoHistory.RecordCells(book.get(), {0, 1, 0, 1}));
  book->undoHistory.DropLast(true);
  EXPECT_EQ(0, book->undoHistory.Current());
  EXPECT_FALSE(book->undoHistory.CanRedo());
}

TEST(UndoHistory, LevelsOutsideOneTo200AreRefused) {
  UndoHistory* history = new UndoHistory;
  EXPECT_FALSE(history->SetLevels(0));
  EXPECT_FALSE(history->SetLevels(201));
  EXPECT_TRUE(history->SetLevels(200));
  EXPECT_EQ(200u, history->Levels());
  delete history;
}

TEST(UndoHistory, ShrinkingLevelsKeepsTheNewestSteps) {
  auto book = NewBook();
  ASSERT_TRUE(book->undoHistory.SetLevels(10));
  CellStore& cells = book->activeWorksheet->cells;
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(book->undoHistory.RecordCells(book.get(), {0, 0, 0, 0}));
    PutNumber(cells, 0, 0, i + 1.0);
  }
  ASSERT_TRUE(book->undoHistory.SetLevels(3));
  EXPECT_EQ(2, book->undoHistory.Current());
  EXPECT_TRUE(book->undoHistory.CheckInvariants());
  while (book->undoHistory.CanUndo()) ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(5.0, cells.GetCell(0, 0)->Number());
}

}  // namespace

// A tree item moved with its contents is one step: undo puts the run back
// where and how deep it was, redo moves it again, and the active worksheet
// and the counts never change.
TEST(UndoHistory, MovedTreeItemGoesBackAndForthInOneStep) {
  auto book = NewBook();
  CTreeItem* folder = NewFolderItem("Folder", 1);
  book->InsertItems(folder, nullptr);
  CWorkSheet* inner = NewWorksheet("Inner", 1);
  book->InsertItems(inner, folder);
  CWorkSheet* last = NewWorksheet("Last", 1);
  book->InsertItems(last, nullptr);
  Activate(*book, inner);
  StyleNames names;
  const std::string before = Dump(*book, names);

  EXPECT_FALSE(book->MoveItems(folder, inner));  // into its own contents
  EXPECT_FALSE(book->MoveItems(folder, folder));
  CTreeItem* first = book->firstItem;
  ASSERT_TRUE(book->MoveItems(first, folder));
  ASSERT_TRUE(book->undoHistory.RecordItemMoved(book.get(), first, 0, 1));
  const std::string after = Dump(*book, names);
  EXPECT_EQ(book->IndexOfItem(first), 2);
  EXPECT_EQ(first->depth, 2);
  EXPECT_EQ(book->IndexOfItem(last), 3);
  ExpectSound(*book);

  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(book->UndoStep());
    EXPECT_SAME_DUMP(before, Dump(*book, names));
    ASSERT_TRUE(book->RedoStep());
    EXPECT_SAME_DUMP(after, Dump(*book, names));
    EXPECT_EQ(book->activeWorksheet, inner);
    EXPECT_EQ(book->worksheetCount, 3u);
    EXPECT_EQ(book->folderCount, 1u);
    ExpectSound(*book);
  }
  EXPECT_EQ(book->undoHistory.Current(), 0);
}

namespace {

void PutFormulaText(CellStore& cells, uint32_t row, uint16_t column, const char* text) {
  FormulaCellFields fields;
  fields.formula = text;
  fields.formulaLength = uint16_t(std::strlen(text));
  uint8_t record[512];
  ASSERT_NE(0u, BuildFormulaCell(record, sizeof record, row, column, fields));
  ASSERT_TRUE(cells.InsertCell(AsCellRecord(record), nullptr));
}

std::string FormulaAt(CellStore& cells, uint32_t row, uint16_t column) {
  const CellRecord* cell = cells.GetCell(row, column);
  return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "-";
}

}  // namespace

// A line edit rewrites the formulas that point across it, and some lose
// what they pointed at ("#REF!", a range cut short, a reference off the
// grid made "#REF!" by an insertion): undoing the edit gives every such
// formula back its text, and redoing rewrites it again.
TEST(UndoHistory, LineEditsGiveBackTheFormulasTheyRewrote) {
  struct Case {
    const char* name;
    bool rows;
    bool insert;
    uint32_t first;
    uint32_t last;
    uint32_t row;  // the formula's cell before the edit, and its text
    uint16_t column;
    const char* formula;
    uint32_t rowAfter;  // where the edit moves it, and what it makes of it
    uint16_t columnAfter;
    const char* rewritten;
  };
  const Case cases[] = {
      {"row of the reference removed", true, false, 0, 0, 1, 1, "=R[-1]C[-1]*2", 0, 1, "=#REF!*2"},
      {"range cut short", true, false, 3, 4, 9, 2, "=SUM(R[-9]C[-2]:R[-5]C[-2])", 7, 2, "=SUM(R[-7]C[-2]:R[-5]C[-2])"},
      {"column of the reference removed", false, false, 0, 0, 1, 1, "=R[-1]C[-1]+1", 1, 0, "=#REF!+1"},
      {"reference off the grid, rows inserted", true, true, 4, 4, 9, 0, "=R[-11]C*2", 10, 0, "=#REF!*2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto book = NewBook();
    ASSERT_TRUE(book->undoHistory.SetLevels(5));
    CWorkSheet* sheet = book->activeWorksheet;
    PutNumber(sheet->cells, 0, 0, 5.0);
    PutNumber(sheet->cells, 1, 0, 7.0);
    PutFormulaText(sheet->cells, c.row, c.column, c.formula);
    UndoHistory& history = book->undoHistory;
    bool recorded = false;
    if (c.rows)
      recorded = c.insert ? history.RecordRowsChange(book.get(), c.first, c.last)
                          : history.RecordRowsChangeWithSnapshot(book.get(), c.first, c.last);
    else
      recorded = c.insert ? history.RecordColumnsChange(book.get(), uint16_t(c.first), uint16_t(c.last))
                          : history.RecordColumnsChangeWithSnapshot(book.get(), uint16_t(c.first), uint16_t(c.last));
    ASSERT_TRUE(recorded);
    bool done = false;
    if (c.rows)
      done = c.insert ? book->InsertRows(sheet, c.first, c.last) : book->DeleteRows(sheet, c.first, c.last);
    else
      done = c.insert ? book->InsertColumns(sheet, uint16_t(c.first), uint16_t(c.last))
                      : book->DeleteColumns(sheet, uint16_t(c.first), uint16_t(c.last));
    ASSERT_TRUE(done);
    for (int round = 0; round < 2; ++round) {
      EXPECT_EQ(FormulaAt(sheet->cells, c.rowAfter, c.columnAfter), c.rewritten);
      ASSERT_TRUE(book->UndoStep());
      EXPECT_EQ(FormulaAt(sheet->cells, c.row, c.column), c.formula);
      ASSERT_TRUE(book->RedoStep());
    }
    EXPECT_TRUE(history.CheckInvariants());
  }
}
