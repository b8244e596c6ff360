#include "core/workbook/workbook.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/model/chart_record.h"
#include "core/base/current_date.h"
#include "core/base/global_options.h"
#include "platform/os_services.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

void FixedClock(OsLocalTime* t) { *t = OsLocalTime{2031, 12, 3, 31, 23, 59, 58, 999}; }

struct ClockGuard {
  ClockGuard() { OsSetClockForTesting(FixedClock); }
  ~ClockGuard() { OsSetClockForTesting(nullptr); }
};

bool AllZero(const void* bytes, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  for (size_t i = 0; i < size; ++i)
    if (p[i])
      return false;
  return true;
}

int allowedItems = -1;
bool ItemGate(size_t) { return allowedItems < 0 || allowedItems-- > 0; }

struct ItemAllocationLimit {
  explicit ItemAllocationLimit(int allowed) {
    allowedItems = allowed;
    SetTreeItemAllocationGateForTesting(ItemGate);
  }
  ~ItemAllocationLimit() {
    SetTreeItemAllocationGateForTesting(nullptr);
    allowedItems = -1;
  }
};

// Fills what a loaded document would hold, so that destruction and clearing
// have everything to release.
void LoadEverything(CWorkBook& book) {
  ASSERT_TRUE(book.NewDocument());
  CTreeItem* folder = NewFolderItem("Folder", 1);
  book.InsertItems(folder, nullptr);
  CWorkSheet* sheet = NewWorksheet("Inside", 1);
  book.InsertItems(sheet, folder);
  uint8_t record[32];
  ASSERT_NE(BuildNumberCell(record, sizeof record, 7, 3, 2.5), 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  ASSERT_TRUE(sheet->format.rows.SetRow(9000, 20, true));
  auto* container = new ContainerRecord;
  container->items[0].kind = kItemChart;
  container->items[0].chart = new ChartRecord(kChart3D);
  container->header.itemCount = 1;
  ASSERT_TRUE(book.AssignContainerId(container));
  sheet->AddContainer(container);

  std::strcpy(book.dropDownLists[0].name, "Regions");
  ASSERT_TRUE(book.dropDownLists[0].AppendEntry("North"));
  ASSERT_TRUE(book.dropDownLists[0].AppendEntry("South"));
  std::strcpy(book.dropDownLists[99].name, "Last");
  ASSERT_TRUE(book.dropDownLists[99].AppendEntry(""));
  uint8_t inspect[kInspectCellRecordSize] = {};
  for (int i = 0; i < 25; ++i) ASSERT_TRUE(book.inspectCells.Append(inspect));
  uint8_t page[32] = {};
  ASSERT_TRUE(book.pageList.pages.Append(page));
  book.xbaseTable.fieldDescriptors = static_cast<uint8_t*>(std::calloc(kXBaseMaxFields, kXBaseFieldSize));
  book.xbaseTable.dialect = 6;
  book.bufferedFile.file = std::tmpfile();
  book.evaluator.arrays.ReserveBlock();
  book.styles.styleCount = 3;
  book.sourceFormat = 2;
  book.recalcMode = 3;
  book.protectionMode = 4;
  book.openedWithoutPassword = 1;
  book.documentFlag = 1;
  book.error = 22;
}

}  // namespace

