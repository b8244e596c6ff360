#include "automation/server/error_description.h"

#include <gtest/gtest.h>

#include <string>

#include "services/messages/error_text.h"

namespace {

TEST(ErrorDescription, TheXmlReadersCodesNameTheirLine) {
  const struct {
    uint8_t code;
    uint32_t line;
    bool withLine;
  } cases[] = {{56, 12, true}, {60, 3, true}, {56, 0, false}, {55, 12, false}, {61, 12, false}, {34, 7, false}};
  for (const auto& c : cases) {
    char text[1100];
    ComposeErrorDescription(c.code, c.line, text, sizeof text);
    std::string expected = GetErrorText(c.code);
    if (c.withLine) expected += "\nLine: " + std::to_string(c.line);
    EXPECT_EQ(text, expected) << static_cast<int>(c.code);
  }
  EXPECT_EQ(kWorkbookErrorResultBase + 26, 0x8004001Au);
}

}  // namespace
