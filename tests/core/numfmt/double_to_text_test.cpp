#include "core/numfmt/double_to_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "core/numfmt/regional_settings.h"
#include "tests/test_seed.h"

namespace {

const RegionalSettings kCommaDecimal = {3, ',', '.', '.', ':', ';', '\\', 1, 1, "EUR", 0};

std::string Text(double value, const RegionalSettings* separators = nullptr) {
  char buffer[kDoubleTextCapacity];
  size_t length = DoubleToText(value, buffer, sizeof buffer, separators);
  EXPECT_EQ(length, std::string(buffer).size());
  return buffer;
}

// The expectations are the same on every target: stored files depend on them.
TEST(DoubleToText, WritesTheStoredForms) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.33333333333333"},
      {2.0 / 3, "0.66666666666667"},
      {123.456, "123.456"},
      {1e-14, "0.00000000000001"},
      {999999999999999.0, "999999999999999"},
      {99999999999999.95, "100000000000000"},  // the integer part is measured rounded
      {1000000000000000.0, "1e+015"},
      {1e20, "1e+020"},
      {-1e20, "-1e+020"},
      {123456789012345678.0, "1.2345678901235e+017"},
      {1e-15, "1e-015"},
      {-1.5e-15, "-1.5e-015"},
      {1.7976931348623157e308, "1.7976931348623e+308"},
      {4.9e-324, "4.9406564584125e-324"},
      {9.99999999999e-15, "9.99999999999e-015"},
      {9.999999999999999e-15, "1e-014"},
      {1234567.891, "1234567.891"},
      {1000000000000050.0, "1.0000000000001e+015"},  // an exact tie rounds away from zero
      {0.000000000000015, "0.00000000000001"},  // just below the tie in binary
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Text(c.value), c.text) << "value " << c.value;
  }
}

// Whole numbers of up to fifteen digits are written as their digits alone,
// and a buffer without room for them and the terminator is refused.
TEST(DoubleToText, WritesWholeNumbersAsTheirDigits) {
  const uint32_t seed = TestSeed(20261207);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937_64 random(seed);
  for (int i = 0; i < 5000; ++i) {
    int64_t limit = 1;
    for (int digits = 1 + int(random() % 15); digits > 0; --digits) limit *= 10;
    int64_t whole = int64_t(random() % uint64_t(limit));
    if (random() % 2) whole = -whole;
    const std::string expected = whole == 0 ? "0" : std::to_string(whole);
    ASSERT_EQ(Text(double(whole)), expected);
    char shorter[kDoubleTextCapacity];
    EXPECT_EQ(DoubleToText(double(whole), shorter, expected.size(), nullptr), 0u) << expected;
  }
  EXPECT_EQ(Text(999999999999999.0), "999999999999999");
  EXPECT_EQ(Text(-999999999999999.0), "-999999999999999");
  EXPECT_EQ(Text(1e15), "1e+015");
  EXPECT_EQ(Text(-0.0), "0");
}

// A number with a short binary fraction is written as its exact decimal
// expansion (up to ten digits before the point and five after fit the
// fifteen), on either side of 2^31 and of sixteenths, with either
// separator; a buffer one byte short is refused.
TEST(DoubleToText, WritesShortBinaryFractionsExactly) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937_64 random(seed);
  const double limits[] = {10.0, 2147483648.0, 4294967296.0, 9999999999.0};
  for (int i = 0; i < 20000; ++i) {
    const int bits = 1 + int(random() % 5);
    const double limit = limits[random() % 4];
    const double whole = std::floor(double(random() % (uint64_t(limit) + 1)));
    double value = whole + double(1 + 2 * (random() % (uint64_t(1) << (bits - 1)))) / double(1 << bits);
    if (random() % 2) value = -value;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.5f", value);
    std::string text = expected;
    while (text.back() == '0') text.pop_back();
    ASSERT_EQ(Text(value), text) << "value " << value;
    text[text.find('.')] = ',';
    ASSERT_EQ(Text(value, &kCommaDecimal), text) << "value " << value;
    char shorter[kDoubleTextCapacity];
    ASSERT_EQ(DoubleToText(value, shorter, text.size(), nullptr), 0u) << text;
  }
}

