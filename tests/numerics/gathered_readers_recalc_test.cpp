// The readers whose walks stop at values of their own kinds (squared
// differences, a series' coefficients, dated flows, pairs of values and
// probabilities, holidays) above and beside the columns they read: a pass
// that takes the cells they listed gives the bytes a pass that evaluates
// them again for each cell gives, and a second pass the same. And a table
// the pass keeps of a column gives what reading the column's cells gives.

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "functions/random_stream.h"
#include "numerics/numeric_function_table.h"
#include "test_seed.h"
#include "tests/numerics/twin_book_cells.h"

namespace {

constexpr int kSheets = 2;

void PutText(CWorkBook& book, CellStore& store, uint16_t column, uint32_t row, const std::string& text) {
  if (text.empty()) {
    store.DeleteRange(column, column, row, row, nullptr, true);
    return;
  }
  if (text[0] != '=') {
    TypeValue(book, store, column, row, text[0] == '"' ? text.substr(1, text.size() - 2).c_str() : text.c_str());
    return;
  }
  store.DeleteRange(column, column, row, row, nullptr, true);
  PutFormula(book, store, column, row, text);
}

class ReaderTwins : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    InstallFunctionLibrary();
    for (CWorkBook* book : {&gathering, &plain}) {
      ASSERT_TRUE(book->NewDocument());
      for (int i = 2; i <= kSheets; ++i) {
        CWorkSheet* sheet = NewWorksheet(("Worksheet" + std::to_string(i)).c_str(), 1);
        ASSERT_NE(sheet, nullptr);
        book->InsertItems(sheet, nullptr);
      }
    }
    plain.evaluator.pendingGather.SetEnabled(false);
  }
  void TearDown() override { ResetGlobalOptions(); }

  static CWorkSheet* Sheet(CWorkBook& book, int index) { return CWorkSheet::FromItem(book.ItemByIndex(index)); }
  CellStore& Cells(CWorkBook& book, int sheet = 0) { return Sheet(book, sheet)->cells; }

  void Put(uint16_t column, uint32_t row, const std::string& text, int sheet = 0) {
    for (CWorkBook* twin : {&gathering, &plain}) PutText(*twin, Cells(*twin, sheet), column, row, text);
  }

  void RecalculateTwins() {
    const RandomSeeds before = ProcessRandomSeeds();
    const bool ok = gathering.Recalculate(nullptr);
    ProcessRandomSeeds() = before;
    ASSERT_EQ(ok, plain.Recalculate(nullptr));
  }
  void ExpectSameBooks(const std::string& what) {
    for (int i = 0; i < kSheets; ++i) {
      ExpectSameCells(Cells(gathering, i), Cells(plain, i), (what + ", sheet " + std::to_string(i)).c_str());
      if (HasFatalFailure()) return;
    }
  }
  // A pass, then a second over the same cells, both compared.
  void PassTwice(const std::string& what) {
    RecalculateTwins();
    ExpectSameBooks(what);
    if (HasFatalFailure()) return;
    RecalculateTwins();
    ExpectSameBooks(what + ", again");
  }
  const CellRecord* At(uint16_t column, uint32_t row) { return Cells(gathering).GetCell(row, column); }
  uint8_t ErrorAt(uint16_t column, uint32_t row) {
    const CellRecord* cell = At(column, row);
    return cell ? cell->ErrorCode() : 0;
  }
  void Clear() {
    for (CWorkBook* twin : {&gathering, &plain})
      for (int i = 0; i < kSheets; ++i) Cells(*twin, i).DeleteRange(0, 40, 0, 3000, nullptr, true);
  }

  CWorkBook gathering;
  CWorkBook plain;
};

