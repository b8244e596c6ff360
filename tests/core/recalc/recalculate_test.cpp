#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"
#include "tests/core/recalc_test_book.h"
#include "test_seed.h"

namespace {

class Recalculation : public RecalcTestBook {};

TEST_F(Recalculation, ChainsAndCyclesGiveTheExpectedValues) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> formulas;  // cell of Worksheet1, display formula
    std::vector<std::pair<const char*, const char*>> shown;     // cell, shown value
  };
  const Case cases[] = {
      {"needed cell later in storage order", {{"A1", "=B1+1"}, {"B1", "=2"}}, {{"A1", "3"}, {"B1", "2"}}},
      {"two-cell cycle", {{"A1", "=B1"}, {"B1", "=A1"}}, {{"A1", "#CIRC!"}, {"B1", "#CIRC!"}}},
      {"self reference", {{"A1", "=A1+1"}, {"A2", "=5"}}, {{"A1", "#CIRC!"}, {"A2", "5"}}},
      // The cycle is entered from outside: every cell is still calculated
      // and the cell that reads the cycle inherits its error.
      {"cycle entered from outside",
       {{"A1", "=B1"}, {"B1", "=C1"}, {"C1", "=B1"}, {"D1", "=A1+1"}, {"E1", "=F1*2"}, {"F1", "=5"}},
       {{"A1", "#CIRC!"}, {"B1", "#CIRC!"}, {"C1", "#CIRC!"}, {"D1", "#CIRC!"}, {"E1", "10"}, {"F1", "5"}}},
      {"long chain against storage order",
       {{"A1", "=A2+1"}, {"A2", "=A3+1"}, {"A3", "=A4+1"}, {"A4", "=A5+1"}, {"A5", "=1"}},
       {{"A1", "5"}, {"A2", "4"}, {"A3", "3"}, {"A4", "2"}, {"A5", "1"}}},
      {"several pending inputs", {{"A1", "=B1+C1+D1"}, {"B1", "=D1*2"}, {"C1", "=3"}, {"D1", "=4"}},
       {{"A1", "15"}, {"B1", "8"}}},
      {"other worksheet", {{"A1", "=Worksheet2!A1*3"}}, {{"A1", "21"}}},
      {"text and syntax results", {{"A1", "=\"ab\"&B1"}, {"B1", "=\"c\""}, {"C1", "=1+"}},
       {{"A1", "abc"}, {"B1", "c"}, {"C1", "#SYNTAX!"}}},
      {"an error before becomes circular", {{"A1", "=1/0+B1"}, {"B1", "=A1"}}, {{"A1", "#CIRC!"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    first->Clear(true);
    second->cells.Clear(true);
    SetFormula(second->cells, 0, 0, "=7");
    for (const auto& f : c.formulas) {
      const uint16_t column = static_cast<uint16_t>(f.first[0] - 'A');
      const uint32_t row = static_cast<uint32_t>(std::atoi(f.first + 1) - 1);
      SetFormula(*first, column, row, f.second);
    }
    ASSERT_TRUE(Recalculate(nullptr));
    for (const auto& s : c.shown) {
      const uint16_t column = static_cast<uint16_t>(s.first[0] - 'A');
      const uint32_t row = static_cast<uint32_t>(std::atoi(s.first + 1) - 1);
      EXPECT_EQ(Shown(*first, column, row), s.second) << s.first;
    }
    ExpectAllCalculated(*first);
    ExpectAllCalculated(second->cells);
  }
}

// Random formulas over numbers on two worksheets, compared with a recursive
// model: a cell that reaches a cycle shows "#CIRC!", every other formula its sum.
TEST_F(Recalculation, MatchesARecursiveModelOnRandomGraphs) {
  constexpr int kColumns = 5;
  constexpr int kRows = 7;
  constexpr int kCells = 2 * kColumns * kRows;
  // Guards against a generator that never makes what the test is about.
  int circularSeen = 0;
  int crossSheetSeen = 0;
  for (uint32_t seed = TestSeed(1), end = seed + 60; seed < end; ++seed) {
    SCOPED_TRACE(SeedTrace(seed));
    std::mt19937 random(seed);
    const bool allowCycles = seed % 2 == 0;
    first->Clear(true);
    second->cells.Clear(true);
    CellStore* stores[2] = {first, &second->cells};
    // Cell i: sheet i / (kColumns * kRows), then row-major.
    struct ModelCell {
      int kind = 0;  // 0 absent, 1 number, 2 formula
      double number = 0;
      std::vector<int> reads;
    };
    std::vector<ModelCell> model(kCells);
    std::vector<int> order(kCells);
    for (int i = 0; i < kCells; ++i) order[i] = i;
    std::shuffle(order.begin(), order.end(), random);
    std::vector<int> rank(kCells);
    for (int i = 0; i < kCells; ++i) rank[order[i]] = i;
    const auto name = [&](int i, int from) {
      const int sheet = i / (kColumns * kRows);
      const int at = i % (kColumns * kRows);
      std::string text;
      if (sheet != from / (kColumns * kRows)) text = sheet == 0 ? "Worksheet1!" : "Worksheet2!";
      text += static_cast<char>('A' + at % kColumns);
      text += std::to_string(at / kColumns + 1);
      return text;
    };
    for (int i = 0; i < kCells; ++i) {
      const int roll = static_cast<int>(random() % 10);
      ModelCell& cell = model[i];
      if (roll < 2) continue;
      const int sheet = i / (kColumns * kRows);
      const uint16_t column = static_cast<uint16_t>(i % (kColumns * kRows) % kColumns);
      const uint32_t row = static_cast<uint32_t>(i % (kColumns * kRows) / kColumns);
      if (roll < 5) {
        cell.kind = 1;
        cell.number = static_cast<double>(random() % 100);
        PutNumber(*stores[sheet], column, row, cell.number);
        continue;
      }
      cell.kind = 2;
      cell.number = static_cast<double>(random() % 10);
      std::string formula = "=" + std::to_string(static_cast<int>(cell.number));
      const int readCount = static_cast<int>(random() % 4);
      for (int k = 0; k < readCount; ++k) {
        const int target = static_cast<int>(random() % kCells);
        // Without cycles a formula reads only cells earlier in a random order.
        if (!allowCycles && rank[target] >= rank[i]) continue;
        if (allowCycles && random() % 3 != 0 && rank[target] >= rank[i]) continue;
        cell.reads.push_back(target);
        formula += "+" + name(target, i);
      }
      SetFormula(*stores[sheet], column, row, formula.c_str());
    }
    // The model: 0 unvisited, 1 in progress, 2 done.
    std::vector<int> state(kCells, 0);
    std::vector<bool> circular(kCells, false);
    std::vector<double> value(kCells, 0);
    std::function<void(int)> solve = [&](int i) {
      state[i] = 1;
      double sum = model[i].number;
      bool circ = false;
      for (int r : model[i].reads) {
        if (model[r].kind == 2) {
          if (state[r] == 1) {
            circ = true;
            continue;
          }
          if (state[r] == 0) solve(r);
          circ = circ || circular[r];
        }
        sum += model[r].kind ? (model[r].kind == 2 ? value[r] : model[r].number) : 0;
      }
      state[i] = 2;
      circular[i] = circ;
      value[i] = sum;
    };
    // A formula met again while in progress lies on a cycle, and whatever
    // reaches a circular cell is circular: one depth-first walk settles both.
    for (int i = 0; i < kCells; ++i)
      if (model[i].kind == 2 && state[i] == 0) solve(i);
    // A second pass starts from the cached results of the first.
    for (int pass = 0; pass < 2; ++pass) {
      ASSERT_TRUE(Recalculate(nullptr));
      for (int i = 0; i < kCells; ++i) {
        if (model[i].kind != 2) continue;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", value[i]);
        const std::string expected = circular[i] ? "#CIRC!" : buffer;
        circularSeen += circular[i] ? 1 : 0;
        for (int r : model[i].reads) crossSheetSeen += (r < kColumns * kRows) != (i < kColumns * kRows) ? 1 : 0;
        const int sheet = i / (kColumns * kRows);
        const uint16_t column = static_cast<uint16_t>(i % (kColumns * kRows) % kColumns);
        const uint32_t row = static_cast<uint32_t>(i % (kColumns * kRows) / kColumns);
        EXPECT_EQ(Shown(*stores[sheet], column, row), expected) << name(i, -1000) << " pass " << pass;
      }
      ExpectAllCalculated(*first);
      ExpectAllCalculated(second->cells);
    }
  }
  EXPECT_GT(circularSeen, 20);
  EXPECT_GT(crossSheetSeen, 100);
}

TEST_F(Recalculation, UpdateModeDecidesWhetherAndWhereToRecalculate) {
  struct Case {
    uint8_t mode;
    bool byCommand;
    const char* active;  // Worksheet1!A1 shown afterwards
    const char* other;   // Worksheet2!A1
  };
  const Case cases[] = {
      {kUpdateAutomatic, false, "2", "4"},          {kUpdateAutomatic, true, "2", "4"},
      {kUpdateAutomaticActiveSheet, false, "2", "0"}, {kUpdateAutomaticActiveSheet, true, "2", "0"},
      {kUpdateManual, false, "0", "0"},             {kUpdateManual, true, "2", "4"},
      {kUpdateManualActiveSheet, false, "0", "0"},  {kUpdateManualActiveSheet, true, "2", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + (c.byCommand ? " by command" : " after an edit"));
    first->Clear(true);
    second->cells.Clear(true);
    SetFormula(*first, 0, 0, "=1+1");
    SetFormula(second->cells, 0, 0, "=2+2");
    book.recalcMode = c.mode;
    ASSERT_TRUE(RecalculateForMode(c.byCommand));
    EXPECT_EQ(Shown(*first, 0, 0), c.active);
    EXPECT_EQ(Shown(second->cells, 0, 0), c.other);
  }
  // The global option applies while the workbook sets none.
  book.recalcMode = 0;
  AutomaticUpdating = kUpdateManual;
  SetFormula(*first, 0, 0, "=3");
  ASSERT_TRUE(RecalculateForMode(false));
  EXPECT_EQ(Shown(*first, 0, 0), "0");
}

// A pass over the active worksheet still calculates the cells it needs on
// another worksheet first.
TEST_F(Recalculation, OneSheetPassCalculatesTheCellsItNeedsElsewhere) {
  SetFormula(*first, 0, 0, "=Worksheet2!B2+1");
  SetFormula(second->cells, 1, 1, "=Worksheet2!C3*2");
  SetFormula(second->cells, 2, 2, "=5");
  SetFormula(second->cells, 3, 3, "=99");  // not needed: keeps its old value
  ASSERT_TRUE(Recalculate(first));
  EXPECT_EQ(Shown(*first, 0, 0), "11");
  EXPECT_EQ(Shown(second->cells, 1, 1), "10");
  EXPECT_EQ(Shown(second->cells, 3, 3), "0");
}

// A series that gives no array fails its chart (its error byte, and the
// refresh of its container) but not the recalculation.
TEST_F(Recalculation, RefreshesChartSeriesAfterThePass) {
  struct Case {
    const char* series;  // "" for a series without formula
    bool ok;
    uint8_t error;  // of the chart
  };
  const Case cases[] = {
      {"={1,2,3}", true, kWorkbookNoError},
      {"", true, kWorkbookNoError},
      {"=5", false, kWorkbookChartNeedsArray},
      {"=A1:A3", true, kWorkbookNoError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.series);
    ContainerRecord* container = new ContainerRecord();
    ASSERT_TRUE(book.AssignContainerId(container));
    container->items[0].kind = kItemChart;
    container->items[0].chart = new ChartRecord(kChart2D);
    container->header.itemCount = 1;
    ChartRecord& chart = *container->items[0].chart;
    chart.options.seriesCount = 1;
    std::strcpy(chart.series[0].dataArray, c.series);
    if (c.series[0]) {
      char text[kSeriesFormulaSize];
      std::strcpy(text, c.series);
      book.evaluator.sheet = first;
      ASSERT_TRUE(book.evaluator.TranslateFormula(text, sizeof text, 0, 0, true));
      std::strcpy(chart.series[0].dataArray, text);
    }
    book.activeWorksheet->AddContainer(container);
    book.error = kWorkbookNoError;
    EXPECT_TRUE(Recalculate(nullptr));
    EXPECT_EQ(book.error, kWorkbookNoError);
    EXPECT_EQ(chart.error, c.error);
    EXPECT_EQ(book.RefreshContainer(container->header.id), c.ok);
    EXPECT_EQ(book.error, c.error);
    EXPECT_TRUE(book.RefreshContainer(999));  // no such container
    book.activeWorksheet->RemoveContainer(container);
    delete container;
  }
}

TEST_F(Recalculation, MarkingFormulaCellsDirtyFlagsTheirPagesOnly) {
  PutNumber(*first, 0, 0, 1);
  SetFormula(*first, 0, 5000, "=1");
  SetFormula(*first, 3, 5001, "=2");
  ASSERT_TRUE(Recalculate(nullptr));
  ASSERT_TRUE(first->MarkFormulaCellsDirty());
  EXPECT_EQ(first->PageFlags(0), 0);
  EXPECT_EQ(first->PageFlags(4) & kPageHasFormulas, kPageHasFormulas);
  EXPECT_NE(first->IndexPage(4), nullptr);
  EXPECT_FALSE(Cell(*first, 0, 5000)->ResultFlags() & kResultCalculated);
  EXPECT_EQ(Shown(*first, 3, 5001), "2");  // the cached value stays
  char message[200] = "";
  EXPECT_TRUE(first->CheckInvariants(message, sizeof message)) << message;
}

// A chain far deeper than any fixed stack, against storage order.
TEST_F(Recalculation, DeepChainsNeedNoFixedStack) {
  constexpr uint32_t kDepth = 20000;
  for (uint32_t row = 0; row + 1 < kDepth; ++row) {
    const std::string formula = "=A" + std::to_string(row + 2) + "+1";
    SetFormula(*first, 0, row, formula.c_str());
  }
  SetFormula(*first, 0, kDepth - 1, "=1");
  ASSERT_TRUE(Recalculate(nullptr));
  EXPECT_EQ(Shown(*first, 0, 0), std::to_string(kDepth));
  ExpectAllCalculated(*first);
}

}  // namespace
