#ifndef TALVERO_TESTS_NUMERICS_GATHERING_TWINS_H
#define TALVERO_TESTS_NUMERICS_GATHERING_TWINS_H

// Two workbooks of kSheets worksheets given the same cells, one calculating
// the cells a formula gathered before evaluating it again, one evaluating
// it again for each: compared record for record after each pass.

#include <gtest/gtest.h>

#include <string>

#include "core/base/global_options.h"
#include "functions/random_stream.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "core/workbook/worksheet.h"
#include "numerics/numeric_function_table.h"
#include "tests/numerics/twin_book_cells.h"

template <int kSheets>
class GatheringTwins : public ::testing::Test {
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
  static CellStore& Cells(CWorkBook& book, int sheet = 0) { return Sheet(book, sheet)->cells; }

  // Both recalculated from the same state of the random stream, which
  // both leave alike: a total evaluated fewer times draws fewer numbers.
  void RecalculateTwins(int oneSheet = -1) {
    const RandomSeeds before = ProcessRandomSeeds();
    const bool ok = gathering.Recalculate(oneSheet >= 0 ? &Sheet(gathering, oneSheet)->cells : nullptr);
    const RandomSeeds after = ProcessRandomSeeds();
    ProcessRandomSeeds() = before;
    ASSERT_EQ(ok, plain.Recalculate(oneSheet >= 0 ? &Sheet(plain, oneSheet)->cells : nullptr));
    EXPECT_EQ(after.shared.s1, ProcessRandomSeeds().shared.s1) << "the twins drew different counts of numbers";
    EXPECT_EQ(after.shared.s2, ProcessRandomSeeds().shared.s2);
  }

  void ExpectSameBooks(const std::string& what) {
    for (int i = 0; i < kSheets; ++i) {
      ExpectSameCells(Cells(gathering, i), Cells(plain, i), (what + ", sheet " + std::to_string(i)).c_str());
      if (HasFatalFailure()) return;
    }
  }

  CWorkBook gathering;
  CWorkBook plain;
};

#endif
