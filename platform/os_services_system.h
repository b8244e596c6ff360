#ifndef TALVERO_PLATFORM_OS_SERVICES_SYSTEM_H
#define TALVERO_PLATFORM_OS_SERVICES_SYSTEM_H

#include "platform/os_services.h"

// The system clock of each implementation; OsGetLocalTime puts the test clock
// in front of it.
void OsSystemLocalTime(OsLocalTime* out);

// A Gregorian date within the range of the system's date record (years 1601
// to 30827). Both implementations check dates with it, so that an impossible
// date is refused instead of rolled into the next month.
bool OsIsValidSystemDate(int year, int month, int day);

#endif
