#include "core/base/global_options.h"

uint8_t AddressingA1 = 1;
uint8_t AutomaticUpdating = kUpdateAutomatic;

uint8_t UpdateMode(uint8_t workbookMode) {
  return workbookMode != 0 ? workbookMode : AutomaticUpdating;
}

void ResetGlobalOptions() {
  AddressingA1 = 1;
  AutomaticUpdating = kUpdateAutomatic;
}
