#include "dialogs/controls/parsed_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ParsedEditRules Rules(uint8_t mode, int32_t minimum, int32_t maximum) {
  return ParsedEditRules{mode, minimum, maximum, 0.0, 0.0, -1, '.'};
}

ParsedEditRules DecimalRules(double minimum, double maximum, int decimals, char separator) {
  return ParsedEditRules{kParsedDecimal, 0, 0, minimum, maximum, decimals, separator};
}

TEST(ParsedText, StepsWithinLimitsAndRefusesTextsOfAnotherKind) {
  const struct {
    ParsedEditRules rules;
    const char* text;
    int delta;
    bool ok;
    const char* result;
  } cases[] = {
      {Rules(kParsedInteger, 0, 20), "12 ", 1, true, "13"},
      {Rules(kParsedInteger, 0, 20), " -3", 1, true, "0"},
      {Rules(kParsedInteger, 0, 20), "20", 1, true, "20"},
      {Rules(kParsedInteger, 0, 20), "12a", 1, false, "12a"},
      {Rules(kParsedInteger, 0, 20), "", 1, false, ""},
      {Rules(kParsedInteger, -5, 5), "99999999999999999999", -1, false, "99999999999999999999"},
      {Rules(kParsedInteger, 1, 32767), "4000000000", 1, true, "32767"},
      {DecimalRules(0, 10, -1, ','), "1,5", 1, true, "1,6"},
      {DecimalRules(0, 10, -1, ','), " 10 ", 1, true, "10"},
      {DecimalRules(0, 10, -1, ','), "0,05", -1, true, "0"},
      {DecimalRules(0, 10, -1, ','), "1,5x", 1, false, "1,5x"},
      {DecimalRules(0, 10, 2, '.'), "2.4", 1, true, "2.5"},
      {DecimalRules(0, 10, 2, '.'), "2.9", 1, true, "3"},
      {Rules(kParsedColumn, 1, 2047), "z", 1, true, "AA"},
      {Rules(kParsedColumn, 1, 2047), " aB ", -1, true, "AA"},
      {Rules(kParsedColumn, 1, 2047), "A", -1, true, "A"},
      {Rules(kParsedColumn, 1, 2047), "BZS", 1, true, "BZS"},
      {Rules(kParsedColumn, 1, 2047), "A1", 1, false, "A1"},
      {Rules(kParsedAnything, 0, 0), "free text", 5, true, "free text"},
  };
  for (const auto& c : cases) {
    char out[kParsedTextCapacity];
    EXPECT_EQ(StepParsedText(c.rules, c.text, c.delta, out, sizeof out), c.ok) << c.text;
    EXPECT_STREQ(out, c.result) << c.text;
  }
}

TEST(ParsedText, ReadsAtMostThirtyCharacters) {
  char out[kParsedTextCapacity];
  // Thirty digits then a letter: the letter lies beyond what is read.
  EXPECT_TRUE(StepParsedText(Rules(kParsedInteger, 0, 9), "000000000000000000000000000007x", 1, out, sizeof out));
  EXPECT_STREQ(out, "8");
}

// What a dialog takes from a field: only an integer within the bounds; any
// other text says whether it is a number at all, whatever its length. At the
// ends of the 32-bit range the bounds hold as exactly, not a digit beyond.
TEST(ParsedText, FieldsGiveOnlyIntegersWithinTheirBounds) {
  const std::string digits(2000, '9');
  const struct {
    std::string text;
    int32_t minimum, maximum;
    uint8_t read;
    int32_t value;
  } cases[] = {
      {" 4095 ", 0, 4095, kFieldValue, 4095},
      {std::string(2000, '0') + "7", 0, 4095, kFieldValue, 7},
      {"", 0, 4095, kFieldNoNumber, 0},
      {"12a", 0, 4095, kFieldNoNumber, 0},
      {"- 5", 0, 4095, kFieldNoNumber, 0},
      {digits + "x", 0, 4095, kFieldNoNumber, 0},
      {"-1", 0, 4095, kFieldOutOfLimits, 0},
      {"2147483648", 0, 4095, kFieldOutOfLimits, 0},
      {digits, 0, 4095, kFieldOutOfLimits, 0},
      {"-2147483648", INT32_MIN, INT32_MAX, kFieldValue, INT32_MIN},
      {"2147483647", INT32_MIN, INT32_MAX, kFieldValue, INT32_MAX},
      {"-2147483649", INT32_MIN, INT32_MAX, kFieldOutOfLimits, 0},
      {"2147483648", INT32_MIN, INT32_MAX, kFieldOutOfLimits, 0},
      {"-21474836480", INT32_MIN, INT32_MAX, kFieldOutOfLimits, 0},
      {"21474836470", INT32_MIN, INT32_MAX, kFieldOutOfLimits, 0},
      {"-4294967296", INT32_MIN, INT32_MAX, kFieldOutOfLimits, 0},
      {"-" + digits, INT32_MIN, INT32_MAX, kFieldOutOfLimits, 0},
  };
  for (const auto& c : cases) {
    int32_t value = -99;
    EXPECT_EQ(ReadParsedInteger(c.text.c_str(), c.minimum, c.maximum, &value), c.read) << c.text.substr(0, 20);
    EXPECT_EQ(value, c.read == kFieldValue ? c.value : -99) << c.text.substr(0, 20);
  }
}

TEST(ParsedText, TypedCharactersFollowTheMode) {
  const ParsedEditRules integer = Rules(kParsedInteger, 0, 1);
  const ParsedEditRules decimal = DecimalRules(0, 1, -1, ',');
  const ParsedEditRules column = Rules(kParsedColumn, 1, 2);
  const ParsedEditRules anything = Rules(kParsedAnything, 0, 0);
  const struct {
    char c;
    bool integer, decimal, column, anything;
  } cases[] = {
      {'7', true, true, false, true},  {'-', true, true, false, true},   {',', false, true, false, true},
      {'.', false, false, false, true}, {'q', false, false, true, true},  {'Q', false, false, true, true},
      {'\b', true, true, true, true},  {'\x7f', false, false, false, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AcceptsParsedChar(integer, c.c), c.integer) << int(c.c);
    EXPECT_EQ(AcceptsParsedChar(decimal, c.c), c.decimal) << int(c.c);
    EXPECT_EQ(AcceptsParsedChar(column, c.c), c.column) << int(c.c);
    EXPECT_EQ(AcceptsParsedChar(anything, c.c), c.anything) << int(c.c);
  }
}

}  // namespace
