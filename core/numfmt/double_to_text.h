#ifndef TALVERO_CORE_DOUBLE_TO_TEXT_H
#define TALVERO_CORE_DOUBLE_TO_TEXT_H

// Doubles as text, the same on every target. Stored files hold numbers in the
// form the Windows runtime's printf wrote them (exponents with a sign and at
// least three digits, "1e+020"), so the printf forms the program relies on are
// rebuilt here from a correctly rounded conversion instead of calling the C
// runtime, whose output differs between glibc and Windows.

#include <cstddef>

struct RegionalSettings;

// Room for any text DoubleToText writes, with its NUL.
constexpr size_t kDoubleTextCapacity = 32;

// The printf forms. Each writes a NUL-terminated text and returns its length;
// when the text does not fit it returns 0 and leaves an empty buffer (if size
// allows). Infinities are "inf" and "-inf", NaNs "nan".
// "%.*lf": decimals below 0 mean the runtime's default of six.
size_t PrintFixedDecimals(double value, int decimals, char* buffer, size_t size);
// "%.*le": one digit, the point and decimals digits, "e", sign and at least
// three exponent digits. Decimals below 0 mean six.
size_t PrintExponentForm(double value, int decimals, char* buffer, size_t size);
// "%.*lg": precision significant digits (0 counts as 1, below 0 as 6),
// trailing zeros removed, exponent form as above when the exponent is below -4
// or not below the precision.
size_t PrintSignificantDigits(double value, int precision, char* buffer, size_t size);

// The compact text of a number: 15 significant digits without trailing zeros
// ("0.1", "-2.5", "0.33333333333333"); beyond +-999999999999999 and for
// non-zero magnitudes below 1e-14 the exponent form with 14 significant digits
// ("1.2345678901235e+020"), whose point stays "." whatever the separators.
// Separators null: the generic ".". Returns the length, 0 when it does not fit.
size_t DoubleToText(double value, char* buffer, size_t size, const RegionalSettings* separators);

// Room for any text DoubleToExactText writes, with its NUL.
constexpr size_t kExactDoubleTextCapacity = 48;

// A text that reads back as exactly this double: DoubleToText's when it
// does, else the shortest that does (at most 17 significant digits), in the
// fixed form where DoubleToText uses it and in the exponent form beyond.
// The point, in either form, is the separators' decimal separator (null:
// "."). Returns the length, 0 when it does not fit.
size_t DoubleToExactText(double value, char* buffer, size_t size, const RegionalSettings* separators);

// "real + imaginary unit" with both parts by DoubleToText (generic separators)
// and the imaginary part's sign between them: "3 - 4i", "0 + 0i".
size_t ComplexToText(double real, double imaginary, const char* unit, char* buffer, size_t size);

#endif
