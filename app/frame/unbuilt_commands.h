#ifndef TALVERO_APP_FRAME_UNBUILT_COMMANDS_H
#define TALVERO_APP_FRAME_UNBUILT_COMMANDS_H

// The commands of the menus, toolbars and keys whose work the program does
// not do yet, in the frame and in the document windows alike. The frame
// keeps them disabled, and one that still arrives (from its key) does
// nothing. A command leaves the table when its handler is built.
//
// Beside it, a count of the commands that reached a handler, so that a test
// can tell a handled command from one that went nowhere.

#include <cstdint>

bool IsCommandUnbuilt(uint32_t command);

// Every handler of the frame and of the document windows counts the command
// it took.
void CountHandledCommand();
uint32_t HandledCommandCount();

#endif
