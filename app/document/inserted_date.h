#ifndef TALVERO_APP_DOCUMENT_INSERTED_DATE_H
#define TALVERO_APP_DOCUMENT_INSERTED_DATE_H

// The ISO 8601 text the date and time commands enter into the selection:
// today's date, the time, both, or a date a week or a month from today.

#include <cstddef>
#include <cstdint>

#include "platform/os_services.h"

// For the command (ID_INSERT_DATE, ID_INSERT_TIME, ID_INSERT_DATE_TIME,
// ID_DATE_NEXT_WEEK ... ID_DATE_END_OF_PREVIOUS_MONTH) at the local time
// now: "yyyy-mm-dd", "hh:mm:ss" or "yyyy-mm-ddThh:mm:ss"; a week away is 7
// days, a month away the same day of the month (its last day when the month
// is shorter), the end of a month its last day. False, with an empty text,
// for any other command or a text that does not fit.
bool ComposeInsertedDate(uint32_t command, const OsLocalTime& now, char* text, size_t size);

#endif
