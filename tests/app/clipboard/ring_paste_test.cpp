// The clipboard ring: copies of ranges, tree items and containers, and
// pastes of them (and of text) into workbooks, each one undo step that a
// lack of memory never leaves half done.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/clipboard/clipboard_ring.h"
#include "app/clipboard/ring_menu.h"
#include "app/clipboard/ring_paste.h"
#include "core/base/global_options.h"
#include "core/allocation_limit.h"
#include "core/fake_text_measurer.h"
#include "core/workbook/workbook.h"
#include "tests/core/generic_locale_test.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

class RingPaste : public GenericLocaleTest {
 protected:
  // A ring of its own per test: the process's ring outlives every test.
  UndoHistory ring;
  FakeTextMeasurer measurer;
};

std::unique_ptr<CWorkBook> NewBook() {
  auto book = std::make_unique<CWorkBook>();
  EXPECT_TRUE(book->NewDocument());
  return book;
}

void PutNumber(CWorkSheet* sheet, uint32_t row, uint16_t column, double value) {
  uint8_t record[kNumberCellSize];
  ASSERT_NE(BuildNumberCell(record, sizeof record, row, column, value), 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
}

// Bold, or a percentage, on a rectangle of the worksheet.
void Format(CWorkBook& book, CWorkSheet* sheet, const UndoRange& r, bool bold) {
  StyleRecord style = StyleRecord::Default();
  FontRecord font = book.styles.FontAt(0);
  font.weight = kFontWeightBold;
  style.numFormat.category = kNumFormatPercent;
  ASSERT_TRUE(book.ApplyFormatToRange(&book.styles, r.firstColumn, r.lastColumn, r.firstRow, r.lastRow, &sheet->format,
                                      bold ? kApplyWeight : kApplyNumberFormat, style, font));
}

// What the user sees of a corner of a worksheet: each cell's value and its
// style by what it shows (bold, percentage), row by row.
std::string Sheet(CWorkBook& book, CWorkSheet* sheet) {
  std::string out;
  for (uint32_t row = 0; row < 9; ++row) {
    for (uint16_t column = 0; column < 9; ++column) {
      const CellRecord* cell = sheet->cells.GetCell(row, column);
      out += cell && cell->IsNumber() ? std::to_string(int(cell->Number())) : ".";
      const StyleRecord& style = book.styles.StyleAt(sheet->format.CellStyle(row, column));
      if (book.styles.FontAt(style.fontIndex).weight == kFontWeightBold) out += "b";
      if (style.numFormat.category == kNumFormatPercent) out += "%";
      out += " ";
    }
    out += "\n";
  }
  return out;
}

// A source with 1 2 / 3 4 at B2:C3, B2:B3 bold and C2 a percentage.
std::unique_ptr<CWorkBook> SourceBook() {
  auto book = NewBook();
  CWorkSheet* sheet = book->activeWorksheet;
  PutNumber(sheet, 1, 1, 1);
  PutNumber(sheet, 1, 2, 2);
  PutNumber(sheet, 2, 1, 3);
  PutNumber(sheet, 2, 2, 4);
  Format(*book, sheet, {1, 1, 1, 2}, true);
  Format(*book, sheet, {2, 1, 2, 1}, false);
  return book;
}

TEST_F(RingPaste, RangeCopiedInOneWorkbookPastesIntoAnother) {
  auto source = SourceBook();
  ASSERT_TRUE(CopyRangeToRing(ring, source.get(), {1, 1, 2, 2}));
  EXPECT_EQ(ring.Current(), 0);
  EXPECT_STREQ(ring.Record(0).sheetPath, "\\Worksheet1");
  const struct {
    const char* what;
    UndoRange selection;
    bool withoutFormats;
    UndoRange filled;
    const char* row4;
    const char* row5;
  } cases[] = {
      {"one cell grows to the block", {4, 4, 4, 4}, false, {4, 4, 5, 5}, ". . . . 1b 2% . . . ", ". . . . 3b 4 . . . "},
      {"without formats", {4, 4, 4, 4}, true, {4, 4, 5, 5}, ". . . . 1 2 . . . ", ". . . . 3 4 . . . "},
      {"a larger selection is filled exactly", {4, 4, 6, 4}, false, {4, 4, 6, 4}, ". . . . 1b 2% 1b . . ",
       ". . . . . . . . . "},
      {"at the grid's edge", {kMaxColumn, kMaxRow, kMaxColumn, kMaxRow}, false,
       {kMaxColumn, kMaxRow, kMaxColumn, kMaxRow}, ". . . . . . . . . ", ". . . . . . . . . "},
  };
  for (const auto& c : cases) {
    auto target = NewBook();
    PutNumber(target->activeWorksheet, 4, 5, 9);  // overwritten by every block
    const std::string before = Sheet(*target, target->activeWorksheet);
    UndoRange filled{};
    ASSERT_TRUE(PasteRingRange(ring, 0, target.get(), measurer.Measurer(), c.selection, c.withoutFormats, &filled))
        << c.what;
    EXPECT_EQ(+filled.firstColumn, +c.filled.firstColumn) << c.what;
    EXPECT_EQ(+filled.lastColumn, +c.filled.lastColumn) << c.what;
    EXPECT_EQ(+filled.lastRow, +c.filled.lastRow) << c.what;
    const std::string after = Sheet(*target, target->activeWorksheet);
    if (c.selection.firstColumn < 9) {
      EXPECT_NE(after.find(c.row4), std::string::npos) << c.what << "\n" << after;
      EXPECT_NE(after.find(c.row5), std::string::npos) << c.what << "\n" << after;
    }
    // One step takes the paste back.
    EXPECT_EQ(target->undoHistory.Current(), 0) << c.what;
    ASSERT_TRUE(target->UndoStep());
    EXPECT_EQ(Sheet(*target, target->activeWorksheet), before) << c.what;
  }
}

TEST_F(RingPaste, PasteThatRunsOutOfMemoryChangesNothing) {
  auto source = SourceBook();
  ASSERT_TRUE(CopyRangeToRing(ring, source.get(), {0, 0, 8, 8}));
  PastedBlock block;
  ASSERT_TRUE(ParsePastedText(source.get(), "5\t6\r\n7\t\t8", 10, 0, 0, &block));
  for (const bool text : {false, true}) {
    bool completed = false;
    int failures = 0;
    for (int granted = 0; granted < 200 && !completed; ++granted) {
      auto target = SourceBook();
      PutNumber(target->activeWorksheet, 0, 0, 42);
      const std::string before = Sheet(*target, target->activeWorksheet);
      UndoRange filled{};
      {
        AllocationLimit limit(granted);
        completed = text ? PasteTextBlock(block, target.get(), measurer.Measurer(), {1, 1, 1, 1}, &filled)
                         : PasteRingRange(ring, 0, target.get(), measurer.Measurer(), {2, 2, 2, 2}, false, &filled);
      }
      if (completed) {
        EXPECT_EQ(target->undoHistory.Current(), 0);
        continue;
      }
      ++failures;
      EXPECT_EQ(target->error, kWorkbookOutOfMemory) << granted;
      EXPECT_EQ(Sheet(*target, target->activeWorksheet), before) << (text ? "text " : "ring ") << granted;
      EXPECT_EQ(target->undoHistory.Current(), -1) << granted;
    }
    EXPECT_TRUE(completed) << text;
    EXPECT_GT(failures, 2) << text;
  }
}

TEST_F(RingPaste, TextBlockKeepsTheCellsItLeavesEmpty) {
  auto book = SourceBook();
  PastedBlock block;
  ASSERT_TRUE(ParsePastedText(book.get(), "5\t\t6", 4, 0, 0, &block));
  UndoRange filled{};
  ASSERT_TRUE(PasteTextBlock(block, book.get(), measurer.Measurer(), {0, 1, 0, 1}, &filled));
  EXPECT_EQ(+filled.lastColumn, 2);
  EXPECT_NE(Sheet(*book, book->activeWorksheet).find("5 1b 6% "), std::string::npos)
      << Sheet(*book, book->activeWorksheet);
}

TEST_F(RingPaste, RingKeepsItsNewestLevels) {
  ASSERT_TRUE(ring.SetLevels(16));
  auto book = NewBook();
  for (int copy = 0; copy < 17; ++copy) {
    PutNumber(book->activeWorksheet, 0, 0, copy);
    ASSERT_TRUE(CopyRangeToRing(ring, book.get(), {0, 0, 0, 0}));
  }
  EXPECT_EQ(ring.Current(), 15);
  EXPECT_EQ(ring.Record(0).snapshot->cells.GetCell(0, 0)->Number(), 1);
  EXPECT_EQ(ring.Record(15).snapshot->cells.GetCell(0, 0)->Number(), 16);
  // A copy that cannot be recorded leaves the newest entry the newest.
  {
    AllocationLimit limit(0);
    EXPECT_FALSE(CopyRangeToRing(ring, book.get(), {0, 0, 3, 3}));
  }
  EXPECT_EQ(ring.Record(ring.Current()).snapshot->cells.GetCell(0, 0)->Number(), 16);
  EXPECT_TRUE(ring.CheckInvariants());
}

TEST_F(RingPaste, TreeItemsPasteWithTheirFormatsAndPath) {
  auto source = SourceBook();
  CTreeItem* folder = NewFolderItem("Folder", 1);
  source->InsertItems(folder, nullptr);
  CTreeItem* inner = source->CopyTreeItems(source->firstItem);
  source->InsertItems(inner, folder);
  ASSERT_TRUE(CopyItemsToRing(ring, source.get(), folder));
  EXPECT_STREQ(ring.Record(0).sheetPath, "\\Folder");
  const std::string shown = Sheet(*source, CWorkSheet::FromItem(inner));
  source.reset();  // the entry holds no link to its workbook

  auto target = NewBook();
  // A style of the target's own, so that the pasted styles take other indexes.
  Format(*target, target->activeWorksheet, {7, 7, 7, 7}, false);
  CTreeItem* pasted = PasteRingItems(ring, 0, target.get(), target->firstItem);
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(target->IndexOfItem(pasted), 0);
  ASSERT_NE(pasted->next, nullptr);
  EXPECT_EQ(pasted->next->depth, 2);
  EXPECT_EQ(Sheet(*target, CWorkSheet::FromItem(pasted->next)), shown);
  EXPECT_EQ(target->worksheetCount, 2u);
  // Further pastes beside it make further copies under names of their own.
  EXPECT_STREQ(pasted->name, "Folder");
  for (const char* name : {"Folder(1)", "Folder(2)"}) {
    CTreeItem* again = PasteRingItems(ring, 0, target.get(), nullptr);
    ASSERT_NE(again, nullptr);
    EXPECT_STREQ(again->name, name);
  }
  EXPECT_EQ(target->worksheetCount, 4u);
  // Into a folder whose path a formula could not write with the copy's
  // name in it: refused, nothing pasted.
  CTreeItem* quoted = NewFolderItem("say \"x\"", 1);
  target->InsertItems(quoted, nullptr);
  std::strcpy(ring.Record(0).items->name, "it's");
  EXPECT_EQ(PasteRingItems(ring, 0, target.get(), quoted), nullptr);
  EXPECT_EQ(target->error, kWorkbookPathUnwritable);
  EXPECT_EQ(target->worksheetCount, 4u);
  EXPECT_EQ(quoted->next, nullptr);
  char message[200] = {};
  EXPECT_TRUE(target->CheckTreeInvariants(message, sizeof message)) << message;
}

TEST_F(RingPaste, ContainerPastesWithAFreeIdAtTheCell) {
  auto source = NewBook();
  auto* container = new ContainerRecord;
  ASSERT_TRUE(source->AssignContainerId(container));
  container->header.opacity = 40;
  source->activeWorksheet->AddContainer(container);
  ASSERT_TRUE(CopyContainerToRing(ring, source.get(), container));
  for (int paste = 0; paste < 2; ++paste) {
    ContainerRecord* pasted = PasteRingContainer(ring, 0, source.get(), 3, 7);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(+pasted->header.id, 2 + paste);
    EXPECT_EQ(+pasted->header.anchor.column, 3);
    EXPECT_EQ(+pasted->header.anchor.row, 7u);
    EXPECT_EQ(pasted->header.opacity, 40);
    EXPECT_EQ(source->activeWorksheet->LastContainer(), pasted);
  }
  ASSERT_TRUE(source->UndoStep());
  EXPECT_EQ(+source->activeWorksheet->LastContainer()->header.id, 2);
  // A slot of another kind pastes nothing.
  EXPECT_EQ(PasteRingItems(ring, 0, source.get(), nullptr), nullptr);
  EXPECT_EQ(source->error, kWorkbookInvalidCacheIndex);
}

}  // namespace

