// Moving or renaming an item of the worksheet tree keeps every formula and
// chart series that named it (or its contents) naming the same worksheet,
// through the drop, its undo and redo, and the saved file.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/tree/tree_edits.h"
#include "core/workbook/item_names.h"
#include "core/base/global_options.h"
#include "core/edit/cell_display_text.h"
#include "dialogs/chart_editor/series_formula.h"
#include "core/model/chart_record.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/numeric_function_table.h"
#include "tests/app/document/workbook_snapshot.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/grid_view/cell_from_text.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

class TreeReferences : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallFunctionLibrary());
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(book.NewDocument());
    ASSERT_TRUE(book.undoHistory.SetLevels(20));
    sheet1 = book.activeWorksheet;
    sheet2 = NewWorksheet("Worksheet2", 1);
    book.InsertItems(sheet2, nullptr);
    folder = NewFolderItem("Folder1", 1);
    book.InsertItems(folder, nullptr);
  }
  void TearDown() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
  }

  void Type(CWorkSheet* sheet, uint16_t column, uint32_t row, const char* text) {
    book.activeWorksheet = sheet;
    CellFromTextResult result;
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), text, row, column, true, false, &result)) << text;
    book.Recalculate(nullptr);
  }
  double Number(CWorkSheet* sheet, uint16_t column, uint32_t row) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    if (!cell || cell->ErrorCode()) return -1;
    return cell->IsFormula() ? cell->CachedNumber() : cell->Number();
  }
  std::string Formula(CWorkSheet* sheet, uint16_t column, uint32_t row) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    return cell && cell->IsFormula() ? std::string(cell->FormulaText(), cell->FormulaLength()) : "-";
  }
  void Drop(CTreeItem* item, CTreeItem* target) {
    TreeDrop drop{};
    ASSERT_TRUE(DropTreeItem(&book, item, target, &drop));
    ASSERT_TRUE(RecordTreeDrop(&book, &drop));
    ASSERT_TRUE(book.Recalculate(nullptr));
  }

  // The formula as the editor shows it, with the addressing option and
  // the separators as they are.
  std::string Shown(CWorkSheet* sheet, uint16_t column, uint32_t row) {
    const CellRecord* cell = sheet->cells.GetCell(row, column);
    char shown[kFormulaTextCapacity + 1] = {};
    if (cell) FormulaDisplayText(book.evaluator, *cell, shown, sizeof shown);
    return shown;
  }

  // A container on the worksheet holding one chart of one series.
  ChartRecord* AddChart(CWorkSheet* sheet, const char* series) {
    auto* container = new ContainerRecord;
    EXPECT_TRUE(book.AssignContainerId(container));
    ChartRecord* chart = NewContainerChart(kChart2D);
    EXPECT_NE(chart, nullptr);
    container->items[0].kind = kItemChart;
    container->items[0].chart = chart;
    container->header.itemCount = 1;
    chart->options.seriesCount = 1;
    std::strcpy(chart->series[0].dataArray, series);
    sheet->AddContainer(container);
    return chart;
  }

  CWorkBook book;
  PortableTextMeasurer measurer;
  CWorkSheet* sheet1 = nullptr;
  CWorkSheet* sheet2 = nullptr;
  CTreeItem* folder = nullptr;
};

TEST_F(TreeReferences, AMovedWorksheetKeepsWhatNamesItThroughUndoAndRedo) {
  Type(sheet1, 0, 0, "12");
  Type(sheet1, 0, 1, "30");
  Type(sheet2, 0, 0, "=\\Worksheet1!A2*2");
  Type(sheet2, 1, 0, "=Worksheet1!A1+1");
  // A formula on the moved worksheet naming one that stays behind.
  Type(sheet1, 1, 0, "=Worksheet2!A1/2");
  ASSERT_EQ(Number(sheet2, 0, 0), 60);
  Drop(sheet1, folder);
  EXPECT_NE(Formula(sheet2, 0, 0).find("\\Folder1\\Worksheet1"), std::string::npos) << Formula(sheet2, 0, 0);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(Number(sheet2, 0, 0), 60);
    EXPECT_EQ(Number(sheet2, 1, 0), 13);
    EXPECT_EQ(Number(sheet1, 1, 0), 30);
    ASSERT_TRUE(book.UndoStep());
    ASSERT_TRUE(book.Recalculate(nullptr));
    EXPECT_EQ(Number(sheet2, 0, 0), 60);
    EXPECT_EQ(Number(sheet2, 1, 0), 13);
    EXPECT_EQ(Number(sheet1, 1, 0), 30);
    ASSERT_TRUE(book.RedoStep());
    ASSERT_TRUE(book.Recalculate(nullptr));
  }
  // The saved file names the worksheet where it stands.
  for (bool xml : {false, true}) {
    auto loaded = snapshot::RoundTrip(&book, xml ? "tree_references.xml" : "tree_references.tlv", xml);
    ASSERT_NE(loaded, nullptr);
    loaded->Recalculate(nullptr);
    EXPECT_EQ(snapshot::Values(*loaded).size(), snapshot::Values(book).size());
    EXPECT_EQ(snapshot::Cells(*loaded), snapshot::Cells(book));
  }
}

