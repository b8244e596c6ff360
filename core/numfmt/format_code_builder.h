#ifndef TALVERO_CORE_FORMAT_CODE_BUILDER_H
#define TALVERO_CORE_FORMAT_CODE_BUILDER_H

// The code of a predefined number-format category, built from the options a
// style keeps for it each time a cell is shown, a file written or a dialog
// shows a sample. The result is an ordinary format code.

#include <cstddef>
#include <cstdint>

struct RegionalSettings;
union NumFormatOptions;

// Writes the code of a category (empty for the default and user-pattern
// categories) with the decimal, thousands, date and time separators and the
// date orders of the given settings (null: the generic ones); the options'
// use-locale-order flag takes the orders of the current settings instead.
// Options outside their documented ranges are brought into them, so that
// every code built compiles. False, with an empty buffer, when the code does
// not fit.
bool BuildFormatCode(uint8_t category, const NumFormatOptions& options, char* buffer, size_t size,
                     const RegionalSettings* separators);

#endif
