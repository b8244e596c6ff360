// The readers whose walks stop at values of their own kinds (squared
// differences, a series' coefficients, dated flows, pairs of values and
// probabilities, holidays) above and beside the columns they read: a pass
// that takes the cells they listed gives the bytes a pass that evaluates
// them again for each cell gives, and a second pass the same. And a table
// the pass keeps of a column gives what reading the column's cells gives.

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "functions/random_stream.h"
#include "numerics/numeric_function_table.h"
#include "test_seed.h"
#include "tests/numerics/gathering_twins.h"
#include "tests/numerics/twin_book_cells.h"

namespace {

constexpr int kSheets = 2;

class ReaderTwins : public GatheringTwins<kSheets> {
 protected:
  void Put(uint16_t column, uint32_t row, const std::string& text, int sheet = 0) {
    for (CWorkBook* twin : {&gathering, &plain}) PutTypedOrFormula(*twin, Cells(*twin, sheet), column, row, text);
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

// Every reader of long columns, asked three times in a pass: the first
// request reads the cells, the later ones the list the pass keeps of a
// column. All three give the same bits.
TEST_F(ReaderTwins, EveryReaderOfALongColumnGivesOneAnswerHoweverOftenAskedInAPass) {
  const char* const kValues[2][7] = {{"4", "9", "16", "25", "36", "2", "7"}, {"36", "84", "132", "180", "234", "5", "1"}};
  const std::string d = "R1C4:R1100C4";
  const std::string e = "R1C5:R1100C5";
  const std::string g = "R1C7:R1100C7";
  const std::string h = "R1C8:R1100C8";
  const std::string kFormulas[] = {
      "=SUM(" + d + ")", "=AVERAGE(" + d + ")", "=STDEV(" + d + ")", "=MEDIAN(" + d + ")", "=LARGE(" + d + ",2)",
      "=SMALL(" + d + ",2)", "=RANK(16," + d + ")", "=PERCENTILE(" + d + ",0.3)", "=COUNTIF(" + d + ",\">9\")",
      "=SUMIF(" + d + ",\">9\"," + e + ")", "=SUMPRODUCT(" + d + "," + e + ")",
      "=SUMPRODUCT(" + d + "," + e + "," + d + ")", "=SUMX2MY2(" + d + "," + e + ")", "=SUMX2PY2(" + d + "," + e + ")",
      "=SUMXMY2(" + d + "," + e + ")", "=CORREL(" + d + "," + e + ")", "=PEARSON(" + d + "," + e + ")",
      "=SLOPE(" + d + "," + e + ")", "=INTERCEPT(" + d + "," + e + ")", "=FORECAST(3," + d + "," + e + ")",
      "=RSQ(" + d + "," + e + ")", "=STEYX(" + d + "," + e + ")", "=TTEST(" + d + "," + e + ",2,2)",
      "=TTEST2(" + d + "," + e + ")", "=FTEST(" + d + "," + e + ")", "=ZTEST(" + d + ",10)",
      "=PROB(" + d + "," + e + ",0,16)", "=NPV(0.1," + h + ")", "=IRR(" + h + ")", "=MIRR(" + h + ",0.1)",
      "=XNPV(0.1," + h + "," + g + ")", "=XIRR(" + h + "," + g + ",0.1)", "=SERIESSUM(0.5,0,1," + d + ")",
      "=VLOOKUP(25," + d + ",1,FALSE)", "=MATCH(25," + d + ",0)", "=MATCH(25," + d + ",1)", "=INDEX(" + d + ",5)",
      "=SUM(FREQUENCY(" + d + "," + e + "))", "=COUNT(" + d + ")", "=COUNTA(" + d + ")", "=COUNTBLANK(" + d + ")",
      "=MAX(" + d + ")", "=MIN(" + d + ")", "=SUMSQ(" + d + ")", "=DEVSQ(" + d + ")", "=KURT(" + d + ")",
      "=SKEW(" + d + ")", "=GEOMEAN(" + d + ")", "=HARMEAN(" + d + ")", "=AVEDEV(" + d + ")", "=MODE(" + d + ")",
      "=TRIMMEAN(" + d + ",0.2)", "=QUARTILE(" + d + ",1)", "=PERCENTRANK(" + d + ",16)",
      "=INDEX(LINEST(" + d + "," + e + "),1,1)", "=INDEX(TREND(" + d + "," + e + "),3,1)",
      "=NETWORKDAYS(\"2009-01-01\",\"2009-12-31\"," + g + ")", "=AND(" + d + ")", "=OR(" + d + ")",
      "=GCD(" + d + ")", "=LCM(" + e + ")", "=SUM(" + d + "*" + e + ")", "=SUMPRODUCT(" + d + "*1)",
      "=PRODUCT(" + d + ")", "=VAR(" + d + "," + e + ")", "=COUNTIF(C4,\">9\")+SUMIF(C4,\">9\",C5)",
      "=TTEST(C4,C5,1,1)", "=SUMXMY2(C4,C5)+PROB(C4,C5,0,16)"};
  for (const std::string& formula : kFormulas) {
    Clear();
    for (uint32_t i = 0; i < 7; ++i) {
      Put(3, 2 + i, kValues[0][i]);
      Put(4, 2 + i, kValues[1][i]);
      Put(6, 2 + i, "\"2009-0" + std::to_string(1 + i) + "-1" + std::to_string(i) + "\"");
      Put(7, 2 + i, i % 2 ? "=-R[-1]C4" : "=RC5");
    }
    for (uint32_t row : {0u, 29u, 60u, 1200u}) Put(5, row, formula);
    PassTwice(formula);
    if (HasFatalFailure()) return;
    const CellRecord* first = At(5, 0);
    ASSERT_NE(first, nullptr) << formula;
    for (uint32_t row : {29u, 60u, 1200u}) {
      const CellRecord* again = At(5, row);
      ASSERT_NE(again, nullptr) << formula;
      EXPECT_EQ(again->ErrorCode(), first->ErrorCode()) << formula << " at row " << row;
      EXPECT_EQ(again->CachedNumber(), first->CachedNumber()) << formula << " at row " << row;
    }
  }
}

// ---- Random readers over columns of formulas -------------------------------

constexpr uint32_t kRows = 30;
// The cell every row's formulas read (a rate, a date, an exchange rate).
constexpr uint16_t kRateColumn = 9;

// Stored-form totals of the readers that stop at values of their own
// kinds, and the cells they read: numbers of every size, texts, errors,
// dates, formulas reading the rate cell, and formulas reading the totals.
class ReadersMaker {
 public:
  explicit ReadersMaker(std::mt19937& random) : random_(random) {}

  uint32_t Pick(uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random_); }

  // Rows first..last of a column among B..E, or with its partner.
  std::string Rows(uint32_t first, uint32_t last, uint16_t column) {
    return "R" + std::to_string(first + 1) + "C" + std::to_string(column + 1) + ":R" + std::to_string(last + 1) + "C" +
           std::to_string(column + 1);
  }
  std::string Total() {
    const uint32_t first = Pick(kRows);
    const uint32_t last = first + Pick(kRows - first);
    const uint16_t a = static_cast<uint16_t>(1 + Pick(4));
    const uint16_t b = static_cast<uint16_t>(1 + Pick(4));
    const std::string sheet = Pick(5) == 0 ? "Worksheet2!" : "";
    const std::string x = sheet + Rows(first, last, a);
    const std::string y = Rows(first, last, b);
    static const char* const kPowers[] = {"0.5,0,1", "1,0,1",     "2,1,1",     "-0.5,1,2",
                                          "1E-100,1,1", "1E100,0,1", "0.9,3,-1", "1E-100,0,1"};
    switch (Pick(7)) {
      case 0: return "=SUMXMY2(" + x + "," + y + ")";
      case 1: return "=SERIESSUM(" + std::string(kPowers[Pick(8)]) + "," + x + ")";
      case 2: return "=XNPV(0.1," + x + "," + Rows(first, last, 5) + ")";
      case 3: return "=XIRR(" + x + "," + Rows(first, last, 5) + ",0.1)";
      case 4: return "=PROB(" + x + "," + y + (Pick(2) ? ",0,100)" : ",1)");
      case 5: return "=NETWORKDAYS(\"2009-01-01\",\"2009-12-31\"," + Rows(first, last, 5) + ")";
      default: return "=WORKDAY(\"2009-03-01\",40," + Rows(first, last, 5) + ")";
    }
  }
  // A cell of the columns the totals read (B..E).
  std::string Input() {
    switch (Pick(18)) {
      // Sums that run near the largest number (a square, a half, a
      // quarter of it), values that change near it, and values beside each
      // bound of the walks' terms.
      case 14: {
        static const char* const kNearLargest[] = {"1.34078E154", "-1.34078E154", "8.9E307", "1.7E308", "4.4E307"};
        return kNearLargest[Pick(5)];
      }
      case 15: return Pick(2) ? "=RC1*R1C10*1E151" : "=RC1*R1C10*1E306";
      case 16: {
        static const char* const kBounds[] = {"1E140", "1.1E140", "1E-140", "9E-141", "1E280", "1.1E280", "1E93", "1.1E93"};
        return kBounds[Pick(8)];
      }
      // A cell that reads a total: calculated before the total ends its
      // walk, it is a cycle.
      case 17: return "=R" + std::to_string(1 + Pick(3)) + "C" + std::to_string(7 + Pick(3)) + "*0+RC1*R1C10";
      case 0: return std::to_string(Pick(20));
      case 1: {
        static const char* const kSizes[] = {"1E150", "-1E150", "1E-150", "1E300", "1E-300", "1E-139", "1E139", "0.5"};
        return kSizes[Pick(8)];
      }
      case 2: return Pick(2) ? "\"abc\"" : "#N/A!";
      case 3: return "=RC1*R1C10";
      case 4: return "=RC1*R1C10*1E150";
      case 5: return "=RC1*R1C10*1E-150";
      case 6: return "=RC1*R1C10*1.0000000000000002";
      case 7: return "=IF(R1C10>2,NA(),RC1)";
      case 8: return "=IF(R1C10>2,-RC1,RC1*1E-140)";
      case 9: return "=R1C" + std::to_string(1 + Pick(4)) + "+1";
      case 10: return "=R[-1]C+RC1";
      case 11: return "=R[1]C*R1C10";
      case 12: return "";
      default: return "=RC1*R1C10";
    }
  }
  // A cell of the dates' column (F): dates from formulas reading the rate.
  std::string Date() {
    switch (Pick(9)) {
      case 8:
        return "=IF(R" + std::to_string(1 + Pick(3)) + "C" + std::to_string(7 + Pick(3)) +
               "=0,\"2009-06-01\",\"2009-06-02\")";
      case 0: return "\"2009-05-" + std::to_string(10 + Pick(19)) + "\"";
      case 1: return "=IF(R1C10>2,\"x\",\"2009-07-04\")";
      case 2: return "=R1C" + std::to_string(1 + Pick(4)) + "&\"\"";
      case 3: return "";
      case 4: return "=DATE(2009,1+MOD(RC1*R1C10,12),1+MOD(RC1,28))";
      default: return "=DATE(2009,1+MOD(RC1,12),1+MOD(ROUND(RC1*R1C10,0),28))";
    }
  }
  // The rate: a plain number, now and then one that turns the rows' values
  // huge, tiny, negative or errors.
  std::string Rate() {
    static const char* const kRates[] = {"1", "2", "3", "0.5", "1.5", "1E100", "1E-100", "-1", "0", "#DIV/0!"};
    return kRates[Pick(10)];
  }
  // A stale value for a formula cell, as a file written elsewhere leaves
  // one: none, a number of any size, a text, a date or an error.
  void Stale(FormulaCellFields* fields) {
    static const char* const kTexts[] = {"2009-05-12", "abc", "7"};
    switch (Pick(6)) {
      case 0: fields->cachedNumber = 1E300; break;
      case 1: fields->cachedNumber = -3.5; break;
      case 2: fields->cachedNumber = 1E-300; break;
      case 3: {
        const char* text = kTexts[Pick(3)];
        fields->cachedText = text;
        fields->cachedTextLength = static_cast<uint16_t>(std::strlen(text));
        fields->resultFlags = 0;
        break;
      }
      case 4: fields->typeExtra = kErrorNA; break;
      default: break;
    }
  }

 private:
  std::mt19937& random_;
};

// A formula cell whose cached value is the stale one given, not yet
// calculated.
void PutStaleFormula(CWorkBook& book, CellStore& store, uint16_t column, uint32_t row, const std::string& text,
                     const FormulaCellFields& stale) {
  FormulaCellFields fields = stale;
  fields.formula = text.c_str();
  fields.formulaLength = static_cast<uint16_t>(text.size());
  uint8_t record[2048];
  ASSERT_TRUE(book.undoHistory.RecordCells(&book, UndoRange{column, row, column, row}));
  store.DeleteRange(column, column, row, row, nullptr, true);
  ASSERT_TRUE(BuildFormulaCell(record, sizeof record, row, column, fields));
  ASSERT_TRUE(store.InsertCell(AsCellRecord(record), nullptr));
}

// Totals of the readers above, beside and below columns of formulas over
// values of every size, dates and errors, some reading the totals back:
// the first pass over formulas whose stored values are missing or stale,
// then F9, an edit of one input, and the rate every row reads typed anew;
// both twins hold the same bytes after each.
TEST_F(ReaderTwins, ReadersGiveWhatEvaluatingAgainGivesOverRandomColumnsAndEdits) {
  const uint32_t seed = TestSeed(95);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  ReadersMaker maker(random);
  for (int round = 0; round < 300; ++round) {
    Clear();
    const std::string rate = maker.Rate();
    Put(kRateColumn, 0, rate);
    for (int sheet = 0; sheet < kSheets; ++sheet)
      for (uint32_t row = 0; row < kRows; ++row) {
        Put(0, row, std::to_string(int(maker.Pick(40)) - 5), sheet);
        for (uint16_t column = 1; column <= 5; ++column) {
          const std::string text = column == 5 ? maker.Date() : maker.Input();
          if (text.empty() || text[0] != '=' || maker.Pick(3) == 0) {
            Put(column, row, text, sheet);
            continue;
          }
          FormulaCellFields stale;
          stale.resultFlags = kResultCachedNumber;
          maker.Stale(&stale);
          for (CWorkBook* twin : {&gathering, &plain})
            PutStaleFormula(*twin, Cells(*twin, sheet), column, row, text, stale);
        }
      }
    if (HasFatalFailure()) return;
    // Totals above, beside and below what they read.
    for (int i = 0; i < 6; ++i) {
      const uint32_t row = maker.Pick(3) == 0 ? kRows + maker.Pick(3) : maker.Pick(3);
      Put(static_cast<uint16_t>(6 + maker.Pick(3)), row, maker.Total());
    }
    const std::string what = "round " + std::to_string(round);
    PassTwice(what + ", first pass");
    if (HasFatalFailure()) return;
    Put(0, maker.Pick(kRows), std::to_string(maker.Pick(40)));
    PassTwice(what + ", an input typed");
    if (HasFatalFailure()) return;
    for (int edit = 0; edit < 2; ++edit) {
      Put(kRateColumn, 0, maker.Rate());
      PassTwice(what + ", the rate typed anew");
      if (HasFatalFailure()) return;
    }
  }
  // Else the comparison says nothing.
  EXPECT_GT(gathering.evaluator.pendingGather.TakenCount(), 2000u);
  EXPECT_EQ(plain.evaluator.pendingGather.TakenCount(), 0u);
}

// Short columns of values that change with the rate, beside values near the
// largest number (whose sums overflow once a value before them grows), gaps,
// errors and cells that read the totals (a cycle when calculated before a
// total's walk stops short of them): the layouts where the stretches'
// restarts, the holidays' stops and marks and the bounds of SUMPRODUCT's
// factors decide what is taken.
class NearLargestMaker {
 public:
  explicit NearLargestMaker(std::mt19937& random) : random_(random) {}
  uint32_t Pick(uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random_); }