TEST_F(TreeReferences, RenamingAFolderOrAWorksheetKeepsWhatNamesThem) {
  CWorkSheet* inner = NewWorksheet("Inner", 1);
  book.InsertItems(inner, folder);
  Type(inner, 0, 0, "7");
  Type(sheet1, 0, 0, "=\\Folder1\\Inner!A1*3");
  Type(sheet2, 0, 0, "=Worksheet1!A1+1");
  ASSERT_TRUE(book.RenameItem(folder, "Sales"));
  ASSERT_TRUE(book.RenameItem(sheet1, "Summary"));
  ASSERT_TRUE(book.Recalculate(nullptr));
  EXPECT_EQ(Number(sheet1, 0, 0), 21);
  EXPECT_EQ(Number(sheet2, 0, 0), 22);
  EXPECT_NE(Formula(sheet1, 0, 0).find("Sales\\Inner"), std::string::npos) << Formula(sheet1, 0, 0);
  ASSERT_TRUE(book.UndoStep());
  ASSERT_TRUE(book.UndoStep());
  ASSERT_TRUE(book.Recalculate(nullptr));
  EXPECT_STREQ(folder->name, "Folder1");
  EXPECT_EQ(Number(sheet1, 0, 0), 21);
  EXPECT_EQ(Number(sheet2, 0, 0), 22);
}

// A chart made from a selection names its worksheet by its full path: the
// chart on a moved worksheet keeps its data, and a chart whose data cannot
// be read keeps that in the chart rather than failing the recalculation.
TEST_F(TreeReferences, AChartOnAMovedWorksheetKeepsItsSeries) {
  Type(sheet1, 0, 0, "12");
  Type(sheet1, 0, 1, "30");
  ChartRecord* chart = AddChart(sheet1, "=\"\\Worksheet1\"!R1C1:R2C1");
  ASSERT_TRUE(book.Recalculate(nullptr));
  ASSERT_EQ(chart->error, 0);
  Drop(sheet1, folder);
  EXPECT_EQ(chart->error, 0);
  EXPECT_NE(std::string(chart->series[0].dataArray).find("\\Folder1\\Worksheet1"), std::string::npos)
      << chart->series[0].dataArray;
  std::strcpy(chart->series[0].dataArray, "=1+");
  EXPECT_TRUE(book.Recalculate(nullptr));
  EXPECT_NE(chart->error, 0);
}

