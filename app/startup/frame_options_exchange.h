#ifndef TALVERO_APP_FRAME_OPTIONS_EXCHANGE_H
#define TALVERO_APP_FRAME_OPTIONS_EXCHANGE_H

// The main frame keeps the options it reads and changes (editing lock,
// auto-save and auto-close pauses, tool windows shown, its placement) in its
// own record. They are handed to it after the profile is read and taken
// back before the profile is written at exit.

#include "app/frame/frame_options.h"
#include "app/settings/global_options.h"

void CopyOptionsToFrame(const COptions& options, FrameOptions& frame);
void CopyOptionsFromFrame(const FrameOptions& frame, COptions& options);

#endif
