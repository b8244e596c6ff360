#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/numfmt/date_time.h"
#include "functions/aggregate_cells.h"
#include "tests/test_seed.h"

namespace {

bool SameDateTime(const DateTime& a, const DateTime& b) {
  return a.hasDate == b.hasDate && a.hasTime == b.hasTime && a.year == b.year && a.month == b.month &&
         a.day == b.day && a.hour == b.hour && a.minute == b.minute && a.second == b.second &&
         a.millisecond == b.millisecond && a.zoneNegative == b.zoneNegative && a.zoneHours == b.zoneHours &&
         a.zoneMinutes == b.zoneMinutes && a.dayOfYear == b.dayOfYear && a.weekday == b.weekday;
}

// Texts near the written form: digits, dashes and a few other characters
// in each place, lengths around ten, days past their month's end, leap
// days of century years, year 0000.
std::string DateLikeText(std::mt19937& random) {
  static const char kChars[] = "0123456789012345678901234567890123456789--- T:x\0";
  std::string text = "2000-02-29";
  if (random() % 2) {
    char written[16];
    std::snprintf(written, sizeof written, "%04u-%02u-%02u", unsigned(random() % 10000), unsigned(random() % 14),
                  unsigned(random() % 33));
    text = written;
  }
  for (uint32_t changes = random() % 3; changes-- > 0;)
    text[random() % text.size()] = kChars[random() % (sizeof kChars - 1)];
  if (random() % 8 == 0) text += random() % 2 ? " " : "T10:00:00";
  if (random() % 8 == 0) text.pop_back();
  return text;
}

// Where the plain reader takes a text, it gives the general parser's record
// exactly; every text the general parser reads in the written form is taken.
TEST(PlainIsoDate, ReadsWhatTheGeneralParserReads) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  uint32_t taken = 0;
  for (int i = 0; i < 200000; ++i) {
    const std::string text = DateLikeText(random);
    DateTime general{};
    const bool parsed = ParseIsoDateTime(&general, text.c_str()) && text.size() == std::strlen(text.c_str());
    DateTime plain{};
    plain.year = -1;
    const bool read = ReadPlainIsoDate(text.data(), text.size(), &plain);
    if (read) {
      ++taken;
      ASSERT_TRUE(parsed) << text;
      ASSERT_TRUE(SameDateTime(plain, general)) << text;
    } else if (parsed && text.size() == 10 && !general.hasTime) {
      FAIL() << "a written date left to the general parser: " << text;
    } else {
      ASSERT_EQ(plain.year, -1) << text;
    }
  }
  EXPECT_GT(taken, 20000u);
}

}  // namespace
