#ifndef TALVERO_SERVICES_CHOICES_PROTECTION_CHOICE_H
#define TALVERO_SERVICES_CHOICES_PROTECTION_CHOICE_H

// The protection dialog's choices and the workbook's protection mode they
// stand for, and the checks of a new password in the order the dialog makes
// them.

#include <cstddef>
#include <cstdint>

class CWorkBook;

// Mode 0 not protected; 1 and 2 40-bit, 3 and 4 128-bit encryption; 1 and 3
// allow opening for reading without the password.
struct ProtectionChoice {
  uint32_t protect = 1;     // 0 no protection, 1 password protection
  uint32_t encryption = 1;  // 0 RC4 40-bit, 1 RC4 128-bit
  uint8_t readOnlyAllowed = 0;
};

ProtectionChoice SplitProtectionMode(uint8_t mode);
uint8_t JoinProtectionMode(const ProtectionChoice& choice);

// The dialog keeps passwords of up to this many characters.
constexpr size_t kProtectPasswordCapacity = 1025;
constexpr size_t kMinimumPasswordLength = 6;

// The message a new password and its confirmation call for: 147 too short,
// 146 not matching (case counts), 0 none.
int PasswordEntryProblem(const char* password, const char* confirmation);

// Stores the dialog's result into the workbook (the new mode takes effect at
// the next save; no protection empties the password) and marks the document
// modified. A protection change is an edit like any other: the flag is only
// ever set here, so that other unsaved edits are still asked about at close.
void StoreProtectionChoice(CWorkBook* book, const ProtectionChoice& choice, const char* password,
                           uint8_t* modified);

#endif
