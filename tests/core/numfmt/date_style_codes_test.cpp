#include "core/numfmt/date_style_codes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/numfmt/date_input.h"
#include "core/numfmt/format_code_builder.h"
#include "core/numfmt/regional_settings.h"

#include "tests/core/generic_locale_test.h"
#include "tests/test_seed.h"

namespace {

using DateStyleCodes = GenericLocaleTest;

struct StyleChoice {
  uint8_t category;
  DateTimeFormatOptions options;
  uint8_t shortOrder;
  uint8_t longOrder;
};

// Every style a cell can ask for (and one past each range), in every pair
// of current date orders.
std::vector<StyleChoice> AllChoices() {
  std::vector<StyleChoice> all;
  for (uint8_t category = kNumFormatDate; category <= kNumFormatDateTime; ++category)
    for (uint8_t date = 0; date <= 11; ++date)
      for (uint8_t time = 0; time <= 11; ++time)
        for (uint8_t flags = 0; flags < 4; ++flags)
          for (uint8_t orders = 0; orders < 9; ++orders) {
            StyleChoice c{};
            c.category = category;
            c.options.dateStyle = date;
            c.options.timeStyle = time;
            c.options.useLocaleOrder = flags & 1;
            c.options.timeFirst = flags >> 1;
            c.shortOrder = orders % 3;
            c.longOrder = orders / 3;
            all.push_back(c);
          }
  return all;
}

// The kept code must be the first section of what the builder and the
// compiler make now, whatever was asked before it and whatever the current
// orders were then.
TEST_F(DateStyleCodes, KeptCodesAreTheCompiledCodesInAnyOrderOfRequests) {
  const uint32_t seed = TestSeed(20261208);
  std::vector<StyleChoice> choices = AllChoices();
  std::mt19937 random(seed);
  static NumberFormat expected;
  for (int pass = 0; pass < 2; ++pass) {
    std::shuffle(choices.begin(), choices.end(), random);
    for (const StyleChoice& c : choices) {
      CurrentRegionalSettings().shortDateOrder = c.shortOrder;
      CurrentRegionalSettings().longDateOrder = c.longOrder;
      NumFormatOptions all;
      std::memset(&all, 0, sizeof all);
      all.dateTime = c.options;
      char text[kNumFormatCodeSize];
      ASSERT_TRUE(BuildFormatCode(c.category, all, text, sizeof text, nullptr));
      ASSERT_TRUE(expected.Compile(text, nullptr)) << text;
      const DateStyleCode& code = CompiledDateStyle(c.category, c.options);
      ASSERT_TRUE(code.compiled) << text << " seed " << seed;
      ASSERT_TRUE(code.kept) << text << " has " << code.tokenCount << " tokens";
      const FormatSection& first = expected.sections[0];
      ASSERT_EQ(code.kinds, first.kinds) << text << " seed " << seed;
      ASSERT_EQ(code.tokenCount, first.tokenCount) << text << " seed " << seed;
      ASSERT_EQ(std::memcmp(code.tokens, &expected.tokens[first.firstToken],
                            first.tokenCount * sizeof(FormatToken)),
                0)
          << text << " seed " << seed;
    }
  }
}

// A typed date follows the locale's order as it is at the time of typing.
TEST_F(DateStyleCodes, TypedDatesFollowAChangedDateOrder) {
  const struct {
    uint8_t order;
    int32_t month;
    int32_t day;
  } cases[] = {{kDateOrderMonthDayYear, 3, 4}, {kDateOrderDayMonthYear, 4, 3}, {kDateOrderMonthDayYear, 3, 4}};
  for (const auto& c : cases) {
    CurrentRegionalSettings().shortDateOrder = c.order;
    DateTime value;
    uint8_t category = kNumFormatDefault;
    NumFormatOptions options;
    std::memset(&options, 0, sizeof options);
    bool elapsed = false;
    ASSERT_TRUE(ParseValueWithHint("3/4/2025", &value, &category, &options, CurrentRegionalSettings(), &elapsed));
    EXPECT_EQ(category, kNumFormatDate);
    EXPECT_EQ(value.month, c.month) << int(c.order);
    EXPECT_EQ(value.day, c.day) << int(c.order);
  }
}

// A text the quick test turns away is one the code would not read.
TEST_F(DateStyleCodes, TextsTurnedAwayAreNotReadByTheCode) {
  const uint32_t seed = TestSeed(20261208);
  std::mt19937 random(seed);
  static const char* const kPieces[] = {"May", "Jun", "June", "Wed", "Wednesday", "1", "16", "2009", "09", " ",
                                        "/", ":", "-", ", ", ".", "AM", "PM", "x"};
  static NumberFormat compiled;
  int turnedAway = 0;
  for (const StyleChoice& c : AllChoices()) {
    if (c.shortOrder != c.longOrder || c.options.dateStyle > 10 || c.options.timeStyle > 10) continue;
    CurrentRegionalSettings().shortDateOrder = c.shortOrder;
    CurrentRegionalSettings().longDateOrder = c.longOrder;
    NumFormatOptions all;
    std::memset(&all, 0, sizeof all);
    all.dateTime = c.options;
    char code[kNumFormatCodeSize];
    ASSERT_TRUE(BuildFormatCode(c.category, all, code, sizeof code, nullptr));
    ASSERT_TRUE(compiled.Compile(code, nullptr));
    const DateStyleCode& kept = CompiledDateStyle(c.category, c.options);
    for (int round = 0; round < 30; ++round) {
      std::string text;
      const size_t length = 1 + random() % 6;
      for (size_t i = 0; i < length; ++i) text += kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
      if (MayReadText(kept, text.c_str())) continue;
      ++turnedAway;
      DateTime value;
      bool elapsed = false;
      const char* end = nullptr;
      ASSERT_FALSE(ParseLocaleDate(compiled, text.c_str(), &end, &value, CurrentRegionalSettings(), &elapsed))
          << code << " read \"" << text << "\" seed " << seed;
    }
  }
  EXPECT_GT(turnedAway, 1000);
}

}  // namespace
