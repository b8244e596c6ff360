#ifndef TALVERO_APP_FRAME_BOOKMARK_LIST_H
#define TALVERO_APP_FRAME_BOOKMARK_LIST_H

// Removing the user's bookmarks from the profile's list: one entry (the
// following ones move up, the list keeps no gaps) or all of them.

#include "services/settings/global_options.h"

// False when index names no entry.
bool RemoveBookmarkEntry(ProfileLists& lists, int index);
void RemoveAllBookmarkEntries(ProfileLists& lists);

#endif
