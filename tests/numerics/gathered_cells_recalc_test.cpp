#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <vector>
#include <string>

#include "core/base/global_options.h"
#include "core/edit/cell_input.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "functions/random_stream.h"
#include "numerics/numeric_function_table.h"
#include "test_seed.h"
#include "tests/numerics/gathering_twins.h"
#include "tests/numerics/twin_book_cells.h"

namespace {

constexpr int kSheets = 3;
constexpr uint16_t kColumns = 6;
constexpr uint32_t kRows = 40;

// Stored-form formulas of the layouts a pass meets before their inputs:
// totals over columns below and beside them and on other worksheets (whole
// columns too), through every handler that gathers what it reads, over
// cells that are formulas themselves, read one another in both directions
// (cycles through the totals included), spill arrays, and hold texts,
// errors and numbers large and small enough to make a running total bad;
// sum ranges shifted against their search ranges, arrays beside ranges,
// and cells reading a rate every row reads, which the edits change.
class TotalsMaker {
 public:
  explicit TotalsMaker(std::mt19937& random) : random_(random) {}

  uint32_t Pick(uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random_); }

  std::string Column() { return std::to_string(1 + Pick(kColumns)); }
  std::string Rows() {
    const uint32_t first = 1 + Pick(kRows);
    const uint32_t last = first + Pick(kRows + 1 - first);
    const std::string column = Column();
    return "R" + std::to_string(first) + "C" + column + ":R" + std::to_string(last) + "C" + column;
  }
  // A range of one column, or a whole column, maybe on another worksheet.
  std::string Range() {
    const std::string sheet = Pick(4) == 0 ? "Worksheet" + std::to_string(1 + Pick(kSheets)) + "!" : "";
    return sheet + (Pick(3) == 0 ? "C" + Column() : Rows());
  }
  // Two ranges of one shape.
  std::string Pair() {
    const uint32_t first = 1 + Pick(kRows);
    const uint32_t last = first + Pick(kRows + 1 - first);
    std::string pair;
    for (int i = 0; i < 2; ++i) {
      if (i) pair += ",";
      const std::string column = Column();
      pair += "R" + std::to_string(first) + "C" + column + ":R" + std::to_string(last) + "C" + column;
    }
    return pair;
  }
  std::string Criterion() {
    static const char* const kCriteria[] = {"\">3\"", "\"<=10\"", "\"a*\"", "5", "\"<>x\""};
    return kCriteria[Pick(5)];
  }

  // A cell of the worksheet, for the lookups' keys and RANK's value.
  std::string Cell() { return "R" + std::to_string(1 + Pick(kRows)) + "C" + Column(); }

  // Two ranges of one shape, the second's rows shifted against the first's.
  std::string ShiftedPair() {
    const uint32_t first = 3 + Pick(kRows - 4);
    const uint32_t last = first + Pick(kRows - 1 - first);
    const int shift = int(Pick(5)) - 2;
    const std::string a = Column();
    const std::string b = Column();
    return "R" + std::to_string(first) + "C" + a + ":R" + std::to_string(last) + "C" + a + ",R" +
           std::to_string(first + shift) + "C" + b + ":R" + std::to_string(last + shift) + "C" + b;
  }
  // A column of constants, huge and tiny ones among them, beside a range of
  // as many rows.
  std::string ArrayBesideRange() {
    static const char* const kValues[] = {"1", "1E300", "1E-300", "1E150", "-2", "1E-150"};
    const uint32_t first = 1 + Pick(kRows - 6);
    const uint32_t rows = 1 + Pick(6);
    std::string array = "{";
    for (uint32_t i = 0; i < rows; ++i) array += std::string(i ? ";" : "") + kValues[Pick(6)];
    const std::string column = Column();
    return array + "},R" + std::to_string(first) + "C" + column + ":R" + std::to_string(first + rows - 1) + "C" +
           column;
  }

  // A function applied element by element to ranges: alone, beside a
  // cell that may not be calculated yet, under an operator, nested, and
  // naming the cells it reads by the values it reads.
  std::string ElementWise() {
    switch (Pick(8)) {
      case 0: return "=SUMPRODUCT(ABS(" + Range() + "))";
      case 1: return "=SUM(LEN(" + Range() + "))";
      case 2: return "=SUMPRODUCT(ROUND(" + Range() + "," + Cell() + "))";
      case 3: {
        const std::string pair = Pair();
        const size_t comma = pair.find(',');
        return "=SUMPRODUCT((" + pair.substr(0, comma) + ">2)*ABS(" + pair.substr(comma + 1) + "))";
      }
      case 4: return "=SUM(IF(ISNUMBER(" + Range() + "),1,0))";
      case 5: return "=SUMPRODUCT(LEN(UPPER(" + Range() + ")))";
      case 6: return "=SUM(INDIRECT(" + Rows() + ",1))";
      default: return "=SUM(VLOOKUP(" + Rows() + "," + Range() + ",1,FALSE))";
    }
  }

