// The rules of the workbook's tree interface: indexes into the flat list,
// sibling walks, and the edits a client makes.

#include "automation/tree/tree_interface.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// A workbook whose tree is given as "name:depth" words, a name starting with
// "F" a folder. Workbooks are large: they live on the heap.
class TreeOf {
 public:
  explicit TreeOf(std::initializer_list<const char*> items) {
    CTreeItem* last = nullptr;
    for (const char* word : items) {
      const std::string text(word);
      const std::string name = text.substr(0, text.find(':'));
      const uint16_t depth = static_cast<uint16_t>(std::stoi(text.substr(text.find(':') + 1)));
      CTreeItem* item = name[0] == 'F' ? NewFolderItem(name.c_str(), depth) : NewWorksheet(name.c_str(), depth);
      book.AppendLoadedItem(item, &last);
      if (!book.activeWorksheet && item->IsWorksheet()) book.activeWorksheet = CWorkSheet::FromItem(item);
    }
  }
  // The tree as "name:depth" words again.
  std::string Words() const {
    std::string out;
    for (const CTreeItem* item = book.firstItem; item; item = item->next)
      out += (out.empty() ? "" : " ") + std::string(item->name) + ":" + std::to_string(item->depth);
    return out;
  }
  std::unique_ptr<CWorkBook> owned = std::make_unique<CWorkBook>();
  CWorkBook& book = *owned;
};

using Walk = TreeAnswer (*)(const CWorkBook&, int32_t, int32_t*);

TEST(TreeInterface, WalksFindChildrenAndSiblingsAtTheirTrueIndexes) {
  TreeOf nested({"Folder1:1", "Sheet1:2", "Sheet2:1"});
  TreeOf flat({"Sheet1:1", "Folder1:1", "Sheet2:2", "Sheet3:1"});
  const struct {
    const CWorkBook& book;
    Walk walk;
    int32_t index;
    int32_t expected;
  } cases[] = {
      {nested.book, FirstChildIndex, 0, 1},       {nested.book, NextSiblingIndex, 0, 2},
      {nested.book, NextSiblingIndex, 1, -1},     {nested.book, PreviousSiblingIndex, 2, 0},
      {nested.book, PreviousSiblingIndex, 1, -1}, {flat.book, PreviousSiblingIndex, 3, 1},
      {flat.book, FirstChildIndex, 0, -1},        {flat.book, FirstChildIndex, 1, 2},
      {flat.book, NextSiblingIndex, 2, -1},       {flat.book, NextSiblingIndex, 3, -1},
      // An index below 1 is the first item, and answers are its true places.
      {nested.book, FirstChildIndex, -5, 1},      {nested.book, NextSiblingIndex, -5, 2},
      {flat.book, PreviousSiblingIndex, -5, -1},
  };
  for (const auto& c : cases) {
    int32_t found = 99;
    EXPECT_EQ(c.walk(c.book, c.index, &found), kTreeDone) << c.index;
    EXPECT_EQ(found, c.expected) << c.index;
  }
  // Past the end, or in an empty workbook, no item answers and the result
  // stays as it was.
  TreeOf emptyTree({});
  const CWorkBook& empty = emptyTree.book;
  for (Walk walk : {FirstChildIndex, NextSiblingIndex, PreviousSiblingIndex}) {
    int32_t found = 99;
    EXPECT_EQ(walk(nested.book, 3, &found), kTreeNoItem);
    EXPECT_EQ(walk(empty, 0, &found), kTreeNoItem);
    EXPECT_EQ(found, 99);
  }
}

TEST(TreeInterface, InsertsWhereTheTargetSays) {
  const struct {
    int32_t insertAt;
    int type;
    TreeAnswer answer;
    int32_t index;
    const char* tree;
  } cases[] = {
      {-1, 2, kTreeDone, 4, "Folder1:1 Sheet1:2 Folder2:2 Sheet2:1 New:1"},
      {0, 1, kTreeDone, 3, "Folder1:1 Sheet1:2 Folder2:2 New:2 Sheet2:1"},
      {2, 1, kTreeDone, 3, "Folder1:1 Sheet1:2 Folder2:2 New:3 Sheet2:1"},
      {1, 2, kTreeDone, 1, "Folder1:1 New:2 Sheet1:2 Folder2:2 Sheet2:1"},
      {-7, 1, kTreeDone, 3, "Folder1:1 Sheet1:2 Folder2:2 New:2 Sheet2:1"},
      {4, 1, kTreeNoItem, -1, "Folder1:1 Sheet1:2 Folder2:2 Sheet2:1"},
      {1, 3, kTreeBadType, -1, "Folder1:1 Sheet1:2 Folder2:2 Sheet2:1"},
      {-1, 0, kTreeBadType, -1, "Folder1:1 Sheet1:2 Folder2:2 Sheet2:1"},
  };
  for (const auto& c : cases) {
    TreeOf tree({"Folder1:1", "Sheet1:2", "Folder2:2", "Sheet2:1"});
    int32_t index = -1;
    EXPECT_EQ(InsertTreeItem(tree.book, c.insertAt, c.type, "New", &index), c.answer) << c.insertAt;
    EXPECT_EQ(index, c.index) << c.insertAt;
    EXPECT_EQ(tree.Words(), c.tree) << c.insertAt;
    EXPECT_TRUE(tree.book.CheckTreeInvariants()) << c.insertAt;
  }
}

