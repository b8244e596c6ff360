// The names the program gives worksheets and folders: a sibling's name is
// never repeated.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"
#include "tests/core/book_of_items.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

TEST(ItemNames, MakeUniqueNameNumbersPastEverySibling) {
  const std::string longName(127, 'n');
  const struct {
    const char* why;
    std::vector<ItemRow> rows;
    int renamed;  // the item linked where a sibling may bear its name
    std::string expected;
  } cases[] = {
      {"no sibling bears it", {{"A", 1}, {"F/", 1}, {"B", 2}}, 2, "B"},
      {"a cousin does not count", {{"A", 1}, {"F/", 1}, {"A", 2}}, 2, "A"},
      {"the first free number", {{"A", 1}, {"A(1)", 1}, {"A", 1}}, 2, "A(2)"},
      {"letter case aside", {{"Sales", 1}, {"sales", 1}}, 1, "sales(1)"},
      {"a number in parentheses goes on", {{"Q(3)", 1}, {"Q(3)", 1}, {"Q(4)", 1}}, 1, "Q(5)"},
      {"other parentheses stay", {{"x(a)", 1}, {"x(a)", 1}}, 1, "x(a)(1)"},
      {"inside a folder", {{"F/", 1}, {"S", 2}, {"S(1)", 2}, {"S", 2}, {"S", 1}}, 3, "S(2)"},
      {"cut to stay within 127 characters", {{longName, 1}, {longName, 1}}, 1, std::string(124, 'n') + "(1)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    auto book = BookOfItems(c.rows);
    CTreeItem* item = book->ItemByIndex(c.renamed);
    EXPECT_EQ(UndoHistory::MakeUniqueName(item), c.expected != c.rows[c.renamed].name);
    EXPECT_EQ(item->name, c.expected);
    EXPECT_EQ(FindSiblingNamed(item, item->name), nullptr);
  }
}

TEST(ItemNames, RefusedNamesSayWhy) {
  auto book = BookOfItems({{"Worksheet1", 1}, {"F/", 1}, {"Inner", 2}, {"Other", 1}});
  CTreeItem* sheet = book->ItemByIndex(0);
  CTreeItem* inner = book->ItemByIndex(2);
  const struct {
    CTreeItem* item;
    std::string name;
    uint8_t refusal;
  } cases[] = {
      {sheet, "Other", kWorkbookNameTaken},
      {sheet, "OTHER", kWorkbookNameTaken},
      {sheet, "f", kWorkbookNameTaken},
      {sheet, "WORKSHEET1", kWorkbookNoError},  // its own name in other letters
      {inner, "Other", kWorkbookNoError},       // a cousin's name
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string before = c.item->name;
    EXPECT_EQ(ItemNameRefusal(c.item, c.name.c_str()), c.refusal);
    EXPECT_EQ(c.item->name, before);
    EXPECT_EQ(IsItemNameRefusal(c.refusal), c.refusal != kWorkbookNoError);
  }
  // A refused rename changes nothing and records nothing.
  EXPECT_FALSE(book->RenameItem(sheet, "other"));
  EXPECT_EQ(book->error, kWorkbookNameTaken);
  EXPECT_STREQ(sheet->name, "Worksheet1");
  EXPECT_EQ(book->undoHistory.Current(), -1);
}

}  // namespace