  std::string Total() {
    switch (Pick(36)) {
      case 34:
      case 35: return ElementWise();
      case 31: {
        const std::string pair = ShiftedPair();
        const size_t comma = pair.find(',');
        return "=SUMIF(" + pair.substr(0, comma) + "," + Criterion() + "," + pair.substr(comma + 1) + ")";
      }
      case 32: return "=SUMPRODUCT(" + ShiftedPair() + ")";
      case 33: return "=SUMPRODUCT(" + ArrayBesideRange() + ")";
      case 11: return Pick(2) ? "=STDEV(" + Range() + ")" : "=VAR(" + Range() + "," + Range() + ")";
      case 12: return "=MEDIAN(" + Range() + ")";
      case 13: return Pick(2) ? "=LARGE(" + Range() + ",2)" : "=SMALL(" + Range() + ",3)";
      case 14: return "=RANK(" + Cell() + "," + Range() + ")";
      case 15: return "=COUNTBLANK(" + Rows() + ")";
      case 16: return "=VLOOKUP(" + Cell() + "," + Range() + ",1,FALSE)";
      case 17: return "=MATCH(" + Cell() + "," + Range() + ",0)+INDEX(" + Rows() + ",2)";
      case 18: return "=MAX((" + Rows() + ">3)*" + Rows() + ")";
      case 19: return "=SUMPRODUCT(" + Range() + "*1)";
      case 20: {
        // Three ranges of one shape, whose products of three may overflow.
        const uint32_t first = 1 + Pick(kRows);
        const uint32_t last = first + Pick(kRows + 1 - first);
        std::string three;
        for (int i = 0; i < 3; ++i) {
          const std::string column = Column();
          three += (i ? "," : "") + ("R" + std::to_string(first) + "C" + column + ":R" + std::to_string(last) + "C" + column);
        }
        return "=SUMPRODUCT(" + three + ")";
      }
      // A draw behind a condition on what the total reads.
      case 21: return "=IF(SUM(" + Range() + ")>40,RAND(),SUM(" + Range() + "))";
      case 22: return "=STDEV(" + Range() + ")+MEDIAN(" + Range() + ")+SUM(" + Range() + ")";
      case 23: return "=SUM(R[1]C:R" + std::to_string(kRows) + "C)*0+1";
      // Lookups in every mode: searches that stop at a match, by numbers
      // and by patterns, and walks of every cell for the best one.
      case 24: return "=MATCH(" + Cell() + "," + Rows() + ",1)+VLOOKUP(" + Cell() + "," + Range() + ",1,TRUE)";
      case 25: return Pick(2) ? "=MATCH(\"a*\"," + Range() + ",0)" : "=LOOKUP(" + Cell() + "," + Pair() + ")";
      case 26: {
        const std::string row = std::to_string(1 + Pick(kRows));
        return "=HLOOKUP(" + std::to_string(Pick(8)) + ",R" + row + "C1:R" + row + "C" + std::to_string(kColumns) +
               ",1,FALSE)";
      }
      // Pairs read on while both are numbers, flows that stop at anything
      // else, and lists read whole through other readers.
      case 27: {
        const uint32_t which = Pick(3);
        return which == 0 ? "=CORREL(" + Pair() + ")"
                          : which == 1 ? "=PEARSON(" + Pair() + ")+SUMXMY2(" + Pair() + ")"
                                       : "=SLOPE(" + Pair() + ")+SUMX2MY2(" + Pair() + ")";
      }
      case 28: {
        const uint32_t which = Pick(3);
        return which == 0 ? "=NPV(0.1," + Range() + ")" : which == 1 ? "=IRR(" + Range() + ")" : "=MIRR(" + Range() + ",0.1)";
      }
      case 29: return Pick(2) ? "=OR(" + Range() + ")+GCD(" + Range() + ")" : "=ZTEST(" + Range() + ",2)";
      case 30: return Pick(2) ? "=SUM(FREQUENCY(" + Range() + "," + Rows() + "))" : "=TTEST(" + Pair() + ",2,1)";
      case 0: return "=SUM(" + Range() + ")";
      case 1: return "=SUM(" + Range() + "," + Range() + ")";
      case 2: return "=COUNTIF(" + Range() + "," + Criterion() + ")";
      case 3: {
        const std::string pair = Pair();
        const size_t comma = pair.find(',');
        return "=SUMIF(" + pair.substr(0, comma) + "," + Criterion() + "," + pair.substr(comma + 1) + ")";
      }
      case 4: return "=SUMIF(" + Range() + "," + Criterion() + ")";
      case 5: return "=SUMPRODUCT(" + Pair() + ")";
      case 6: return Pick(2) ? "=MAX(" + Range() + ")" : "=MIN(" + Range() + ")";
      case 7: return "=AVERAGE(" + Range() + ")";
      case 8: return Pick(2) ? "=COUNT(" + Range() + ")" : "=PRODUCT(" + Range() + ")";
      case 9: return "=IF(R1C1>2,SUM(" + Range() + "),SUMSQ(" + Range() + "))";
      default: return "=SUM(" + Range() + "*2)";
    }
  }

  // A cell a total may read.
  std::string Input() {
    char text[96];
    switch (Pick(18)) {
      // Values that change near each bound of the walks' factors, and sums
      // that run near the largest number.
      case 15: {
        static const char* const kNearBounds[] = {"=R1C1*1E92",  "=R1C1*1E139", "=R1C1*1E279", "=R1C1*1E-92",
                                                  "=R1C1*1E-139", "=R1C1*1E100", "8.9E307",     "1.34E154"};
        return kNearBounds[Pick(8)];
      }
      case 16: return "=R1C" + Column() + "*0+R1C1*1E99";
      // The address of a cell of column B, chosen by the rate.
      case 17: return "=\"B\"&(1+MOD(R1C1*" + std::to_string(1 + Pick(7)) + "," + std::to_string(kRows) + "))";
      case 12: return Pick(3) == 0 ? "1E308" : (Pick(2) ? "1E150" : "-1E-150");
      // Cells every row reads, the rate of a column, among them.
      case 13: return Pick(2) ? "=R1C1*1E150" : "=R1C1*R[-1]C";
      case 14: return Pick(2) ? "=R1C1*1E-150+R[1]C" : "=R1C1+" + std::to_string(Pick(9));
      case 0: return std::to_string(Pick(20));
      case 1: return Pick(2) ? "\"abc\"" : "\"7\"";
      case 2: return Pick(2) ? "#DIV/0!" : "#N/A!";
      case 3: return Pick(3) ? (Pick(2) ? "1E300" : "-1E300") : "1E110";
      case 4: return "1E-300";
      case 5:
        std::snprintf(text, sizeof text, "=R[%d]C*2+1", int(Pick(5)) - 2);
        return text;
      case 6:
        std::snprintf(text, sizeof text, "=R[-1]C+R%uC%u", 1 + Pick(kRows), 1 + Pick(kColumns));
        return text;
      case 7:
        std::snprintf(text, sizeof text, "=IF(R[%d]C[%d]>4,\"a\"&R[1]C,R[1]C)", int(Pick(3)) - 1, int(Pick(3)) - 1);
        return text;
      case 8: return "=R[1]C:R[2]C";
      case 9:
        std::snprintf(text, sizeof text, "=1/(R%uC%u-3)", 1 + Pick(4), 1 + Pick(kColumns));
        return text;
      case 10: return "=R1C" + Column() + "+1";
      default: return Total();
    }
  }

