// One recalculation gives the current value on every path: the first pass
// after an edit, a second pass with no edit between, and the workbook saved
// in either native format and loaded again (as stored, and recalculated)
// all show the same cells, value bits and formula texts included.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/numeric_function_table.h"
#include "tests/app/document/workbook_snapshot.h"
#include "view/draw_context/portable_text_measurer.h"
#include "view/grid_view/cell_from_text.h"

namespace {

class PathsAgree : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallFunctionLibrary());
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(book.NewDocument());
  }
  void TearDown() override { ResetGlobalOptions(); }

  // "B12" as column 1, row 11.
  static std::pair<uint16_t, uint32_t> Place(const char* name) {
    uint16_t column = 0;
    while (*name >= 'A' && *name <= 'Z') column = static_cast<uint16_t>(column * 26 + (*name++ - 'A' + 1));
    return {static_cast<uint16_t>(column - 1), static_cast<uint32_t>(std::atoi(name) - 1)};
  }

  // Typed into the cell as the editor stores it, then one recalculation.
  void Type(const char* cell, const char* text) {
    const auto place = Place(cell);
    CellFromTextResult result;
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), text, place.second, place.first, true, false, &result))
        << cell << " " << text;
    book.Recalculate(nullptr);
  }

  std::string Shown(const char* name) {
    const auto place = Place(name);
    const CellRecord* cell = book.activeWorksheet->cells.GetCell(place.second, place.first);
    if (!cell) return "-";
    if (cell->ErrorCode()) return ErrorName(cell->ErrorCode());
    char text[64];
    if (cell->IsFormula() && cell->HasCachedText()) return std::string(cell->CachedText(), cell->CachedTextLength());
    std::snprintf(text, sizeof text, "%.17g", cell->IsFormula() ? cell->CachedNumber() : cell->Number());
    return text;
  }

  // The state after the last edit's one recalculation against a second
  // pass and against both native files, loaded as stored and recalculated.
  void ExpectEveryPathAgrees() {
    const std::string first = snapshot::Cells(book);
    for (bool xml : {false, true}) {
      SCOPED_TRACE(xml ? "native XML" : "binary");
      auto loaded = snapshot::RoundTrip(&book, xml ? "paths_agree.xml" : "paths_agree.tlv", xml);
      ASSERT_NE(loaded, nullptr);
      EXPECT_EQ(snapshot::Cells(*loaded), first) << "as loaded";
      loaded->Recalculate(nullptr);
      EXPECT_EQ(snapshot::Cells(*loaded), first) << "loaded and recalculated";
    }
    book.Recalculate(nullptr);
    EXPECT_EQ(snapshot::Cells(book), first) << "second pass";
  }

  CWorkBook book;
  PortableTextMeasurer measurer;
};

TEST_F(PathsAgree, RootWaitsForItsVariableCell) {
  Type("B2", "=1+1");
  Type("C1", "=B2^2-2");
  Type("A1", "=ROOT(C1,B2,0,3,)");
  Type("B2", "=1/0");
  EXPECT_EQ(Shown("A1"), "#REF!");
  ExpectEveryPathAgrees();
}

TEST_F(PathsAgree, TransposeWaitsForFormulaCellsAndSeesItsOwnCell) {
  Type("A1", "=TRANSPOSE(B1:B1)");
  Type("B1", "=1+1");
  EXPECT_EQ(Shown("A1"), "2");
  ExpectEveryPathAgrees();
  Type("D1", "=SUM(TRANSPOSE(E1:F2))");
  Type("E1", "=1+1");
  Type("F2", "=E1*3");
  EXPECT_EQ(Shown("D1"), "8");
  ExpectEveryPathAgrees();
  Type("A5", "1");
  Type("B5", "2");
  Type("A6", "=SUM(TRANSPOSE(A5:B6))");
  EXPECT_EQ(Shown("A6"), "#CIRC!");
  ExpectEveryPathAgrees();
}

TEST_F(PathsAgree, MatrixFunctionsWaitForChainedFormulaCells) {
  const char* const functions[] = {"=MDETERM(G10:H11)", "=SUM(MINVERSE(G10:H11))", "=SUM(MMULT(G10:H11,G10:H11))",
                                   "=SUM(TRANSPOSE(G10:H11))", "=SUM(MTXGAUSS(G10:H11,G10:G11,,,))"};
  for (const char* formula : functions) {
    SCOPED_TRACE(formula);
    book.activeWorksheet->cells.Clear(true);
    Type("L7", formula);
    Type("H11", "=LARGE(G2:G14,1)");
    Type("G10", "=1000");
    Type("H10", "=1");
    ExpectEveryPathAgrees();
  }
}

