#include "automation/worksheet/document_rules.h"

#include <cstring>

#include "core/workbook/workbook.h"
#include "services/choices/protection_choice.h"
#include "files/dispatch/document_file.h"
#include "files/dispatch/native_kind.h"

uint8_t SaveAsNativeVariant(const CWorkBook& book, uint8_t optionSaveFormat) {
  const uint8_t variant = NativeSaveVariant(book.sourceFormat, book.saveKind, optionSaveFormat);
  return book.protectionMode != 0 ? uint8_t(kNativeBinaryGzip) : variant;
}

size_t MaximumProtectionPassword() { return kWorkbookPasswordSize - 1; }

bool SetWorkbookProtection(CWorkBook* book, const char* password, bool allowReadOnly) {
  const size_t length = password != nullptr ? strnlen(password, kWorkbookPasswordSize) : 0;
  ProtectionChoice choice;
  choice.protect = length != 0 ? 1 : 0;
  choice.readOnlyAllowed = allowReadOnly ? 1 : 0;
  if (choice.protect != 0 && (length < kMinimumProtectionPassword || length > MaximumProtectionPassword()))
    return false;
  uint8_t modified = 0;
  StoreProtectionChoice(book, choice, choice.protect != 0 ? password : "", &modified);
  return true;
}

bool ProtectionAllowsReadOnly(uint8_t protectionMode) {
  return SplitProtectionMode(protectionMode).readOnlyAllowed != 0;
}
