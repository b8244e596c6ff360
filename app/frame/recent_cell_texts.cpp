#include "app/frame/recent_cell_texts.h"

#include <cstdio>
#include <cstring>

#include "core/base/text_compare.h"

void AddRecentCellText(ProfileLists& lists, const char* text) {
  if (text == nullptr || text[0] == '\0') return;
  int count = lists.recentCellTextCount < kRecentCellTextCount ? lists.recentCellTextCount : kRecentCellTextCount;
  // The slot whose entry goes: the equal one, else a new one below the
  // growth limit, else the last.
  int dropped = count < kRecentCellTextsKept ? count : count - 1;
  for (int i = 0; i < count; ++i) {
    const char* entry = lists.recentCellTexts[i];
    if (CompareTextIgnoringCase(entry, std::strlen(entry), text, std::strlen(text)) == 0) {
      dropped = i;
      break;
    }
  }
  if (dropped == count) ++count;
  std::memmove(lists.recentCellTexts[1], lists.recentCellTexts[0],
               static_cast<size_t>(dropped) * sizeof lists.recentCellTexts[0]);
  std::snprintf(lists.recentCellTexts[0], sizeof lists.recentCellTexts[0], "%s", text);
  lists.recentCellTextCount = static_cast<uint8_t>(count);
}
