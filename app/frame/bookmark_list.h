#ifndef TALVERO_APP_FRAME_BOOKMARK_LIST_H
#define TALVERO_APP_FRAME_BOOKMARK_LIST_H

// The user's bookmarks in the profile's list: how the name box shows one,
// and removing one entry (the following ones move up, the list keeps no
// gaps) or all of them. A bookmark is a qualified reference in stored form,
// the separator "  -  " and the bookmark's name.

#include <cstddef>

#include "services/settings/global_options.h"
#include "view/painting/selection_painter.h"

class EvalState;

constexpr char kBookmarkSeparator[] = "  -  ";

// The name box's text of a bookmark: its reference in the current
// addressing style, then the separator and the name while the whole stays
// below 256 characters, else the reference alone. A bookmark whose
// reference cannot be read is shown as it is, so that every bookmark keeps
// its place in the list.
void FormatBookmarkForDisplay(EvalState& translator, const char* bookmark, char* out, size_t size);

// The bookmark of a selection of the worksheet at sheetPath, in the
// workbook file when one is given: whole columns or whole rows when the
// selection spans every row or every column, else the cells, in stored
// form with absolute corners. False, with an empty text, when reference,
// separator and name together reach kProfilePathSize characters.
bool ComposeBookmark(const EvalState& state, const char* file, const char* sheetPath, const SelectionRange& selection,
                     const char* name, char* out, size_t size);

// False when index names no entry.
bool RemoveBookmarkEntry(ProfileLists& lists, int index);
void RemoveAllBookmarkEntries(ProfileLists& lists);

#endif