TEST(DoubleToText, PutsTheDecimalSeparatorOnlyIntoTheFixedForm) {
  EXPECT_EQ(Text(-2.5, &kCommaDecimal), "-2,5");
  EXPECT_EQ(Text(1234.0, &kCommaDecimal), "1234");
  EXPECT_EQ(Text(1.5e20, &kCommaDecimal), "1.5e+020");
}

TEST(DoubleToText, WritesNonFiniteValuesAndRefusesSmallBuffers) {
  EXPECT_EQ(Text(INFINITY), "inf");
  EXPECT_EQ(Text(-INFINITY), "-inf");
  EXPECT_EQ(Text(NAN), "nan");
  char small[4] = "xyz";
  EXPECT_EQ(DoubleToText(-2.5, small, sizeof small, nullptr), 0u);
  EXPECT_STREQ(small, "");
  char exact[5];
  EXPECT_EQ(DoubleToText(-2.5, exact, sizeof exact, nullptr), 4u);
  EXPECT_STREQ(exact, "-2.5");
}

TEST(DoubleToText, PrintfFormsWriteThreeDigitExponents) {
  const struct {
    char form;  // 'f' fixed, 'e' exponent, 'g' significant digits
    double value;
    int digits;
    const char* text;
  } cases[] = {
      // Exact ties go away from zero; everything else is correctly rounded.
      {'f', 2.5, 0, "3"},
      {'f', -2.5, 0, "-3"},
      {'f', 9.5, 0, "10"},
      {'f', -99.5, 0, "-100"},
      {'f', 0.125, 2, "0.13"},
      {'f', 1.005, 2, "1.00"},  // 1.005 is below the tie in binary
      {'f', 2.675, 2, "2.67"},
      {'f', 0.5000000000000001, 0, "1"},
      {'f', -0.4, 0, "-0"},
      {'f', 1e20, 1, "100000000000000000000.0"},
      {'f', 0.1, -1, "0.100000"},
      {'e', 123456, 2, "1.23e+005"},
      {'e', 0, 0, "0e+000"},
      {'e', -9.99, 1, "-1.0e+001"},
      {'e', 1.5, -3, "1.500000e+000"},
      {'e', 125, 1, "1.3e+002"},
      {'e', 1250, 1, "1.3e+003"},
      {'e', -9.5, 0, "-1e+001"},
      {'e', 99.5, 1, "1.0e+002"},
      {'e', 1.25e-5, 1, "1.3e-005"},  // just above the tie in binary
      {'e', 0.00145, 1, "1.4e-003"},  // just below
      {'e', 5e-324, 0, "5e-324"},
      {'g', 1e20, 14, "1e+020"},
      {'g', 0.00001, 3, "1e-005"},
      {'g', 123456, 3, "1.23e+005"},
      {'g', 123456, 0, "1e+005"},
      {'g', 2.5, 1, "3"},
      {'g', 9.5, 1, "1e+001"},
      {'g', 1000000000000050.0, 14, "1.0000000000001e+015"},
  };
  for (const auto& c : cases) {
    char buffer[64];
    size_t length = c.form == 'f'   ? PrintFixedDecimals(c.value, c.digits, buffer, sizeof buffer)
                    : c.form == 'e' ? PrintExponentForm(c.value, c.digits, buffer, sizeof buffer)
                                    : PrintSignificantDigits(c.value, c.digits, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, c.text) << c.form << " " << c.value << " " << c.digits;
    EXPECT_EQ(length, strlen(c.text));
  }
}

TEST(ComplexToText, JoinsBothPartsWithTheImaginarySign) {
  const struct {
    double real, imaginary;
    const char* unit;
    const char* text;
  } cases[] = {
      {3, -4, "i", "3 - 4i"},
      {0, 0, "i", "0 + 0i"},
      {2.5, 1, "j", "2.5 + 1j"},
      {-1e20, 0.5, "i", "-1e+020 + 0.5i"},
  };
  for (const auto& c : cases) {
    char buffer[80];
    ComplexToText(c.real, c.imaginary, c.unit, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, c.text);
  }
  char small[6];
  EXPECT_EQ(ComplexToText(3, -4, "i", small, sizeof small), 0u);
  EXPECT_STREQ(small, "");
}

}  // namespace
