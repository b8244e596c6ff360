// The longest text of a formula a user meets, stored, shown in either
// addressing or typed back from what is shown, whatever the addressing
// option and separators at the time.

#include <gtest/gtest.h>

#include <string>

#include "core/formula/eval_state.h"
#include "core/formula/formula_form_lengths.h"
#include "tests/core/generic_locale_test.h"

namespace {

class FormulaFormLengths : public GenericLocaleTest {
 protected:
  size_t Longest(const std::string& stored, uint32_t column, uint32_t row) {
    const uint8_t option = AddressingA1;
    const size_t longest = LongestFormulaForm(state, stored.c_str(), stored.size(), column, row);
    EXPECT_EQ(AddressingA1, option);
    return longest;
  }
  EvalState state;
};

TEST_F(FormulaFormLengths, TheLongestOfTheStoredTextAndBothDisplayForms) {
  // At BZS2097151 each "R[-1]C" shows as "BZS2097150"; a bare path shows
  // quoted and "R100C100" as "$CV$100".
  std::string a1Longest = "=";
  for (int i = 0; i < 92; ++i) a1Longest += "R[-1]C+";
  std::string r1c1Longest = "=";
  for (int i = 0; i < 72; ++i) r1c1Longest += "\\W!R100C100+";
  a1Longest += "1";
  r1c1Longest += "1";
  const struct {
    const char* what;
    std::string stored;
    uint32_t column, row;
    size_t longest;
  } cases[] = {
      {"stored as typed, longer than printed", "=R[0]C[0]+TRUE", 1, 2, 14},
      // Shown "=A:A+A:A", typed back as ranges.
      {"typed back from A1", "=C[-2046]+C[-2046]", 2046, 0, 36},
      {"A1", "=R[-1]C+\\W!R1C1", 2046, 2097150, 21},
      {"R1C1, quoted", "=\\W!R100C100+R[-1]C", 0, 1, 21},
      {"no formula", "\\W!R1C1 as text", 0, 0, 15},
      {"A1 near the limit", a1Longest, 2046, 2097150, 2 + 92 * 11},
      {"R1C1 near the limit", r1c1Longest, 0, 0, 2 + 72 * 14},
  };
  for (const uint8_t a1 : {uint8_t(0), uint8_t(1)}) {  // the option as it happens to be
    for (const bool comma : {false, true}) {
      AddressingA1 = a1;
      CurrentRegionalSettings() = comma ? kCommaDecimal : kGenericRegionalSettings;
      for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + (a1 ? " in A1" : " in R1C1") + (comma ? ", comma decimals" : ""));
        EXPECT_EQ(Longest(c.stored, c.column, c.row), c.longest);
      }
    }
  }
}

// A form past the limit is no text a user could see and type again.
TEST_F(FormulaFormLengths, ADisplayFormPastTheLimitIsAboveIt) {
  std::string grows = "=";
  while (grows.size() < 700) grows += "R[-1]C+";
  grows += "1";
  ASSERT_LE(grows.size(), kFormulaTextCapacity);
  EXPECT_GT(Longest(grows, 2046, 2097150), kFormulaTextCapacity);
  std::string quoted = "=";
  while (quoted.size() + 10 <= kFormulaTextCapacity) quoted += "\\Wa!R1C1+";
  quoted += "1";
  ASSERT_LE(quoted.size(), kFormulaTextCapacity);
  EXPECT_GT(Longest(quoted, 0, 0), kFormulaTextCapacity);
  // Shown in 3 characters a column, typed back in 17.
  std::string columns = "=";
  while (columns.size() < 520) columns += "C[-2046]+";
  columns += "1";
  EXPECT_GT(Longest(columns, 2046, 0), kFormulaTextCapacity);
}

}  // namespace
