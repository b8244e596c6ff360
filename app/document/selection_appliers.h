#ifndef TALVERO_APP_DOCUMENT_SELECTION_APPLIERS_H
#define TALVERO_APP_DOCUMENT_SELECTION_APPLIERS_H

// The format changes of the active document's selection that the frame's
// dialogs and commands make, each one undo step followed by the repaint of
// the selection. Each is true also without an active document, when nothing
// is done; false, with the message shown, when the change cannot be made.

#include "core/styles/style_record.h"

class CMainFrame;

// The template's drop-down list reference (list number, sort, AutoAppend
// and AutoComplete) on every selected cell.
bool ApplyDropDownListToSelection(CMainFrame* frame, const StyleRecord& templateStyle);

#endif
