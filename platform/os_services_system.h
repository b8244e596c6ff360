#ifndef TALVERO_PLATFORM_OS_SERVICES_SYSTEM_H
#define TALVERO_PLATFORM_OS_SERVICES_SYSTEM_H

#include "platform/os_services.h"

// The system clock of each implementation; OsGetLocalTime puts the test clock
// in front of it.
void OsSystemLocalTime(OsLocalTime* out);

#endif
