#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"
#include "numerics/numeric_function_table.h"
#include "tests/core/recalc_test_book.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// A1:A3 hold the variables, B1 .. B4 the target formulas.
class FormulaSolvers : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    CurrentRegionalSettings() = kGenericRegionalSettings;
    ASSERT_TRUE(InstallFunctionLibrary());
    state.sheet = &sheet;
    PutNumber(0, 1.0);
    PutNumber(1, 3.0);
    PutNumber(2, 7.0);
    PutFormula(0, "=A1*A1+SIN(A1)-5");
    PutFormula(1, "=(A1-2)^2+(A2+1)^2+A3");
    PutFormula(2, "=A1*A1-2e12");
    PutFormula(3, "=\"text\"&A1");
    PutFormula(4, "=ROOT(B5,A1,0,3,)");
  }
  void TearDown() override { ResetGlobalOptions(); }

  void PutNumber(uint32_t row, double value) {
    uint8_t record[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, 0, value, 0));
    ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
  }
  void PutFormula(uint32_t row, const char* display) {
    char text[kFormulaTextCapacity + 1];
    std::strncpy(text, display, sizeof text - 1);
    text[sizeof text - 1] = '\0';
    ASSERT_TRUE(state.TranslateFormula(text, sizeof text, 1, row, true));
    FormulaCellFields fields;
    fields.formula = text;
    fields.formulaLength = uint16_t(std::strlen(text));
    fields.resultFlags = kResultCachedNumber;
    uint8_t record[512];
    ASSERT_TRUE(BuildFormulaCell(record, sizeof record, row, 1, fields));
    ASSERT_TRUE(sheet.InsertCell(AsCellRecord(record), nullptr));
  }
  double Variable(uint32_t row) { return sheet.GetCell(row, 0)->Number(); }

  CellStore sheet;
  EvalState state;
};

TEST_F(FormulaSolvers, ResultsAndErrorsLeaveTheVariablesAsTheyWere) {
  static const FormulaCase kCases[] = {
      {"=ROUND(ROOT(B1,A1,0,3,),12)", "2.025211637445"},
      {"=ROUND(ROOT(B1,A1,-3,0,),12)", "-2.384676660147"},
      {"=ROOT(B1,A1,3,0,)", "#NUM!"},
      {"=ROOT(B1,A1,1,1.5,)", "#VALUE!"},
      {"=ROOT(A1,A1,0,3,)", "#REF!"},
      {"=ROOT(B1,C5,0,3,)", "#REF!"},
      {"=ROOT(B4,A1,0,3,)", "#VALUE!"},  // the target gives a text
      {"=ROOT(B1,A1,0,3)", "#SYNTAX!"},
      {"=ROOT(B5,A1,0,3,)", "#VALUE!"},  // a target that searches over itself ends
      {"=MINMC(B2,A1:A3,{0;0;0},-5,5,100)", "{1; 3; 7}"},
      {"=MINMC(B2,A1:A3,{1;1},-5,5,100)", "#VALUE!"},
      {"=MINMC(B2,A1:A3,,5,-5,100)", "#NUM!"},
      {"=MINMC(B4,A1:A3,{1;1;1},-5,5,10)", "#VALUE!"},
      {"=MINSIMPLEX(B2,A1:A3,{1;1;0},,,1,1)", "#NUM!"},
      {"=ROUND(MINSIMPLEX(B2,A1:A3,{1;1;0},0.5,1e-20,,1),5)", "{2; -1; 7}"},
      {"=ROUND(MINSIMPLEX(B2,A1:A3,{1;1;0},0.5,1e-20,,2),8)", "7"},
      {"=MINSIMPLEX(B4,A1:A3,{1;1;0},,,,1)", "#NUM!"},
  };
  // Each level of nested searches keeps its evaluator for the next search,
  // which must find it as new whatever the one before left: the cases run
  // again in random orders.
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::vector<const FormulaCase*> order;
  for (const FormulaCase& c : kCases) order.push_back(&c);
  for (int round = 0; round < 4; ++round) {
    for (const FormulaCase* c : order) {
      EXPECT_EQ(EvaluateToText(state, c->formula, 25, 99), c->result) << c->formula;
      EXPECT_EQ(Variable(0), 1.0) << c->formula;
      EXPECT_EQ(Variable(1), 3.0) << c->formula;
      EXPECT_EQ(Variable(2), 7.0) << c->formula;
    }
    std::shuffle(order.begin(), order.end(), random);
  }
}

