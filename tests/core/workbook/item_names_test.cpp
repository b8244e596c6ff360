// The names the program gives worksheets and folders: a sibling's name is
// never repeated, and every name accepted can be written in a formula and
// read back as the same worksheet.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/formula/formula_ref_text.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"
#include "tests/core/book_of_items.h"
#include "tests/test_random.h"
#include "tests/test_seed.h"

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
  // Worksheet1, "it's" holding O'Neil, G holding a worksheet of a name as
  // long as names go, and Other.
  const std::string longest(127, 'l');
  auto book = BookOfItems({{"Worksheet1", 1}, {"it's/", 1}, {"O'Neil", 2}, {"G/", 1}, {longest, 2}, {"Other", 1}});
  CTreeItem* sheet = book->ItemByIndex(0);
  CTreeItem* folder = book->ItemByIndex(1);
  CTreeItem* inner = book->ItemByIndex(2);
  CTreeItem* g = book->ItemByIndex(3);
  const struct {
    CTreeItem* item;
    std::string name;
    uint8_t refusal;
  } cases[] = {
      {sheet, "Other", kWorkbookNameTaken},
      {sheet, "OTHER", kWorkbookNameTaken},
      {sheet, "IT'S", kWorkbookNameTaken},
      {sheet, "WORKSHEET1", kWorkbookNoError},  // its own name in other letters
      {sheet, "A\\B", kWorkbookNameHoldsBackslash},
      {sheet, "it's \"x\"", kWorkbookPathUnwritable},
      {sheet, "say \"x\"", kWorkbookNoError},
      {inner, "say \"x\"", kWorkbookPathUnwritable},  // under "it's"
      {folder, "a\"b", kWorkbookPathUnwritable},      // over "O'Neil"
      {inner, "Other", kWorkbookNoError},             // a cousin's name
      // Its contents' paths grow too: "\G\" and 127 characters inside it.
      {g, std::string(kLongestNameablePath - 129 + 1, 'e'), kWorkbookPathTooLong},
      {g, std::string(kLongestNameablePath - 129, 'e'), kWorkbookNoError},
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

// The longest path the tree gives an item is the longest a formula can
// name before every reference, the farthest range included: typed in A1,
// stored in R1C1 and shown again, and written by the reference printer. One
// character more and some reference could not follow it.
TEST(ItemNames, TheLongestPathIsTheLongestAFormulaCanNameBeforeAnyReference) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  for (const size_t length : {kLongestNameablePath, kLongestNameablePath + 1}) {
    SCOPED_TRACE(length);
    // Two folders and a worksheet whose path has the length.
    const std::string f(100, 'F');
    const std::string g(length - 1 - f.size() - 1 - 1 - 4, 'G');
    auto book = BookOfItems({{"Top", 1}, {f + "/", 1}, {g + "/", 2}, {"Deep", 3}});
    CTreeItem* deep = book->ItemByIndex(3);
    char path[kTreePathCapacity];
    ASSERT_TRUE(deep->GetFullPath(path, sizeof path));
    ASSERT_EQ(std::strlen(path), length);
    const bool fits = length <= kLongestNameablePath;
    EXPECT_EQ(ItemPathsRefusal(book->ItemByIndex(1)), fits ? kWorkbookNoError : kWorkbookPathTooLong);

    // In the grid's last cell, "A1" lies as far as a reference can.
    const uint32_t row = kRowCount - 1;
    const uint32_t column = kColumnCount - 1;
    char formula[kFormulaTextCapacity + 1];
    std::snprintf(formula, sizeof formula, "='%s'!A1:A1+'%s'!A1", path, path);
    EXPECT_EQ(book->evaluator.TranslateFormula(formula, sizeof formula, column, row, true), fits) << formula;
    if (fits) {
      EXPECT_NE(std::string(formula).find("!R[-2097151]C[-2046]:R[-2097151]C[-2046]+"), std::string::npos)
          << formula;
      EXPECT_TRUE(book->evaluator.TranslateFormula(formula, sizeof formula, column, row, false)) << formula;
    }
    // The reference printer writes the same range after it.
    EvalValue range;
    range.SetRange(RefCorner{0, 0, kRefCell | kRefRowRelative | kRefColumnRelative},
                   RefCorner{0, 0, kRefCell | kRefRowRelative | kRefColumnRelative}, nullptr);
    book->evaluator.ResetForFormula(column, row);
    char written[kFormulaTextCapacity + 1];
    BoundedText out(written, sizeof written);
    EXPECT_EQ(FormatFormulaRef(book->evaluator, nullptr, path, range, out, true, true), fits);
  }
  ResetGlobalOptions();
}

TEST(ItemNames, TypedNamesLoseTheBlanksAroundThem) {
  const struct {
    std::string typed;
    std::string name;
  } cases[] = {
      {"  Sales  ", "Sales"},
      {"   ", ""},
      {"\r\n", ""},
      {"a b", "a b"},
      {"\tx\t", "\tx\t"},  // a tab is no blank of a formula
      {std::string(126, 'y') + "  z", std::string(126, 'y')},
  };
  for (const auto& c : cases) {
    char name[kTreeItemNameSize];
    TrimTypedItemName(c.typed.c_str(), name);
    EXPECT_EQ(name, c.name) << c.typed;
  }
}

