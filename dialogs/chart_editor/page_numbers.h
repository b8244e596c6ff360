#ifndef TALVERO_DIALOGS_CHART_EDITOR_PAGE_NUMBERS_H
#define TALVERO_DIALOGS_CHART_EDITOR_PAGE_NUMBERS_H

// Numbers and names as the chart editor's pages read them from their
// edits.

#include <cstddef>

// The field of a page whose value a store refused; kPageStored when none.
constexpr int kPageStored = 0;

// A whole number from minimum to maximum, blanks allowed around it.
bool ParsePageInteger(const char* text, int minimum, int maximum, int* value);
// A number typed with the regional decimal separator; a point where the
// separator is another character is refused, as the user meant another
// number than the one it would read as.
bool ParsePageNumber(const char* text, char decimalSeparator, double* value);
// The number as its edit shows it.
void FormatPageInteger(int value, char* out, size_t size);
// The text without its trailing white space, cut to size - 1 characters.
void CopyTrimmedName(const char* text, char* out, size_t size);
// The text cut to size - 1 characters.
void CopyPageText(const char* text, char* out, size_t size);

#endif
