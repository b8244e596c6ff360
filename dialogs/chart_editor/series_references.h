#ifndef TALVERO_DIALOGS_CHART_EDITOR_SERIES_REFERENCES_H
#define TALVERO_DIALOGS_CHART_EDITOR_SERIES_REFERENCES_H

// What Apply checks in every chart of the working copy before the container
// takes it: the data series of a 3D chart share one view type, and the
// series that data series name as their X domains and error bars exist
// with those roles.

#include <cstdint>

#include "core/model/container_record.h"

// The message of the first rule that some chart breaks, the rules taken in
// this order whichever charts break them: IDS_SAME_3D_VIEW_TYPE, then
// IDS_MISSING_X_DOMAIN, then IDS_MISSING_ERROR_BARS; 0 when all hold.
uint16_t FindSeriesReferenceFault(const ContainerRecord& container);

#endif
