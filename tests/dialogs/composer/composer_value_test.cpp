#include "dialogs/composer/composer_value.h"

#include <gtest/gtest.h>

#include <string>

#include "core/base/global_options.h"
#include "tests/dialogs/composer/composer_workbook.h"

namespace {

class ComposerValueTest : public ComposerWorkbookTest {
 protected:
  std::string Value(const char* formula, bool* beep) {
    char out[256];
    ComposerValueText(&book, formula, out, sizeof out, beep);
    return out;
  }
};

TEST_F(ComposerValueTest, InsertValueGivesTheResultTextAndBeepsOnErrors) {
  struct Case {
    const char* formula;
    const char* text;
    bool beep;
  };
  const Case cases[] = {
      {"=1/0", "#DIV/0!", true},
      {"=B2*2", "5", false},
      {"=1+", "#SYNTAX!", true},
      {"=\"a\"&\"b\"", "ab", false},
  };
  for (const Case& c : cases) {
    bool beep = !c.beep;
    EXPECT_EQ(c.text, Value(c.formula, &beep)) << c.formula;
    EXPECT_EQ(c.beep, beep) << c.formula;
  }
  // In R1C1 addressing the formula is read in that style.
  AddressingA1 = 0;
  bool beep = true;
  EXPECT_EQ("7.5", Value("=R2C2*3", &beep));
  EXPECT_FALSE(beep);
}

}  // namespace