// Near 1.4e6 the doubles are 2.3e-10 apart: the default tolerance cannot be
// met, and the search must still end, at the root.
TEST_F(FormulaSolvers, RootOfLargeMagnitudeEnds) {
  EXPECT_EQ(EvaluateToText(state, "=ROOT(B3,A1,1e6,2e6,)/1e6", 25, 99), "1.4142135623731");
}

// Roots of tests/golden/roots.csv, found by bisection to the last bit.
TEST_F(FormulaSolvers, RootsMatchBisection) {
  std::ifstream file(std::string(TALVERO_GOLDEN_DIR) + "/roots.csv");
  std::string line;
  uint32_t row = 10;
  while (std::getline(file, line)) {
    const size_t third = line.rfind(','), second = line.rfind(',', third - 1), first = line.rfind(',', second - 1);
    ASSERT_NE(first, std::string::npos) << line;
    PutFormula(row, line.substr(0, first).c_str());
    char formula[160];
    std::snprintf(formula, sizeof formula, "=ROOT(B%u,A1,%s,%s,)", row + 1,
                  line.substr(first + 1, second - first - 1).c_str(), line.substr(second + 1, third - second - 1).c_str());
    char text[kFormulaTextCapacity + 1];
    std::strcpy(text, formula);
    ASSERT_TRUE(state.TranslateFormula(text, sizeof text, 25, 99, true)) << formula;
    ASSERT_EQ(state.Evaluate(text, 25, 99), uint32_t(kEvalNumber)) << formula;
    ASSERT_EQ(state.operands[1].error, 0u) << line;
    const double expected = std::stod(line.substr(third + 1));
    EXPECT_NEAR(state.operands[1].number, expected, 1e-12 * std::fabs(expected)) << line;
    EXPECT_EQ(Variable(0), 1.0);
    ++row;
  }
  EXPECT_EQ(row, 19u);
}

// A workbook whose targets read the variables A1:A3 through other formula
// cells, on this worksheet and on Worksheet2.
class SolverPaths : public RecalcTestBook {
 protected:
  void SetUp() override {
    RecalcTestBook::SetUp();
    ASSERT_TRUE(InstallFunctionLibrary());
    const double values[] = {1.0, 3.0, 7.0};
    for (uint32_t row = 0; row < 3; ++row) {
      uint8_t record[kNumberCellSize];
      ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, 0, values[row], 0));
      ASSERT_TRUE(first->InsertCell(AsCellRecord(record), nullptr));
    }
    uint8_t record[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(record, sizeof record, 4, 0, 1.0, 0));
    ASSERT_TRUE(second->cells.InsertCell(AsCellRecord(record), nullptr));
    SetFormula(second->cells, 0, 0, "=Worksheet1!A1^2-2");
    SetFormula(second->cells, 1, 0, "=A5^2-2");
    SetFormula("B1", "=Worksheet2!A1");
    SetFormula("B2", "=2*B1+1");
    SetFormula("C1", "=(A1-2)^2");
    SetFormula("C2", "=C1+(A2+1)^2");
    SetFormula("C3", "=SUM(C2:C2,A3)");
    SetFormula("D1", "=IF(A1>2,\"big\",A1-1)");
    SetFormula("D2", "=D1");
    SetFormula("E1", "=A1&\"\"");
    SetFormula("E2", "=LEN(E1)-1");
    SetFormula("F1", "=F2+A1");
    SetFormula("F2", "=F1");
    SetFormula("F3", "=F1");
    ASSERT_TRUE(Recalculate(nullptr));
  }

  // Every record of both worksheets, byte for byte.
  std::string Snapshot() {
    std::string bytes;
    for (CellStore* store : {first, &second->cells}) {
      CellCursor cursor;
      cursor.flags = kCursorAfterRecord;
      cursor.block = store->FirstBlock();
      while (const CellRecord* cell = cursor.Next())
        bytes.append(reinterpret_cast<const char*>(cell->Bytes()), cell->Size());
    }
    return bytes;
  }
};

