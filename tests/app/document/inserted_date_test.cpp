// The texts of the date and time commands.

#include "app/document/inserted_date.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"

namespace {

OsLocalTime At(uint16_t year, uint16_t month, uint16_t day) {
  OsLocalTime time{};
  time.year = year;
  time.month = month;
  time.day = day;
  time.hour = 9;
  time.minute = 5;
  time.second = 7;
  time.milliseconds = 500;
  return time;
}

TEST(InsertedDate, TodayAndDatesAWeekOrAMonthAway) {
  const struct {
    uint32_t command;
    OsLocalTime now;
    const char* text;
  } cases[] = {
      {ID_INSERT_DATE, At(2009, 1, 31), "2009-01-31"},
      {ID_INSERT_TIME, At(2009, 1, 31), "09:05:07"},
      {ID_INSERT_DATE_TIME, At(2009, 1, 31), "2009-01-31T09:05:07"},
      {ID_DATE_NEXT_WEEK, At(2009, 12, 28), "2010-01-04"},
      {ID_DATE_PREVIOUS_WEEK, At(2009, 3, 3), "2009-02-24"},
      {ID_DATE_NEXT_MONTH, At(2009, 1, 31), "2009-02-28"},
      {ID_DATE_PREVIOUS_MONTH, At(2008, 3, 31), "2008-02-29"},
      {ID_DATE_END_OF_NEXT_MONTH, At(2009, 12, 5), "2010-01-31"},
      {ID_DATE_END_OF_PREVIOUS_MONTH, At(2008, 3, 15), "2008-02-29"},
      {ID_DATE_END_OF_PREVIOUS_MONTH, At(2009, 3, 15), "2009-02-28"},
      {ID_DATE_END_OF_NEXT_MONTH, At(2009, 3, 31), "2009-04-30"},
  };
  for (const auto& c : cases) {
    char text[64] = "x";
    EXPECT_TRUE(ComposeInsertedDate(c.command, c.now, text, sizeof text)) << c.command;
    EXPECT_STREQ(text, c.text) << c.command;
  }
  char text[64] = "x";
  EXPECT_FALSE(ComposeInsertedDate(ID_STAT_SUM, At(2009, 1, 1), text, sizeof text));
  EXPECT_STREQ(text, "");
  EXPECT_FALSE(ComposeInsertedDate(ID_INSERT_DATE_TIME, At(2009, 1, 1), text, 8));
}

}  // namespace