TEST(Workbook, NewWorkbookDefaults) {
  ClockGuard clock;
  auto book = std::make_unique<CWorkBook>();
  EXPECT_EQ(book->folderCount, 0u);
  EXPECT_EQ(book->worksheetCount, 0u);
  EXPECT_EQ(book->firstItem, nullptr);
  EXPECT_EQ(book->activeWorksheet, nullptr);
  EXPECT_EQ(book->evaluator.owner, book.get());
  EXPECT_EQ(book->evaluator.sheet, nullptr);
  EXPECT_EQ(book->evaluator.resolveSheet, &ResolveWorkbookSheet);
  EXPECT_EQ(book->styles.styleCount, 1);
  EXPECT_EQ(book->styles.fontCount, 1);
  EXPECT_EQ(book->bufferedFile.file, nullptr);
  EXPECT_EQ(book->sourceFormat, 0);
  EXPECT_EQ(book->saveKind, 2);
  EXPECT_TRUE(AllZero(&book->lastModification, sizeof book->lastModification));
  EXPECT_EQ(book->documentYear, 2031u);
  EXPECT_EQ(book->documentMonth, 12u);
  EXPECT_EQ(book->documentDay, 31u);
  EXPECT_EQ(book->documentOptions[0], 1);
  EXPECT_EQ(book->documentOptions[1], 0);
  EXPECT_EQ(book->error, 0);
  EXPECT_EQ(book->recalcMode, 0);
  EXPECT_EQ(book->protectionMode, 0);
  EXPECT_EQ(book->openedWithoutPassword, 0);
  EXPECT_EQ(book->documentFlag, 0);
  EXPECT_EQ(book->pageList.pages.Count(), 0u);
  EXPECT_EQ(book->pageList.pages.RecordSize(), 32);
  EXPECT_EQ(book->pageList.flag, 1);
  EXPECT_EQ(book->pageList.scaleX, 100);
  EXPECT_EQ(book->pageList.scaleY, 100);
  EXPECT_EQ(book->inspectCells.Count(), 0u);
  EXPECT_EQ(book->inspectCells.RecordSize(), 396);

  const TextFileOptions& text = book->textFileOptions;
  EXPECT_EQ(text.separator, ',');
  EXPECT_EQ(text.quote, '"');
  EXPECT_EQ(text.charset, 1);
  EXPECT_EQ(text.recognizeValues, 1);
  EXPECT_EQ(text.fixedWidth, 0);
  EXPECT_TRUE(AllZero(text.widths, sizeof text.widths));
  EXPECT_EQ(book->xbaseTable.fieldDescriptors, nullptr);
  EXPECT_EQ(book->xbaseTable.codePage, 2);
  EXPECT_EQ(book->xbaseTable.dialect, 4);
  EXPECT_TRUE(AllZero(book->xbaseTable.header, sizeof book->xbaseTable.header));
  for (const DropDownList& list : book->dropDownLists) {
    EXPECT_STREQ(list.name, "");
    EXPECT_EQ(list.entries, nullptr);
  }
  // The workbook's own mode defers to the global option.
  ResetGlobalOptions();
  EXPECT_EQ(UpdateMode(book->recalcMode), kUpdateAutomatic);
  char message[100];
  EXPECT_TRUE(book->CheckTreeInvariants(message, sizeof message)) << message;
}

TEST(Workbook, CurrentDateFollowsTheLocalClock) {
  ClockGuard clock;
  EXPECT_EQ(GetCurrentYear(), 2031u);
  EXPECT_EQ(GetCurrentMonth(), 12u);
  EXPECT_EQ(GetCurrentDay(), 31u);
}

TEST(Workbook, NewDocumentHasOneActiveWorksheet) {
  auto book = std::make_unique<CWorkBook>();
  for (int round = 0; round < 2; ++round) {  // the second replaces a whole tree
    ASSERT_TRUE(book->NewDocument());
    ASSERT_NE(book->firstItem, nullptr);
    EXPECT_STREQ(book->firstItem->name, "Worksheet1");
    EXPECT_EQ(book->firstItem->depth, 1);
    EXPECT_EQ(book->firstItem->next, nullptr);
    EXPECT_EQ(book->activeWorksheet, CWorkSheet::FromItem(book->firstItem));
    EXPECT_EQ(book->worksheetCount, 1u);
    EXPECT_EQ(book->folderCount, 0u);
    EXPECT_EQ(book->evaluator.owner, book.get());
    EXPECT_EQ(book->evaluator.sheet, &book->activeWorksheet->cells);
    char message[100];
    EXPECT_TRUE(book->CheckTreeInvariants(message, sizeof message)) << message;
    book->InsertItems(NewFolderItem("F", 1), nullptr);
    book->InsertItems(NewWorksheet("W", 1), book->firstItem->next);
  }
}

TEST(Workbook, NewDocumentOutOfMemoryKeepsTheDocument) {
  auto book = std::make_unique<CWorkBook>();
  ASSERT_TRUE(book->NewDocument());
  CWorkSheet* first = book->activeWorksheet;
  {
    ItemAllocationLimit limit(0);
    EXPECT_FALSE(book->NewDocument());
  }
  EXPECT_EQ(book->error, kWorkbookOutOfMemory);
  EXPECT_EQ(book->activeWorksheet, first);
  EXPECT_EQ(book->firstItem, first);
  EXPECT_EQ(book->worksheetCount, 1u);
}

