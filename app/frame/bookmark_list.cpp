#include "app/frame/bookmark_list.h"

#include <cstring>

bool RemoveBookmarkEntry(ProfileLists& lists, int index) {
  const int count = lists.bookmarkCount;
  if (index < 0 || index >= count) return false;
  std::memmove(lists.bookmarks[index], lists.bookmarks[index + 1],
               static_cast<size_t>(count - index - 1) * sizeof lists.bookmarks[0]);
  std::memset(lists.bookmarks[count - 1], 0, sizeof lists.bookmarks[0]);
  lists.bookmarkCount = static_cast<uint8_t>(count - 1);
  return true;
}

void RemoveAllBookmarkEntries(ProfileLists& lists) {
  std::memset(lists.bookmarks, 0, sizeof lists.bookmarks);
  lists.bookmarkCount = 0;
}