// Names of random characters (quotes, blanks, brackets, operators,
// separators, letters beyond ASCII), each either refused or, renamed
// through the user's rename, written into the formulas that name the
// worksheet: the formula reads the same worksheet, so do its display form
// typed anew and a reference written for the composer, and the undo gives
// every formula its text back letter for letter.
TEST(ItemNames, EveryAcceptedNameReadsBackAsItsWorksheet) {
  ResetGlobalOptions();
  CurrentRegionalSettings() = kGenericRegionalSettings;
  const uint32_t seed = TestSeed(90);
  SCOPED_TRACE(SeedTrace(seed));
  TestRng rng{seed};
  const std::string alphabet = "aZ9_ \"'!:[](){},;=+-$#&%^.\\\xE9\xC4@~R1C";
  uint32_t accepted = 0;
  for (int round = 0; round < 300; ++round) {
    // Top (A1 5) reads Data (A1 7), at the top or in a folder.
    const bool nested = rng.OneIn(2);
    auto book = BookOfItems({{"Top", 1}, {"Folder/", 1}, {"Data", nested ? uint16_t(2) : uint16_t(1)}});
    ASSERT_TRUE(book->undoHistory.SetLevels(10));
    CWorkSheet* top = CWorkSheet::FromItem(book->firstItem);
    CTreeItem* renamed = rng.OneIn(3) ? book->ItemByIndex(1) : book->ItemByIndex(2);
    CWorkSheet* data = CWorkSheet::FromItem(book->ItemByIndex(2));
    const auto put = [&](CWorkSheet* sheet, uint16_t column, const char* text) {
      NumFormatParams format{};
      alignas(8) uint8_t record[kCellInputCapacity];
      book->evaluator.sheet = &sheet->cells;
      const uint32_t size = CWorkSheet::ParseCellInput(book.get(), text, &format, 0, column, record, sizeof record);
      return size != 0 && sheet->cells.InsertCell(AsCellRecord(record), nullptr);
    };
    const auto value = [&](uint16_t column) {
      const CellRecord* cell = top->cells.GetCell(0, column);
      return cell && cell->IsFormula() && cell->ErrorCode() == 0 ? cell->CachedNumber() : -1.0;
    };
    const auto formula = [&](uint16_t column) {
      const CellRecord* cell = top->cells.GetCell(0, column);
      return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "-";
    };
    ASSERT_TRUE(put(data, 0, "7"));
    ASSERT_TRUE(put(top, 0, nested ? "='\\folder\\DATA'!A1" : "=data!A1+0"));

    std::string name;
    const int length = 1 + int(rng.Below(12));
    for (int i = 0; i < length; ++i) name += alphabet[rng.Below(uint32_t(alphabet.size()))];
    char trimmed[kTreeItemNameSize];
    TrimTypedItemName(name.c_str(), trimmed);
    SCOPED_TRACE("name [" + name + "]");
    if (trimmed[0] == '\0' || ItemNameRefusal(renamed, trimmed) != kWorkbookNoError) {
      EXPECT_FALSE(trimmed[0] != '\0' && book->RenameItem(renamed, trimmed));
      continue;
    }
    ++accepted;
    ASSERT_TRUE(book->Recalculate(nullptr));
    const std::string before = formula(0);
    ASSERT_EQ(value(0), 7);
    ASSERT_TRUE(book->RenameItem(renamed, trimmed));
    ASSERT_TRUE(book->Recalculate(nullptr));
    EXPECT_EQ(value(0), 7) << formula(0);

    // Its display form typed anew, and a reference written with the path.
    char display[kFormulaTextCapacity + 1];
    std::snprintf(display, sizeof display, "%s", formula(0).c_str());
    book->evaluator.sheet = &top->cells;
    ASSERT_TRUE(book->evaluator.TranslateFormula(display, sizeof display, 0, 0, false)) << formula(0);
    ASSERT_TRUE(put(top, 1, display)) << display;
    char path[kTreePathCapacity];
    ASSERT_TRUE(data->GetFullPath(path, sizeof path));
    EvalValue cell;
    cell.SetRange(RefCorner{0, 0, kRefCell}, RefCorner{0, 0, kRefCell}, nullptr);
    char written[kFormulaTextCapacity + 1] = "=";
    BoundedText out(written + 1, sizeof written - 1);
    ASSERT_TRUE(FormatFormulaRef(book->evaluator, nullptr, path, cell, out, false, false));
    ASSERT_TRUE(put(top, 2, written)) << written;
    ASSERT_TRUE(book->Recalculate(nullptr));
    EXPECT_EQ(value(1), 7) << display;
    EXPECT_EQ(value(2), 7) << written;

    ASSERT_TRUE(book->UndoStep());
    EXPECT_EQ(formula(0), before);
    ASSERT_TRUE(book->RedoStep());
    ASSERT_TRUE(book->UndoStep());
    EXPECT_EQ(formula(0), before);
  }
  EXPECT_GT(accepted, 100u);
  ResetGlobalOptions();
}

}  // namespace
