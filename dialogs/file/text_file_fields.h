#ifndef TALVERO_DIALOGS_TEXT_FILE_FIELDS_H
#define TALVERO_DIALOGS_TEXT_FILE_FIELDS_H

// How the text-file dialogs show and read a workbook's TextFileOptions: the
// separator choices, the fixed field widths as a text, and the character
// sets of the encoding list.

#include <cstddef>
#include <cstdint>

#include "core/model/exchange_options.h"

// Separator list items: comma, tab, point, semicolon, space, other.
constexpr int kSeparatorItemCount = 6;
constexpr int kSeparatorItemOther = 5;
int SeparatorItemFor(char separator);
// The separator of an item; NUL for "other" and out of range.
char SeparatorOfItem(int item);

// The longest widths texts the two dialogs show and read.
constexpr size_t kOpenWidthsTextLimit = 6141;
constexpr size_t kSaveWidthsTextLimit = 1024;

// The open dialog's text: the widths up to the first 0 joined by ",", as
// many as fit in kOpenWidthsTextLimit characters.
void FormatOpenWidthsText(const uint16_t* widths, char* out, size_t size);
// The save dialog's text: every width up to the last non-zero one, zeros
// before it included, as many as fit in kSaveWidthsTextLimit characters.
void FormatSaveWidthsText(const uint16_t* widths, char* out, size_t size);

// Clears the table, then gives each run of digits to the next field in
// order; commas, semicolons and blanks separate them. Numbers beyond the
// table's kColumnCount fields are dropped, and a width beyond 65535 becomes
// 65535. False at the first other character, with the widths read before it
// kept.
bool ParseWidthsText(const char* text, uint16_t* widths);

// Encoding list items: UTF-8, ANSI 8-bit, ISO/OEM. -1: no selection.
int EncodingItemFor(uint8_t charset);
// The character set of an item; ANSI for no selection.
uint8_t CharsetOfItem(int item);

#endif