TEST(TreeInterface, AWorksheetInsertedIntoAnEmptyWorkbookBecomesActive) {
  TreeOf empty({});
  CWorkBook& book = empty.book;
  int32_t index = -1;
  ASSERT_EQ(InsertTreeItem(book, 3, kTreeItemFolder, "Folder", &index), kTreeDone);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(book.activeWorksheet, nullptr);
  ASSERT_EQ(InsertTreeItem(book, -1, kTreeItemWorksheet, "Sheet", &index), kTreeDone);
  ASSERT_NE(book.activeWorksheet, nullptr);
  EXPECT_STREQ(book.activeWorksheet->name, "Sheet");
  EXPECT_EQ(book.evaluator.sheet, &book.activeWorksheet->cells);
  EXPECT_EQ(book.worksheetCount, 1u);
  EXPECT_EQ(book.folderCount, 1u);
  EXPECT_EQ(CountTreeItems(book), 2);
}

TEST(TreeInterface, DeletesItemsWithTheirContentsButKeepsAWorksheet) {
  TreeOf tree({"Folder1:1", "Sheet1:2", "Sheet2:2", "Sheet3:1"});
  tree.book.activeWorksheet = CWorkSheet::FromItem(tree.book.ItemByIndex(1));
  tree.book.evaluator.sheet = &tree.book.activeWorksheet->cells;
  EXPECT_EQ(DeleteTreeItem(tree.book, 4), kTreeNoItem);
  ASSERT_EQ(DeleteTreeItem(tree.book, 0), kTreeDone);
  EXPECT_EQ(tree.Words(), "Sheet3:1");
  EXPECT_STREQ(tree.book.activeWorksheet->name, "Sheet3");
  EXPECT_EQ(tree.book.evaluator.sheet, &tree.book.activeWorksheet->cells);
  EXPECT_EQ(DeleteTreeItem(tree.book, 0), kTreeRefused);
  EXPECT_EQ(tree.book.error, kWorkbookLastWorksheet);
  EXPECT_EQ(tree.Words(), "Sheet3:1");
  EXPECT_EQ(CountTreeItems(tree.book), 1);
}

TEST(TreeInterface, OnlyAWorksheetsPathActivates) {
  TreeOf tree({"Sheet1:1", "Folder1:1", "Sheet2:2"});
  const struct {
    const char* path;
    TreeAnswer answer;
    const char* active;
  } cases[] = {
      {"\\folder1\\SHEET2", kTreeDone, "Sheet2"},
      {"\\Folder1", kTreeNoItem, "Sheet2"},
      {"\\Sheet9", kTreeNoItem, "Sheet2"},
      {"", kTreeNoItem, "Sheet2"},
      {"\\Sheet1", kTreeDone, "Sheet1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ActivateWorksheetAtPath(tree.book, c.path), c.answer) << c.path;
    EXPECT_STREQ(tree.book.activeWorksheet->name, c.active) << c.path;
    EXPECT_EQ(tree.book.evaluator.sheet, &tree.book.activeWorksheet->cells) << c.path;
  }
}

// A client's rename obeys the rules of the tree pane's: no sibling's name
// in any letter case, no backslash, no path a formula could not write;
// blanks around the name are cut and blanks alone are no name. A refused
// rename leaves the item as it was and says why in the workbook's error.
TEST(TreeInterface, AClientsRenameObeysTheTreesRules) {
  const std::string folder = "F" + std::string(99, 'x');
  const size_t room = kLongestNameablePath - 1 - folder.size() - 1;  // for a name inside the folder
  const struct {
    int32_t index;
    std::string name;
    TreeAnswer answer;
    uint8_t error;
    const char* named;  // the item's name afterwards
  } cases[] = {
      {1, "Other", kTreeRefused, kWorkbookNameTaken, "Data"},
      {1, "OTHER", kTreeRefused, kWorkbookNameTaken, "Data"},
      {1, "Other ", kTreeRefused, kWorkbookNameTaken, "Data"},  // as a formula would read it
      {1, "a\\b", kTreeRefused, kWorkbookNameHoldsBackslash, "Data"},
      {1, "it's \"x\"", kTreeRefused, kWorkbookPathUnwritable, "Data"},
      {4, std::string(room + 1, 'n'), kTreeRefused, kWorkbookPathTooLong, "Sheet2"},
      {1, "   ", kTreeNoName, kWorkbookNoError, "Data"},
      {9, "Far", kTreeNoItem, kWorkbookNoError, nullptr},
      {1, "DATA", kTreeDone, kWorkbookNoError, "DATA"},  // its own name in other letters
      {1, "  New  ", kTreeDone, kWorkbookNoError, "New"},
      {4, "Other", kTreeDone, kWorkbookNoError, "Other"},  // a cousin's name
      {4, std::string(room, 'n'), kTreeDone, kWorkbookNoError, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TreeOf tree({"Sheet1:1", "Data:1", "Other:1", (folder + ":1").c_str(), "Sheet2:2"});
    tree.book.error = kWorkbookNoError;
    EXPECT_EQ(RenameTreeItem(tree.book, c.index, c.name.c_str()), c.answer);
    EXPECT_EQ(tree.book.error, c.error);
    const CTreeItem* item = tree.book.ItemByIndex(c.index);
    if (c.named != nullptr) {
      EXPECT_STREQ(item->name, c.named);
    } else if (c.answer == kTreeDone) {
      EXPECT_EQ(item->name, c.name);
    }
  }
}

}  // namespace
