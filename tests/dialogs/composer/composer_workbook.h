#ifndef TALVERO_TESTS_DIALOGS_COMPOSER_WORKBOOK_H
#define TALVERO_TESTS_DIALOGS_COMPOSER_WORKBOOK_H

// A new workbook whose active worksheet holds 2.5 in B2, with the global
// options as the program starts, for the composer's tests.

#include <gtest/gtest.h>

#include "core/base/global_options.h"
#include "core/cells/cell_record.h"
#include "core/workbook/workbook.h"

class ComposerWorkbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobalOptions();
    ASSERT_TRUE(book.NewDocument());
    uint8_t record[32];
    ASSERT_NE(BuildNumberCell(record, sizeof record, 1, 1, 2.5), 0u);
    ASSERT_TRUE(book.activeWorksheet->cells.InsertCell(AsCellRecord(record), nullptr));
  }
  void TearDown() override { ResetGlobalOptions(); }

  CWorkBook book;
};

#endif
