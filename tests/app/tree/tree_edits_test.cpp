// The tree pane's view of the workbook's preorder list, and the edits it
// makes there: new items, removal and drops, each one undo step.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/tree/tree_edits.h"
#include "app/tree/tree_placement.h"
#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"
#include "tests/core/book_of_items.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// The list as "name:depth" words, folders ending in "/".
std::string List(const CWorkBook& book) {
  std::string out;
  for (CTreeItem* item = book.firstItem; item; item = item->next)
    out += std::string(out.empty() ? "" : " ") + item->name + (item->IsFolder() ? "/" : "") + ":" +
           std::to_string(item->depth);
  return out;
}

CTreeItem* Named(const CWorkBook& book, const char* name) {
  for (CTreeItem* item = book.firstItem; item; item = item->next)
    if (std::string(item->name) == name) return item;
  return nullptr;
}

std::string NameOf(const CTreeItem* item) { return item ? item->name : "-"; }

TEST(TreePlacement, ParentsAndSiblingsFollowThePreorderList) {
  auto book = BookOfItems({{"A", 1}, {"F/", 1}, {"F1", 2}, {"G/", 2}, {"G1", 3}, {"F2", 2}, {"B", 1}, {"E/", 1}});
  // Item: parent, sibling before it.
  const char* expected[][3] = {{"A", "-", "-"},  {"F", "-", "A"},  {"F1", "F", "-"}, {"G", "F", "F1"},
                               {"G1", "G", "-"}, {"F2", "F", "G"}, {"B", "-", "F"},  {"E", "-", "B"}};
  TreeFolderStack folders;
  int i = 0;
  for (CTreeItem* item = book->firstItem; item; item = item->next, ++i) {
    const TreePlacement place = PlaceTreeItem(item);
    EXPECT_EQ(NameOf(item), expected[i][0]);
    EXPECT_EQ(NameOf(place.parent), expected[i][1]) << item->name;
    EXPECT_EQ(NameOf(place.after), expected[i][2]) << item->name;
    // Filling the whole tree finds the same parents.
    EXPECT_EQ(folders.ParentOf(item->depth), static_cast<void*>(place.parent)) << item->name;
    if (item->IsFolder()) {
      ASSERT_TRUE(folders.OpenFolder(item->depth, item));
    }
  }
}

// Folders nested deeper than any fixed table of parents still find theirs.
TEST(TreePlacement, DeepFoldersKeepTheirParents) {
  TreeFolderStack folders;
  std::vector<int> handles(700);
  for (uint16_t depth = 1; depth <= 700; ++depth) {
    EXPECT_EQ(folders.ParentOf(depth), depth == 1 ? nullptr : &handles[depth - 2]);
    ASSERT_TRUE(folders.OpenFolder(depth, &handles[depth - 1]));
  }
  EXPECT_EQ(folders.ParentOf(2), &handles[0]);
  EXPECT_EQ(folders.ParentOf(1), nullptr);
}

// The number is the count's next one, or the next its folder holds no item
// of: a new item never repeats a sibling's name.
TEST(TreeEdits, NewItemsAreNumberedByCountAndLinkedAtTheSelection) {
  const struct {
    int selected;  // index in the list; -1 nothing selected
    bool folder;
    const char* list;
  } cases[] = {
      {-1, false, "Worksheet3:1 F/:1 Worksheet3:2 Worksheet4:1"},
      {0, true, "Worksheet3:1 F/:1 Worksheet3:2 Folder2/:1"},
      {2, true, "Worksheet3:1 F/:1 Worksheet3:2 Folder2/:2"},
      {1, false, "Worksheet3:1 F/:1 Worksheet3:2 Worksheet4:2"},
  };
  for (const auto& c : cases) {
    // Two worksheets, both already named as the next new one.
    auto book = BookOfItems({{"Worksheet3", 1}, {"F/", 1}, {"Worksheet3", 2}});
    CTreeItem* selected = c.selected < 0 ? nullptr : book->ItemByIndex(c.selected);
    CTreeItem* item = LinkNewTreeItem(book.get(), c.folder, selected);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(List(*book), c.list) << c.selected;
    char message[200] = {};
    EXPECT_TRUE(book->CheckTreeInvariants(message, sizeof message)) << message;
  }
}