  static constexpr uint32_t kRows = 12;
  // A cell that reads the totals (in the first row): calculated before a
  // total's walk stops short of it, it is a cycle.
  static constexpr const char* kReadsTotals = "=R1C7*0+R1C8*0+R1C9*0+RC1";
  std::string Rows(uint16_t column) {
    return "R1C" + std::to_string(column + 1) + ":R12C" + std::to_string(column + 1);
  }
  std::string Total() {
    const std::string x = Rows(static_cast<uint16_t>(1 + Pick(4)));
    const std::string y = Rows(static_cast<uint16_t>(1 + Pick(4)));
    static const char* const kPowers[] = {"1,0,1", "0.5,0,1", "1E-100,-3,1", "2,0,1", "1E-100,-3,1", "1E-100,-3,1"};
    switch (Pick(9)) {
      case 0: return "=SUMXMY2(" + x + "," + y + ")";
      case 1: return "=SERIESSUM(" + std::string(kPowers[Pick(6)]) + "," + x + ")";
      case 2: return "=PROB(" + Rows(0) + "," + y + ",0,100)";
      case 3: return "=NETWORKDAYS(\"2009-01-01\",\"2009-12-31\"," + Rows(5) + ")";
      case 4: return "=WORKDAY(\"2009-03-01\",40," + Rows(5) + ")";
      case 5:
        switch (Pick(3)) {
          case 0: return "=SUMPRODUCT(" + x + "," + y + "," + Rows(static_cast<uint16_t>(1 + Pick(4))) + ")";
          case 1: return "=SUMPRODUCT(" + x + "," + x + "," + x + ")";
          default: return "=SUMPRODUCT(" + Rows(1) + "," + Rows(2) + "," + Rows(3) + ")";
        }
      case 6: return "=SUMPRODUCT(" + x + "," + y + ")";
      case 7: return "=SUMIF(" + x + ",\">0\"," + y + ")";
      default: return "=SUMIF(" + x + ",\"<>1\")";
    }
  }
  std::string Input() {
    switch (Pick(13)) {
      case 0: return "=RC1*R1C10";
      case 1: return "=RC1*R1C10*1E305";
      case 2: return "=RC1*R1C10*1E151";
      case 3: return "=RC1*R1C10*1E103";
      case 4: return Pick(2) ? "1.797E308" : "-1.797E308";
      case 5: return Pick(2) ? "1.34078E154" : "1E300";
      case 6: return "";
      case 8: return Pick(2) ? "1.797E108" : "1.79E208";
      case 9: return "=RC1*R1C10*1E5";
      case 10: return Pick(3) ? "=RC1*R1C10*1E305" : (Pick(2) ? "#N/A!" : "\"abc\"");
      case 11: return "=RC1*R1C10*1E280";
      default: return kReadsTotals;
    }
  }
  // A column built around one layout: values that change with the rate,
  // a gap perhaps, a value near the largest number (or its square root, or
  // a coefficient that reaches it a power or two early), a gap perhaps, and
  // a cell that reads the totals; random cells around them.
  std::vector<std::string> Layout() {
    std::vector<std::string> cells;
    const uint32_t start = 1 + Pick(4);
    if (const uint32_t which = Pick(4); which < 3) {
      // A series' first coefficient, a gap, and one that reaches the
      // largest number at its power (a power before the one of its place);
      // or values that change before one near the largest number; or tiny
      // values that change before one of the other sign, whose sum may
      // fall below the normal numbers.
      cells.assign(start, "");
      if (which == 0) {
        for (const char* cell : {"=RC1*R1C10*1E5", "", "=RC1*R1C10*1E151", kReadsTotals}) cells.push_back(cell);
      } else if (which == 2) {
        for (const char* cell : {"=RC1*R1C10*1E-307", "-1.1E-307", kReadsTotals}) cells.push_back(cell);
      } else {
        for (const char* cell : {"=RC1*R1C10*1E305", "1.797E308", kReadsTotals}) cells.push_back(cell);
      }
      while (cells.size() < kRows) cells.push_back(Input());
      cells.resize(kRows);
      return cells;
    }
    const bool empty = Pick(2);
    for (uint32_t row = 0; row < start; ++row) cells.push_back(empty ? "" : Input());
    static const char* const kChanging[] = {"=RC1*R1C10*1E5", "=RC1*R1C10*1E305", "=RC1*R1C10*1E103",
                                            "=RC1*R1C10*1E151", "=RC1*R1C10"};
    const char* changing = kChanging[Pick(5)];
    for (uint32_t i = Pick(3) ? 1 : 2; i > 0; --i) cells.push_back(changing);
    if (Pick(2)) cells.push_back("");
    static const char* const kNear[] = {"1.797E308", "-1.797E308",       "1.797E108",
                                        "1.797E208", "=RC1*R1C10*1E151", "1.34078E154"};
    cells.push_back(kNear[Pick(6)]);
    if (Pick(3) == 0) cells.push_back("");
    cells.push_back(kReadsTotals);
    while (cells.size() < kRows) cells.push_back(Input());
    cells.resize(kRows);
    return cells;
  }
  std::string Date() {
    switch (Pick(5)) {
      case 0: return "=IF(R1C10>2,\"x\",\"2009-07-04\")";
      case 1: return "=IF(R1C10>1,\"2009-07-0\"&RC1,RC1)";
      case 2: return "";
      case 3: return "=IF(R1C7+R1C8+R1C9=0,\"2009-06-01\",\"2009-06-02\")";
      default: return "\"2009-05-1" + std::to_string(Pick(10)) + "\"";
    }
  }
  std::string Rate() {
    static const char* const kRates[] = {"1", "2", "3", "0.5"};
    return kRates[Pick(4)];
  }

