#include <algorithm>
#include <cstring>

#include "services/settings/settings_profile.h"
#include "platform/ui/recent_document_list.h"

void CopyRecentFilesToProfile(const RecentDocumentList& recent, COptions& options) {
  if (!options.Lists) return;
  ProfileLists& lists = *options.Lists;
  const int count = std::min(recent.Count(), kRecentFileCount);
  for (int i = 0; i < count; ++i) {
    const char* path = recent.Entry(i);
    const size_t length = std::min(std::strlen(path), size_t(kProfilePathSize - 1));
    std::memcpy(lists.recentFiles[i], path, length);
    lists.recentFiles[i][length] = 0;
  }
  lists.recentFileCount = uint8_t(count);
}
