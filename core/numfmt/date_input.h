#ifndef TALVERO_CORE_DATE_INPUT_H
#define TALVERO_CORE_DATE_INPUT_H

// Typed dates, times and date-times: in the forms the date and time styles
// show them ("5/16/2009", "May 16, 2009", "10:00 PM", "[h]:mm:ss"), in the
// current date and time separators and month and day names, and in ISO 8601.

#include <cstdint>

#include "core/numfmt/date_time.h"
#include "core/numfmt/num_format_params.h"

struct NumberFormat;
struct RegionalSettings;

// Reads a text by a compiled date or time code (its first section). Blanks
// between the parts are skipped; separators must be the given ones; numbers
// are digit runs checked against their ranges; names are the locale's,
// letter case aside; "AM" and "PM" are capitals. A two-digit year is in this
// century ("09" is 2009); a code without a year takes the current year, one
// without a day the first. *end is left after the match and the blanks that
// follow it. An elapsed code ("[h]:mm:ss") sets *elapsed and reads hours,
// minutes or seconds beyond their clock ranges; its days go to the day field,
// and the value is a duration, never a clock time.
bool ParseLocaleDate(const NumberFormat& code, const char* text, const char** end, DateTime* value,
                     const RegionalSettings& separators, bool* elapsed);

// A typed date, time or date-time, tried against the cell's own date and
// time codes, then ISO 8601, then every date style and every time style.
// On success *category becomes date (4), time (5) or date/time (6) and
// *options the date and time options of the form that matched. False, with
// category 0, when the text is none of them.
bool ParseValueWithHint(const char* text, DateTime* value, uint8_t* category, NumFormatOptions* options,
                        const RegionalSettings& separators, bool* elapsed);

#endif
