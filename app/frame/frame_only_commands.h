#ifndef TALVERO_APP_FRAME_FRAME_ONLY_COMMANDS_H
#define TALVERO_APP_FRAME_FRAME_ONLY_COMMANDS_H

// The commands of the frame's menu that do their work without an open
// document: new and open, the recent files, the program's options, profile,
// regions, registration, bookmarks kept in the options, help and exit.
// Every other command of the menu works on a document and is disabled
// while none is open. Also which commands run while the print preview is
// shown.

#include <cstdint>

bool WorksWithoutDocument(uint32_t command);

// The commands the frame runs while the print preview stands in the
// document windows' place: the preview bar's, the keys that turn its pages,
// print and page setup (which close it first) and exit. The others would
// act on a document the user cannot see, or put one under the preview.
bool RunsWhilePreviewing(uint32_t command);

#endif
