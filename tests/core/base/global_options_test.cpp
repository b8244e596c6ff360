#include "core/base/global_options.h"

#include <gtest/gtest.h>

TEST(GlobalOptions, WorkbookModeOverridesTheGlobalOne) {
  ResetGlobalOptions();
  EXPECT_EQ(AddressingA1, 1);
  EXPECT_EQ(UpdateMode(0), kUpdateAutomatic);
  AutomaticUpdating = kUpdateManual;
  EXPECT_EQ(UpdateMode(0), kUpdateManual);
  for (uint8_t mode : {kUpdateAutomatic, kUpdateAutomaticActiveSheet, kUpdateManual,
                       kUpdateManualActiveSheet})
    EXPECT_EQ(UpdateMode(mode), mode);
  AddressingA1 = 0;
  ResetGlobalOptions();
  EXPECT_EQ(AddressingA1, 1);
  EXPECT_EQ(AutomaticUpdating, kUpdateAutomatic);
}