// A rename and a drop give every formula and chart series that named the
// item a text naming it where it stands; their undo gives each the text it
// had, letter for letter, even after the chart was replaced by an edit of
// its container undone in between.
TEST_F(TreeReferences, UndoGivesEveryFormulaAndSeriesItsTextBack) {
  Type(sheet2, 0, 0, "5");
  Type(sheet1, 0, 0, "='\\worksheet2'!A1*2");
  Type(sheet1, 1, 0, "=worksheet2!A1+1");
  ChartRecord* chart = AddChart(sheet1, "='worksheet2'!R1C1:R1C1");
  ContainerRecord* container = sheet1->containers;
  ASSERT_TRUE(book.Recalculate(nullptr));
  const std::string formulas[] = {Formula(sheet1, 0, 0), Formula(sheet1, 1, 0)};
  const std::string series = chart->series[0].dataArray;

  ASSERT_TRUE(book.RenameItem(sheet2, "Data"));
  Drop(sheet2, folder);
  ASSERT_EQ(Number(sheet1, 0, 0), 10);
  EXPECT_EQ(Number(sheet1, 1, 0), 6);
  const std::string moved = Formula(sheet1, 0, 0);
  EXPECT_NE(moved.find("\\Folder1\\Data"), std::string::npos) << moved;
  // The chart is edited and the edit taken back: the worksheet holds a copy.
  book.activeWorksheet = sheet1;
  ASSERT_TRUE(book.undoHistory.RecordContainerChange(&book, container));
  ASSERT_TRUE(book.UndoStep());
  ChartRecord* shown = sheet1->containers->items[0].chart;
  EXPECT_NE(std::string(shown->series[0].dataArray).find("\\Folder1\\Data"), std::string::npos);

  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(book.UndoStep());
    ASSERT_TRUE(book.UndoStep());
    ASSERT_TRUE(book.Recalculate(nullptr));
    EXPECT_EQ(Formula(sheet1, 0, 0), formulas[0]);
    EXPECT_EQ(Formula(sheet1, 1, 0), formulas[1]);
    EXPECT_EQ(std::string(sheet1->containers->items[0].chart->series[0].dataArray), series);
    EXPECT_EQ(Number(sheet1, 0, 0), 10);
    ASSERT_TRUE(book.RedoStep());
    ASSERT_TRUE(book.RedoStep());
    ASSERT_TRUE(book.Recalculate(nullptr));
    EXPECT_EQ(Formula(sheet1, 0, 0), moved);
    EXPECT_EQ(Number(sheet1, 1, 0), 6);
  }
}

// A rename or a drop after which a formula or a chart series could not
// name its worksheet in the room its text has is refused: the item keeps
// its name and place, every text stays as it was and no step is recorded.
// A name that leaves every text room enough is taken.
TEST_F(TreeReferences, AnEditAFormulaOrASeriesCouldNotFollowIsRefusedWhole) {
  Type(sheet2, 0, 0, "5");
  std::string eight = "=";
  for (int i = 0; i < 8; ++i) eight += std::string(i ? "+" : "") + "\\Worksheet2!A1";
  Type(sheet1, 1, 6, eight.c_str());
  Type(sheet1, 0, 0, "=Worksheet2!A1*2");
  ASSERT_EQ(Number(sheet1, 1, 6), 40);
  const std::string typed[] = {Formula(sheet1, 1, 6), Formula(sheet1, 0, 0)};
  const int32_t steps = book.undoHistory.Current();
  const auto expectUnchanged = [&](const char* name) {
    EXPECT_STREQ(sheet2->name, name);
    EXPECT_EQ(book.IndexOfItem(sheet2), 1);
    EXPECT_EQ(sheet2->depth, 1);
    EXPECT_EQ(Formula(sheet1, 1, 6), typed[0]);
    EXPECT_EQ(Formula(sheet1, 0, 0), typed[1]);
    EXPECT_EQ(book.undoHistory.Current(), steps);
  };

  EXPECT_FALSE(book.RenameItem(sheet2, std::string(127, 'M').c_str()));
  EXPECT_EQ(book.error, kWorkbookFormulaTooLong);
  EXPECT_TRUE(IsItemNameRefusal(book.error));
  expectUnchanged("Worksheet2");

  // Into a folder of a long name the path grows past the room too.
  folder->SetName(std::string(127, 'F').c_str());
  TreeDrop drop{};
  EXPECT_FALSE(DropTreeItem(&book, sheet2, folder, &drop));
  EXPECT_EQ(book.error, kWorkbookFormulaTooLong);
  expectUnchanged("Worksheet2");

  // A series as long as its room allows refuses the same way, alone.
  Type(sheet1, 1, 6, "");
  std::string series = "=";
  while (series.size() + 22 < kSeriesFormulaSize - 1)
    series += std::string(series.size() > 1 ? "+" : "") + "'Worksheet2'!R1C1";
  ChartRecord* chart = AddChart(sheet1, series.c_str());
  const std::string written = chart->series[0].dataArray;
  const int32_t before = book.undoHistory.Current();
  EXPECT_FALSE(book.RenameItem(sheet2, "Worksheet2 of the year"));
  EXPECT_EQ(book.error, kWorkbookFormulaTooLong);
  EXPECT_EQ(std::string(chart->series[0].dataArray), written);
  EXPECT_STREQ(sheet2->name, "Worksheet2");
  EXPECT_EQ(book.undoHistory.Current(), before);

  ASSERT_TRUE(book.RenameItem(sheet2, "W2"));
  ASSERT_TRUE(book.Recalculate(nullptr));
  EXPECT_EQ(Number(sheet1, 0, 0), 10);
  EXPECT_NE(std::string(chart->series[0].dataArray).find("\\W2"), std::string::npos);
}

