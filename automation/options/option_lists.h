#ifndef TALVERO_AUTOMATION_OPTIONS_OPTION_LISTS_H
#define TALVERO_AUTOMATION_OPTIONS_OPTION_LISTS_H

// The user formats and the bookmarks of the settings lists as a client of
// the automation server reads and replaces them: one text per entry, a user
// format written "name, pattern". A replacement is gathered whole first and
// then stored, so that a refused text leaves the lists as they were.

#include <cstddef>
#include <cstdint>

#include "services/settings/global_options.h"

// The longest text a client gives for a user format, in characters.
constexpr size_t kUserFormatTextCapacity = 100;
// Room for an entry's "name, pattern", its NUL included.
constexpr size_t kUserFormatEntryTextSize = 2 * kUserFormatTextSize + 2;

struct UserFormatList {
  uint8_t count = 0;
  char names[kUserFormatCount][kUserFormatTextSize];
  char patterns[kUserFormatCount][kUserFormatTextSize];
};

struct BookmarkList {
  uint8_t count = 0;
  char texts[kBookmarkCount][kProfilePathSize];
};

// Appends "name, pattern": the name runs to the first comma (or the end),
// the commas and blanks after it are skipped and the rest is the pattern.
// False when the list is full or a part is longer than its field holds.
bool AddUserFormatText(UserFormatList& list, const char* text);
// Appends a bookmark; false when the list is full or the text longer than
// an entry holds.
bool AddBookmarkText(BookmarkList& list, const char* text);

void StoreUserFormats(const UserFormatList& list, ProfileLists& lists);
void StoreBookmarks(const BookmarkList& list, ProfileLists& lists);

// The text of user format entry, "name, pattern", into out
// (kUserFormatEntryTextSize bytes).
void UserFormatText(const ProfileLists& lists, int entry, char* out);

#endif
