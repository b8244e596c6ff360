#include "core/numfmt/date_time.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include "test_seed.h"

namespace {

std::string IsoText(const DateTime& record) {
  char buffer[kIsoTextCapacity];
  EXPECT_TRUE(DateTimeToIsoText(record, buffer, sizeof buffer));
  return buffer;
}

std::string DurationText(const Duration& record) {
  char buffer[kDurationTextCapacity];
  EXPECT_TRUE(DurationToText(record, buffer, sizeof buffer));
  return buffer;
}

bool SameFields(const DateTime& a, const DateTime& b) {
  return a.hasDate == b.hasDate && a.hasTime == b.hasTime && a.year == b.year &&
         a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second && a.millisecond == b.millisecond &&
         a.zoneNegative == b.zoneNegative && a.zoneHours == b.zoneHours &&
         a.zoneMinutes == b.zoneMinutes;
}

bool SameFields(const Duration& a, const Duration& b) {
  return a.negative == b.negative && a.years == b.years && a.months == b.months &&
         a.days == b.days && a.hours == b.hours && a.minutes == b.minutes &&
         a.seconds == b.seconds && a.milliseconds == b.milliseconds;
}

DateTime MakeDate(int32_t year, int32_t month, int32_t day) {
  DateTime d{};
  d.hasDate = 1;
  d.year = year;
  d.month = month;
  d.day = day;
  return d;
}

// Zeller's congruence, 1 Sunday .. 7 Saturday: an independent weekday.
int ZellerWeekday(int year, int month, int day) {
  if (month < 3) {
    month += 12;
    year -= 1;
  }
  int k = year % 100, j = year / 100;
  int h = (day + 13 * (month + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;  // 0 Saturday
  return (h + 6) % 7 + 1;
}

}  // namespace

TEST(IsoDateTime, AcceptedTextsWriteBackInCanonicalForm) {
  struct Case { const char* text; const char* written; };
  const Case cases[] = {
      {"2009-05-16", "2009-05-16"},
      {"12009-05-16", "12009-05-16"},
      {"50000-12-31", "50000-12-31"},
      {"0001-01-01", "0001-01-01"},
      {"2008-02-29", "2008-02-29"},
      {"2000-02-29", "2000-02-29"},
      {"2009-05-16 \r\n", "2009-05-16"},
      {"23:59:59", "23:59:59"},
      {"10:00:00.5", "10:00:00.500"},
      {"10:00:00.25", "10:00:00.250"},
      {"10:00:00.007", "10:00:00.007"},
      {"10:00:00+02:00", "10:00:00+02:00"},
      {"10:00:00.1-05:30", "10:00:00.100-05:30"},
      {"10:00:00+00:00", "10:00:00"},
      {"2009-05-16T10:00:00 ", "2009-05-16T10:00:00"},
      {"2009-05-16T23:30:15.999+23:59", "2009-05-16T23:30:15.999+23:59"},
  };
  for (const Case& c : cases) {
    DateTime d;
    ASSERT_TRUE(ParseIsoDateTime(&d, c.text)) << c.text;
    EXPECT_EQ(IsoText(d), c.written);
  }
  DateTime d;
  ASSERT_TRUE(ParseIsoDateTime(&d, "2009-05-16"));
  EXPECT_TRUE(d.hasDate && !d.hasTime && d.year == 2009 && d.month == 5 && d.day == 16);
  ASSERT_TRUE(ParseIsoDateTime(&d, "10:00:00.5-05:30"));
  EXPECT_TRUE(!d.hasDate && d.hasTime && d.hour == 10 && d.millisecond == 500 &&
              d.zoneNegative && d.zoneHours == 5 && d.zoneMinutes == 30);
}

TEST(IsoDateTime, RejectedTextsLeaveClearedRecord) {
  const char* const texts[] = {
      "", " 2009-05-16", "2009-5-16", "09-05-16", "02009-05-16", "123456-01-01",
      "0000-01-01", "50001-01-01", "2009-13-01", "2009-00-10", "2009-04-31", "2009-02-29",
      "1900-02-29", "2009-05-166", "2009-05-1", "2009/05/16", "2009-05-16x",
      "2009-05-16 10:00:00", "2009-05-16T", "2009-05-16t10:00:00", "10:00", "10:00:0",
      "24:00:00", "10:60:00", "10:00:60", "1:00:00", "10:00:00Z", "10:00:00.",
      "10:00:00.1234", "10:00:005", "10:00:00+24:00", "10:00:00+02:60", "10:00:00+2:00", "10:00:00+0200",
      "10:00:00 x", "T10:00:00", "10:00:00T2009-05-16", "2009-05-16T10:00:00\t",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    DateTime d;
    std::memset(&d, 0x5A, sizeof d);
    EXPECT_FALSE(ParseIsoDateTime(&d, text));
    EXPECT_TRUE(SameFields(d, DateTime{}));
  }
  DateTime d;
  EXPECT_FALSE(ParseIsoDateTime(&d, nullptr));
}

TEST(IsoDateTime, PartsLeaveCursorAfterBlanks) {
  DateTime d{};
  const char* end = nullptr;
  const char* text = "2009-05-16 \n T10";
  ASSERT_TRUE(ParseIsoDate(&d, text, &end));
  EXPECT_STREQ(end, "T10");
  text = "10:00:00.1234";
  ASSERT_TRUE(ParseIsoTime(&d, text, &end));
  EXPECT_STREQ(end, "4");  // the fourth fraction digit is not read
  EXPECT_FALSE(ParseIsoTime(&d, "10:0x:00", &end));
  EXPECT_STREQ(end, "10:0x:00");
}

TEST(IsoDateTime, WriterRefusesWhatDoesNotFit) {
  DateTime d;
  ASSERT_TRUE(ParseIsoDateTime(&d, "2009-05-16T10:00:00"));
  char small[19];
  EXPECT_FALSE(DateTimeToIsoText(d, small, sizeof small));
  EXPECT_STREQ(small, "");
  char exact[20];
  EXPECT_TRUE(DateTimeToIsoText(d, exact, sizeof exact));
  EXPECT_EQ(IsoText(DateTime{}), "");
  // The largest valid record fits the capacity; a wild one is refused, not overrun.
  ASSERT_TRUE(ParseIsoDateTime(&d, "50000-12-31T23:59:59.999-23:59"));
  EXPECT_EQ(IsoText(d), "50000-12-31T23:59:59.999-23:59");
  DateTime wild{1, 1, -2147483647, -2147483647, -2147483647, -2147483647, -2147483647,
                -2147483647, -2147483647, 1, -2147483647, -2147483647, 0, 0};
  char iso[kIsoTextCapacity];
  EXPECT_FALSE(DateTimeToIsoText(wild, iso, sizeof iso));
  EXPECT_STREQ(iso, "");
}

// A date alone of a four-digit year is written digit for digit as the
// general form writes it, months and days past the calendar's too.
TEST(IsoDateTime, DatesAloneWriteTheirDigits) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  for (int trial = 0; trial < 5000; ++trial) {
    DateTime d{};
    d.hasDate = 1;
    d.year = int32_t(random() % 10000);
    d.month = int32_t(random() % 100);
    d.day = int32_t(random() % 100);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%04d-%02d-%02d", d.year, d.month, d.day);
    char written[kIsoTextCapacity];
    ASSERT_TRUE(DateTimeToIsoText(d, written, sizeof written));
    ASSERT_STREQ(written, expected);
  }
}

TEST(Duration, AcceptedTextsParseAndWriteBack) {
  struct Case {
    const char* text;
    Duration want;
    const char* written;
  };
  const Case cases[] = {
      {"P", {0, 0, 0, 0, 0, 0, 0, 0}, "P"},
      {"-P", {1, 0, 0, 0, 0, 0, 0, 0}, "-P"},
      {"PT1H30M", {0, 0, 0, 0, 1, 30, 0, 0}, "PT1H30M"},
      {"-P1D", {1, 0, 0, 1, 0, 0, 0, 0}, "-P1D"},
      {"+P2M", {0, 0, 2, 0, 0, 0, 0, 0}, "P2M"},
      {"p1y2m3dt4h5m6s", {0, 1, 2, 3, 4, 5, 6, 0}, "P1Y2M3DT4H5M6S"},
      {"PT1.5S", {0, 0, 0, 0, 0, 0, 1, 500}, "PT1.500S"},
      {"PT0.5S", {0, 0, 0, 0, 0, 0, 0, 500}, "PT0.500S"},
      {"PT2.125s", {0, 0, 0, 0, 0, 0, 2, 125}, "PT2.125S"},
      {"P1DT0.05S", {0, 0, 0, 1, 0, 0, 0, 50}, "P1DT0.050S"},
      {"PT05M", {0, 0, 0, 0, 0, 5, 0, 0}, "PT5M"},
      {"P0D", {0, 0, 0, 0, 0, 0, 0, 0}, "P"},
      {"PT1M \r\n", {0, 0, 0, 0, 0, 1, 0, 0}, "PT1M"},
      {"P214748353D", {0, 0, 0, 214748353, 0, 0, 0, 0}, "P214748353D"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Duration d;
    ASSERT_TRUE(ParseSignedDuration(&d, c.text));
    EXPECT_TRUE(SameFields(d, c.want));
    EXPECT_EQ(DurationText(d), c.written);
  }
}

TEST(Duration, RejectedTextsLeaveZeroRecord) {
  const char* const texts[] = {
      "", "1D", "P1", "PT", "P1DT", "PT1M2H", "P1D1Y", "P1M1M", "PT1H1H", "P1H", "PT1Y",
      "P-1D", "P1.5D", "PT1.5H", "PT1.5M", "PT1.5", "PT1.", "PT.5S", "PT1.5555S", "PT1S1.5S",
      "PT1.5S1M", "P1D T1H", "P 1D", "PT1H x", "P214748354D", "P99999999999999999999Y",
      "--P1D", "-+P1D", "PT1H\t", "Q1D", "P1W",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    Duration d;
    std::memset(&d, 0x5A, sizeof d);
    EXPECT_FALSE(ParseSignedDuration(&d, text));
    EXPECT_TRUE(SameFields(d, Duration{}));
  }
  Duration d;
  EXPECT_FALSE(ParseSignedDuration(&d, nullptr));
}

TEST(Duration, WriterKeepsEveryMillisecond) {
  struct Case {
    Duration value;
    const char* written;
  };
  const Case cases[] = {
      {{0, 0, 0, 0, 0, 0, 0, 500}, "PT0.500S"},
      {{1, 0, 0, 0, 0, 0, 0, 1}, "-PT0.001S"},
      {{0, 0, 0, 0, 1, 0, 0, 20}, "PT1H0.020S"},
      {{0, 0, 0, 0, 0, 0, 1, 1500}, "PT2.500S"},
      {{0, 0, 0, 0, 0, 0, 0, 3000}, "PT3S"},
      {{0, 1, 0, 0, 0, 0, 0, 0}, "P1Y"},
  };
  for (const Case& c : cases) EXPECT_EQ(DurationText(c.value), c.written);

  Duration negativePart{};
  negativePart.days = -1;
  char buffer[kDurationTextCapacity];
  EXPECT_FALSE(DurationToText(negativePart, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "");
  Duration d{};
  d.hours = 12;
  char small[4];
  EXPECT_FALSE(DurationToText(d, small, sizeof small));
  EXPECT_STREQ(small, "");
  Duration largest{1, 214748353, 214748353, 214748353, 214748353, 214748353, 2147483647,
                   2147483647};
  EXPECT_TRUE(DurationToText(largest, buffer, sizeof buffer));
}

TEST(IsoRoundTrip, WrittenTextsParseBackToTheSameRecord) {
  const uint32_t seed = TestSeed(1031);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 rng(seed);
  auto pick = [&rng](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(rng);
  };
  for (int i = 0; i < 20000; ++i) {
    DateTime d{};
    int kind = pick(0, 2);
    d.hasDate = kind != 1;
    d.hasTime = kind != 0;
    if (d.hasDate) {
      d.year = pick(0, 3) == 0 ? pick(kMinIsoYear, kMaxIsoYear) : pick(1582, 2100);
      d.month = pick(1, 12);
      d.day = pick(1, DaysInMonth(d.year, d.month));
    }
    if (d.hasTime) {
      d.hour = pick(0, 23);
      d.minute = pick(0, 59);
      d.second = pick(0, 59);
      d.millisecond = pick(0, 1) ? 0 : pick(0, 999);
      if (pick(0, 1)) {
        d.zoneHours = pick(0, 23);
        d.zoneMinutes = pick(d.zoneHours == 0 ? 1 : 0, 59);
        d.zoneNegative = static_cast<uint8_t>(pick(0, 1));
      }
    }
    std::string text = IsoText(d);
    DateTime back;
    ASSERT_TRUE(ParseIsoDateTime(&back, text.c_str())) << text;
    ASSERT_TRUE(SameFields(back, d)) << text;

    Duration u{};
    u.negative = static_cast<uint8_t>(pick(0, 1));
    int32_t* parts[] = {&u.years, &u.months, &u.days, &u.hours, &u.minutes, &u.seconds};
    for (int32_t* part : parts)
      *part = pick(0, 2) == 0 ? 0 : (pick(0, 4) == 0 ? pick(0, 214748353) : pick(0, 99));
    u.milliseconds = pick(0, 1) ? 0 : pick(0, 999);
    text = DurationText(u);
    Duration uBack;
    ASSERT_TRUE(ParseSignedDuration(&uBack, text.c_str())) << text;
    ASSERT_TRUE(SameFields(uBack, u)) << text;
  }
}

TEST(Calendar, MonthLengthsFollowGregorianLeapYears) {
  struct Case { int32_t year, month, days; };
  const Case cases[] = {
      {2009, 1, 31},  {2009, 2, 28},  {2008, 2, 29}, {1900, 2, 28}, {2000, 2, 29},
      {2100, 2, 28},  {2400, 2, 29},  {2009, 4, 30}, {2009, 12, 31},
      {2008, 14, 28},  // February of the next year
      {2009, 0, 31},   // December of the year before
      {2009, -10, 29}, // February 2008
      {2001, 26, 28},  // February 2003
  };
  for (const Case& c : cases)
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

TEST(Calendar, FloorModWrapsNegativeValuesToTheTop) {
  struct Case { int32_t value, low, high, want; };
  const Case cases[] = {
      {0, 1, 13, 12}, {13, 1, 13, 1}, {12, 1, 13, 12}, {-1, 1, 13, 11}, {25, 1, 13, 1},
      {-7, 0, 7, 0}, {-8, 0, 7, 6}, {59, 0, 60, 59}, {60, 0, 60, 0}, {5, 3, 3, 3},
      {-2147483647 - 1, 0, 60, 52}, {2147483647, 1, 13, 7},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloorMod(c.value, c.low, c.high), c.want) << c.value << " " << c.low << " " << c.high;
}

TEST(Calendar, DayOfYearAndWeekday) {
  struct Case { int32_t year, month, day; uint16_t dayOfYear, weekday; };
  const Case cases[] = {
      {1, 1, 1, 1, 2},        {2009, 5, 16, 136, 7}, {2008, 12, 31, 366, 4},
      {2000, 3, 1, 61, 4},    {1900, 3, 1, 60, 5},   {50000, 12, 31, 366, 1},
  };
  for (const Case& c : cases) {
    DateTime d = MakeDate(c.year, c.month, c.day);
    d.ComputeDayOfYear();
    EXPECT_EQ(d.dayOfYear, c.dayOfYear) << c.year << "-" << c.month << "-" << c.day;
    EXPECT_EQ(d.weekday, c.weekday) << c.year << "-" << c.month << "-" << c.day;
  }
  DateTime first = MakeDate(1, 1, 1), seventh = MakeDate(1, 1, 7);
  EXPECT_EQ(first.ComputeDayOfYear(), 0);
  EXPECT_EQ(seventh.ComputeDayOfYear(), 1);
}

TEST(Calendar, WeekdayAndSecondsAdvanceDayByDay) {
  const uint32_t seed = TestSeed(1033);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 rng(seed);
  Duration oneDay{};
  oneDay.days = 1;
  for (int i = 0; i < 2000; ++i) {
    int32_t year = std::uniform_int_distribution<int32_t>(kMinIsoYear, kMaxIsoYear - 1)(rng);
    int32_t month = std::uniform_int_distribution<int32_t>(1, 12)(rng);
    int32_t day = std::uniform_int_distribution<int32_t>(1, DaysInMonth(year, month))(rng);
    DateTime d = MakeDate(year, month, day);
    DateTime next;
    ASSERT_TRUE(d.AddDuration(oneDay, &next));
    d.ComputeDayOfYear();
    next.ComputeDayOfYear();
    EXPECT_EQ(d.weekday, ZellerWeekday(year, month, day)) << year << "-" << month << "-" << day;
    EXPECT_EQ(next.weekday, d.weekday % 7 + 1);
    EXPECT_EQ(next.ToSeconds() - d.ToSeconds(), 86400);
    if (next.year == year) EXPECT_EQ(next.dayOfYear, d.dayOfYear + 1);
    else EXPECT_EQ(next.dayOfYear, 1);
  }
}

TEST(Calendar, AddDuration) {
  struct Case { const char* date; const char* duration; const char* want; };
  const Case cases[] = {
      {"2009-01-31", "P1M", "2009-02-28"},
      {"2008-01-31", "P1M", "2008-02-29"},
      {"2009-03-01", "-P1D", "2009-02-28"},
      {"2009-03-31", "-P1M", "2009-02-28"},
      {"2009-05-16", "P1Y2M", "2010-07-16"},
      {"2009-01-15", "P13M", "2010-02-15"},
      {"2009-01-15", "-P13M", "2007-12-15"},
      {"2008-02-29", "P1Y", "2009-02-28"},
      {"2009-12-31", "P1D", "2010-01-01"},
      {"2009-05-16", "P1000D", "2012-02-10"},
      {"2009-05-16", "-P1000D", "2006-08-20"},
      {"2009-05-16", "P146097D", "2409-05-16"},
      {"2009-05-16", "-P146098D", "1609-05-15"},
      {"2009-05-16T23:30:00", "PT45M", "2009-05-17T00:15:00"},
      {"23:30:00", "PT45M", "00:15:00"},
      {"00:00:00", "-PT0.001S", "23:59:59.999"},
      {"2009-01-01T00:00:00", "-PT1S", "2008-12-31T23:59:59"},
      {"2009-05-16T10:00:00.750", "PT0.5S", "2009-05-16T10:00:01.250"},
      {"2009-05-16T10:00:00+02:00", "P1DT1H", "2009-05-17T11:00:00+02:00"},
      {"2009-05-16T10:00:00", "PT48H", "2009-05-18T10:00:00"},
      {"2009-05-16T10:00:00", "P", "2009-05-16T10:00:00"},
      {"2009-05-16", "PT1H", nullptr},
      {"2009-05-16", "PT0.5S", nullptr},
      {"10:00:00", "P1D", nullptr},
      {"10:00:00", "P1M", nullptr},
      {"2009-05-16", "bad", nullptr},
      {"2009-05-32", "P1D", nullptr},
      // Only dates the parser reads back are results.
      {"0001-01-01", "-P1D", nullptr},
      {"0001-01-01T00:30:00", "-PT1H", nullptr},
      {"50000-12-31", "P1D", nullptr},
      {"2009-05-16", "P214748353Y", nullptr},
      {"0001-01-02", "-P1D", "0001-01-01"},
      {"49999-12-31", "P1D", "50000-01-01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.date) + " + " + c.duration);
    char buffer[kIsoTextCapacity];
    bool ok = AddDurationToDateText(c.date, c.duration, buffer, sizeof buffer);
    if (!c.want) {
      EXPECT_FALSE(ok);
      EXPECT_STREQ(buffer, "");
      continue;
    }
    ASSERT_TRUE(ok);
    EXPECT_STREQ(buffer, c.want);
  }
}

TEST(Calendar, AddDurationRefusalClearsResult) {
  DateTime date = MakeDate(2009, 5, 16);
  Duration hour{};
  hour.hours = 1;
  DateTime result;
  std::memset(&result, 0x5A, sizeof result);
  EXPECT_FALSE(date.AddDuration(hour, &result));
  EXPECT_TRUE(SameFields(result, DateTime{}));
}

TEST(Calendar, SecondsSinceYearOne) {
  struct Case { const char* text; int64_t seconds; };
  const Case cases[] = {
      {"0001-01-01T00:00:00", 0},
      {"0001-01-02", 86400},
      {"01:00:00", 3600},
      {"01:02:03.999+05:00", 3723},
      {"2009-05-16T10:00:00", 63378064800LL},
      {"50000-12-31T23:59:59", 1577847599999LL},
  };
  for (const Case& c : cases) {
    DateTime d;
    ASSERT_TRUE(ParseIsoDateTime(&d, c.text)) << c.text;
    EXPECT_EQ(d.ToSeconds(), c.seconds) << c.text;
  }
  DateTime a, b;
  ASSERT_TRUE(ParseIsoDateTime(&a, "2009-05-16T10:00:00"));
  ASSERT_TRUE(ParseIsoDateTime(&b, "2009-05-17T12:30:15"));
  EXPECT_EQ(b.ToSeconds() - a.ToSeconds(), 86400 + 2 * 3600 + 30 * 60 + 15);
}

TEST(Calendar, DecodeForDisplayShiftsByZone) {
  DateTime d;
  ASSERT_TRUE(DecodeIsoDateTime("2009-05-16T23:30:00+01:00", true, &d));
  EXPECT_EQ(IsoText(d), "2009-05-17T00:30:00");
  EXPECT_EQ(d.weekday, 1);
  EXPECT_EQ(d.dayOfYear, 137);
  ASSERT_TRUE(DecodeIsoDateTime("2009-05-16T00:30:00-01:00", true, &d));
  EXPECT_EQ(IsoText(d), "2009-05-15T23:30:00");
  EXPECT_EQ(d.weekday, 6);
  ASSERT_TRUE(DecodeIsoDateTime("2009-05-16T23:30:00+01:00", false, &d));
  EXPECT_EQ(IsoText(d), "2009-05-16T23:30:00+01:00");
  EXPECT_EQ(d.weekday, 7);
  ASSERT_TRUE(DecodeIsoDateTime("10:00:00", true, &d));
  EXPECT_EQ(d.weekday, 0);
  EXPECT_FALSE(DecodeIsoDateTime("2009-02-30", true, &d));
  EXPECT_TRUE(SameFields(d, DateTime{}));
}

namespace {

// The plain-date readers against the general parser: texts of ten
// characters with random digits (months and days out of range, 29 February
// in leap and common years, centuries) and now and then a stray byte; the
// day number against the record's seconds and weekday.
TEST(PlainIsoDay, AgreesWithTheGeneralParser) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const char kStray[] = "/:a -+T\xB3\xAD\x2F\x3A\x13";
  for (int trial = 0; trial < 20000; ++trial) {
    char text[11];
    const unsigned year = unsigned(random() % 4 ? 1900 + random() % 300 : random() % 10000);
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", year, unsigned(random() % 14), unsigned(random() % 33));
    if (random() % 4 == 0) text[random() % 10] = kStray[random() % (sizeof kStray - 1)];
    DateTime parsed{};
    const bool general = ParseIsoDateTime(&parsed, text);
    PlainDate day{};
    ASSERT_EQ(ReadPlainIsoDay(text, 10, &day), general && !parsed.hasTime) << text;
    DateTime record{};
    ASSERT_EQ(ReadPlainIsoDate(text, 10, &record), general && !parsed.hasTime) << text;
    if (!general || parsed.hasTime) continue;
    EXPECT_TRUE(record.hasDate == 1 && record.hasTime == 0 && record.year == parsed.year &&
                record.month == parsed.month && record.day == parsed.day && record.weekday == 0)
        << text;
    ASSERT_EQ(day.year, parsed.year) << text;
    ASSERT_EQ(day.month, parsed.month) << text;
    ASSERT_EQ(day.day, parsed.day) << text;
    ASSERT_EQ((PlainDayNumber(day) - 1) * 86400, parsed.ToSeconds()) << text;
    parsed.ComputeDayOfYear();
    ASSERT_EQ(PlainDayNumber(day) % 7 + 1, parsed.weekday) << text;
  }
  DateTime unused{};
  PlainDate day{};
  EXPECT_FALSE(ReadPlainIsoDay("2024-01-011", 11, &day));
  EXPECT_FALSE(ReadPlainIsoDate("2024-01-0", 9, &unused));
}

}  // namespace
