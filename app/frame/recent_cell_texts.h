#ifndef TALVERO_APP_FRAME_RECENT_CELL_TEXTS_H
#define TALVERO_APP_FRAME_RECENT_CELL_TEXTS_H

// The texts the user entered through the formula bar, newest first, that the
// " Data" button offers again.

#include "services/settings/global_options.h"

// Entries the list grows to; a profile may bring more, which are kept.
constexpr int kRecentCellTextsKept = 24;

// Puts the text at the front. An equal text (letter case aside) moves to the
// front instead of being repeated; a new text grows the list up to
// kRecentCellTextsKept entries, beyond which the last entry drops out. An
// empty text changes nothing; a longer one than a slot holds is cut.
void AddRecentCellText(ProfileLists& lists, const char* text);

#endif
