#ifndef TALVERO_APP_SETTINGS_GRID_VIEW_OPTIONS_COPY_H
#define TALVERO_APP_SETTINGS_GRID_VIEW_OPTIONS_COPY_H

// The grid view lies below the application and keeps its own copy of the
// options it reads; this hands it the user's, after the profile is read.

#include "services/settings/global_options.h"

void CopyOptionsToGridViews(const COptions& options);

#endif
