#ifndef TALVERO_APP_NUMBER_TEXT_H
#define TALVERO_APP_NUMBER_TEXT_H

// Numbers in dialog fields and option texts, with a given decimal separator.

#include <cstddef>
#include <cstdint>

// A decimal integer, blanks allowed around it; false for any other text.
bool ParseIntegerText(const char* text, int64_t* value);

// Blanks around a number whose first decimal-separator character stands for
// "."; true only when the whole text is one finite number.
bool ParseDouble(const char* text, char decimalSeparator, double* result);

// Room for any text FormatDouble writes with up to 15 decimals, with its NUL.
constexpr size_t kFormatDoubleCapacity = 350;

// With decimals 0 or more, that many decimals; below 0 the compact text of
// DoubleToText. The point becomes the separator, and a text in fixed form
// loses its trailing decimal zeros and then a trailing separator ("2,5" for
// 2.5 with 3 decimals, "2" for 2.0). Returns the length, 0 when it does not fit.
size_t FormatDouble(char* buffer, size_t size, char decimalSeparator, double value, int decimals);

#endif
