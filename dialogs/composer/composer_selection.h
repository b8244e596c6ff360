#ifndef TALVERO_DIALOGS_COMPOSER_SELECTION_H
#define TALVERO_DIALOGS_COMPOSER_SELECTION_H

// The text that the composer's "use the selection" commands give the
// current parameter: the selection's reference (qualified with the
// worksheet's path for the worksheet command), or the active cell's value.

#include <cstddef>
#include <cstdint>

#include "view/painting/selection_painter.h"

class CWorkBook;

enum class ComposerSelectionUse : uint8_t {
  kAddress,            // the Select button and "Cell Address"
  kWorksheetAddress,   // "Worksheet & Cell Address"
  kValue,              // "Cell Value"
};

struct ComposerSelection {
  SelectionRange range;
  uint32_t currentColumn;
  uint32_t currentRow;
  bool controlHeld;  // absolute references
  bool shiftHeld;    // the address command takes the value instead
};

// takesRange writes a one-cell selection as a range of that cell. False,
// with an empty text, when the reference does not fit.
bool ComposerSelectionText(CWorkBook* book, ComposerSelectionUse use, const ComposerSelection& selection,
                           bool takesRange, char* out, size_t size);

#endif
