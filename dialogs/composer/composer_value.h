#ifndef TALVERO_DIALOGS_COMPOSER_VALUE_H
#define TALVERO_DIALOGS_COMPOSER_VALUE_H

// What the formula composer's Insert Value puts into the formula bar: the
// composed formula evaluated in the workbook's active worksheet.

#include <cstddef>

class CWorkBook;

// The value of the formula (display form) as text: a number with the
// current separators, a text as it is, an error's name ("#SYNTAX!" for a
// formula that cannot be read) with *beep set, nothing for an array. The
// workbook's own evaluator is left alone.
void ComposerValueText(CWorkBook* book, const char* formula, char* out, size_t size, bool* beep);

#endif