 private:
  std::mt19937& random_;
};

using GatheredTwins = GatheringTwins<kSheets>;

// Two workbooks given the same random totals and edits, one calculating the
// cells a total gathered before evaluating it again, one evaluating the
// total again for each: after every recalculation, whole or of one
// worksheet, both hold the same bytes in every cell, circular verdicts and
// spilled values included.
TEST_F(GatheredTwins, GatheringGivesWhatEvaluatingAgainGivesOverRandomTotalsAndEdits) {
  const uint32_t seed = TestSeed(85);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  TotalsMaker maker(random);
  for (int book = 0; book < 100; ++book) {
    // A fresh set of sheets each round, most cells filled.
    for (int step = 0; step < 150; ++step) {
      const int sheet = int(maker.Pick(kSheets));
      const uint16_t column = static_cast<uint16_t>(maker.Pick(kColumns));
      // Totals mostly in the top rows, above what they read.
      const uint32_t row = maker.Pick(4) == 0 ? maker.Pick(3) : maker.Pick(kRows);
      const std::string text = row < 3 && maker.Pick(2) ? maker.Total() : maker.Input();
      for (CWorkBook* twin : {&gathering, &plain}) PutTypedOrFormula(*twin, Sheet(*twin, sheet)->cells, column, row, text);
      if (HasFatalFailure()) return;
      if (maker.Pick(12) != 0) continue;
      if (maker.Pick(3) == 0) {
        // A new rate in the cell every row may read.
        static const char* const kRates[] = {"2", "3", "-1", "0", "1E150", "1E-150", "1E300", "0.5"};
        const char* rate = kRates[maker.Pick(8)];
        for (CWorkBook* twin : {&gathering, &plain}) PutTypedOrFormula(*twin, Sheet(*twin, sheet)->cells, 0, 0, rate);
      }
      RecalculateTwins(maker.Pick(4) == 0 ? sheet : -1);
      if (HasFatalFailure()) return;
      ExpectSameBooks("round " + std::to_string(book) + ", step " + std::to_string(step));
      if (HasFatalFailure()) return;
    }
    RecalculateTwins();
    ExpectSameBooks("round " + std::to_string(book) + ", end");
    if (HasFatalFailure()) return;
    // The first pass after the edits against a second one over the same cells.
    RecalculateTwins();
    ExpectSameBooks("round " + std::to_string(book) + ", again");
    if (HasFatalFailure()) return;
    for (CWorkBook* twin : {&gathering, &plain})
      for (int i = 0; i < kSheets; ++i) Sheet(*twin, i)->cells.DeleteRange(0, kColumns, 0, kRows, nullptr, true);
  }
  // Else the comparison says nothing.
  EXPECT_GT(gathering.evaluator.pendingGather.TakenCount(), 500u);
  EXPECT_EQ(plain.evaluator.pendingGather.TakenCount(), 0u);
}

