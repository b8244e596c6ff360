#include "core/base/global_options.h"

uint8_t AddressingA1 = 1;
uint8_t AutomaticUpdating = kUpdateAutomatic;

uint8_t UpdateMode(uint8_t workbookMode) {
  return workbookMode != 0 ? workbookMode : AutomaticUpdating;
}

uint8_t ToggledUpdateMode(uint8_t workbookMode) {
  switch (UpdateMode(workbookMode)) {
    case kUpdateAutomatic:
      return kUpdateManual;
    case kUpdateManual:
      return kUpdateAutomatic;
    case kUpdateAutomaticActiveSheet:
      return kUpdateManualActiveSheet;
    case kUpdateManualActiveSheet:
      return kUpdateAutomaticActiveSheet;
  }
  return workbookMode;
}

void ResetGlobalOptions() {
  AddressingA1 = 1;
  AutomaticUpdating = kUpdateAutomatic;
}