TEST_F(SolverPaths, TargetsSeeTheCellsBetweenRecalculatedAndTheWorkbookStaysAsItWas) {
  static const FormulaCase kCases[] = {
      {"=ROUND(ROOT(B1,A1,0,3,),12)", "1.414213562373"},  // through a cell of another worksheet
      {"=ROUND(ROOT(B2,A1,0,3,),12)", "1.224744871392"},  // through a chain of two
      {"=ROUND(ROOT(Worksheet2!B1,Worksheet2!A5,0,3,),12)", "1.414213562373"},  // read where it stands
      {"=ROUND(MINSIMPLEX(C3,A1:A3,{1;1;0},0.5,1e-20,,1),5)", "{2; -1; 7}"},
      {"=ROUND(MINSIMPLEX(C3,A1:A3,{1;1;0},0.5,1e-20,,2),8)", "7"},
      {"=ROOT(D2,A1,0,3,)", "#VALUE!"},  // a cell between gives a text on the way
      {"=ROOT(E2,A1,0,3,)", "#REF!"},    // a cell between holds a text
      {"=ROOT(F3,A1,-1,2,)", "#VALUE!"},  // the cells between form a cycle
  };
  book.evaluator.sheet = first;
  const std::string before = Snapshot();
  for (const FormulaCase& c : kCases) {
    EXPECT_EQ(EvaluateToText(book.evaluator, c.formula, 25, 99), c.result) << c.formula;
    EXPECT_TRUE(Snapshot() == before) << c.formula;
  }
}

// Roots beside their targets, calculated by a pass that has just stored
// each target's number, give the bits of the same search outside a pass:
// also when the search reads a target of another row, or when a text
// result between target and search rewrites records on the way.
TEST_F(SolverPaths, RootsBesideTheirTargetsInAPassGiveTheSameBitsAsAlone) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> value(0.5, 4.0);
  constexpr uint32_t kFirstRow = 10, kRows = 60;
  std::vector<std::string> searches(kRows);
  for (uint32_t i = 0; i < kRows; ++i) {
    const uint32_t row = kFirstRow + i;
    uint8_t record[kNumberCellSize];
    ASSERT_TRUE(BuildNumberCell(record, sizeof record, row, 7, value(random), 0));
    ASSERT_TRUE(first->InsertCell(AsCellRecord(record), nullptr));
    char text[200];
    static const char* const kTargets[] = {"=H%u*H%u-%u", "=H%u^3-H%u-%u", "=%u-H%u*H%u", "=H%u*H%u"};
    const uint32_t shape = random() % 4, constant = 1 + random() % 9;
    if (shape == 2)
      std::snprintf(text, sizeof text, kTargets[shape], constant, row + 1, row + 1);
    else
      std::snprintf(text, sizeof text, kTargets[shape], row + 1, row + 1, constant);
    SetFormula(*first, 8, row, text);
    // A text between the target and the search now and then.
    const bool between = random() % 3 == 0;
    if (between) {
      std::snprintf(text, sizeof text, "=REPT(\"x\",%u)", uint32_t(random() % 3000));
      SetFormula(*first, 9, row, text);
    }
    const uint32_t targetRow = i > 0 && random() % 4 == 0 ? row : row + 1;
    std::snprintf(text, sizeof text, "=ROOT(I%u,H%u,0,5,)", targetRow, targetRow);
    searches[i] = text;
    SetFormula(*first, between ? 10 : 9, row, text);
  }
  ASSERT_TRUE(Recalculate(nullptr));
  book.evaluator.sheet = first;
  for (uint32_t i = 0; i < kRows; ++i) {
    const uint32_t row = kFirstRow + i;
    const CellRecord* inPass = first->GetCell(row, 10);
    if (!inPass || !inPass->IsFormula()) inPass = first->GetCell(row, 9);
    ASSERT_NE(inPass, nullptr);
    char text[kFormulaTextCapacity + 1];
    std::snprintf(text, sizeof text, "%s", searches[i].c_str());
    const uint16_t column = inPass->Column();
    ASSERT_TRUE(book.evaluator.TranslateFormula(text, sizeof text, column, row, true));
    ASSERT_EQ(book.evaluator.Evaluate(text, column, row), kEvalNumber) << searches[i];
    const EvalValue& alone = book.evaluator.operands[1];
    uint64_t expected = 0, found = 0;
    const double passNumber = inPass->CachedNumber();
    std::memcpy(&expected, &alone.number, sizeof expected);
    std::memcpy(&found, &passNumber, sizeof found);
    EXPECT_EQ(inPass->ErrorCode(), alone.error) << searches[i] << " in row " << row + 1;
    if (alone.error == 0) {
      EXPECT_EQ(found, expected) << searches[i] << " in row " << row + 1;
    }
  }
}

}  // namespace
