#include "core/numfmt/date_input.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "core/numfmt/regional_settings.h"

#include "tests/core/generic_locale_test.h"
#include "tests/test_seed.h"

namespace {

using DateInput = GenericLocaleTest;

struct Reading {
  bool read;
  uint8_t category;
  NumFormatOptions options;
  DateTime value;
  bool elapsed;
};

Reading Read(const std::string& text, uint8_t cellCategory, const DateTimeFormatOptions& cellOptions,
             const RegionalSettings& settings) {
  Reading r;
  std::memset(&r, 0, sizeof r);
  r.category = cellCategory;
  r.options.dateTime = cellOptions;
  r.read = ParseValueWithHint(text.c_str(), &r.value, &r.category, &r.options, settings, &r.elapsed);
  return r;
}

bool SameNames(uint8_t a, uint8_t b) {
  using Getter = size_t (*)(int, uint8_t, char*, size_t);
  const Getter getters[] = {GetLocaleAbbrevDayName, GetLocaleDayName, GetLocaleAbbrevMonthName, GetLocaleMonthName};
  for (Getter getter : getters)
    for (int i = 0; i < 12; ++i) {
      char first[kLocaleNameCapacity], second[kLocaleNameCapacity];
      getter(i, a, first, sizeof first);
      getter(i, b, second, sizeof second);
      if (std::strcmp(first, second) != 0) return false;
    }
  for (int month = 1; month <= 12; ++month) {
    char first[kLocaleNameCapacity], second[kLocaleNameCapacity];
    GetLocaleGenitiveMonthName(2011, month, 1, a, first, sizeof first);
    GetLocaleGenitiveMonthName(2011, month, 1, b, second, sizeof second);
    if (std::strcmp(first, second) != 0) return false;
  }
  return true;
}

// The built-in names are kept once read; a region whose system names are the
// same words, read afresh each time, must read every text alike.
TEST_F(DateInput, KeptBuiltInNamesReadAsNamesFetchedEachTime) {
  if (!SameNames(kRegionGeneric, kRegionSystemDefault)) GTEST_SKIP() << "the system names differ";
  const uint32_t seed = TestSeed(20261208);
  std::mt19937 random(seed);
  // Forms of dates and times with names, some of them spoilt.
  static const char* const kMonths[] = {"May", "may", "MAY", "Jan", "January", "Sept", "September", "Dec", "Ma"};
  static const char* const kDays[] = {"Wed", "Wednesday", "sun", "Thu", "Sunday", "We"};
  static const char* const kNumbers[] = {"1", "16", "2009", "09", "31", "12", "0", "13"};
  static const char* const kOthers[] = {"/", "-", ":", ", ", " ", ",", "AM", "PM", ".5", "x"};
  static const char* const kForms[] = {"M D, Y", "W, M D, Y", "N/N/Y", "M-N", "N-M-Y", "N:N A", "N:N:N", "D M, Y",
                                       "Y, M D", "W, N M, Y", "M N", "N M"};
  RegionalSettings generic = kGenericRegionalSettings;
  RegionalSettings system = kGenericRegionalSettings;
  system.localeChoice = kRegionSystemDefault;
  int read = 0;
  const auto pick = [&random](const char* const* list, size_t count) { return std::string(list[random() % count]); };
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (const char* c = kForms[random() % (sizeof kForms / sizeof kForms[0])]; *c; ++c) {
      std::string piece(1, *c);
      switch (*c) {
        case 'M': piece = pick(kMonths, sizeof kMonths / sizeof kMonths[0]); break;
        case 'W': piece = pick(kDays, sizeof kDays / sizeof kDays[0]); break;
        case 'D': case 'N': case 'Y': piece = pick(kNumbers, sizeof kNumbers / sizeof kNumbers[0]); break;
        case 'A': piece = random() % 2 ? "AM" : "PM"; break;
        default: break;
      }
      if (random() % 12 == 0) piece = pick(kOthers, sizeof kOthers / sizeof kOthers[0]);
      text += piece;
    }
    DateTimeFormatOptions cell{};
    const uint8_t category = random() % 2 ? uint8_t(kNumFormatDefault) : uint8_t(kNumFormatDate + random() % 3);
    cell.dateStyle = uint8_t(random() % 11);
    cell.timeStyle = uint8_t(random() % 11);
    cell.useLocaleOrder = uint8_t(random() % 2);
    const Reading kept = Read(text, category, cell, generic);
    const Reading fetched = Read(text, category, cell, system);
    ASSERT_EQ(kept.read, fetched.read) << '"' << text << "\" seed " << seed;
    read += kept.read;
    ASSERT_EQ(kept.category, fetched.category) << '"' << text << "\" seed " << seed;
    ASSERT_EQ(std::memcmp(&kept.options, &fetched.options, sizeof kept.options), 0) << text;
    ASSERT_EQ(kept.elapsed, fetched.elapsed) << text;
    const DateTime& a = kept.value;
    const DateTime& b = fetched.value;
    ASSERT_TRUE(a.hasDate == b.hasDate && a.hasTime == b.hasTime && a.year == b.year && a.month == b.month &&
                a.day == b.day && a.hour == b.hour && a.minute == b.minute && a.second == b.second &&
                a.millisecond == b.millisecond)
        << '"' << text << "\" seed " << seed;
  }
  EXPECT_GT(read, 500);
}

}  // namespace
