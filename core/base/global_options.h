#ifndef TALVERO_CORE_GLOBAL_OPTIONS_H
#define TALVERO_CORE_GLOBAL_OPTIONS_H

// The user's options that the workbook core reads. The options dialog and the
// settings profile write them; tests put them back with ResetGlobalOptions.

#include <cstdint>

// Recalculation modes. The global option holds one of the "all worksheets"
// modes; a workbook may override it with any of the four.
constexpr uint8_t kUpdateAutomatic = 1;
constexpr uint8_t kUpdateAutomaticActiveSheet = 2;
constexpr uint8_t kUpdateManual = 3;
constexpr uint8_t kUpdateManualActiveSheet = 4;

// Non-zero: formulas are shown and typed with A1 references; zero: R1C1.
extern uint8_t AddressingA1;
// The global recalculation mode, kUpdateAutomatic or kUpdateManual.
extern uint8_t AutomaticUpdating;

// The mode in force for a workbook: its own setting when non-zero, else the
// global option.
uint8_t UpdateMode(uint8_t workbookMode);
// The workbook's own mode after the Automatic Updating switch: the mode in
// force turned from automatic to manual or back, keeping whether all
// worksheets or the active one are recalculated.
uint8_t ToggledUpdateMode(uint8_t workbookMode);

// Restores the defaults the program starts with: A1 references, automatic
// recalculation.
void ResetGlobalOptions();

#endif
