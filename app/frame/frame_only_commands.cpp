#include "app/frame/frame_only_commands.h"

#include "platform/ui/recent_document_list.h"
#include "resources/resource_ids.h"

namespace {

constexpr uint32_t kFrameOnly[] = {
    ID_FILE_NEW,        ID_FILE_OPEN,         ID_APP_EXIT,          ID_APP_ABOUT,           ID_OPTIONS,
    ID_LOAD_PROFILE,    ID_SAVE_PROFILE_AS,   ID_REGION_GENERIC,    ID_REGION_SYSTEM,       ID_REGION_USER,
    ID_REGISTER_SERVER, ID_UNREGISTER_SERVER, ID_HELP_CONTENTS,     ID_SUPPORT,             ID_ONLINE_HELP,
    ID_LOCK_EDITING,    ID_VIEW_COMPOSER,     ID_REMOVE_BOOKMARK,   ID_REMOVE_ALL_BOOKMARKS,
};

constexpr uint32_t kPreviewing[] = {
    ID_PREVIEW_PRINT_ALL, ID_PREVIEW_GO_TO,    ID_PREVIEW_PREVIOUS,   ID_PREVIEW_NEXT,
    ID_PREVIEW_ZOOM_IN,   ID_PREVIEW_ZOOM_OUT, ID_PREVIEW_CLOSE,      ID_NEXT_WORKSHEET,
    ID_PREVIOUS_WORKSHEET, ID_FILE_PRINT,      ID_FILE_PAGE_SETUP,    ID_FILE_PRINT_PREVIEW,
    ID_APP_EXIT,
};

}  // namespace

bool RunsWhilePreviewing(uint32_t command) {
  for (uint32_t previewing : kPreviewing)
    if (previewing == command) return true;
  return false;
}

bool WorksWithoutDocument(uint32_t command) {
  if (command >= ID_FILE_MRU_FIRST && command < ID_FILE_MRU_FIRST + RecentDocumentList::kMaxEntries) return true;
  for (uint32_t frameOnly : kFrameOnly)
    if (frameOnly == command) return true;
  return false;
}
