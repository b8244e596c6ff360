#include "app/frame/unbuilt_commands.h"

#include "resources/resource_ids.h"

namespace {

struct CommandRange {
  uint32_t first;
  uint32_t last;
};

// One line per command or range of neighbouring commands.
const CommandRange kUnbuilt[] = {
    // Containers, charts and images.
    {ID_INSERT_CONTAINER, ID_INSERT_CONTAINER},
    {ID_INSERT_CHART_2D, ID_INSERT_CHART_XY},
    {ID_INSERT_IMAGE, ID_INSERT_IMAGE},
    {ID_COPY_IMAGE_TO, ID_COPY_IMAGE_TO},
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