// The same TTEST asked twice in one pass over columns long enough for the
// pass to keep a list of their cells: the second request reads the list of
// the first column, which must not stand for both.
TEST_F(ReaderTwins, TheSameTwoListTestAskedTwiceInAPassGivesOneAnswer) {
  const char* const kValues[2][5] = {{"4", "9", "16", "25", "36"}, {"36", "84", "132", "180", "234"}};
  for (uint32_t i = 0; i < 5; ++i) {
    Put(3, 2 + i, kValues[0][i]);
    Put(4, 2 + i, kValues[1][i]);
  }
  for (const char* formula : {"=TTEST(R1C4:R1100C4,R1C5:R1100C5,2,1)", "=TTEST(C4,C5,2,1)",
                              "=TTEST2(R1C4:R1100C4,R1C5:R1100C5)"}) {
    Put(5, 0, formula);
    Put(5, 29, formula);
    Put(5, 60, formula);
    PassTwice(formula);
    if (HasFatalFailure()) return;
    ASSERT_NE(At(5, 0), nullptr);
    EXPECT_EQ(ErrorAt(5, 0), 0) << formula;
    if (std::string(formula).find("TTEST(") != std::string::npos) {
      EXPECT_NEAR(At(5, 0)->CachedNumber(), 0.0114, 1e-4) << formula;
    }
    for (uint32_t row : {29u, 60u}) {
      ASSERT_NE(At(5, row), nullptr);
      EXPECT_EQ(ErrorAt(5, row), 0) << formula << " at row " << row;
      EXPECT_EQ(At(5, row)->CachedNumber(), At(5, 0)->CachedNumber()) << formula << " at row " << row;
    }
  }
  EXPECT_NEAR(At(5, 60)->CachedNumber(), -3.26654, 1e-5);
}

struct Typed {
  uint16_t column;
  uint32_t row;
  const char* text;
};

class TypedReaderTwins : public ReaderTwins {
 protected:
  // Each cell typed into both twins, a pass after each, both compared, and
  // a second pass at the end.
  void TypeAll(std::initializer_list<Typed> cells) {
    for (const Typed& cell : cells) {
      Put(cell.column, cell.row, cell.text);
      RecalculateTwins();
      ExpectSameBooks(std::string("after ") + cell.text);
      if (HasFatalFailure()) return;
    }
    RecalculateTwins();
    ExpectSameBooks("a second pass");
  }
};