TEST(Workbook, NewWorksheetDefaults) {
  auto sheet = std::make_unique<CWorkSheet>("Sheet", 1);
  EXPECT_EQ(sheet->kind, kTreeItemWorksheet);
  EXPECT_EQ(sheet->flag, 0);
  EXPECT_EQ(sheet->cellStore, &sheet->cells);
  EXPECT_EQ(sheet->cells.FirstBlock(), nullptr);
  EXPECT_EQ(sheet->format.runs.FirstBlock(), nullptr);
  EXPECT_EQ(sheet->format.rows.Count(), 0u);
  EXPECT_TRUE(AllZero(sheet->format.columns, sizeof sheet->format.columns));
  EXPECT_EQ(sheet->containers, nullptr);
  EXPECT_EQ(sheet->horizontalSplit, 0);
  EXPECT_EQ(sheet->verticalSplit, 0);
  EXPECT_EQ(sheet->pageSettings.scale, 100);
  EXPECT_EQ(sheet->pageSettings.firstPageNumber, 1);
  EXPECT_STREQ(sheet->pageSettings.headerText, "&c Document: &f");
  EXPECT_STREQ(sheet->pageSettings.footerText, "&c &p");

  WorksheetViewFormat view = sheet->viewFormat;
  const uint32_t window = GetSchemeColor(kSchemeWindow);
  const uint32_t buttonFace = GetSchemeColor(kSchemeButtonFace);
  uint32_t palette[kPaletteSize];
  GetDefaultPalette(palette);
  EXPECT_EQ(view.backgroundMode, 1);
  EXPECT_EQ(view.fill.pattern, 1);
  EXPECT_EQ(view.fill.patternColor, window);
  EXPECT_EQ(view.fill.backgroundColor, window);
  EXPECT_EQ(view.backgroundKind, 2);
  const double fractal[6] = {0.1, 0.043, -1.1, 1.1, -1.1, 1.1};
  EXPECT_EQ(std::memcmp(&view.fractal, fractal, sizeof fractal), 0);
  EXPECT_EQ(std::memcmp(view.palette, palette, sizeof palette), 0);
  EXPECT_EQ(view.gridLines, 1);
  EXPECT_EQ(view.gridColor, buttonFace);
  EXPECT_EQ(view.headingsColor, buttonFace);
  EXPECT_EQ(view.zoom, 100);
  // Every other byte of the record is zero.
  view.backgroundMode = 0;
  view.fill = FillRecord{};
  view.backgroundKind = 0;
  view.fractal = FractalParameters{};
  std::memset(view.palette, 0, sizeof view.palette);
  view.gridLines = 0;
  view.gridColor = 0;
  view.headingsColor = 0;
  view.zoom = 0;
  EXPECT_TRUE(AllZero(&view, sizeof view));
}

TEST(Workbook, ClearEmptiesTheDocument) {
  auto book = std::make_unique<CWorkBook>();
  LoadEverything(*book);
  std::FILE* file = book->bufferedFile.file;
  book->Clear();
  EXPECT_EQ(book->firstItem, nullptr);
  EXPECT_EQ(book->activeWorksheet, nullptr);
  EXPECT_EQ(book->evaluator.sheet, nullptr);
  EXPECT_EQ(book->worksheetCount, 0u);
  EXPECT_EQ(book->folderCount, 0u);
  for (const DropDownList& list : book->dropDownLists) {
    EXPECT_STREQ(list.name, "");
    EXPECT_EQ(list.entries, nullptr);
  }
  EXPECT_EQ(book->inspectCells.Count(), 0u);
  EXPECT_EQ(book->inspectCells.PageCount(), 0u);
  EXPECT_EQ(book->inspectCells.PoolCount(), 0u);
  EXPECT_EQ(book->styles.styleCount, 1);
  EXPECT_EQ(book->styles.fontCount, 1);
  EXPECT_EQ(book->sourceFormat, 0);
  EXPECT_EQ(book->recalcMode, 0);
  EXPECT_EQ(book->error, 0);
  EXPECT_EQ(book->protectionMode, 0);
  EXPECT_EQ(book->openedWithoutPassword, 0);
  EXPECT_EQ(book->documentFlag, 0);
  EXPECT_EQ(book->saveKind, 5);
  // The open file and the exchange settings belong to the document, not to its contents.
  EXPECT_EQ(book->bufferedFile.file, file);
  EXPECT_EQ(book->xbaseTable.dialect, 6);
  ASSERT_TRUE(book->NewDocument());
  EXPECT_TRUE(book->CheckTreeInvariants());
}

// The sanitizer build reports anything a destroyed workbook leaves behind.
TEST(Workbook, DestructionReleasesEverything) {
  auto book = std::make_unique<CWorkBook>();
  LoadEverything(*book);
  // A run removed and kept by the caller is the caller's to destroy.
  CTreeItem* folder = book->firstItem->next;
  ASSERT_TRUE(book->RemoveItem(folder));
  book->DeleteItems(folder);
  // The open file is closed with the workbook.
  ASSERT_NE(book->bufferedFile.file, nullptr);
  book.reset();
}

TEST(DropDownList, EntriesAreCutAndReleased) {
  DropDownList list;
  const std::string longText(1500, 'e');
  ASSERT_TRUE(list.AppendEntry(longText.c_str()));
  ASSERT_TRUE(list.AppendEntry(nullptr));
  ASSERT_TRUE(list.AppendEntry("last"));
  EXPECT_EQ(list.EntryCount(), 3u);
  EXPECT_EQ(std::strlen(list.entries->text), kDropDownEntryMaxLength);
  EXPECT_STREQ(list.entries->next->text, "");
  EXPECT_STREQ(list.entries->next->next->text, "last");
  std::strcpy(list.name, "L");
  list.Clear();
  EXPECT_EQ(list.EntryCount(), 0u);
  EXPECT_STREQ(list.name, "");
}
