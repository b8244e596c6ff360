#ifndef TALVERO_PLATFORM_UI_RECENT_DOCUMENT_MENU_H
#define TALVERO_PLATFORM_UI_RECENT_DOCUMENT_MENU_H

// Shows a RecentDocumentList in a menu: entry i becomes command firstId + i,
// newest first, numbered "&1" to "&9" and then 10 to 16. An empty list
// shows emptyText as one greyed item with firstId.

#include <windows.h>

#include "platform/ui/recent_document_list.h"

// Replaces the recent-document items of the pop-up (the commands firstId to
// firstId + 15) where the first of them stands, or at the end.
void UpdateRecentDocumentMenu(HMENU popup, const RecentDocumentList& list, UINT firstId,
                              const char* emptyText);

#endif
