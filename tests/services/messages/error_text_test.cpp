#include "services/messages/error_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ErrorText, CodesWithoutATextSayNoError) {
  for (int code : {0, 43, 109, 111, 200, 255, -1, 256})
    EXPECT_STREQ(GetErrorText(code), "No error") << code;
}

TEST(ErrorText, EveryReportedCodeHasItsOwnText) {
  for (int code = 1; code <= 110; ++code) {
    const bool hasText = code != 43 && (code <= 71 || code == 110);
    EXPECT_EQ(std::strcmp(GetErrorText(code), "No error") != 0, hasText) << code;
  }
}

TEST(ErrorText, TextsOfTheFileAndApplicationCodes) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {1, "Out of memory while loading an image"},
      {8, "Out of memory while creating/editing worksheet data"},
      {20, "No printer selected."},
      {23, "Not enough empty columns to the right of the last non-empty column"},
      {24, "Not enough empty rows below the last row non-empty row"},
      {56, "Out of memory while loading an xml document"},
      {61, "Only the UTF-8 encoding is supported"},
      {62, "Too many database fields - max. record size = 64K"},
      {64, "A number is too wide for its database field"},
      {66, "The margins leave no room to print on the paper"},
      {110, "Can't open the Clipboard"},
  };
  for (const auto& c : cases) EXPECT_STREQ(GetErrorText(c.code), c.text) << c.code;
}

}  // namespace
