#ifndef TALVERO_CORE_FORMULA_SCANNER_H
#define TALVERO_CORE_FORMULA_SCANNER_H

// The literal scanners of the formula language. Each reads at a position,
// and on success gives the value and the position after the literal; on
// failure it writes nothing. EvalState::NextToken puts them together.

#include <cstdint>

// Digits, optionally the form's decimal separator and digits, optionally "E"
// or "e", a sign and digits. The stored form ends the number before an "E"
// without digits; the display form refuses it. Group separators are not
// accepted. False when no digit is found or a second separator follows.
bool ParseNumberLiteral(const char* position, double* value, const char** end, bool storedForm);

// One of the twelve error texts ("#DIV/0!" .. "#SYNTAX!"), letter case aside.
bool ParseErrorLiteral(const char* position, uint8_t* errorByte, const char** end);

// "TRUE" or "FALSE", letter case aside, as a whole word only: "TrueSales" is
// a name, not 1 followed by "Sales".
bool ParseBoolLiteral(const char* position, double* value, const char** end);

#endif
