#include "core/formula/formula_operator_char.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "core/formula/builtin_function_table.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_ref_text.h"
#include "core/formula/scanned_token.h"
#include "core/numfmt/regional_settings.h"

#include "tests/core/generic_locale_test.h"
#include "tests/test_seed.h"

namespace {

using FormulaOperatorChar = GenericLocaleTest;

// Whatever follows it, a character the shortcut reads is the token the
// scanner reads there, one character long; the separators of the typed form
// include odd ones that take an operator's character.
TEST_F(FormulaOperatorChar, ReadsWhatTheScannerReads) {
  const uint32_t seed = TestSeed(20261208);
  std::mt19937 random(seed);
  static const char kAlphabet[] = "+-*/^&%=:!()<>_{}\"',;.$#\\ 1a9ZeE@";
  const char separatorChoices[][2] = {{'.', ','}, {',', ';'}, {'-', ';'}, {'.', '+'}, {'(', ')'}, {'%', ':'},
                                     {'.', 'a'}, {'.', '$'}, {'.', '"'}, {'.', '{'}, {';', ';'}, {'.', '1'}};
  int read = 0;
  for (int round = 0; round < 20000; ++round) {
    const auto& pair = separatorChoices[random() % (sizeof separatorChoices / sizeof separatorChoices[0])];
    RegionalSettings& current = CurrentRegionalSettings();
    current.decimalSeparator = pair[0];
    current.listSeparator = pair[1];
    std::string text;
    const size_t length = 1 + random() % 4;
    for (size_t i = 0; i < length; ++i) text += kAlphabet[random() % (sizeof kAlphabet - 1)];
    const bool storedForm = random() % 2 == 0;
    const uint32_t kind = OneCharacterToken(text[0], FormSeparators(storedForm));
    if (kind == kEvalInvalid) continue;
    ++read;
    const char* position = text.c_str();
    ScannedToken scanned;
    ASSERT_EQ(ScanFormulaToken(text.c_str(), &position, &scanned, storedForm), kind)
        << '"' << text << "\" seed " << seed;
    ASSERT_EQ(position, text.c_str() + 1) << '"' << text << "\" seed " << seed;
  }
  EXPECT_GT(read, 5000);
}

// Translating a typed A1 formula takes a letter that starts no reference for
// a function name when the function table has it; the scanner must read the
// same token there, up to the same position.
TEST_F(FormulaOperatorChar, FunctionNamesReadAsTheScannerReadsThem) {
  const uint32_t seed = TestSeed(20261208);
  std::mt19937 random(seed);
  static const char* const kPieces[] = {"SUM(", "sum(", "SUMSQ", "IF(", "INDEX", "Index(", "A", "B", "RC", "R", "C", "XFD",
                                        "TRUE", "FALSE", "LOG10", "ZZ", "E", "1", "12", "$", "(", " (", ":",
                                        "!", "_", ".", "\\", "#", "\"", "", ")"};
  int functions = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int pieces = 1 + int(random() % 4);
    for (int i = 0; i < pieces; ++i) text += kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
    if (!IsFormulaLetter(text[0])) continue;
    RefCorner corner;
    const char* end = nullptr;
    if (ParseA1Reference(text.c_str(), &corner, &end) != 0) continue;
    uint16_t index = 0;
    const char* functionEnd = nullptr;
    const bool function = FindBuiltinFunction(text.c_str(), &index, &functionEnd);
    const char* position = text.c_str();
    ScannedToken scanned;
    const uint32_t kind = ScanFormulaToken(text.c_str(), &position, &scanned, false);
    ASSERT_EQ(kind == kEvalFunctionCall, function) << '"' << text << "\" seed " << seed;
    if (!function) continue;
    ++functions;
    ASSERT_EQ(position, functionEnd) << '"' << text << "\" seed " << seed;
  }
  EXPECT_GT(functions, 2000);
}

}  // namespace
