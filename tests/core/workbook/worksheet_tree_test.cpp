#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/cells/block_store.h"
#include "core/cells/cell_record.h"
#include "core/model/chart_record.h"
#include "core/cells/paged_array.h"
#include "core/workbook/workbook.h"
#include "test_seed.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

std::unique_ptr<CWorkBook> MakeWorkbook() { return std::make_unique<CWorkBook>(); }

void ExpectValid(const CWorkBook& book) {
  char message[200] = "";
  EXPECT_TRUE(book.CheckTreeInvariants(message, sizeof message)) << message;
}

void PutNumber(CWorkSheet* sheet, uint32_t row, uint16_t column, double value) {
  uint8_t record[32];
  ASSERT_NE(BuildNumberCell(record, sizeof record, row, column, value), 0u);
  ASSERT_TRUE(sheet->cells.InsertCell(AsCellRecord(record), nullptr));
}

double NumberAt(CWorkSheet* sheet, uint32_t row, uint16_t column) {
  const CellRecord* cell = sheet->cells.GetCell(row, column);
  return cell && cell->IsNumber() ? cell->Number() : -1.0;
}

// Appends items in preorder as a file reader would; the first worksheet
// becomes the active one.
struct ItemRow {
  const char* name;
  uint16_t depth;
  bool folder;
};
std::vector<CTreeItem*> BuildTree(CWorkBook& book, std::initializer_list<ItemRow> rows) {
  std::vector<CTreeItem*> items;
  for (const ItemRow& row : rows) {
    CTreeItem* item = row.folder ? NewFolderItem(row.name, 1) : NewWorksheet(row.name, 1);
    // At the end at depth 1, then at its own depth: the rows are in preorder.
    book.InsertItems(item, nullptr);
    item->depth = row.depth;
    if (!row.folder && !book.activeWorksheet)
      book.activeWorksheet = CWorkSheet::FromItem(item);
    items.push_back(item);
  }
  return items;
}

std::string PathOf(const CTreeItem* item, bool withoutSelf = false) {
  char path[kTreePathCapacity];
  if (!item->GetFullPath(path, sizeof path, withoutSelf))
    return "<too long>";
  return path;
}

}  // namespace

TEST(TreeItem, NameIsCutTo127Characters) {
  const std::string longName(200, 'n');
  CTreeItem folder(longName.c_str(), 1, kTreeItemFolder, 1);
  EXPECT_EQ(std::strlen(folder.name), 127u);
  EXPECT_EQ(folder.name[127], '\0');
  EXPECT_EQ(folder.flag, 1);
  folder.SetName("Renamed");
  EXPECT_STREQ(folder.name, "Renamed");
  folder.SetName(nullptr);
  EXPECT_STREQ(folder.name, "");

  CWorkSheet sheet(longName.c_str(), 2);
  EXPECT_EQ(std::strlen(sheet.name), 127u);
  EXPECT_EQ(sheet.kind, kTreeItemWorksheet);
  EXPECT_EQ(sheet.flag, 0);
  EXPECT_EQ(sheet.depth, 2);
  EXPECT_EQ(sheet.cellStore, &sheet.cells);
  EXPECT_EQ(sheet.previous, nullptr);
  EXPECT_EQ(sheet.next, nullptr);
}

