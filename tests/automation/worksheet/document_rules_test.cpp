// The native variant SaveAs writes and the protection a password asks for.

#include "automation/worksheet/document_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "core/workbook/workbook.h"
#include "files/dispatch/native_kind.h"

namespace {

TEST(DocumentRules, SaveAsWritesBinaryWheneverTheWorkbookIsProtected) {
  const struct {
    uint8_t sourceFormat;
    uint8_t saveKind;
    uint8_t option;
    uint8_t protection;
    uint8_t variant;
  } cases[] = {
      {kFormatNative, kNativeXmlPlain, kNativeBinaryGzip, 0, kNativeXmlPlain},
      {kFormatNative, kNativeXmlGzip, kNativeBinaryGzip, 0, kNativeXmlPlain},
      {kFormatNative, kNativeBinaryPlain, kNativeXmlPlain, 0, kNativeBinaryGzip},
      {kFormatNative, kNativeOldBinary, kNativeXmlPlain, 0, kNativeBinaryGzip},
      {kFormatText, kNativeBinaryGzip, kNativeXmlPlain, 0, kNativeXmlPlain},
      {kFormatExcelXml, kNativeXmlPlain, 4, 0, kNativeBinaryGzip},
      {kFormatNative, kNativeXmlPlain, kNativeXmlPlain, 4, kNativeBinaryGzip},
      {kFormatText, kNativeXmlPlain, kNativeXmlPlain, 3, kNativeBinaryGzip},
  };
  for (const auto& c : cases) {
    CWorkBook book;
    book.sourceFormat = c.sourceFormat;
    book.saveKind = c.saveKind;
    book.protectionMode = c.protection;
    EXPECT_EQ(SaveAsNativeVariant(book, c.option), c.variant)
        << int(c.sourceFormat) << " " << int(c.saveKind) << " " << int(c.option) << " " << int(c.protection);
  }
}

TEST(DocumentRules, APasswordProtectsOnlyWithinItsLengthsAndNoneRemovesIt) {
  const std::string longest(MaximumProtectionPassword(), 'p');
  const std::string tooLong = longest + "p";
  const struct {
    const char* password;
    bool allowReadOnly;
    bool taken;
    uint8_t mode;
    bool readOnlyAllowed;
  } cases[] = {
      {"secret", false, true, 4, false},
      {"secret", true, true, 3, true},
      {longest.c_str(), false, true, 4, false},
      {"abc", false, false, 0, false},
      {tooLong.c_str(), false, false, 0, false},
      {"", true, true, 0, false},
      {nullptr, false, true, 0, false},
  };
  for (const auto& c : cases) {
    CWorkBook book;
    EXPECT_EQ(SetWorkbookProtection(&book, c.password, c.allowReadOnly), c.taken)
        << (c.password ? std::string(c.password).size() : 0);
    EXPECT_EQ(book.protectionMode, c.mode);
    EXPECT_EQ(ProtectionAllowsReadOnly(book.protectionMode), c.readOnlyAllowed);
    EXPECT_EQ(std::string(book.password), c.taken && c.mode != 0 ? c.password : "");
  }
  // Removing the protection forgets the password as well.
  CWorkBook book;
  ASSERT_TRUE(SetWorkbookProtection(&book, "secret", true));
  ASSERT_TRUE(SetWorkbookProtection(&book, "", true));
  EXPECT_EQ(book.protectionMode, 0);
  EXPECT_STREQ(book.password, "");
  EXPECT_FALSE(ProtectionAllowsReadOnly(4));
  EXPECT_TRUE(ProtectionAllowsReadOnly(1));
}

}  // namespace
