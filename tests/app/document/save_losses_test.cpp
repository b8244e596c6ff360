// What Save As into each kind would lose of a workbook once the document is
// read back from the new file: what the question before such a save names,
// and that a workbook such a kind holds whole is saved without one.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "app/document/save_losses.h"
#include "core/workbook/workbook.h"
#include "files/dispatch/native_kind.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/grid_view/cell_from_text.h"

namespace {

constexpr uint8_t kDBaseIV = kFormatXBaseFirst + 1;

// The losses as one text, for readable failures.
std::string Named(const SaveLosses& l) {
  std::string text = std::to_string(l.otherWorksheets) + " other";
  const std::pair<bool, const char*> flags[] = {{l.folders, "folders"},       {l.formulas, "formulas"},
                                                {l.formats, "formats"},       {l.containers, "containers"},
                                                {l.firstRow, "first row"},    {l.fieldValues, "field values"}};
  for (const auto& flag : flags)
    if (flag.first) text += std::string(", ") + flag.second;
  return text;
}

class SaveLossesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
  }

  void Type(uint16_t column, uint32_t row, const char* text) {
    CellFromTextResult result;
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), text, row, column, true, true, &result)) << text;
    ASSERT_TRUE(book.Recalculate(nullptr));
  }
  // The losses of the kind; an xBase kind is judged with the description
  // derived from the active worksheet, as Save As derives it.
  SaveLosses Losses(uint8_t kind) {
    XBaseTable table;
    table.dialect = kind;
    const bool xbase = kind >= kFormatXBaseFirst && kind <= kFormatXBaseLast;
    if (xbase) {
      EXPECT_TRUE(book.BuildXBaseFields(sheet, &table));
    }
    return FindSaveLosses(book, kind, xbase ? &table : nullptr);
  }

  CWorkBook book;
  CWorkSheet* sheet = nullptr;
  PortableTextMeasurer measurer;
};

// The workbook: three sheets, a folder, a formula and a chart box.
TEST_F(SaveLossesTest, EachKindNamesWhatItCannotKeep) {
  Type(0, 0, "10");
  Type(1, 0, "=A1*2");
  Type(0, 1, "5");
  book.InsertItems(NewWorksheet("beta", 1), nullptr);
  CWorkSheetTree::CTreeItem* folder = NewFolderItem("F", 1);
  book.InsertItems(folder, nullptr);
  book.InsertItems(NewWorksheet("gamma", 1), folder);
  auto* container = new ContainerRecord;
  ASSERT_TRUE(book.AssignContainerId(container));
  sheet->AddContainer(container);

  EXPECT_FALSE(Losses(kFormatNative).Any());
  EXPECT_EQ(Named(Losses(kFormatExcelXml)), "0 other, folders, containers");
  EXPECT_EQ(Named(Losses(kFormatText)), "2 other, folders, formulas, containers");
  // The first row's 10 and 20 become field names; 5 comes back.
  EXPECT_EQ(Named(Losses(kFormatXBaseFirst)), "2 other, folders, formulas, containers, first row");
  // Only the active worksheet's own content counts beside the others.
  book.activeWorksheet = CWorkSheet::FromItem(book.FindItemByPath("\\beta"));
  sheet = book.activeWorksheet;
  EXPECT_EQ(Named(Losses(kDBaseIV)), "2 other, folders");
}

TEST_F(SaveLossesTest, AWorksheetOfValuesIsSavedWholeByEveryKind) {
  Type(0, 0, "NAME");
  Type(1, 0, "AMOUNT");
  Type(0, 1, "Ann");
  Type(1, 1, "12.25");
  for (uint8_t kind = kFormatNative; kind <= kFormatXBaseLast; ++kind) {
    // dBase III+ and Clipper derive whole-number fields.
    const bool wholeNumbers = kind == kFormatXBaseFirst || kind == kFormatXBaseLast;
    EXPECT_EQ(Named(Losses(kind)), wholeNumbers ? "0 other, field values" : "0 other") << int(kind);
  }
}

// Formats are the styles of cells and columns, column widths and the row
// heights the user fixed; the heights rows take by themselves are not, nor
// the red rows a table's deleted records are read as, which a table writes
// back as deletion marks.
TEST_F(SaveLossesTest, FormatsAreStylesWidthsAndFixedHeights) {
  Type(0, 1, "Ann");
  ASSERT_TRUE(sheet->format.rows.SetRow(1, 40, false));
  EXPECT_FALSE(Losses(kFormatText).Any());

  const struct {
    const char* name;
    std::function<void()> change;
  } formats[] = {
      {"a percent typed", [this] { Type(0, 1, "12%"); }},
      {"a column width", [this] { sheet->format.columns[3].SetWidth(90, false); }},
      {"a column style", [this] { sheet->format.columns[3].SetStyle(1); }},
      {"a fixed row height", [this] { ASSERT_TRUE(sheet->format.rows.SetRow(5, 30, true)); }},
  };
  for (const auto& f : formats) {
    SCOPED_TRACE(f.name);
    ASSERT_TRUE(book.NewDocument());
    sheet = book.activeWorksheet;
    f.change();
    EXPECT_TRUE(Losses(kFormatText).formats);
    EXPECT_TRUE(Losses(kDBaseIV).formats);
    EXPECT_FALSE(Losses(kFormatExcelXml).formats);
  }

  ASSERT_TRUE(book.NewDocument());
  sheet = book.activeWorksheet;
  Type(0, 1, "deleted");
  StyleRecord red = book.styles.StyleAt(0);
  red.fontColorSet = 1;
  red.fontColor = 0x0000FF;
  uint16_t style = 0;
  ASSERT_TRUE(book.styles.FindOrAddStyle(red, &style));
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{0, kMaxColumn, 1, style}, nullptr));
  EXPECT_FALSE(Losses(kDBaseIV).formats);
  EXPECT_TRUE(Losses(kFormatText).formats);
  // Red on a part of the row is a format of its own.
  ASSERT_TRUE(sheet->format.runs.InsertRun(StyleRun{0, 3, 2, style}, nullptr));
  EXPECT_TRUE(Losses(kDBaseIV).formats);
}

}  // namespace