namespace {

TEST_F(RingPaste, DropDownNamesEachEntryByItsKind) {
  ASSERT_TRUE(ring.SetLevels(16));
  auto book = NewBook();
  CTreeItem* folder = NewFolderItem("Sales", 1);
  book->InsertItems(folder, nullptr);
  CTreeItem* inner = NewWorksheet("Q 1", 1);
  book->InsertItems(inner, folder);
  auto* container = new ContainerRecord;
  ASSERT_TRUE(book->AssignContainerId(container));
  book->activeWorksheet->AddContainer(container);
  ASSERT_TRUE(CopyRangeToRing(ring, book.get(), {1, 2, 3, 4}));
  ASSERT_TRUE(CopyItemsToRing(ring, book.get(), folder));
  ASSERT_TRUE(CopyContainerToRing(ring, book.get(), container));
  book->activeWorksheet = CWorkSheet::FromItem(inner);
  ASSERT_TRUE(CopyRangeToRing(ring, book.get(), {0, 0, 0, 0}));
  const struct {
    bool a1;
    const char* texts[4];
  } cases[] = {
      {true,
       {"1.\tPaste  \\Worksheet1!$B$3:$D$5", "2.\tPaste  \\Sales", "3.\tPaste container 1 (\\Worksheet1)",
        "4.\tPaste  \"\\Sales\\Q 1\"!$A$1"}},
      {false,
       {"1.\tPaste  \\Worksheet1!R3C2:R5C4", "2.\tPaste  \\Sales", "3.\tPaste container 1 (\\Worksheet1)",
        "4.\tPaste  \"\\Sales\\Q 1\"!R1C1"}},
  };
  for (const auto& c : cases) {
    AddressingA1 = c.a1 ? 1 : 0;
    for (int32_t slot = 0; slot < 4; ++slot) {
      char text[300];
      ASSERT_TRUE(FormatRingEntryText(ring, slot, book->evaluator, text, sizeof text));
      EXPECT_STREQ(text, c.texts[slot]);
    }
  }
  char text[300];
  EXPECT_FALSE(FormatRingEntryText(ring, 4, book->evaluator, text, sizeof text));
}

}  // namespace
