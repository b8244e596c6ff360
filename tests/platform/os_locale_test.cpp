#include <gtest/gtest.h>

#include <string>

#include "platform/os_services.h"

// Both builds answer as an English (United States) system; the Windows build
// under a default Wine prefix is one.

TEST(OsLocale, EnglishUnitedStatesTexts) {
  struct Case { OsLocaleItem item; int index; const char* text; };
  const Case cases[] = {
      {kOsLocaleDecimalSeparator, 0, "."}, {kOsLocaleThousandsSeparator, 0, ","},
      {kOsLocaleDateSeparator, 0, "/"},    {kOsLocaleTimeSeparator, 0, ":"},
      {kOsLocaleShortDateOrder, 0, "0"},   {kOsLocaleLongDateOrder, 0, "0"},
      {kOsLocaleCurrency, 0, "$"},         {kOsLocaleDayName, 0, "Sunday"},
      {kOsLocaleDayName, 1, "Monday"},     {kOsLocaleDayName, 6, "Saturday"},
      {kOsLocaleAbbrevDayName, 0, "Sun"},  {kOsLocaleAbbrevDayName, 3, "Wed"},
      {kOsLocaleMonthName, 0, "January"},  {kOsLocaleMonthName, 11, "December"},
      {kOsLocaleAbbrevMonthName, 4, "May"}, {kOsLocaleAbbrevMonthName, 8, "Sep"},
  };
  for (uint32_t locale : {kOsEnglishUnitedStates, kOsUserDefaultLocale, kOsSystemDefaultLocale}) {
    EXPECT_TRUE(OsIsLocaleInstalled(locale)) << locale;
    for (const Case& c : cases) {
      char buffer[32];
      ASSERT_TRUE(OsGetLocaleText(locale, c.item, c.index, buffer, sizeof buffer))
          << locale << " " << c.item << " " << c.index;
      EXPECT_STREQ(buffer, c.text) << locale << " " << c.item << " " << c.index;
    }
  }
}

TEST(OsLocale, RefusesWhatItCannotAnswerWhole) {
  char buffer[4] = "x";
  EXPECT_FALSE(OsGetLocaleText(kOsUserDefaultLocale, kOsLocaleMonthName, 0, buffer, 4));
  EXPECT_STREQ(buffer, "");
  EXPECT_TRUE(OsGetLocaleText(kOsUserDefaultLocale, kOsLocaleMonthName, 4, buffer, 4));
  EXPECT_STREQ(buffer, "May");
  for (int index : {-1, 12}) {
    buffer[0] = 'x';
    EXPECT_FALSE(OsGetLocaleText(kOsUserDefaultLocale, kOsLocaleMonthName, index, buffer, 4));
    EXPECT_STREQ(buffer, "");
  }
  EXPECT_FALSE(OsGetLocaleText(kOsUserDefaultLocale, kOsLocaleDayName, 7, buffer, 4));
  EXPECT_FALSE(OsGetLocaleText(kOsUserDefaultLocale, kOsLocaleDecimalSeparator, 0, buffer, 1));
  EXPECT_FALSE(OsGetLocaleText(0, kOsLocaleDecimalSeparator, 0, buffer, sizeof buffer));
  EXPECT_FALSE(OsIsLocaleInstalled(0));
}

TEST(OsLocale, DatePictures) {
  struct Case { int year, month, day; const char* picture; const char* text; };
  const Case cases[] = {
      {2009, 5, 16, "ddMMMM", "16May"},
      {2009, 1, 2, "ddMMMM", "02January"},
      {2009, 5, 16, "dddd, MMMM dd, yyyy", "Saturday, May 16, 2009"},
      {2009, 5, 3, "d/M/yy", "3/5/09"},
      {2008, 2, 29, "ddd MMM yyyy", "Fri Feb 2008"},
      {2009, 5, 16, "'day' d", "day 16"},
  };
  for (const Case& c : cases) {
    char buffer[64];
    ASSERT_TRUE(OsFormatLocaleDate(kOsUserDefaultLocale, c.year, c.month, c.day, c.picture,
                                   buffer, sizeof buffer))
        << c.picture;
    EXPECT_STREQ(buffer, c.text);
  }
  char buffer[8] = "x";
  EXPECT_FALSE(OsFormatLocaleDate(kOsUserDefaultLocale, 2009, 2, 29, "ddMMMM", buffer, 8));
  EXPECT_STREQ(buffer, "");
  EXPECT_FALSE(OsFormatLocaleDate(kOsUserDefaultLocale, 2009, 13, 1, "ddMMMM", buffer, 8));
  EXPECT_FALSE(OsFormatLocaleDate(kOsUserDefaultLocale, 1600, 12, 31, "ddMMMM", buffer, 8));
  char wide[16];
  EXPECT_TRUE(OsFormatLocaleDate(kOsUserDefaultLocale, 1601, 1, 1, "ddMMMM", wide, sizeof wide));
  EXPECT_STREQ(wide, "01January");
  EXPECT_FALSE(OsFormatLocaleDate(kOsUserDefaultLocale, 2009, 9, 16, "ddMMMM", buffer, 8));
  EXPECT_STREQ(buffer, "");
}
