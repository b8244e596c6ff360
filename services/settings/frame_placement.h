#ifndef TALVERO_APP_FRAME_PLACEMENT_H
#define TALVERO_APP_FRAME_PLACEMENT_H

// Where the main frame opens and how it is shown, from the placement the
// options keep, and the placement it leaves there when it is destroyed.

#include "services/settings/global_options.h"

// True when the frame is created at options.FrameRect (copied to rect);
// false when it opens at the default position (maximised or minimised).
bool FrameCreateRect(const COptions& options, OptionsRect* rect);

// The show command for the new frame: the stored maximised or minimised
// state when the program was asked for a plain show (1, 5 or 10), else the
// requested command.
int FrameShowCommand(const COptions& options, int requestedShowCommand);

// Records the frame's placement as it is destroyed: the maximised and
// minimised states by themselves; otherwise its window rectangle, leaving
// the show state as the frame's size handler last set it.
void StoreFramePlacement(COptions& options, bool maximized, bool minimized,
                         const OptionsRect& windowRect);

#endif
