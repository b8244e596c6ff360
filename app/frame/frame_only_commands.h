#ifndef TALVERO_APP_FRAME_FRAME_ONLY_COMMANDS_H
#define TALVERO_APP_FRAME_FRAME_ONLY_COMMANDS_H

// The commands of the frame's menu that do their work without an open
// document: new and open, the recent files, the program's options, profile,
// regions, registration, bookmarks kept in the options, help and exit.
// Every other command of the menu works on a document and is disabled
// while none is open.

#include <cstdint>

bool WorksWithoutDocument(uint32_t command);

#endif