// SUMXMY2 stops where its sum of squared differences stops being a number:
// a cell calculated to a number whose square vanishes into the numbers
// below the normal ones, or overflows, ends the walk there, and the cell
// after it, which reads the total, is not taken for it (a circular
// verdict) but calculated in its turn. So too after a pair of typed
// numbers too close for their squared difference.
TEST_F(TypedReaderTwins, SquaredDifferencesStopWhereTheirSumStopsBeingANumber) {
  // The squared difference of two numbers a unit of the last place apart.
  TypeAll({{0, 0, "=SUMXMY2(R2C2:R3C2,R2C3:R3C3)"},
           {2, 1, "1E-140"},
           {2, 2, "1"},
           {1, 2, "=R1C1+1"},
           {1, 1, "=R2C3*1.0000000000000002"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  EXPECT_EQ(ErrorAt(1, 2), kErrorNum);
  for (const char* tiny : {"=1E-160", "=1E200"}) {
    Clear();
    // A cell that becomes a number whose square is no longer normal.
    TypeAll({{0, 0, "=SUMXMY2(R2C2:R3C2,R2C3:R3C3)"}, {2, 2, "1"}, {1, 2, "=R1C1+1"}, {1, 1, "=1"}, {1, 1, tiny}});
    if (HasFatalFailure()) return;
    EXPECT_EQ(ErrorAt(0, 0), kErrorNum) << tiny;
    EXPECT_EQ(ErrorAt(1, 2), kErrorNum) << tiny;
  }
  Clear();
  // Typed numbers too close: harmless while the sum before them is not 0,
  // fatal once a cell before them changes to make it 0.
  TypeAll({{0, 0, "=SUMXMY2(R2C2:R4C2,R2C3:R4C3)"},
           {2, 1, "1"},
           {1, 2, "1E-139"},
           {2, 2, "1.0000000000000002E-139"},
           {2, 3, "1"},
           {1, 3, "=R1C1+1"},
           {1, 1, "=IF(R1C4>0,1,2)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  EXPECT_EQ(ErrorAt(1, 3), kErrorNum);
}

// PROB goes on past pairs of numbers while its sum stays one: a
// probability calculated to a number too large for the sum ends the walk,
// as does a value that becomes an error unlike its probability.
TEST_F(TypedReaderTwins, ProbabilitiesStopWhereTheirSumOrTheirPairsFail) {
  TypeAll({{0, 0, "=PROB(R2C2:R4C2,R2C3:R4C3,0,10)"},
           {1, 1, "1"},
           {2, 1, "1E308"},
           {1, 2, "1"},
           {2, 2, "=1"},
           {1, 3, "1"},
           {2, 3, "=R1C1+1"},
           {2, 2, "=1E308"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  EXPECT_EQ(ErrorAt(2, 3), kErrorNum);
  Clear();
  // Probabilities typed too large for the sum: harmless while one of them
  // is left out, fatal once a value before them changes to let it in.
  TypeAll({{0, 0, "=PROB(R2C2:R4C2,R2C3:R4C3,0,10)"},
           {2, 1, "1E308"},
           {2, 2, "1E308"},
           {2, 3, "1"},
           {1, 2, "5"},
           {1, 3, "=R1C1+1"},
           {1, 1, "=IF(R1C4>0,5,20)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  EXPECT_EQ(ErrorAt(1, 3), kErrorNum);
  Clear();
  // A value read as the same error as its probability, the pair passed
  // over, that becomes a number.
  TypeAll({{0, 0, "=PROB(R2C2:R3C2,R2C3:R3C3,0,10)"},
           {2, 1, "#N/A!"},
           {1, 1, "=IF(R1C4>0,1,NA())"},
           {1, 2, "1"},
           {2, 2, "=R1C1+1"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNA);
  EXPECT_EQ(ErrorAt(2, 2), kErrorNA);
}

// A series' coefficients are read on while its sum stays a number: a
// coefficient calculated anew to a term the sum cannot take ends the walk
// there, and so does one after a typed term the sum takes only as it was,
// or after a gap that leaves the terms' powers to the count of cells.
TEST_F(TypedReaderTwins, ASeriesStopsWhereItsSumStopsBeingANumber) {
  struct Layout {
    const char* what;
    std::initializer_list<Typed> cells;
  };
  const Layout layouts[] = {
      {"a term below the normal numbers",
       {{0, 0, "=SERIESSUM(1E-200,1,1,R2C2:R3C2)"}, {1, 2, "=R1C1+1"}, {1, 1, "=1"}, {1, 1, "=1E-110"}}},
      {"a typed term below the normal numbers after a term that became 0",
       {{0, 0, "=SERIESSUM(1E-100,1,1,R2C2:R4C2)"},
        {1, 2, "1E-110"},
        {1, 3, "=R1C1+1"},
        {1, 1, "=IF(R1C4>0,0,5)"},
        {3, 0, "1"}}},
      {"a gap before a term below the normal numbers",
       {{0, 0, "=SERIESSUM(1E-100,1,1,R2C2:R5C2)"},
        {1, 4, "=R1C1+1"},
        {1, 1, "=IF(R1C4>0,0,5)"},
        {1, 3, "=IF(R1C4>0,1E-110,1)"},
        {3, 0, "1"}}},
      {"a negative term in a sum that only rose",
       {{0, 0, "=SERIESSUM(1E-100,0,1,R2C2:R5C2)"},
        {1, 1, "1"},
        {1, 3, "1E-110"},
        {1, 4, "=R1C1+1"},
        {1, 2, "=IF(R1C4>0,-1E100,0)"},
        {3, 0, "1"}}},
      {"a term too large beside a typed one",
       {{0, 0, "=SERIESSUM(1,0,1,R2C2:R4C2)"},
        {1, 2, "1E307"},
        {1, 3, "=R1C1+1"},
        {1, 1, "=IF(R1C4>0,1.75E308,1)"},
        {3, 0, "1"}}},
      {"a term too large after a typed sum near the largest number",
       {{0, 0, "=SERIESSUM(1,0,1,R2C2:R4C2)"},
        {1, 1, "1.7E308"},
        {1, 3, "=R1C1+1"},
        {1, 2, "=IF(R1C4>0,1E307,0)"},
        {3, 0, "1"}}},
      // 2^-970 less a unit of its last place: the sum less 2^-970 is below
      // the normal numbers.
      {"a typed sum that is no multiple of the smallest normal number",
       {{0, 0, "=SERIESSUM(1,0,1,R2C2:R4C2)"},
        {1, 1, "1.0020841800044863E-292"},
        {1, 3, "=R1C1+1"},
        {1, 2, "=IF(R1C4>0,-POWER(2,-970),0)"},
        {3, 0, "1"}}},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.what);
    Clear();
    TypeAll(layout.cells);
    if (HasFatalFailure()) return;
    EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  }
}

// Holidays are read on past dates: a holiday calculated to a text that is
// no date ends the walk there.
TEST_F(TypedReaderTwins, HolidaysStopAtAValueThatIsNoDate) {
  TypeAll({{0, 0, "=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\",R2C2:R4C2)"},
           {1, 1, "=IF(R1C4>0,\"x\",\"2009-05-12\")"},
           {1, 2, "\"2009-05-13\""},
           {1, 3, "=IF(R1C1>3,\"2009-05-14\",\"2009-05-15\")"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorValue);
  EXPECT_EQ(ErrorAt(1, 3), kErrorValue);
}

}  // namespace
