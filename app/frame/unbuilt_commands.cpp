#include "app/frame/unbuilt_commands.h"

#include <array>

namespace {

struct CommandRange {
  uint32_t first;
  uint32_t last;
};

// One line per command or range of neighbouring commands; none is left
// now that every command of the menus, toolbars and keys has its handler.
const std::array<CommandRange, 0> kUnbuilt = {};

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
