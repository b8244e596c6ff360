#include <algorithm>
#include <cstring>

#include "services/settings/settings_profile.h"
#include "platform/ui/recent_document_list.h"

void CopyRecentFilesToProfile(const RecentDocumentList& recent, COptions& options) {
  if (!options.Lists) return;
  ProfileLists& lists = *options.Lists;
  // A path the profile's slot cannot hold whole is left out: cut, it would
  // name another file.
  int count = 0;
  for (int i = 0; i < recent.Count() && count < kRecentFileCount; ++i) {
    const char* path = recent.Entry(i);
    const size_t length = std::strlen(path);
    if (length >= size_t(kProfilePathSize)) continue;
    std::memcpy(lists.recentFiles[count], path, length + 1);
    ++count;
  }
  lists.recentFileCount = uint8_t(count);
}