// The addressing and separators a formula is seen in: A1, R1C1 with the
// generic separators (shown as stored) and R1C1 with comma decimals.
struct Sight {
  const char* name;
  uint8_t a1;
  bool commaDecimals;
};
constexpr Sight kSights[] = {{"A1", 1, false}, {"R1C1", 0, false}, {"R1C1, comma decimals", 0, true}};

void LookThrough(const Sight& sight) {
  AddressingA1 = sight.a1;
  CurrentRegionalSettings() = sight.commaDecimals ? RegionalSettings{3, ',', '.', '.', ':', ';', '\\', 1, 1, "", 0}
                                                  : kGenericRegionalSettings;
}

// A rename writes the worksheet's path bare where the formula is kept, but
// it is shown quoted, and A1 references may be longer than the R1C1 ones
// kept: a rename after which a formula it rewrote would show longer than
// 1024 characters in either addressing is refused, though the kept text
// fits, since F2 and Enter would make a text of it. At 1024 characters it
// is taken, and the text shown in every addressing enters again as the
// same formula.
TEST_F(TreeReferences, ARenameIsHeldToTheLongestTextAFormulaItRewritesShows) {
  const struct {
    const char* what;
    uint16_t column;  // where the formula stands
    uint32_t row;
    std::string formula;  // stored as typed in R1C1
    size_t name;          // the longest name the formula leaves room for
    size_t storedThen;    // its stored length with a name one longer
    int longestIn;        // the sight that shows it at 1024 characters
  } cases[] = {
      // In BZS2097151 "R[-1]C" shows as "BZS2097150": 15 + n + 11 * 85.
      {"A1", 2046, 2097150, "=Worksheet2!R[-1]C" + [] {
         std::string refs;
         for (int i = 0; i < 85; ++i) refs += "+R[-1]C";
         return refs;
       }(), 74, 679, 0},
      // The bare path \N... shows quoted: 13 + n + 9 * 100, in A1 12 + n + 8 * 100.
      {"R1C1", 0, 0, "=Worksheet2!R100C100" + [] {
         std::string refs;
         for (int i = 0; i < 100; ++i) refs += "+R100C100";
         return refs;
       }(), 111, 1023, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Type(sheet2, 99, 99, "5");
    LookThrough(kSights[1]);
    Type(sheet1, c.column, c.row, c.formula.c_str());
    ASSERT_EQ(Formula(sheet1, c.column, c.row), c.formula);
    const int32_t steps = book.undoHistory.Current();

    EXPECT_FALSE(book.RenameItem(sheet2, std::string(c.name + 1, 'N').c_str()));
    EXPECT_EQ(book.error, kWorkbookFormulaTooLong);
    EXPECT_STREQ(sheet2->name, "Worksheet2");
    EXPECT_EQ(Formula(sheet1, c.column, c.row), c.formula);
    EXPECT_EQ(book.undoHistory.Current(), steps);
    // What was refused would have been kept in fewer characters.
    EXPECT_EQ(c.formula.size() - std::string("Worksheet2").size() + 1 + c.name + 1, c.storedThen);

    ASSERT_TRUE(book.RenameItem(sheet2, std::string(c.name, 'N').c_str()));
    for (const Sight& sight : kSights) {
      LookThrough(sight);
      EXPECT_EQ(Shown(sheet1, c.column, c.row).size() == kFormulaTextCapacity, &sight == &kSights[c.longestIn])
          << sight.name;
    }
    for (const Sight& sight : kSights) {
      SCOPED_TRACE(sight.name);
      LookThrough(sight);
      const std::string shown = Shown(sheet1, c.column, c.row);
      Type(sheet1, c.column, c.row, shown.c_str());
      EXPECT_NE(Formula(sheet1, c.column, c.row), "-");
      EXPECT_EQ(Shown(sheet1, c.column, c.row), shown);
    }
    LookThrough(kSights[1]);
    Type(sheet1, c.column, c.row, "");
    ASSERT_TRUE(book.RenameItem(sheet2, "Worksheet2"));
  }
}

// A chart series is shown and typed in the chart editor for the cell R1C1
// and holds as many characters as a cell formula: a rename after which a
// series it rewrote would show longer than 1024 characters is refused too.
TEST_F(TreeReferences, ASeriesIsHeldToTheLongestTextTheChartEditorShows) {
  // A whole row shows as "$2000000:$2000000": 22 + n + 18 * 50 in A1.
  std::string series = "=Worksheet2!R2000000";
  for (int i = 0; i < 50; ++i) series += "+R2000000";
  ChartRecord* chart = AddChart(sheet1, series.c_str());
  const int32_t steps = book.undoHistory.Current();
  EXPECT_FALSE(book.RenameItem(sheet2, std::string(103, 'N').c_str()));
  EXPECT_EQ(book.error, kWorkbookFormulaTooLong);
  EXPECT_EQ(std::string(chart->series[0].dataArray), series);
  EXPECT_STREQ(sheet2->name, "Worksheet2");
  EXPECT_EQ(book.undoHistory.Current(), steps);

  ASSERT_TRUE(book.RenameItem(sheet2, std::string(102, 'N').c_str()));
  for (const Sight& sight : kSights) {
    SCOPED_TRACE(sight.name);
    LookThrough(sight);
    char shown[kSeriesFormulaSize] = {};
    ShowSeriesFormula(book.evaluator, chart->series[0].dataArray, shown, sizeof shown);
    EXPECT_EQ(std::strlen(shown) == kFormulaTextCapacity, sight.a1 == 1) << std::strlen(shown);
    char typed[kSeriesFormulaSize] = {};
    ASSERT_TRUE(StoreSeriesFormula(book.evaluator, shown, typed));
    char again[kSeriesFormulaSize] = {};
    ShowSeriesFormula(book.evaluator, typed, again, sizeof again);
    EXPECT_STREQ(again, shown);
  }
}

// Items read from a file keep names the program would not give. A formula
// in F naming its neighbour X by name alone must name it by its full path
// once its worksheet leaves F: a path of 214 characters, longer than a
// formula can name before any reference, refuses the move; at 213 the move
// is taken and the formula keeps its value.
TEST_F(TreeReferences, AMoveThatWouldWriteAPathNoFormulaCanNameIsRefused) {
  const std::string f(127, 'F');
  folder->SetName(f.c_str());
  CWorkSheet* x = NewWorksheet(std::string(kLongestNameablePath + 1 - f.size() - 2, 'X').c_str(), 2);
  CWorkSheet* s = NewWorksheet("S", 2);
  book.InsertItems(x, folder);
  book.InsertItems(s, folder);
  Type(x, 0, 0, "8");
  Type(s, 0, 0, ("='" + std::string(x->name) + "'!A1*2").c_str());
  ASSERT_EQ(Number(s, 0, 0), 16);
  const std::string typed = Formula(s, 0, 0);
  const int32_t steps = book.undoHistory.Current();

  TreeDrop drop{};
  EXPECT_FALSE(DropTreeItem(&book, s, nullptr, &drop));
  EXPECT_EQ(book.error, kWorkbookPathTooLong);
  EXPECT_EQ(s->depth, 2);
  EXPECT_EQ(s->ParentFolder(), folder);
  EXPECT_EQ(Formula(s, 0, 0), typed);
  EXPECT_EQ(book.undoHistory.Current(), steps);

  x->SetName(std::string(kLongestNameablePath - f.size() - 2, 'X').c_str());
  Type(s, 0, 0, ("='" + std::string(x->name) + "'!A1*2").c_str());
  Drop(s, nullptr);
  EXPECT_EQ(s->depth, 1);
  EXPECT_NE(Formula(s, 0, 0).find("\\" + f + "\\" + x->name + "!"), std::string::npos) << Formula(s, 0, 0);
  EXPECT_EQ(Number(s, 0, 0), 16);
}

}  // namespace
