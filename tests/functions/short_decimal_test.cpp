#include "functions/short_decimal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "tests/test_seed.h"

namespace {

// Signs, up to eighteen digits, points anywhere (sometimes two), letters
// now and then.
std::string DecimalLikeText(std::mt19937& random) {
  std::string text;
  if (random() % 3 == 0) text += random() % 2 ? '-' : '+';
  const uint32_t length = random() % 19;
  for (uint32_t i = 0; i < length; ++i) {
    const uint32_t pick = random() % 24;
    text += pick < 20 ? char('0' + pick % 10) : pick < 23 ? '.' : 'e';
  }
  return text;
}

// Whatever the reader takes, it reads as strtod does, to the last bit and
// the sign of zero; it takes every short plain decimal.
TEST(ShortDecimal, ReadsAsStrtodDoes) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  uint32_t taken = 0;
  for (int i = 0; i < 300000; ++i) {
    const std::string text = DecimalLikeText(random);
    double value = 12345;
    const bool read = ReadShortDecimal(text.data(), text.data() + text.size(), &value);
    char* end = nullptr;
    const double expected = std::strtod(text.c_str(), &end);
    const bool whole = end == text.c_str() + text.size() && !text.empty();
    size_t digits = 0;
    for (char c : text) digits += c >= '0' && c <= '9';
    const bool plain = whole && digits <= 15 && text.find('e') == std::string::npos;
    if (!read) {
      ASSERT_FALSE(plain) << text;
      ASSERT_EQ(value, 12345) << text;
      continue;
    }
    ++taken;
    ASSERT_TRUE(whole) << text;
    ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text << " read " << value;
  }
  EXPECT_GT(taken, 50000u);
}

}  // namespace