TEST_F(PathsAgree, AnEarlyArrayIsNotBlockedByAnotherFormulasOldSpill) {
  Type("A1", "=C6+0");
  Type("C5", "={1,2;3,4}*1");
  Type("C6", "={1,2;3,4}*1");
  ExpectEveryPathAgrees();
}

TEST_F(PathsAgree, FunctionsReadingTheirOwnCellAreCircularEveryPass) {
  const char* const functions[] = {"=CORREL(A1:B2,A1:B2)", "=SLOPE(A1:B2,A1:B2)", "=COVAR(A1:B2,A1:B2)",
                                   "=INTERCEPT(A1:B2,A1:B2)", "=FORECAST(1,A1:B2,A1:B2)", "=MDETERM(A1:B2)",
                                   "=SUM(MINVERSE(A1:B2))", "=SUM(MMULT(A1:B2,A1:B2))",
                                   "=SUM(MTXGAUSS(A1:B2,A1:A2,,,))", "=SUM(A1:B2)", "=PEARSON(A1:B2,A1:B2)"};
  for (const char* formula : functions) {
    SCOPED_TRACE(formula);
    book.activeWorksheet->cells.Clear(true);
    Type("A1", "1");
    Type("B1", "2");
    Type("B2", "4");
    Type("A2", formula);
    EXPECT_EQ(Shown("A2"), "#CIRC!");
    ExpectEveryPathAgrees();
    book.Recalculate(nullptr);
    EXPECT_EQ(Shown("A2"), "#CIRC!");
  }
}

TEST_F(PathsAgree, AnErrorResultKeepsNoEarlierKind) {
  Type("K15", "=COUNTBLANK(H11)");
  Type("H11", "={\"x\";\"x\";\"x\"}");
  Type("H12", "5");
  ExpectEveryPathAgrees();
}

TEST_F(PathsAgree, AZeroDeterminantIsPositiveZero) {
  Type("A1", "=MDETERM({1,2;2,4})");
  EXPECT_EQ(HexBits(book.activeWorksheet->cells.GetCell(0, 0)->CachedNumber()), HexBits(0.0));
  // A negative zero that is stored keeps its sign in both formats.
  Type("A2", "=-0*1");
  Type("A3", "-0");
  Type("A4", "=0*-1");
  EXPECT_EQ(HexBits(book.activeWorksheet->cells.GetCell(3, 0)->CachedNumber()), HexBits(-0.0));
  ExpectEveryPathAgrees();
}

// A summary over whole columns long enough for the pass to list them and a
// table its lookups index: the lists and indexes serve the first pass
// after each edit (a category's text growing moves records under the
// pass), and every path agrees with it.
TEST_F(PathsAgree, WholeColumnSummariesAndLookupsOverLongTables) {
  constexpr uint32_t kRows = 1500;
  for (uint32_t row = 0; row < kRows; ++row) {
    const std::string category = "c" + std::to_string(row % 7);
    const std::string amount = std::to_string(row % 13) + "." + std::to_string(row % 10);
    CellFromTextResult result;
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), category.c_str(), row, 0, true, false, &result));
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), amount.c_str(), row, 1, true, false, &result));
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), std::to_string(row).c_str(), row, 2, true, false,
                                  &result));
  }
  for (int k = 0; k < 7; ++k) {
    const std::string row = std::to_string(k + 1);
    Type(("E" + row).c_str(), ("c" + std::to_string(k)).c_str());
    Type(("F" + row).c_str(), ("=SUMIF(A:A,E" + row + ",B:B)").c_str());
    Type(("G" + row).c_str(), ("=COUNTIF(A:A,E" + row + ")").c_str());
    Type(("H" + row).c_str(), "=MAX(B:B)+SUM(B:B)-MIN(B:B)");
    Type(("I" + row).c_str(), ("=VLOOKUP(" + std::to_string(k * 200) + ",C1:C1500,1,0)").c_str());
  }
  EXPECT_EQ(Shown("G1"), "215");  // rows 0, 7, ... 1498
  EXPECT_EQ(Shown("I7"), "1200");
  // Else the comparison says nothing of them.
  EXPECT_GT(book.evaluator.columnCells.BuildCount(), 0u);
  EXPECT_GT(book.evaluator.lookupIndexes.BuildCount(), 0u);
  ExpectEveryPathAgrees();
  Type("A8", "c3");
  Type("B701", "1000");
  Type("A702", "a category grown long");
  ExpectEveryPathAgrees();
  EXPECT_EQ(Shown("G1"), "214");  // row 7 left c0
  EXPECT_EQ(Shown("H1"), Shown("H7"));
}

