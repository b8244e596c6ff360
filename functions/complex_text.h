#ifndef TALVERO_FUNCTIONS_COMPLEX_TEXT_H
#define TALVERO_FUNCTIONS_COMPLEX_TEXT_H

// Complex numbers as the engineering functions read them: "3+4i", "-2.5j",
// "1-i", "7", "i". Numbers use the generic decimal point and may carry an
// exponent.

// True with both parts when the whole text is a complex number whose parts
// pass the result check. Blanks may lead, may surround the sign between the
// parts and may follow a lone real or imaginary part; nothing may follow
// the "i" or "j" of a two-part number.
bool ParseComplex(const char* text, double* real, double* imaginary);

#endif
