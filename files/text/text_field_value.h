#ifndef TALVERO_FILES_TEXT_FIELD_VALUE_H
#define TALVERO_FILES_TEXT_FIELD_VALUE_H

// What the reader makes of one field of a text file: the same decision for
// loading a file and for judging what a written one will give back.

enum TextFieldValue { kTextFieldText, kTextFieldNumber, kTextFieldFormula };

// The field's text is ANSI and NUL-terminated. Without recognizeValues
// every field is a text; otherwise "=" first makes a formula, and "-"
// (blanks may follow it), a number in the current separators and only
// blanks after it make a number, set into *number. A number too large for a
// double stays text.
TextFieldValue ReadTextFieldValue(const char* text, bool recognizeValues, double* number);

#endif
