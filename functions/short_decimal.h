#ifndef TALVERO_FUNCTIONS_SHORT_DECIMAL_H
#define TALVERO_FUNCTIONS_SHORT_DECIMAL_H

// Reading the short decimal numbers that criteria and complex numbers
// spell ("20", "-3.25") without the runtime's conversion.

#include <cstddef>

// The value of begin .. end when it is an optional sign, then up to fifteen
// digits in all with at most one point among them and no exponent: the
// digits as a whole number (exact below 2^53) divided once by an exact
// power of ten, which rounds as a correctly rounding strtod does. False,
// out untouched, for any other text, which strtod is then to read.
bool ReadShortDecimal(const char* begin, const char* end, double* out);

#endif
