#include "services/choices/protection_choice.h"

#include <cstdio>
#include <cstring>

#include "core/workbook/workbook.h"

ProtectionChoice SplitProtectionMode(uint8_t mode) {
  ProtectionChoice choice;
  choice.protect = mode >= 1 && mode <= 4 ? 1 : 0;
  choice.encryption = mode == 1 || mode == 2 ? 0 : 1;
  choice.readOnlyAllowed = mode == 1 || mode == 3 ? 1 : 0;
  return choice;
}

uint8_t JoinProtectionMode(const ProtectionChoice& choice) {
  if (choice.protect == 0) return 0;
  const uint8_t base = choice.encryption == 0 ? 1 : 3;
  return choice.readOnlyAllowed ? base : static_cast<uint8_t>(base + 1);
}

int PasswordEntryProblem(const char* password, const char* confirmation) {
  if (std::strlen(password) < kMinimumPasswordLength) return 147;
  if (std::strcmp(password, confirmation) != 0) return 146;
  return 0;
}

void StoreProtectionChoice(CWorkBook* book, const ProtectionChoice& choice, const char* password,
                           uint8_t* modified) {
  book->protectionMode = JoinProtectionMode(choice);
  std::snprintf(book->password, sizeof book->password, "%s", choice.protect != 0 ? password : "");
  *modified = 1;
}