TEST(TreeItem, FullPathsAndParents) {
  auto book = MakeWorkbook();
  auto items = BuildTree(*book, {{"Sales", 1, true},
                                 {"2009", 2, true},
                                 {"Q1", 3, false},
                                 {"Q2", 3, false},
                                 {"Total", 2, false},
                                 {"Top", 1, false},
                                 {"Empty", 1, true}});
  ExpectValid(*book);
  struct Case {
    int item;
    const char* path;
    const char* folderPath;
    int parent;
  } cases[] = {{0, "\\Sales", "\\", -1},        {1, "\\Sales\\2009", "\\Sales\\", 0},
               {2, "\\Sales\\2009\\Q1", "\\Sales\\2009\\", 1}, {3, "\\Sales\\2009\\Q2", "\\Sales\\2009\\", 1},
               {4, "\\Sales\\Total", "\\Sales\\", 0},   {5, "\\Top", "\\", -1},
               {6, "\\Empty", "\\", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(PathOf(items[c.item]), c.path);
    EXPECT_EQ(PathOf(items[c.item], true), c.folderPath);
    EXPECT_EQ(items[c.item]->ParentFolder(), c.parent < 0 ? nullptr : items[c.parent]);
  }
}

TEST(TreeItem, PathsStopBelow256Characters) {
  auto book = MakeWorkbook();
  const std::string name127(127, 'a');
  const std::string name126(126, 'b');
  auto items = BuildTree(*book, {{name127.c_str(), 1, true},
                                 {name126.c_str(), 2, false},    // 1 + 127 + 1 + 126 = 255
                                 {name127.c_str(), 2, false}});  // 256
  char path[kTreePathCapacity];
  ASSERT_TRUE(items[1]->GetFullPath(path, sizeof path));
  EXPECT_EQ(std::strlen(path), 255u);
  EXPECT_FALSE(items[2]->GetFullPath(path, sizeof path));
  EXPECT_STREQ(path, "");
  EXPECT_TRUE(items[2]->GetFullPath(path, sizeof path, true));
  // A caller's smaller buffer is never overrun.
  char small[10] = "xxxxxxxxx";
  EXPECT_FALSE(items[1]->GetFullPath(small, sizeof small));
  EXPECT_STREQ(small, "");
  // Such an item is never found.
  EXPECT_EQ(book->FindItemByPath(("\\" + name127 + "\\" + name127).c_str()), nullptr);
  EXPECT_EQ(book->FindItemByPath(("\\" + name127 + "\\" + name126).c_str()), items[1]);
}

TEST(WorksheetTree, FindsPathsWithoutRegardToCase) {
  auto book = MakeWorkbook();
  auto items = BuildTree(*book, {{"Sales", 1, true},
                                 {"2009", 2, true},
                                 {"Q1", 3, false},
                                 {"\xC9t\xE9", 2, false},  // Été
                                 {"\x8A" "a\xFF", 1, false},  // Ša\xFF
                                 {"a\\b", 1, false},           // a name with a backslash
                                 {"sales", 1, true},
                                 {"2009", 2, true}});
  struct Case {
    const char* path;
    int found;  // -1: none
  } cases[] = {
      {"\\SALES\\2009", 1},          {"\\sales\\2009\\q1", 2},   {"\\Sales", 0},
      {"\\SALES\\\xC9T\xC9", 3},     {"\\sales\\\xE9t\xE9", 3},  {"\\\x9A" "A\x9F", 4},
      {"\\A\\B", 5},                 {"\\Sales\\Q1", -1},        {"Sales", -1},
      {"\\Sales\\", -1},             {"", -1},                   {"\\", -1},
      {"\\Sales\\2009\\Q1\\", -1},   {"\\Q1", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(book->FindItemByPath(c.path), c.found < 0 ? nullptr : items[c.found]);
  }
  // The search begins at the start item: the second folder of the same path.
  EXPECT_EQ(book->FindItemByPath("\\SALES\\2009", items[2]), items[7]);
  EXPECT_EQ(book->FindItemByPath("\\SALES", items[1]), items[6]);
  EXPECT_EQ(book->FindItemByPath(nullptr), nullptr);
}

TEST(WorksheetTree, InsertsChainsByTargetKind) {
  auto book = MakeWorkbook();
  auto items = BuildTree(*book, {{"A", 1, false}, {"F", 1, true}, {"F1", 2, false}, {"G", 2, true},
                                 {"G1", 3, false}, {"B", 1, false}});
  auto makeChain = [] {
    // A folder at depth 3 holding a worksheet at depth 4, as an undo step keeps it.
    CTreeItem* folder = NewFolderItem("New", 3);
    CTreeItem* sheet = NewWorksheet("Inner", 4);
    folder->next = sheet;
    sheet->previous = folder;
    return folder;
  };
  struct Case {
    int target;  // -1 none
    int index;   // where the chain's head lands
    uint16_t depth;
  } cases[] = {{5, 5, 1}, {1, 5, 2}, {3, 5, 3}, {2, 2, 2}, {-1, 6, 1}, {0, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    CTreeItem* chain = makeChain();
    book->InsertItems(chain, c.target < 0 ? nullptr : items[c.target]);
    ExpectValid(*book);
    EXPECT_EQ(book->IndexOfItem(chain), c.index);
    EXPECT_EQ(chain->depth, c.depth);
    EXPECT_EQ(chain->next->depth, c.depth + 1);
    EXPECT_EQ(book->folderCount, 3u);
    EXPECT_EQ(book->worksheetCount, 5u);
    ASSERT_TRUE(book->RemoveItem(chain));
    book->DeleteItems(chain);
    ExpectValid(*book);
  }
  // An empty list takes the chain at depth 1.
  book->DeleteAllItems();
  CTreeItem* chain = makeChain();
  book->InsertItems(chain, nullptr);
  EXPECT_EQ(book->firstItem, chain);
  EXPECT_EQ(chain->depth, 1);
  EXPECT_EQ(chain->next->depth, 2);
  ExpectValid(*book);
}

TEST(WorksheetTree, RemovalMovesTheActiveWorksheetToTheNearest) {
  struct Case {
    const char* what;
    int remove;
    int active;     // before
    int newActive;  // index in the list before removal
  } cases[] = {
      {"worksheets on both sides: the one after wins", 1, 3, 4},
      {"a folder after the run: the worksheet before wins", 4, 4, 3},
      {"nothing after the run: the nearest before", 6, 6, 4},
      {"the first item: the second step after", 0, 0, 2},
      {"the worksheet after the run", 2, 2, 3},
      {"an active worksheet outside the run stays", 5, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto book = MakeWorkbook();
    auto items = BuildTree(*book, {{"S0", 1, false}, {"F", 1, true}, {"S1", 2, false}, {"S2", 2, false},
                                   {"S3", 1, false}, {"E", 1, true}, {"S5", 1, false}});
    book->activeWorksheet = CWorkSheet::FromItem(items[c.active]);
    book->evaluator.sheet = &book->activeWorksheet->cells;
    ASSERT_TRUE(book->RemoveItem(items[c.remove]));
    ExpectValid(*book);
    CWorkSheet* expected = CWorkSheet::FromItem(items[c.newActive]);
    EXPECT_EQ(book->activeWorksheet, expected);
    // The evaluator never keeps a store that left the workbook.
    EXPECT_EQ(book->evaluator.sheet, &expected->cells);
    EXPECT_EQ(items[c.remove]->previous, nullptr);
    book->DeleteItems(items[c.remove]);
    ExpectValid(*book);
  }
}

TEST(WorksheetTree, NeverRemovesTheLastWorksheet) {
  auto book = MakeWorkbook();
  // Every worksheet lies in nested folders of Outer.
  auto items = BuildTree(*book, {{"Outer", 1, true}, {"Inner", 2, true}, {"S1", 3, false}, {"S2", 2, false},
                                 {"Empty", 1, true}});
  CWorkSheet detached("Detached", 1);
  for (CTreeItem* refused : {items[0], static_cast<CTreeItem*>(nullptr), static_cast<CTreeItem*>(&detached)})
    EXPECT_FALSE(book->RemoveItem(refused));
  EXPECT_EQ(book->IndexOfItem(&detached), -1);
  ASSERT_TRUE(book->RemoveItem(items[1]));
  book->DeleteItems(items[1]);
  EXPECT_FALSE(book->RemoveItem(items[3]));
  EXPECT_EQ(book->error, kWorkbookLastWorksheet);
  ExpectValid(*book);
  EXPECT_EQ(book->worksheetCount, 1u);
}

TEST(WorksheetTree, ContainerIdsTakeTheSmallestFree) {
  auto book = MakeWorkbook();
  auto items = BuildTree(*book, {{"A", 1, false}, {"B", 1, false}});
  for (uint16_t id : {1, 2, 4}) {
    auto* container = new ContainerRecord;
    container->header.id = id;
    CWorkSheet::FromItem(items[id == 2 ? 1 : 0])->AddContainer(container);
  }
  ContainerRecord fresh;
  ASSERT_TRUE(book->AssignContainerId(&fresh));
  EXPECT_EQ(fresh.header.id, 3);
  EXPECT_EQ(book->FindContainerById(2), CWorkSheet::FromItem(items[1])->containers);
  EXPECT_EQ(book->FindContainerById(3), nullptr);
  ExpectValid(*book);
}

TEST(Worksheet, ContainerListKeepsOrderAndOwnership) {
  CWorkSheet sheet("S", 1);
  ContainerRecord* c[3];
  for (auto*& container : c) {
    container = new ContainerRecord;
    sheet.AddContainer(container);
  }
  EXPECT_EQ(sheet.containers, c[0]);
  EXPECT_EQ(sheet.LastContainer(), c[2]);
  sheet.RemoveContainer(c[0]);  // the head moves on
  EXPECT_EQ(sheet.containers, c[1]);
  EXPECT_EQ(c[1]->previous, nullptr);
  ContainerRecord stranger;
  sheet.RemoveContainer(&stranger);  // not in the list: nothing happens
  EXPECT_EQ(sheet.containers, c[1]);
  sheet.RemoveContainer(c[2]);
  EXPECT_EQ(c[1]->next, nullptr);
  delete c[0];
  delete c[2];
  // c[1] is released by the worksheet.
}

// A worksheet full of everything that a copy must carry.
void FillWorksheet(CWorkBook& book, CWorkSheet* sheet, double seed) {
  for (uint32_t row = 0; row < 3000; ++row) PutNumber(sheet, row, static_cast<uint16_t>(row % 7), seed + row);
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{1, 4, 10, 3}, nullptr));
  ASSERT_TRUE(sheet->format.rows.SetRow(5000, 30, true));
  sheet->format.columns[3].SetWidth(77, true);
  for (int i = 0; i < 2; ++i) {
    auto* container = new ContainerRecord;
    std::snprintf(container->header.titleText, sizeof container->header.titleText, "%.100s/%d", sheet->name, i);
    container->items[0].kind = kItemChart;
    container->items[0].chart = new ChartRecord(kChart2D);
    container->header.itemCount = 1;
    ASSERT_TRUE(book.AssignContainerId(container));
    sheet->AddContainer(container);
  }
  sheet->pageSettings.scale = 55;
  sheet->viewFormat.zoom = 150;
}

TEST(WorksheetTree, CopiesAreDeepAndIndependent) {
  auto book = MakeWorkbook();
  auto items = BuildTree(*book, {{"F", 1, true}, {"A", 2, false}, {"G", 2, true}, {"B", 3, false},
                                 {"After", 1, false}});
  items[0]->flag = 1;
  FillWorksheet(*book, CWorkSheet::FromItem(items[1]), 100);
  FillWorksheet(*book, CWorkSheet::FromItem(items[3]), 900);

  CTreeItem* copy = book->CopyTreeItems(items[0]);
  ASSERT_NE(copy, nullptr);
  book->InsertItems(copy, items[4]);
  ExpectValid(*book);  // container ids stay unique
  ASSERT_EQ(book->IndexOfItem(copy), 4);
  EXPECT_EQ(book->folderCount, 4u);
  EXPECT_EQ(book->worksheetCount, 5u);
  const char* names[] = {"F", "A", "G", "B"};
  const uint16_t depths[] = {1, 2, 2, 3};
  CTreeItem* item = copy;
  for (int i = 0; i < 4; ++i, item = item->next) {
    EXPECT_STREQ(item->name, names[i]);
    EXPECT_EQ(item->depth, depths[i]);
    EXPECT_EQ(item->kind, items[i]->kind);
  }
  EXPECT_EQ(copy->flag, 1);
  EXPECT_EQ(PathOf(copy->next->next->next), "\\F\\G\\B");
  EXPECT_EQ(book->FindItemByPath("\\f\\g\\b"), items[3]);  // the original comes first
  EXPECT_EQ(book->FindItemByPath("\\f\\g\\b", copy), copy->next->next->next);

  CWorkSheet* original = CWorkSheet::FromItem(items[1]);
  CWorkSheet* copied = CWorkSheet::FromItem(copy->next);
  EXPECT_EQ(copied->cellStore, &copied->cells);
  EXPECT_TRUE(copied->cells.CheckInvariants());
  EXPECT_EQ(NumberAt(copied, 2999, 2999 % 7), 3099.0);
  EXPECT_EQ(copied->format.CellStyle(10, 2), 3);
  ASSERT_NE(copied->format.rows.At(5000), nullptr);
  EXPECT_EQ(*copied->format.rows.At(5000), *original->format.rows.At(5000));
  EXPECT_EQ(copied->format.columns[3].Width(), 77);
  EXPECT_EQ(copied->pageSettings.scale, 55);
  EXPECT_EQ(copied->viewFormat.zoom, 150);
  // The copied containers keep their order and titles, with ids of their own.
  ContainerRecord* from = original->containers;
  ContainerRecord* to = copied->containers;
  for (int i = 0; i < 2; ++i, from = from->next, to = to->next) {
    ASSERT_NE(to, nullptr);
    EXPECT_STREQ(to->header.titleText, from->header.titleText);
    EXPECT_NE(to->header.id, from->header.id);
    EXPECT_NE(to->items[0].chart, from->items[0].chart);
    EXPECT_EQ(book->FindContainerById(to->header.id), to);
  }
  EXPECT_EQ(to, nullptr);

  // Changing the original leaves the copy alone, and the other way round.
  original->cells.DeleteRange(0, 2046, 0, 4000, nullptr, true);
  ASSERT_TRUE(original->format.runs.ClearRect(0, 2046, 0, 100, nullptr, true));
  original->pageSettings.scale = 10;
  ContainerRecord* removed = original->containers;
  original->RemoveContainer(removed);
  delete removed;
  EXPECT_EQ(NumberAt(copied, 0, 0), 100.0);
  EXPECT_EQ(copied->format.CellStyle(10, 2), 3);
  EXPECT_EQ(copied->pageSettings.scale, 55);
  PutNumber(copied, 0, 0, -7);
  EXPECT_EQ(NumberAt(original, 0, 0), -1.0);
  ExpectValid(*book);
}

namespace {

// Lets `allowedAllocations` allocations of any of the core's heaps through,
// then refuses every further one.
int allowedAllocations = -1;
bool Gate(size_t) {
  if (allowedAllocations < 0)
    return true;
  return allowedAllocations-- > 0;
}
void* CountedPage(size_t bytes) { return Gate(bytes) ? std::malloc(bytes) : nullptr; }

struct AllocationLimit {
  explicit AllocationLimit(int allowed) {
    allowedAllocations = allowed;
    SetTreeItemAllocationGateForTesting(Gate);
    SetStorePageAllocatorForTesting(CountedPage);
    SetPagedArrayAllocationGateForTesting(Gate);
    SetContainerAllocationGateForTesting(Gate);
  }
  ~AllocationLimit() {
    SetTreeItemAllocationGateForTesting(nullptr);
    SetStorePageAllocatorForTesting(nullptr);
    SetPagedArrayAllocationGateForTesting(nullptr);
    SetContainerAllocationGateForTesting(nullptr);
    allowedAllocations = -1;
  }
};

}  // namespace

TEST(WorksheetTree, FailedCopyLeavesNoPartialChain) {
  auto book = MakeWorkbook();
  auto items = BuildTree(*book, {{"F", 1, true}, {"A", 2, false}, {"G", 2, true}, {"B", 3, false},
                                 {"After", 1, false}});
  FillWorksheet(*book, CWorkSheet::FromItem(items[1]), 1);
  FillWorksheet(*book, CWorkSheet::FromItem(items[3]), 2);
  int failures = 0;
  for (int allowed = 0;; ++allowed) {
    SCOPED_TRACE(allowed);
    book->error = 0;
    CTreeItem* copy;
    {
      AllocationLimit limit(allowed);
      copy = book->CopyTreeItems(items[0]);
    }
    if (copy) {
      EXPECT_EQ(book->error, 0);
      book->DeleteItems(copy);
      break;
    }
    ++failures;
    EXPECT_EQ(book->error, kWorkbookOutOfMemory);
    EXPECT_EQ(book->IndexOfItem(items[4]), 4);
    ExpectValid(*book);
    ASSERT_LT(allowed, 1000);
  }
  // Items, blocks, pages and containers of both worksheets were all refused once.
  EXPECT_GT(failures, 10);
}

// The evaluator's sheet qualifiers are resolved among the workbook's items.
TEST(WorksheetTree, EvaluatorResolvesSheetQualifiers) {
  auto book = MakeWorkbook();
  auto items = BuildTree(*book, {{"Sales", 1, true}, {"2009", 2, true}, {"Q1", 3, false}, {"Q2", 3, false},
                                 {"Summary", 2, false}, {"Top", 1, false}});
  CellStore* q1 = items[2]->cellStore;
  CellStore* top = items[5]->cellStore;
  CellStore stray;
  const std::string longText(300, 'x');
  struct Case {
    CellStore* from;
    const char* text;
    int sheet;  // -1: none
  } cases[] = {
      {q1, "Q2", 3},           {q1, "q1", 2},                {q1, "\\Top", 5},
      {q1, "\\sales\\SUMMARY", 4}, {q1, "Summary", -1},     {top, "Sales", -1},  // a folder has no store
      {top, "Sales\\2009\\Q2", 3}, {q1, "\\Sales\\2009", -1}, {&stray, "Q2", -1},
      {&stray, "\\Top", 5},    {nullptr, "\\Top", 5},        {q1, longText.c_str(), -1},
      {q1, "", -1},            {q1, nullptr, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    EXPECT_EQ(book->evaluator.FindQualifiedSheet(c.from, c.text), c.sheet < 0 ? nullptr : items[c.sheet]->cellStore);
  }
  // The item lookup behind it also answers folders.
  EXPECT_EQ(book->FindItemByQualifier(top, "SALES"), items[0]);
  // A nested evaluator of another owner resolves among that owner's items.
  EvalState nested(nullptr, q1);
  nested.resolveSheet = ResolveWorkbookSheet;
  EXPECT_EQ(nested.FindQualifiedSheet(q1, "Q2"), nullptr);
  nested.owner = book.get();
  EXPECT_EQ(nested.FindQualifiedSheet(q1, "Q2"), items[3]->cellStore);
}

// ---------------------------------------------------------------------------
// Model-based test: random inserts, removals, copies, renames and re-insertions
// of removed runs, checked against a plain vector of the same items.

namespace {

struct ModelItem {
  std::string name;
  bool folder;
  int depth;
  double tag;  // a worksheet's cell A1; copies carry it along
};

struct Model {
  std::vector<ModelItem> items;
  int active = -1;

  int RunEnd(int i) const {
    int end = i + 1;
    while (end < int(items.size()) && items[end].depth > items[i].depth) ++end;
    return end;
  }
  int Sheets(int first, int end) const {
    int count = 0;
    for (int i = first; i < end; ++i) count += !items[i].folder;
    return count;
  }
  // Same rule as CWorkBook::InsertItems; returns the head's index.
  int Insert(std::vector<ModelItem> chain, int target) {
    int at, depth;
    if (target < 0 || items.empty()) {
      at = int(items.size());
      depth = 1;
    } else if (items[target].folder) {
      at = RunEnd(target);
      depth = items[target].depth + 1;
    } else {
      at = target;
      depth = items[target].depth;
    }
    const int shift = depth - chain[0].depth;
    for (ModelItem& item : chain) item.depth += shift;
    items.insert(items.begin() + at, chain.begin(), chain.end());
    if (active >= at)
      active += int(chain.size());
    return at;
  }
  // Same rule as CWorkBook::RemoveItem; false when refused.
  bool Remove(int i, std::vector<ModelItem>* run) {
    const int end = RunEnd(i);
    if (Sheets(i, end) >= Sheets(0, int(items.size())))
      return false;
    if (active >= i && active < end) {
      active = -1;
      for (int d = 0; active < 0; ++d) {
        if (end + d < int(items.size()) && !items[end + d].folder)
          active = end + d;
        else if (i - 1 - d >= 0 && !items[i - 1 - d].folder)
          active = i - 1 - d;
      }
    }
    run->assign(items.begin() + i, items.begin() + end);
    items.erase(items.begin() + i, items.begin() + end);
    if (active >= end)
      active -= end - i;
    return true;
  }
  // Same rule as CWorkBook::MoveItems; false when refused.
  bool Move(int i, int target) {
    const int end = RunEnd(i);
    if (target >= i && target < end)
      return false;
    const int size = end - i;
    const int activeOffset = active >= i && active < end ? active - i : -1;
    std::vector<ModelItem> run(items.begin() + i, items.begin() + end);
    items.erase(items.begin() + i, items.begin() + end);
    if (active >= end)
      active -= size;
    if (activeOffset >= 0)
      active = -1;
    const int at = Insert(run, target >= end ? target - size : target);
    if (activeOffset >= 0)
      active = at + activeOffset;
    return true;
  }
  std::string Path(int i) const {
    std::string path = "\\" + items[i].name;
    int reached = items[i].depth;
    for (int j = i - 1; j >= 0 && reached >= 2; --j) {
      if (items[j].folder && items[j].depth < reached) {
        path = "\\" + items[j].name + path;
        reached = items[j].depth;
      }
    }
    return path;
  }
};

// Windows-1252 upper case, written independently of the OS layer.
std::string Upper1252(const std::string& text) {
  std::string out = text;
  for (char& ch : out) {
    unsigned c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
      c -= 0x20;
    else if (c == 0x9A || c == 0x9C || c == 0x9E)
      c -= 0x10;
    else if (c == 0xFF)
      c = 0x9F;
    ch = static_cast<char>(c);
  }
  return out;
}

// A name from a small alphabet, so that names and paths repeat in either case.
std::string RandomName(std::mt19937& rng) {
  static const char* const parts[] = {"a", "B", "\xE9", "\xC9", "\x9A", "\x8A", "\xFF", "x y", "1"};
  std::string name;
  const int length = 1 + int(rng() % 3);
  for (int i = 0; i < length; ++i) name += parts[rng() % (sizeof parts / sizeof parts[0])];
  return name;
}

std::string FlipCase(const std::string& text, std::mt19937& rng) {
  std::string out;
  for (char ch : text) {
    const std::string one(1, ch);
    out += (rng() % 2) ? Upper1252(one) : one;
  }
  return out;
}

struct HeldRun {
  CTreeItem* chain;
  std::vector<ModelItem> model;
};

void CompareWithModel(CWorkBook& book, const Model& model, std::mt19937& rng) {
  char message[200] = "";
  ASSERT_TRUE(book.CheckTreeInvariants(message, sizeof message)) << message;
  ASSERT_EQ(book.worksheetCount, uint32_t(model.Sheets(0, int(model.items.size()))));
  ASSERT_EQ(book.worksheetCount + book.folderCount, model.items.size());
  ASSERT_EQ(book.IndexOfItem(book.activeWorksheet), model.active);
  int i = 0;
  for (CTreeItem* item = book.firstItem; item; item = item->next, ++i) {
    const ModelItem& expected = model.items[i];
    ASSERT_EQ(item->name, expected.name) << "item " << i;
    ASSERT_EQ(item->IsFolder(), expected.folder) << "item " << i;
    ASSERT_EQ(item->depth, expected.depth) << "item " << i;
    if (!expected.folder) {
      ASSERT_EQ(NumberAt(CWorkSheet::FromItem(item), 0, 0), expected.tag) << "item " << i;
    }
    const std::string path = model.Path(i);
    ASSERT_EQ(PathOf(item), path.size() < kTreePathCapacity ? path : "<too long>");
  }
  // A lookup by a case-scrambled path finds the first item of that path.
  for (int probe = 0; probe < 3 && !model.items.empty(); ++probe) {
    const int wanted = int(rng() % model.items.size());
    const std::string path = model.Path(wanted);
    // Paths too long to build are never found.
    int first = 0;
    while (first < int(model.items.size()) &&
           (model.Path(first).size() >= kTreePathCapacity || Upper1252(model.Path(first)) != Upper1252(path)))
      ++first;
    if (first == int(model.items.size()))
      first = -1;
    ASSERT_EQ(book.IndexOfItem(book.FindItemByPath(FlipCase(path, rng).c_str())), first) << path;
  }
}

void RunRandomTree(uint32_t seed) {
  std::mt19937 rng(seed);
  auto book = MakeWorkbook();
  Model model;
  ASSERT_TRUE(book->NewDocument());
  PutNumber(book->activeWorksheet, 0, 0, 0);
  model.items.push_back({"Worksheet1", false, 1, 0});
  model.active = 0;
  std::vector<HeldRun> held;
  double nextTag = 1;

  for (int step = 0; step < 600; ++step) {
    const int size = int(model.items.size());
    const int pick = int(rng() % size);
    const int target = (rng() % 8 == 0) ? -1 : int(rng() % size);
    const unsigned op = rng() % (size > 30 ? 4 : 10);  // keep the tree small
    if (op == 0 || op == 1) {  // remove, keeping some runs for re-insertion
      std::vector<ModelItem> run;
      const bool removed = model.Remove(pick, &run);
      CTreeItem* item = book->ItemByIndex(pick);
      ASSERT_EQ(book->RemoveItem(item), removed);
      if (removed) {
        ASSERT_EQ(item->previous, nullptr);
        if (rng() % 2)
          held.push_back({item, run});
        else
          book->DeleteItems(item);
      }
    } else if (op == 2 && !held.empty()) {  // re-insert a removed run
      HeldRun run = held.back();
      held.pop_back();
      model.Insert(run.model, target);
      book->InsertItems(run.chain, target < 0 ? nullptr : book->ItemByIndex(target));
    } else if (op == 3) {  // copy a subtree
      // The copies' containers take ids free in the workbook, which held runs
      // may carry: a new edit discards them, as the history does.
      for (HeldRun& run : held) book->DeleteItems(run.chain);
      held.clear();
      std::vector<ModelItem> copy(model.items.begin() + pick, model.items.begin() + model.RunEnd(pick));
      CTreeItem* chain = book->CopyTreeItems(book->ItemByIndex(pick));
      ASSERT_NE(chain, nullptr);
      model.Insert(copy, target);
      book->InsertItems(chain, target < 0 ? nullptr : book->ItemByIndex(target));
    } else if (op == 4 && rng() % 2) {  // move a run, sometimes back again as undo does
      CTreeItem* item = book->ItemByIndex(pick);
      const uint16_t depth = item->depth;
      const Model before = model;
      const bool moved = model.Move(pick, target);
      ASSERT_EQ(book->MoveItems(item, target < 0 ? nullptr : book->ItemByIndex(target)), moved);
      if (moved && rng() % 2) {
        CompareWithModel(*book, model, rng);
        ASSERT_TRUE(book->MoveItemsTo(item, pick, depth));
        model = before;
      }
    } else if (op == 4) {  // rename
      const std::string name = RandomName(rng);
      model.items[pick].name = name;
      book->ItemByIndex(pick)->SetName(name.c_str());
    } else {  // a new folder or worksheet
      const bool folder = rng() % 3 == 0;
      const std::string name = RandomName(rng);
      CTreeItem* item;
      if (folder) {
        item = NewFolderItem(name.c_str(), 1);
      } else {
        CWorkSheet* sheet = NewWorksheet(name.c_str(), 1);
        PutNumber(sheet, 0, 0, nextTag);
        if (rng() % 3 == 0) {
          // Runs held for re-insertion would bring back ids that a new
          // container may take; the history discards them on a new edit too.
          for (HeldRun& run : held) book->DeleteItems(run.chain);
          held.clear();
          auto* container = new ContainerRecord;
          ASSERT_TRUE(book->AssignContainerId(container));
          sheet->AddContainer(container);
        }
        item = sheet;
      }
      model.Insert({{name, folder, 1, folder ? 0 : nextTag}}, target);
      book->InsertItems(item, target < 0 ? nullptr : book->ItemByIndex(target));
      nextTag += 1;
    }
    CompareWithModel(*book, model, rng);
    if (testing::Test::HasFatalFailure()) {
      ADD_FAILURE() << "seed " << seed << ", step " << step;
      break;
    }
  }
  for (HeldRun& run : held) book->DeleteItems(run.chain);
}

}  // namespace

TEST(WorksheetTree, RandomEditsMatchModel) {
  for (uint32_t seed : {TestSeed(1), 2u, 3u, 20240611u}) {
    SCOPED_TRACE(SeedTrace(seed));
    RunRandomTree(seed);
    if (testing::Test::HasFatalFailure())
      return;
  }
}