TEST(TreeEdits, RemovalIsOneStepAndNeverTakesTheLastWorksheet) {
  auto book = BookOfItems({{"S", 1}, {"F/", 1}, {"T", 2}});
  EXPECT_FALSE(RemoveTreeItem(book.get(), Named(*book, "F")) && RemoveTreeItem(book.get(), Named(*book, "S")));
  EXPECT_EQ(List(*book), "S:1");
  EXPECT_EQ(book->error, kWorkbookLastWorksheet);
  EXPECT_EQ(book->undoHistory.Current(), 0);
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(List(*book), "S:1 F/:1 T:2");
}

TEST(TreeEdits, DropsMoveOrCopyInOneUndoStep) {
  const struct {
    const char* what;
    const char* dragged;
    const char* target;
    bool copied;
    const char* after;
  } cases[] = {
      {"a worksheet into a folder", "A", "F", false, "F/:1 F1:2 G/:2 G1:3 A:2 B:1"},
      {"a worksheet before another", "B", "F1", false, "A:1 F/:1 B:2 F1:2 G/:2 G1:3"},
      {"a folder with its contents before a worksheet", "G", "A", false, "G/:1 G1:2 A:1 F/:1 F1:2 B:1"},
      {"a folder into itself: a copy inside", "F", "G", true,
       "A:1 F/:1 F1:2 G/:2 G1:3 F/:3 F1:4 G/:4 G1:5 B:1"},
      {"a folder onto its own worksheet: a copy before it", "F", "F1", true,
       "A:1 F/:1 F/:2 F1:3 G/:3 G1:4 F1:2 G/:2 G1:3 B:1"},
      {"a folder onto the root: to the end", "G", nullptr, false, "A:1 F/:1 F1:2 B:1 G/:1 G1:2"},
  };
  for (const auto& c : cases) {
    auto book = BookOfItems({{"A", 1}, {"F/", 1}, {"F1", 2}, {"G/", 2}, {"G1", 3}, {"B", 1}});
    const std::string before = List(*book);
    CWorkSheet* active = book->activeWorksheet;
    TreeDrop drop{};
    CTreeItem* target = c.target ? Named(*book, c.target) : nullptr;
    ASSERT_TRUE(DropTreeItem(book.get(), Named(*book, c.dragged), target, &drop)) << c.what;
    EXPECT_EQ(drop.copied, c.copied) << c.what;
    ASSERT_TRUE(RecordTreeDrop(book.get(), &drop)) << c.what;
    const std::string after = List(*book);
    EXPECT_EQ(after, c.after) << c.what;
    EXPECT_EQ(book->activeWorksheet, active) << c.what;
    EXPECT_EQ(book->undoHistory.Current(), 0) << c.what;
    ASSERT_TRUE(book->UndoStep()) << c.what;
    EXPECT_EQ(List(*book), before) << c.what;
    ASSERT_TRUE(book->RedoStep()) << c.what;
    EXPECT_EQ(List(*book), after) << c.what;

    // A drop the pane cannot show leaves the list as it was.
    auto again = BookOfItems({{"A", 1}, {"F/", 1}, {"F1", 2}, {"G/", 2}, {"G1", 3}, {"B", 1}});
    ASSERT_TRUE(DropTreeItem(again.get(), Named(*again, c.dragged), c.target ? Named(*again, c.target) : nullptr,
                             &drop));
    RevertTreeDrop(again.get(), &drop);
    EXPECT_EQ(List(*again), before) << c.what;
    EXPECT_EQ(again->worksheetCount, 4u) << c.what;
    EXPECT_EQ(again->undoHistory.Current(), -1) << c.what;
  }
  auto book = BookOfItems({{"A", 1}, {"B", 1}});
  TreeDrop drop{};
  EXPECT_FALSE(DropTreeItem(book.get(), Named(*book, "A"), Named(*book, "A"), &drop));
}

