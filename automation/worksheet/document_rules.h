#ifndef TALVERO_AUTOMATION_DOCUMENT_RULES_H
#define TALVERO_AUTOMATION_DOCUMENT_RULES_H

// What the document members decide before a file is touched: the native
// variant SaveAs writes and the protection a password asks for.

#include <cstddef>
#include <cstdint>

class CWorkBook;

// The native variant of a SaveAs: the document's own (a foreign document
// takes the save-format option), plain XML or compressed binary, and always
// the binary format for a protected workbook, which XML cannot carry.
uint8_t SaveAsNativeVariant(const CWorkBook& book, uint8_t optionSaveFormat);

// The password lengths a protection takes: from 6 characters up to what the
// workbook keeps, so that the password typed to open the file is the one
// that encrypted it.
constexpr size_t kMinimumProtectionPassword = 6;
size_t MaximumProtectionPassword();

// The protection the next native binary save uses. No password (null or
// empty) removes it and forgets the password; a password of an accepted
// length protects the workbook, allowing opening for reading without it
// when allowReadOnly is set. False, with nothing changed, for any other
// password.
bool SetWorkbookProtection(CWorkBook* book, const char* password, bool allowReadOnly);

// Whether the workbook's protection lets its file be opened for reading
// without the password.
bool ProtectionAllowsReadOnly(uint8_t protectionMode);

#endif