// Totals above the columns they read, and one reading them back through a
// cell it sums (a cycle): the pass takes the cells each total gathered
// before evaluating it again, and the first pass after each edit gives
// what a second one and both saved files give.
TEST_F(PathsAgree, TotalsAboveTheirColumnsAgreeOnEveryPath) {
  constexpr uint32_t kRows = 300;
  for (uint32_t row = 3; row < kRows; ++row) {
    const std::string r = std::to_string(row + 1);
    CellFromTextResult result;
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), std::to_string(row % 17).c_str(), row, 0, true, false,
                                  &result));
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), ("=A" + r + "*2").c_str(), row, 1, true, false,
                                  &result));
    const std::string third = row % 5 ? "=B" + r + "+C" + std::to_string(row) : "=IF(A" + r + ">8,\"big\",A" + r + ")";
    ASSERT_TRUE(StoreCellFromText(&book, measurer.Measurer(), third.c_str(), row, 2, true, false, &result));
  }
  Type("B1", "=SUM(B4:B300)");
  Type("C1", "=COUNTIF(C4:C300,\">50\")");
  Type("D1", "=SUMIF(C4:C300,\"big\",A4:A300)");
  Type("E1", "=SUMPRODUCT(A4:A300,B4:B300)+MAX(C:C)");
  ExpectEveryPathAgrees();
  EXPECT_GT(book.evaluator.pendingGather.TakenCount(), 0u);  // else the paths compare nothing new
  // A cell the totals read now reads a total back: a cycle through it.
  Type("B150", "=B1/1000");
  ExpectEveryPathAgrees();
  EXPECT_EQ(Shown("B1"), "#CIRC!");
  Type("B150", "7");
  Type("A4", "16");
  ExpectEveryPathAgrees();
  EXPECT_EQ(Shown("B1"), "4735");  // the cycle broken, every cell read as it now stands
}

// Totals whose plain evaluation stops at an overflowing running total
// before a later cell that reads the total: the first pass after the edit
// says "#NUM!", as a second pass and the saved files do, and finds no
// cycle. Each types its cells in the order that misled the first pass: a
// cell read at once as a search cell and as the next pair's sum cell, a
// huge sum read before the first cell not yet calculated, an array beside
// a range, a huge value beside a cell whose old value is an error.
TEST_F(PathsAgree, TotalsThatOverflowAfterAnEditCloseNoCycle) {
  Type("B5", "=C1");
  Type("B6", "=C1");
  Type("B7", "=C1");
  Type("B8", "=IF(C1>1E300,A1,0)");
  Type("A1", "=SUMIF(B5:B8,\">0\",B4:B7)");
  Type("C1", "1E308");
  ExpectEveryPathAgrees();
  EXPECT_EQ(Shown("A1"), "#NUM!");
  EXPECT_EQ(Shown("B8"), "#NUM!");
}

TEST_F(PathsAgree, AHugeSumReadBeforeTheFirstUncalculatedCellClosesNoCycle) {
  Type("B4", "1E308");
  Type("C4", "1");
  Type("B5", "1E308");
  Type("C5", "=D1");
  Type("C6", "=IF(D1>0,A1,0)");
  Type("A1", "=SUMIF(C4:C6,\">0\",B4:B6)");
  Type("D1", "1");
  ExpectEveryPathAgrees();
  EXPECT_EQ(Shown("A1"), "#NUM!");
  EXPECT_EQ(Shown("C6"), "#NUM!");
}

TEST_F(PathsAgree, AnArrayBesideARangeClosesNoCycle) {
  Type("C5", "=D1");
  Type("C7", "=IF(D1>0,A1,0)");
  Type("A1", "=SUMPRODUCT({1E308;1;1},C5:C7)");
  Type("D1", "2");
  ExpectEveryPathAgrees();
  EXPECT_EQ(Shown("A1"), "#NUM!");
  EXPECT_EQ(Shown("C7"), "#NUM!");
}

TEST_F(PathsAgree, AHugeValueBesideAnOldErrorClosesNoCycle) {
  Type("B4", "1E308");
  Type("C4", "=IF(D1>1,2,NA())");
  Type("B5", "1");
  Type("C5", "=IF(D1>1,A1,0)");
  Type("A1", "=SUMPRODUCT(B4:B6,C4:C6)");
  Type("D1", "2");
  ExpectEveryPathAgrees();
  EXPECT_EQ(Shown("A1"), "#NUM!");
  EXPECT_EQ(Shown("C5"), "#NUM!");
}

}  // namespace