// An item dropped into a folder that already holds its name takes another,
// which its undo gives back; a drop a formula could not follow is refused.
// An item put back by an undo where its name was taken meanwhile (by an
// edit that is no step) takes another too.
TEST(TreeEdits, DroppedOrRestoredItemsNeverRepeatASiblingsName) {
  auto book = BookOfItems({{"A", 1}, {"F/", 1}, {"A", 2}, {"a(1)", 2}, {"Q'/", 1}, {"B", 1}});
  CTreeItem* moved = book->firstItem;
  TreeDrop drop{};
  ASSERT_TRUE(DropTreeItem(book.get(), moved, Named(*book, "F"), &drop));
  ASSERT_TRUE(RecordTreeDrop(book.get(), &drop));
  EXPECT_EQ(List(*book), "F/:1 A:2 a(1):2 A(2):2 Q'/:1 B:1");
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(List(*book), "A:1 F/:1 A:2 a(1):2 Q'/:1 B:1");
  ASSERT_TRUE(book->RedoStep());
  EXPECT_EQ(List(*book), "F/:1 A:2 a(1):2 A(2):2 Q'/:1 B:1");
  ASSERT_TRUE(book->UndoStep());
  // Taken back before it was recorded, with its name.
  ASSERT_TRUE(DropTreeItem(book.get(), moved, Named(*book, "F"), &drop));
  RevertTreeDrop(book.get(), &drop);
  EXPECT_EQ(List(*book), "A:1 F/:1 A:2 a(1):2 Q'/:1 B:1");

  // Into "Q'" a worksheet whose name holds a double quote.
  Named(*book, "B")->SetName("say \"x\"");
  EXPECT_FALSE(DropTreeItem(book.get(), Named(*book, "say \"x\""), Named(*book, "Q'"), &drop));
  EXPECT_EQ(book->error, kWorkbookPathUnwritable);
  EXPECT_EQ(List(*book), "A:1 F/:1 A:2 a(1):2 Q'/:1 say \"x\":1");

  ASSERT_TRUE(RemoveTreeItem(book.get(), moved));
  Named(*book, "F")->SetName("a");
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(List(*book), "A(1):1 a/:1 A:2 a(1):2 Q'/:1 say \"x\":1");
  char message[200] = {};
  EXPECT_TRUE(book->CheckTreeInvariants(message, sizeof message)) << message;
}

// A removed item whose sibling took its name meanwhile comes back under a
// numbered name only when its path stays as short as a formula can name:
// otherwise the undo is refused, saying why, and the item stays in the step
// until the name is free again.
TEST(TreeEdits, ARestoredItemWhoseNewNameNoFormulaCouldWriteWaits) {
  // "\f...\g...\S1" at the longest.
  const std::string f(100, 'f');
  const std::string g(kLongestNameablePath - 1 - f.size() - 1 - 1 - 2, 'g');
  const std::string folder = f + "/:1 " + g;
  auto book = BookOfItems({{"Top", 1}, {f + "/", 1}, {g + "/", 2}, {"S1", 3}, {"S2", 3}});
  ASSERT_TRUE(book->undoHistory.SetLevels(10));
  ASSERT_TRUE(RemoveTreeItem(book.get(), Named(*book, "S1")));
  Named(*book, "S2")->SetName("S1");
  EXPECT_FALSE(book->UndoStep());
  EXPECT_EQ(book->error, kWorkbookPathTooLong);
  EXPECT_EQ(List(*book), "Top:1 " + folder + "/:2 S1:3");
  char message[200] = {};
  EXPECT_TRUE(book->CheckTreeInvariants(message, sizeof message)) << message;

  Named(*book, "S1")->SetName("S2");
  ASSERT_TRUE(book->UndoStep());
  EXPECT_EQ(List(*book), "Top:1 " + folder + "/:2 S1:3 S2:3");
  EXPECT_TRUE(book->CheckTreeInvariants(message, sizeof message)) << message;
}

}  // namespace
