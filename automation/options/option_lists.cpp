#include "automation/options/option_lists.h"

#include <cstdio>
#include <cstring>

namespace {

// Copies length characters and a NUL into a field; false when they do not fit.
bool CopyField(char* field, size_t size, const char* text, size_t length) {
  if (length >= size) return false;
  std::memcpy(field, text, length);
  field[length] = '\0';
  return true;
}

}  // namespace

bool AddUserFormatText(UserFormatList& list, const char* text) {
  if (list.count >= kUserFormatCount) return false;
  const char* comma = std::strchr(text, ',');
  const size_t nameLength = comma ? static_cast<size_t>(comma - text) : std::strlen(text);
  const char* pattern = text + nameLength;
  while (*pattern == ',' || *pattern == ' ') ++pattern;
  if (!CopyField(list.names[list.count], kUserFormatTextSize, text, nameLength) ||
      !CopyField(list.patterns[list.count], kUserFormatTextSize, pattern, std::strlen(pattern)))
    return false;
  ++list.count;
  return true;
}

bool AddBookmarkText(BookmarkList& list, const char* text) {
  if (list.count >= kBookmarkCount || !CopyField(list.texts[list.count], kProfilePathSize, text, std::strlen(text)))
    return false;
  ++list.count;
  return true;
}

void StoreUserFormats(const UserFormatList& list, ProfileLists& lists) {
  lists.userFormatCount = list.count;
  std::memcpy(lists.userFormatNames, list.names, sizeof list.names[0] * list.count);
  std::memcpy(lists.userFormatPatterns, list.patterns, sizeof list.patterns[0] * list.count);
}

void StoreBookmarks(const BookmarkList& list, ProfileLists& lists) {
  lists.bookmarkCount = list.count;
  std::memcpy(lists.bookmarks, list.texts, sizeof list.texts[0] * list.count);
}

void UserFormatText(const ProfileLists& lists, int entry, char* out) {
  std::snprintf(out, kUserFormatEntryTextSize, "%s, %s", lists.userFormatNames[entry],
                lists.userFormatPatterns[entry]);
}
