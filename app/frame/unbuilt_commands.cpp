#include "app/frame/unbuilt_commands.h"

#include "resources/resource_ids.h"

namespace {

struct CommandRange {
  uint32_t first;
  uint32_t last;
};

// One line per command or range of neighbouring commands.
const CommandRange kUnbuilt[] = {
    // Options, profiles, regions and the composer.
    {ID_OPTIONS, ID_OPTIONS},
    {ID_LOAD_PROFILE, ID_SAVE_PROFILE_AS},
    {ID_REGION_GENERIC, ID_REGION_USER},
    {ID_REGION_SYSTEM, ID_REGION_SYSTEM},
    {ID_VIEW_COMPOSER, ID_VIEW_COMPOSER},
    // Adding bookmarks, the go-to box and locking.
    {ID_ADD_BOOKMARK, ID_ADD_BOOKMARK},
    {ID_GO, ID_GO},
    {ID_LOCK_EDITING, ID_LOCK_EDITING},
};

uint32_t g_handledCommands = 0;

}  // namespace

bool IsCommandUnbuilt(uint32_t command) {
  for (const CommandRange& range : kUnbuilt) {
    if (command >= range.first && command <= range.last) return true;
  }
  return false;
}

void CountHandledCommand() { ++g_handledCommands; }

uint32_t HandledCommandCount() { return g_handledCommands; }