 private:
  std::mt19937& random_;
};

// The first pass over such columns, then the rate every row reads typed
// anew and an input typed: both twins hold the same bytes after each.
TEST_F(ReaderTwins, ReadersGiveWhatEvaluatingAgainGivesOverColumnsNearTheLargestNumber) {
  const uint32_t seed = TestSeed(101);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  NearLargestMaker maker(random);
  for (int round = 0; round < 400; ++round) {
    Clear();
    Put(kRateColumn, 0, maker.Rate());
    for (uint32_t row = 0; row < NearLargestMaker::kRows; ++row) {
      Put(0, row, std::to_string(1 + maker.Pick(4)));
      Put(5, row, maker.Date());
    }
    for (uint16_t column = 1; column <= 4; ++column) {
      const bool layout = maker.Pick(3) != 0;
      std::vector<std::string> cells = layout ? maker.Layout() : std::vector<std::string>();
      for (uint32_t row = 0; row < NearLargestMaker::kRows; ++row)
        Put(column, row, layout ? cells[row] : maker.Input());
    }
    if (maker.Pick(3) == 0) {
      // Products of three: a factor that changes beside two that stand
      // for the pass beyond a factor's bound, then a product near the
      // largest number, then a cell that reads the totals.
      const uint32_t row = 1 + maker.Pick(6);
      const char* const kRowsOfFactors[3][3] = {
          {"=RC1*R1C10*1E92", "1E200", "1E15"}, {"1.797E308", "1", "1"}, {NearLargestMaker::kReadsTotals, "1", "1"}};
      for (uint32_t i = 0; i < 3; ++i)
        for (uint16_t column = 1; column <= 3; ++column) Put(column, row + i, kRowsOfFactors[i][column - 1]);
    }
    for (uint16_t column = 6; column <= 8; ++column) Put(column, 0, maker.Total());
    const std::string what = "round " + std::to_string(round);
    PassTwice(what + ", first pass");
    if (HasFatalFailure()) return;
    for (int edit = 0; edit < 3; ++edit) {
      Put(kRateColumn, 0, maker.Rate());
      PassTwice(what + ", the rate typed anew");
      if (HasFatalFailure()) return;
    }
    Put(0, maker.Pick(NearLargestMaker::kRows), std::to_string(1 + maker.Pick(4)));
    PassTwice(what + ", an input typed");
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(gathering.evaluator.pendingGather.TakenCount(), 2000u);
}

// ---- Layouts typed cell by cell ------------------------------------------------

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
  // A sum near the largest number before the walk's first listed cell: no
  // squared difference after it is taken after a change.
  TypeAll({{0, 0, "=SUMXMY2(R2C2:R4C2,R2C3:R4C3)"},
           {1, 1, "1.3379E154"},
           {1, 3, "=R1C1+1"},
           {1, 2, "=IF(R1C4>0,1.3E153,0)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  EXPECT_EQ(ErrorAt(1, 3), kErrorNum);
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
  // Two probabilities that become too large for the sum together.
  TypeAll({{0, 0, "=PROB(R2C2:R4C2,R2C3:R4C3,0,10)"},
           {1, 1, "1"},
           {1, 2, "1"},
           {1, 3, "=R1C1+1"},
           {2, 3, "1"},
           {2, 1, "=IF(R1C4>0,1E308,1)"},
           {2, 2, "=IF(R1C4>0,1E308,1)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  EXPECT_EQ(ErrorAt(1, 3), kErrorNum);
  Clear();
  // A sum that only rose, above the smallest normal number, brought below
  // it by a probability that became negative.
  TypeAll({{0, 0, "=PROB(R2C2:R4C2,R2C3:R4C3,0,10)"},
           {1, 1, "1"},
           {2, 1, "3E-308"},
           {1, 2, "1"},
           {1, 3, "=R1C1+1"},
           {2, 2, "=IF(R1C4>0,-2.5E-308,0)"},
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
      {"a term of 2^-970 after a negative term and a typed sum that is no such multiple",
       {{0, 0, "=SERIESSUM(1,0,1,R2C2:R6C2)"},
        {1, 1, "-1"},
        {1, 2, "1"},
        {1, 3, "1.0020841800044863E-292"},
        {1, 5, "=R1C1+1"},
        {1, 4, "=IF(R1C4>0,-POWER(2,-970),0)"},
        {3, 0, "1"}}},
      {"a term after a negative sum that is no such multiple",
       {{0, 0, "=SERIESSUM(1,0,1,R2C2:R6C2)"},
        {1, 1, "1"},
        {1, 2, "-1"},
        {1, 3, "-1.0020841800044863E-292"},
        {1, 5, "=R1C1+1"},
        {1, 4, "=IF(R1C4>0,POWER(2,-970),0)"},
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
  Clear();
  // A holiday whose stored value is no date, read on past while it is not
  // yet calculated: calculated to that very value, it ends the walk.
  TypeAll({{0, 0, "=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\",R2C2:R3C2)"},
           {1, 2, "=IF(R1C1>3,\"2009-05-14\",\"2009-05-15\")"},
           {1, 1, "=\"x\"&\"\""}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorValue);
  EXPECT_EQ(ErrorAt(1, 2), kErrorValue);
}

}  // namespace
