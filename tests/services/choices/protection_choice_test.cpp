#include "services/choices/protection_choice.h"

#include <gtest/gtest.h>

#include "core/workbook/workbook.h"

namespace {

TEST(ProtectionChoice, ModesSplitIntoChoicesAndJoinBack) {
  for (uint8_t mode = 0; mode <= 4; ++mode) EXPECT_EQ(JoinProtectionMode(SplitProtectionMode(mode)), mode);
  const ProtectionChoice fortyBitReadOnly = SplitProtectionMode(1);
  EXPECT_EQ(fortyBitReadOnly.protect, 1u);
  EXPECT_EQ(fortyBitReadOnly.encryption, 0u);
  EXPECT_EQ(fortyBitReadOnly.readOnlyAllowed, 1);
  EXPECT_EQ(SplitProtectionMode(4).readOnlyAllowed, 0);
}

TEST(ProtectionChoice, PasswordChecksTakeLengthBeforeMatch) {
  EXPECT_EQ(PasswordEntryProblem("abcde", "abcde"), 147);
  EXPECT_EQ(PasswordEntryProblem("abcde", "other"), 147);
  EXPECT_EQ(PasswordEntryProblem("secret", "secreT"), 146);
  EXPECT_EQ(PasswordEntryProblem("secret", "secret"), 0);
}

TEST(ProtectionChoice, StoringMarksTheDocumentModifiedAndNoProtectionEmptiesThePassword) {
  CWorkBook book;
  uint8_t modified = 1;  // other edits are waiting to be saved
  ProtectionChoice choice;
  choice.encryption = 0;
  StoreProtectionChoice(&book, choice, "secret", &modified);
  EXPECT_EQ(book.protectionMode, 2);
  EXPECT_STREQ(book.password, "secret");
  EXPECT_EQ(modified, 1);

  modified = 0;
  choice.protect = 0;
  StoreProtectionChoice(&book, choice, "ignored", &modified);
  EXPECT_EQ(book.protectionMode, 0);
  EXPECT_STREQ(book.password, "");
  EXPECT_EQ(modified, 1);
}

}  // namespace