// Element-wise calls whose handlers read cells chosen by the elements'
// values (INDIRECT's addresses, VLOOKUP's keys), over short columns whose
// values the rate changes, beside cells that draw random numbers or read
// the totals: once an element's value changed, evaluating again waits for
// the cell it names now before the next element's cell, and the draws and
// circular verdicts show any other order.
TEST_F(GatheredTwins, ElementWiseCallsNamingCellsByTheirValuesGiveWhatEvaluatingAgainGives) {
  const uint32_t seed = TestSeed(87);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  auto pick = [&random](uint32_t count) { return std::uniform_int_distribution<uint32_t>(0, count - 1)(random); };
  static const char* const kTotals[] = {"=SUM(INDIRECT(R2C2:R9C2,1))", "=SUMPRODUCT(ABS(INDIRECT(R2C2:R9C2)))",
                                        "=SUM(VLOOKUP(R2C3:R9C3,R2C5:R9C5,1,FALSE))",
                                        "=SUMPRODUCT(LEN(INDIRECT(R2C2:R9C2,1)))"};
  static const char* const kRates[] = {"1", "2", "3"};
  CellStore* sheets[2] = {&Cells(gathering), &Cells(plain)};
  auto put = [&](uint16_t column, uint32_t row, const std::string& text) {
    PutTypedOrFormula(gathering, *sheets[0], column, row, text);
    PutTypedOrFormula(plain, *sheets[1], column, row, text);
  };
  for (int round = 0; round < 150; ++round) {
    for (CellStore* cells : sheets) cells->DeleteRange(0, kColumns, 0, kRows, nullptr, true);
    put(0, 0, kRates[pick(3)]);
    for (uint32_t row = 1; row < 9; ++row) {
      const std::string named = std::to_string(2 + pick(8));
      const std::string k = std::to_string(1 + pick(7));
      switch (pick(4)) {
        case 0: put(1, row, "=IF(R1C1>1,\"E" + std::to_string(2 + pick(8)) + "\",\"E" + named + "\")"); break;
        case 1: put(1, row, "=LEFT(\"E" + named + "\",RAND()*0+2)"); break;
        case 2: put(1, row, "=\"E\"&(2+MOD(R1C1*" + k + ",8))"); break;
        default: put(1, row, "\"E" + named + "\""); break;
      }
      switch (pick(3)) {
        case 0: put(2, row, "=MOD(R1C1*" + k + ",5)"); break;
        case 1: put(2, row, "=RAND()*0+" + std::to_string(pick(5))); break;
        default: put(2, row, std::to_string(pick(5))); break;
      }
      switch (pick(5)) {
        case 0: put(4, row, "=RAND()"); break;
        case 1: put(4, row, "=R1C1*" + k); break;
        case 2: put(4, row, "=R1C4*0+R1C6*0+" + std::to_string(pick(5))); break;
        case 3: put(4, row, std::to_string(pick(5))); break;
        default: put(4, row, "=IF(R1C1>2,\"abc\",RAND())"); break;
      }
    }
    put(3, 0, kTotals[pick(4)]);
    put(5, 0, kTotals[pick(4)]);
    const std::string what = "round " + std::to_string(round);
    RecalculateTwins();
    ExpectSameBooks(what + ", first pass");
    if (HasFatalFailure()) return;
    for (int edit = 0; edit < 3; ++edit) {
      put(0, 0, kRates[pick(3)]);
      RecalculateTwins();
      ExpectSameBooks(what + ", the rate typed anew");
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_GT(gathering.evaluator.pendingGather.TakenCount(), 500u);
}

// Columns long enough for the pass to list their cells for the criteria
// that walk them again and again: whole-column totals above them, over
// formulas giving numbers, texts, errors and numbers too large for a sum,
// some reading the totals back. Both ways give the same bytes.
TEST_F(GatheredTwins, ListedLongColumnsGiveWhatEvaluatingAgainGives) {
  const uint32_t seed = TestSeed(86);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  TotalsMaker maker(random);
  constexpr uint32_t kLongRows = 1500;
  for (int round = 0; round < 3; ++round) {
    for (CWorkBook* twin : {&gathering, &plain}) {
      CellStore& cells = Sheet(*twin, 0)->cells;
      cells.DeleteRange(0, kColumns, 0, kLongRows + 1, nullptr, true);
    }
    for (uint32_t row = 2; row < kLongRows; ++row) {
      std::string texts[3];
      texts[0] = std::to_string(maker.Pick(300));
      switch (maker.Pick(16)) {
        case 0: texts[1] = "=\"cat\"&RC[-1]"; break;
        case 1: texts[1] = "=1/(RC[-1]-7)"; break;
        case 2: texts[1] = "=RC[-1]*1E300"; break;
        case 3: texts[1] = "=R1C4+RC[-1]"; break;
        default: texts[1] = "=RC[-1]*2"; break;
      }
      texts[2] = maker.Pick(8) == 0 ? "=R[1]C[-1]" : "=IF(RC[-1]>100,\"high\",\"low\")";
      for (CWorkBook* twin : {&gathering, &plain})
        for (uint16_t c = 0; c < 3; ++c) PutTypedOrFormula(*twin, Sheet(*twin, 0)->cells, c, row, texts[c]);
      if (HasFatalFailure()) return;
    }
    static const char* const kTotals[] = {"=SUMIF(C3,\"high\",C2)", "=COUNTIF(C2,\">100\")", "=SUM(C2)",
                                          "=SUMIF(C2,\">50\")",      "=MAX(C2)",                 "=SUMPRODUCT(R3C1:R1500C1,R3C2:R1500C2)",
                                          "=PERCENTILE(C2,0.3)",      "=RANK(R700C2,C2)"};
    for (uint16_t c = 3; c < kColumns; ++c)
      for (uint32_t row = 0; row < 2; ++row) {
        const std::string total = kTotals[maker.Pick(8)];
        for (CWorkBook* twin : {&gathering, &plain}) PutTypedOrFormula(*twin, Sheet(*twin, 0)->cells, c, row, total);
      }
    for (int pass = 0; pass < 2; ++pass) {
      RecalculateTwins();
      ExpectSameBooks("round " + std::to_string(round) + ", pass " + std::to_string(pass));
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_GT(gathering.evaluator.pendingGather.TakenCount(), 1000u);
}

// Cells typed into both twins, each entry followed by a pass as the program
// runs one unless it is one of several put in at once (as a paste puts
// them), comparing both after every pass and after a second one. Texts are
// stored-form formulas or values.
struct Entry {
  uint16_t column;
  uint32_t row;
  const char* text;
  bool passAfter = true;
};

class TypedTwins : public GatheredTwins {
 protected:
  void TypeAll(std::initializer_list<Entry> entries, int rounds = 1) {
    for (int round = 0; round < rounds; ++round)
      for (const Entry& entry : entries) {
        for (CWorkBook* twin : {&gathering, &plain})
          PutTypedOrFormula(*twin, Sheet(*twin, 0)->cells, entry.column, entry.row, entry.text);
        if (HasFatalFailure() || !entry.passAfter) continue;
        RecalculateTwins();
        ExpectSameBooks(std::string("after ") + entry.text);
        if (HasFatalFailure()) return;
      }
    RecalculateTwins();
    ExpectSameBooks("a second pass");
  }
  void Clear() {
    for (CWorkBook* twin : {&gathering, &plain}) Sheet(*twin, 0)->cells.DeleteRange(0, kColumns, 0, kRows, nullptr, true);
  }
  uint8_t ErrorAt(uint16_t column, uint32_t row) {
    const CellRecord* cell = Sheet(gathering, 0)->cells.GetCell(row, column);
    return cell ? cell->ErrorCode() : 0;
  }
};

// A total overflows once the cells it reads are calculated, and the walk
// stops there before the cell that closes a cycle: the first pass gives
// what evaluating again gives, "#NUM!" and not "#CIRC!". The values read
// must stay tame for the walk's later cells to be taken: SUMPRODUCT's pairs
// and SUMIF's sums; SUMPRODUCT's products of three, which overflow even
// from tame values, are not taken after a changed value at all.
TEST_F(TypedTwins, TotalsThatOverflowStopTheWalkBeforeACycle) {
  TypeAll({{0, 0, "=SUMPRODUCT(R2C2:R3C2,R2C3:R3C3)"},
           {2, 2, "1"},
           {1, 2, "=R1C1+1"},
           {1, 1, "=1"},
           {2, 1, "=1"},
           {1, 1, "=1E200", false},
           {2, 1, "=1E200"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  Clear();
  // SUMIF's sums are numbers typed in, which the search cells, once
  // calculated, let into the total until it overflows.
  TypeAll({{3, 0, "=SUMIF(R2C2:R4C2,\">0\",R2C3:R4C3)"},
           {2, 1, "1E308"},
           {2, 2, "1E308"},
           {2, 3, "1E308"},
           {1, 3, "=R1C4+1"},
           {1, 1, "=0"},
           {1, 2, "=0"},
           {1, 1, "=1", false},
           {1, 2, "=1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(3, 0), kErrorNum);
  Clear();
  TypeAll({{0, 0, "=SUMPRODUCT(R2C2:R3C2,R2C3:R3C3,R2C4:R3C4)"},
           {2, 2, "1"},
           {3, 2, "1"},
           {1, 2, "=R1C1+1"},
           {1, 1, "=1E110"},
           {2, 1, "=1E110"},
           {3, 1, "=1E110"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  Clear();
  // A sum of squares: a number read as tame that turns out too large.
  TypeAll({{0, 0, "=SUMX2PY2(R2C2:R3C2,R2C3:R3C3)"},
           {2, 2, "1"},
           {1, 2, "=R1C1+1"},
           {1, 1, "=1"},
           {2, 1, "=1"},
           {1, 1, "=1E200"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
}

// A total whose walk stops at an overflowing running total before a later
// cell that reads the total, after an edit: the walk must take no cell its
// evaluation would not reach, whatever it read before the first cell not
// yet calculated, whatever pairs share cells, whatever mixes arrays and
// ranges: "#NUM!", no cycle.
TEST_F(TypedTwins, AWalkTakesNoCellPastAnOverflowItsEvaluationStopsAt) {
  // A search cell read again at once as the next pair's sum.
  TypeAll({{1, 4, "=R1C3"},
           {1, 5, "=R1C3"},
           {1, 6, "=R1C3"},
           {1, 7, "=IF(R1C3>1E300,R1C1,0)"},
           {0, 0, "=SUMIF(R5C2:R8C2,\">0\",R4C2:R7C2)"},
           {2, 0, "1E308"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(0, 0), kErrorNum);
  EXPECT_EQ(ErrorAt(1, 7), kErrorNum);
  Clear();
  // A huge sum read before the first uncalculated search cell.
  TypeAll({{1, 3, "1E308"},
           {2, 3, "1"},
           {1, 4, "1E308"},
           {2, 4, "=R1C4"},
           {2, 5, "=IF(R1C4>0,R1C1,0)"},
           {0, 0, "=SUMIF(R4C3:R6C3,\">0\",R4C2:R6C2)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(2, 5), kErrorNum);
  Clear();
  // An array beside a range.
  TypeAll({{2, 4, "=R1C4"}, {2, 6, "=IF(R1C4>0,R1C1,0)"}, {0, 0, "=SUMPRODUCT({1E308;1;1},R5C3:R7C3)"}, {3, 0, "2"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(2, 6), kErrorNum);
  Clear();
  // A huge value beside a cell whose old value is an error.
  TypeAll({{1, 3, "1E308"},
           {2, 3, "=IF(R1C4>1,2,NA())"},
           {1, 4, "1"},
           {2, 4, "=IF(R1C4>1,R1C1,0)"},
           {0, 0, "=SUMPRODUCT(R4C2:R6C2,R4C3:R6C3)"},
           {3, 0, "2"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(2, 4), kErrorNum);
}

// The guards of the walks that stop on values, each met by a layout whose
// first pass would take a cell its evaluation never reaches (a cycle
// through it) without the guard: a huge value read while listing, beside
// a cell that changes to a tame one (a pair of ranges along their rows,
// and an array beside a range, read position by position); factors of
// three ranges, whose bounds are narrower than a pair's; a sum of
// squares that stops at an error; NPV, whose later ranges are not read
// after an error in an earlier one.
TEST_F(TypedTwins, WalksThatStopOnValuesTakeNoCellPastWhereTheyStop) {
  for (const char* total : {"=SUMPRODUCT(R2C2:R4C2,R2C3:R4C3)", "=SUMPRODUCT({1;1E308;1},R2C3:R4C3)"}) {
    TypeAll({{1, 1, "1"},
             {2, 1, "=R1C4"},
             {1, 2, "1E308"},
             {2, 2, "=IF(R1C4>0,2,0)"},
             {1, 3, "1"},
             {2, 3, "=IF(R1C4>0,R1C1,0)"},
             {0, 0, total},
             {3, 0, "1"}});
    if (HasFatalFailure()) return;
    EXPECT_EQ(ErrorAt(0, 0), kErrorNum) << total;
    EXPECT_EQ(ErrorAt(2, 3), kErrorNum) << total;
    Clear();
  }
  // Products that stand for the pass, too large to be tame: a tame change
  // before them moves the total so that adding the largest number now
  // overflows where it did not (2^970 - 2^918 and then the largest number
  // sum to just below the point that rounds to infinity). Typed in,
  // calculated to the same value, and calculated before the total.
  static const char* const kLarge[3][3] = {
      {"9.979201547673597E+291", "1.7976931348623157E+308", "0"},
      {"=9.979201547673597E+291", "=1.7976931348623157E+308", "0"},
      {"=9.979201547673597E+291", "=1.7976931348623157E+308", "=R3C2+R5C2"}};
  for (const auto& large : kLarge) {
    TypeAll({{1, 1, "=IF(R1C4>0,1E279,0)"},
             {2, 1, "1"},
             {1, 2, large[0]},
             {2, 2, "1"},
             {1, 3, "=1"},
             {2, 3, "1"},
             {1, 4, large[1]},
             {2, 4, "1"},
             {1, 5, "=IF(R1C4>0,R1C6,0)"},
             {2, 5, "1"},
             {4, 0, large[2]},
             {5, 0, "=SUMPRODUCT(R2C2:R6C2,R2C3:R6C3)"},
             {3, 0, "1"}});
    if (HasFatalFailure()) return;
    EXPECT_EQ(ErrorAt(5, 0), kErrorNum) << large[0];
    EXPECT_EQ(ErrorAt(1, 5), kErrorNum) << large[0];
    Clear();
  }
  // Three factors of a size two of them could take, read while listing or
  // calculated after.
  static const char* const kFactors[2][2] = {{"1E140", "=IF(R1C5>0,1E40,0)"},
                                             {"=IF(R1C5>0,1E103,0)", "=IF(R1C5>0,1E103,0)"}};
  for (const auto& factors : kFactors) {
    const char* factor = factors[0];
    TypeAll({{1, 1, "=R1C5"},
             {2, 1, "1"},
             {3, 1, "1"},
             {1, 2, factor},
             {2, 2, factor},
             {3, 2, factors[1]},
             {1, 3, "1"},
             {2, 3, "1"},
             {3, 3, "=IF(R1C5>0,R1C1,0)"},
             {0, 0, "=SUMPRODUCT(R2C2:R4C2,R2C3:R4C3,R2C4:R4C4)"},
             {4, 0, "1"}});
    if (HasFatalFailure()) return;
    EXPECT_EQ(ErrorAt(0, 0), kErrorNum) << factor;
    EXPECT_EQ(ErrorAt(3, 3), kErrorNum) << factor;
    Clear();
  }
  // A column of any sizes beside one of numbers typed in: the products must
  // stay tame, a cell's bounds set by its partner; a cell read again at once
  // beside another partner is held to no partner's bounds.
  TypeAll({{1, 1, "=R1C4"},
           {2, 1, "1"},
           {1, 2, "=IF(R1C4>0,1E200,1)"},
           {2, 2, "1E150"},
           {1, 3, "=IF(R1C4>0,R1C1,0)"},
           {2, 3, "1"},
           {0, 0, "=SUMPRODUCT(R2C2:R4C2,R2C3:R4C3)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(1, 3), kErrorNum);
  Clear();
  static const char* const kShared[3][3] = {{"1", "=IF(R1C4>0,1E120,1E-100)", "1E300"},
                                            {"=R1C4", "=IF(R1C4>0,1E120,1E-100)", "1E200"},
                                            {"1", "=IF(R1C4>0,1E250,1)", "=IF(R1C4>0,1E100,1)"}};
  for (const auto& shared : kShared) {
    TypeAll({{1, 1, shared[0]},
             {1, 2, shared[1]},
             {1, 3, shared[2]},
             {1, 4, "=IF(R1C4>0,R1C1,0)"},
             {0, 0, "=SUMPRODUCT(R2C2:R4C2,R3C2:R5C2)"},
             {3, 0, "1"}});
    if (HasFatalFailure()) return;
    EXPECT_EQ(ErrorAt(1, 4), kErrorNum) << shared[1];
    Clear();
  }
  TypeAll({{1, 1, "1"},
           {2, 1, "=IF(R1C4>0,NA(),1)"},
           {1, 2, "1"},
           {2, 2, "=IF(R1C4>0,R1C1,0)"},
           {0, 0, "=SUMX2PY2(R2C2:R3C2,R2C3:R3C3)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(2, 2), kErrorNA);
  Clear();
  TypeAll({{1, 1, "=IF(R1C4>0,NA(),1)"},
           {1, 2, "=R1C4"},
           {2, 1, "=R1C4"},
           {2, 2, "=IF(R1C4>0,R1C1,0)"},
           {0, 0, "=NPV(0.1,R2C2:R3C2,R2C3:R3C3)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(2, 2), kErrorNA);
}

// A listed cell calculated to -0 where it held 0 changed its value for a
// reader that tells them apart: the angle the total gives is the plain
// pass's, not the one its first evaluation kept.
TEST_F(TypedTwins, ACellThatTurnsFromZeroToMinusZeroChangedItsValue) {
  TypeAll({{1, 1, "=IF(R1C4>0,0*-1,0)"},
           {1, 2, "=R1C4*0"},
           {1, 3, "=R1C4*0"},
           {0, 0, "=ATAN2(R2C2,-1)+SUM(R3C2:R4C2)"},
           {3, 0, "1"}});
  if (HasFatalFailure()) return;
  const CellRecord* total = Sheet(gathering, 0)->cells.GetCell(0, 0);
  ASSERT_NE(total, nullptr);
  EXPECT_LT(total->CachedNumber(), 0.0);
}

// A formula reading, after the cell it needs first, a value an array
// formula spilled, whose formula is not calculated yet: evaluating again
// would wait for that formula at the value before reading on, so what the
// evaluation gathered after the value is not taken first. Each cell draws a
// random number, so any other order shows.
TEST_F(TypedTwins, AValueSpilledByAFormulaNotYetCalculatedIsWaitedForInItsTurn) {
  TypeAll({{1, 4, "=1"},
           {1, 11, "=RAND()"},
           {0, 7, "=RAND()*{1,1}"},
           {0, 0, "=R5C2+R8C2+R12C2"},
           {2, 0, "=SUM(R2C2:R20C2)"}},
          2);
}

// A search that listed a cell whose new value is its match stops there:
// the cell after it, which reads the search's total, is not taken for it
// (a circular verdict), but calculated in its turn.
TEST_F(TypedTwins, ASearchStopsAtACellThatBecameItsMatch) {
  TypeAll({{0, 1, "7"},
           {1, 1, "=RC[-1]"},
           {2, 0, "=MATCH(7,R2C2:R5C2,0)+LEN(VLOOKUP(\"a*\",R2C4:R5C4,1,FALSE))"},
           {3, 1, "=IF(RC[-3]=7,\"a\",\"b\")"},
           {1, 2, "=R1C3+1"},
           {3, 2, "=R1C3+1"},
           {0, 1, "1"},
           {0, 1, "7"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(1, 2), 0);
  EXPECT_EQ(ErrorAt(3, 2), 0);
}

// Walks that read on only past numbers: a cell listed as a number that
// becomes an error ends MIRR's flows there, and one listed as the same error
// as its partner that becomes a number ends PEARSON's pairs there; the cell
// after it, which reads the total, is not taken for it (a circular verdict)
// but calculated in its turn.
TEST_F(TypedTwins, AWalkThatGoesOnPastNumbersStopsWhereAValueBecameAnotherKind) {
  TypeAll({{0, 1, "7"},
           {1, 1, "=IF(RC[-1]=7,NA(),RC[-1])"},
           {2, 0, "=MIRR(R2C2:R5C2,0.1)"},
           {1, 2, "=R1C3+1"},
           {0, 1, "1"},
           {0, 1, "7"}});
  if (HasFatalFailure()) return;
  // Fewer than two flows before the error.
  EXPECT_EQ(ErrorAt(1, 2), kErrorDivZero);
  Clear();
  TypeAll({{0, 1, "7"},
           {1, 1, "=IF(RC[-1]=7,5,NA())"},
           {3, 1, "=NA()"},
           {3, 2, "1"},
           {3, 3, "2"},
           {1, 3, "3"},
           // Ranges too long for the pairs to be read ahead as numbers.
           {2, 0, "=PEARSON(R2C2:R80C2,R2C4:R80C4)"},
           {1, 2, "=R1C3+1"},
           {0, 1, "1"},
           {0, 1, "7"}});
  if (HasFatalFailure()) return;
  EXPECT_EQ(ErrorAt(1, 2), kErrorNA);
}

// An element-wise call over a range whose handler reads, by each element's
// value, cells of another argument (a lookup's table) or the cell the value
// names (INDIRECT): once an element's value changed, evaluating again may
// wait for a cell the handler reads now, before the next element's cell.
// Both draw random numbers, so any other order shows.
TEST_F(TypedTwins, AnElementWiseCallThatReadsCellsByItsValuesIsReadAgain) {
  TypeAll({{4, 1, "7"},
           {4, 2, "=RAND()"},
           {1, 1, "=IF(R1C4>1,8,7)"},
           {1, 2, "=RAND()*0+7"},
           {0, 0, "=SUM(VLOOKUP(R2C2:R3C2,R2C5:R3C5,1,FALSE))"},
           {3, 0, "1"},
           {3, 0, "2"}});
  if (HasFatalFailure()) return;
  Clear();
  TypeAll({{4, 1, "5"},
           {4, 2, "=RAND()"},
           {1, 1, "=IF(R1C4>1,\"E3\",\"E2\")"},
           {1, 2, "=LEFT(\"E2\",RAND()*0+2)"},
           {0, 0, "=SUM(INDIRECT(R2C2:R3C2,1))"},
           {3, 0, "1"},
           {3, 0, "2"}});
}

// A cell the evaluation listed, read again outside every walk (RANK's value
// after its list, which holds it) needs no entry: the list goes on, and the
// evaluation's result is kept when nothing changed.
TEST_F(TypedTwins, ACellListedBeforeAndReadAgainOutsideAWalkNeedsNoEntry) {
  TypeAll({{1, 1, "=R1C4"},
           {1, 2, "=R1C4+1"},
           {1, 3, "=R1C4*2"},
           {1, 4, "=IF(R1C4>1,R1C1,0)"},
           {0, 0, "=RANK(R3C2,R2C2:R4C2)+R5C2*0"},
           {3, 0, "1"},
           {3, 0, "2"}});
  if (HasFatalFailure()) return;
  Clear();
  // A cell a formula lower on the chain listed is not this evaluation's:
  // it ends the list, and is waited for in its turn (both draw numbers).
  TypeAll({{1, 3, "=RAND()"},
           {2, 5, "=RAND()"},
           {2, 4, "=1"},
           {1, 2, "1"},
           {1, 1, "=R5C3+R4C2+R6C3"},
           {0, 0, "=SUM(R2C2:R4C2)"}},
          2);
}

// The order statistics read a list again from its start once it turns out
// to be no short list of plain numbers: a cell not yet calculated whose
// stored value (a text) ended the first reading is waited for all the same,
// and the totals take its new value.
TEST_F(TypedTwins, AnOrderStatisticWaitsForACellThatEndedItsFirstReading) {
  TypeAll({{1, 0, "=IF(R1C4>0,5,\"x\")"},
           {1, 1, "1"},
           {1, 2, "2"},
           {1, 3, "3"},
           {0, 0, "=RANK(2,R1C2:R4C2)"},
           {4, 0, "=PERCENTILE(R1C2:R4C2,0.5)"},
           {3, 0, "0"}});
  if (HasFatalFailure()) return;
  // The pass after the edit, not the second one.
  for (CWorkBook* twin : {&gathering, &plain}) PutTypedOrFormula(*twin, Sheet(*twin, 0)->cells, 3, 0, "1");
  RecalculateTwins();
  ExpectSameBooks("after the edit");
  if (HasFatalFailure()) return;
  CellStore& cells = Sheet(gathering, 0)->cells;
  ASSERT_NE(cells.GetCell(0, 0), nullptr);
  ASSERT_NE(cells.GetCell(0, 4), nullptr);
  EXPECT_EQ(cells.GetCell(0, 0)->CachedNumber(), 3.0);
  EXPECT_EQ(cells.GetCell(0, 4)->CachedNumber(), 2.5);
}

// A result area that grows, while a cell the total gathered is calculated,
// into the range a lookup walks: evaluating again finds its match there and
// reads no further, so the cells gathered after it are not taken: no
// formula is noted as waiting for them.
TEST_F(TypedTwins, AResultAreaThatChangesEndsTheGatheredCells) {
  TypeAll({{7, 0, "1", false},
           {7, 1, "1", false},
           {8, 0, "7", false},
           {8, 1, "7", false},
           {9, 0, "0", false},
           {0, 5, "=IF(R1C10>0,R1C8:R2C9,0)", false},
           {1, 2, "=R6C1*0+1", false},
           {1, 11, "=RAND()", false},
           {1, 14, "=RAND()", false},
           {2, 0, "=VLOOKUP(7,R2C2:R20C2,1,FALSE)"},
           {9, 0, "1", false},
           {1, 11, "=RAND()+1"}});
}

// A walk whose cells depend on what an earlier walk summed: once a cell of
// the first walk changed, the second walk's gathered cells may no longer be
// the ones it reads.
TEST_F(TypedTwins, AWalkPlacedByAnotherWalksValuesIsReadAgain) {
  TypeAll({{0, 0, "=SUM(OFFSET(R10C2,MOD(SUM(R2C3:R6C3),5),0,4,1))"}});
  if (HasFatalFailure()) return;
  for (int round = 0; round < 3; ++round) {
    for (CWorkBook* twin : {&gathering, &plain}) {
      CellStore& cells = Sheet(*twin, 0)->cells;
      for (uint32_t row = 9; row < 20; ++row) PutTypedOrFormula(*twin, cells, 1, row, "=RAND()");
      for (uint32_t row = 1; row < 6; ++row) PutTypedOrFormula(*twin, cells, 2, row, "=RC[1]");
      PutTypedOrFormula(*twin, cells, 3, 1, std::to_string(round + 1));
    }
    RecalculateTwins();
    ExpectSameBooks("round " + std::to_string(round));
    if (HasFatalFailure()) return;
  }
}

// Nested totals, each over all the cells below it: every list would hold
// the rest of the column again, a square in all. A cell stands in one list
// at a time, so the lists hold each cell about once; their room is kept for
// the next recalculation within what this one needed, and given back once a
// recalculation needs far less.
TEST_F(GatheredTwins, NestedTotalsListEachCellOnceAndGiveTheRoomBack) {
  constexpr uint32_t kNested = 3000;
  for (CWorkBook* twin : {&gathering, &plain}) {
    CellStore& cells = Sheet(*twin, 0)->cells;
    for (uint32_t row = 0; row < kNested; ++row)
      PutFormula(*twin, cells, 0, row, "=SUM(R[1]C:R" + std::to_string(kNested + 1) + "C)*0+1");
  }
  const PendingGather& gather = gathering.evaluator.pendingGather;
  for (int pass = 0; pass < 2; ++pass) {
    RecalculateTwins();
    ExpectSameBooks("pass " + std::to_string(pass));
    if (HasFatalFailure()) return;
    EXPECT_LE(gather.PeakCount(), 3 * kNested);
    EXPECT_LE(gather.Capacity(), 4 * gather.PeakCount());
  }
  for (CWorkBook* twin : {&gathering, &plain}) {
    CellStore& cells = Sheet(*twin, 0)->cells;
    for (uint32_t row = 0; row + 1 < kNested; ++row) PutTypedOrFormula(*twin, cells, 0, row, "1");
  }
  RecalculateTwins();
  ExpectSameBooks("after the column was typed over");
  EXPECT_EQ(gather.Capacity(), 0u);
}

// A criterion that turns into an error ends SUMIF before its walk: the sum
// cells it would have read are not taken for it, and their bookkeeping (who
// waited for them) is what evaluating again leaves.
TEST_F(TypedTwins, ACriterionThatBecomesAnErrorTakesNoSumCells) {
  TypeAll({{4, 1, "=SUMIF(R28C1:R33C1,R1C1,R28C3:R33C3)", false},
           {2, 30, "=R[-1]C+R24C4", false},
           {0, 0, "=SUM(R2C5:R40C6*2)"}});
}

// The layout that made a pass quadratic: the gathered cells are calculated
// in one evaluation of the total, and the total is what it is below them.
TEST_F(GatheredTwins, TotalsAboveTheirColumnsTakeTheirCellsInOneRound) {
  CellStore& cells = Sheet(gathering, 0)->cells;
  for (uint32_t row = 0; row < 2000; ++row) {
    PutTypedOrFormula(gathering, cells, 0, row, std::to_string(row + 1));
    PutTypedOrFormula(gathering, cells, 1, row, "=RC[-1]*2");
  }
  PutTypedOrFormula(gathering, cells, 2, 0, "=SUM(C2)");
  PutTypedOrFormula(gathering, cells, 3, 0, "=SUMIF(R1C2:R2000C2,\">100\",R1C1:R2000C1)");
  ASSERT_TRUE(gathering.Recalculate(nullptr));
  // Each total evaluated twice: once to gather, once with every cell done.
  EXPECT_GE(gathering.evaluator.pendingGather.TakenCount(), 1998u);
  const CellRecord* total = cells.GetCell(0, 2);
  ASSERT_NE(total, nullptr);
  EXPECT_EQ(total->CachedNumber(), 2000.0 * 2001.0);
  const CellRecord* sumIf = cells.GetCell(0, 3);
  ASSERT_NE(sumIf, nullptr);
  EXPECT_EQ(sumIf->CachedNumber(), 2000.0 * 2001.0 / 2 - 50.0 * 51.0 / 2);
}

// Functions applied element by element to a column, above it: its cells
// are taken in one round as a total's are.
TEST_F(GatheredTwins, ElementWiseCallsAboveTheirColumnsTakeTheirCellsInOneRound) {
  CellStore& cells = Sheet(gathering, 0)->cells;
  for (uint32_t row = 0; row < 2000; ++row) {
    PutTypedOrFormula(gathering, cells, 0, row, std::to_string(row + 1));
    PutTypedOrFormula(gathering, cells, 1, row, "=1000-RC[-1]");
    PutTypedOrFormula(gathering, cells, 2, row, "=REPT(\"a\",MOD(RC[-2],5))");
  }
  PutTypedOrFormula(gathering, cells, 3, 0, "=SUMPRODUCT(ABS(R1C2:R2000C2))");
  PutTypedOrFormula(gathering, cells, 4, 0, "=SUM(LEN(R1C3:R2000C3))");
  ASSERT_TRUE(gathering.Recalculate(nullptr));
  EXPECT_GE(gathering.evaluator.pendingGather.TakenCount(), 2u * 1998u);
  const CellRecord* abs = cells.GetCell(0, 3);
  ASSERT_NE(abs, nullptr);
  EXPECT_EQ(abs->CachedNumber(), 999.0 * 1000.0 / 2 + 1000.0 * 1001.0 / 2);
  const CellRecord* lengths = cells.GetCell(0, 4);
  ASSERT_NE(lengths, nullptr);
  EXPECT_EQ(lengths->CachedNumber(), 400.0 * (0 + 1 + 2 + 3 + 4));
}

}  // namespace
