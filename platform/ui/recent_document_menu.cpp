#include "platform/ui/recent_document_menu.h"

#include <cstdio>

void UpdateRecentDocumentMenu(HMENU popup, const RecentDocumentList& list, UINT firstId,
                              const char* emptyText) {
  int insertAt = -1;
  for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
    UINT id = GetMenuItemID(popup, i);
    if (id >= firstId && id < firstId + RecentDocumentList::kMaxEntries) {
      DeleteMenu(popup, i, MF_BYPOSITION);
      insertAt = i;
    }
  }
  if (insertAt < 0) insertAt = GetMenuItemCount(popup);
  if (list.Count() == 0) {
    InsertMenuA(popup, insertAt, MF_BYPOSITION | MF_STRING | MF_GRAYED, firstId, emptyText);
    return;
  }
  for (int i = 0; i < list.Count(); ++i) {
    char text[RecentDocumentList::kMaxPathLength + 8];
    snprintf(text, sizeof text, i < 9 ? "&%d %s" : "%d %s", i + 1, list.Entry(i));
    InsertMenuA(popup, insertAt + i, MF_BYPOSITION | MF_STRING, firstId + i, text);
  }
}
