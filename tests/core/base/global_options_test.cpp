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

// The switch flips the mode in force, so a new workbook (following the
// option) and the active-worksheet modes switch too.
TEST(GlobalOptions, AutomaticUpdatingSwitchFlipsTheModeInForce) {
  const struct {
    uint8_t option;
    uint8_t workbook;
    uint8_t toggled;
  } cases[] = {
      {kUpdateAutomatic, 0, kUpdateManual},
      {kUpdateManual, 0, kUpdateAutomatic},
      {kUpdateManual, kUpdateAutomatic, kUpdateManual},
      {kUpdateAutomatic, kUpdateManual, kUpdateAutomatic},
      {kUpdateAutomatic, kUpdateAutomaticActiveSheet, kUpdateManualActiveSheet},
      {kUpdateAutomatic, kUpdateManualActiveSheet, kUpdateAutomaticActiveSheet},
  };
  for (const auto& c : cases) {
    AutomaticUpdating = c.option;
    EXPECT_EQ(ToggledUpdateMode(c.workbook), c.toggled) << int(c.option) << " " << int(c.workbook);
    EXPECT_EQ(ToggledUpdateMode(ToggledUpdateMode(c.workbook)), UpdateMode(c.workbook));
  }
  ResetGlobalOptions();
}
