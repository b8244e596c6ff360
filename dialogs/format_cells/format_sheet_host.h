#ifndef TALVERO_DIALOGS_FORMAT_SHEET_HOST_H
#define TALVERO_DIALOGS_FORMAT_SHEET_HOST_H

// What the format-cells sheet, its pages and the selection appliers reach of
// the main frame: the active document's workbook and selection, the frame's
// part after a format change, its activity clocks, and its state of the
// sheet's command. The main frame provides it; a test may put in its own.
// Windows only.

#include <windows.h>

#include "core/edit/format_selection.h"

class CWorkBook;

class FormatSheetHost {
 public:
  // The window that owns the sheet.
  virtual HWND FrameWindow() = 0;
  // The active document's workbook and its active view's selection (the
  // current cell with it); false while no document is active.
  virtual bool ActiveSelection(CWorkBook** book, FormatSelection* selection) = 0;
  // After the selection's format changed with an undo step: Undo enabled,
  // the document modified, the selection repainted.
  virtual void SelectionFormatted(const FormatSelection& selection) = 0;
  // Stamps the frame's activity clocks when the message is the user's
  // input (keys, mouse buttons, a menu opening).
  virtual void NoteInput(const MSG& msg) = 0;
  // The sheet closed itself (Cancel or Esc): it is no longer to be shown and
  // its command no longer checked.
  virtual void FormatSheetClosed() = 0;

 protected:
  ~FormatSheetHost() = default;
};

#endif
