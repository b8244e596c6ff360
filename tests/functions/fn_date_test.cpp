#include <gtest/gtest.h>

#include "platform/os_services.h"
#include "tests/functions/formula_result_text.h"

namespace {

void FixedClock(OsLocalTime* out) {
  *out = OsLocalTime{};
  out->year = 2009;
  out->month = 5;
  out->day = 16;
  out->dayOfWeek = 6;
  out->hour = 14;
  out->minute = 5;
  out->second = 9;
  out->milliseconds = 250;
}

// Sheet cells: A1 "2009-05-16", A2 5, A3 "2009-05-12" (a holiday), A4 a
// number carrying "#DIV/0!", A5 "2009-02-31x", B1:B2 "2009-05-11",
// "2009-05-17".
class DateFunctions : public FormulaTableTest {
 protected:
  void SetUp() override {
    FormulaTableTest::SetUp();
    OsSetClockForTesting(FixedClock);
    PutText(sheet, 0, 0, "2009-05-16");
    PutNumber(sheet, 0, 1, 5);
    PutText(sheet, 0, 2, "2000-05-12");
    PutNumber(sheet, 0, 3, 7, kErrorDivZero);
    PutText(sheet, 0, 4, "2009-02-31x");
    PutText(sheet, 1, 0, "2009-05-11");
    PutText(sheet, 1, 1, "2009-05-17");
  }
  void TearDown() override {
    OsSetClockForTesting(nullptr);
    FormulaTableTest::TearDown();
  }
};

TEST_F(DateFunctions, BuildingAndReadingDates) {
  Check({
      {"=NOW()", "\"14:05:09\""},
      {"=TODAY()", "\"2009-05-16\""},
      {"=DATE(2009,2,29)", "#NUM!"},
      {"=DATE(2008,2,29)", "\"2008-02-29\""},
      {"=DATE(2009,4,31)", "#NUM!"},
      {"=DATE(2009,13,1)", "#NUM!"},
      {"=DATE(50001,1,1)", "#NUM!"},
      {"=DATE(12009,5,16)", "\"12009-05-16\""},
      {"=DATE(9,5,16)", "\"0009-05-16\""},
      {"=DATE(2009,5)", "#SYNTAX!"},
      {"=TIME(9,5,7)", "\"09:05:07\""},
      {"=TIME(24,0,0)", "#NUM!"},
      {"=DAY(\"10:00:00\")", "#VALUE!"},
      {"=HOUR(\"2009-05-16\")", "#VALUE!"},
      {"=DAY(5)", "#VALUE!"},
      {"=DAY(A2)", "#VALUE!"},
      {"=DAY(A4)", "#DIV/0!"},
      {"=DAY(A5)", "#VALUE!"},
      {"=YEAR(A1)", "2009"},
      {"=MONTH(A1)", "5"},
      {"=DAY(\"2009-05-16T10:20:30\")", "16"},
      {"=HOUR(\"2009-05-16T10:20:30\")", "10"},
      {"=MINUTE(\"10:20:30\")", "20"},
      {"=SECOND(\"10:20:30.750\")", "30"},
      {"=DAY(B1:B2)", "{11; 17}"},
      {"=DATEVALUE(\"2009-05-16\")", "\"2009-05-16\""},
      {"=DATEVALUE(\"5/16/2009\")", "\"2009-05-16\""},
      {"=DATEVALUE(\"2009-05-16T10:00:00\")", "\"2009-05-16\""},
      {"=DATEVALUE(\"10:00:00\")", "#VALUE!"},
      {"=DATEVALUE(\"soon\")", "#VALUE!"},
      {"=DATEVALUE(5)", "#VALUE!"},
      {"=TIMEVALUE(\"10:00:00\")", "\"10:00:00\""},
      {"=TIMEVALUE(\"10:00 PM\")", "\"22:00:00\""},
      {"=TIMEVALUE(\"2009-05-16\")", "#VALUE!"},
  });
}

TEST_F(DateFunctions, DifferencesAndSums) {
  Check({
      {"=DATEDIFF(\"2009-05-16T10:00:00\",\"2009-05-17T12:30:15\")", "\"P1DT2H30M15S\""},
      {"=DATEDIFF(\"2009-05-17T12:30:15\",\"2009-05-16T10:00:00\")", "\"-P1DT2H30M15S\""},
      {"=DATEDIFF(A1,A1)", "\"P\""},
      {"=DATEDIFF(\"2009-05-16\",\"2010-05-16\")", "\"P365D\""},
      {"=DATEDIFF(A1,5)", "#VALUE!"},
      {"=EDATE(\"2009-01-31\",1)", "\"2009-02-28\""},
      {"=EDATE(\"2009-03-31\",-1)", "\"2009-02-28\""},
      {"=EDATE(\"2008-01-31\",1)", "\"2008-02-29\""},
      {"=EDATE(\"2009-01-31T08:00:00\",13)", "\"2010-02-28T08:00:00\""},
      {"=EDATE(\"10:00:00\",1)", "#VALUE!"},
      {"=EDATE(\"50000-12-01\",1)", "#VALUE!"},
      {"=EDATE(\"0001-01-01\",-1)", "#VALUE!"},
      {"=EDATE(A1,2147483647)", "#VALUE!"},
      {"=EDATE(A1,A4)", "#DIV/0!"},
      {"=EOMONTH(\"2009-01-15\",1)", "\"2009-02-28\""},
      {"=EOMONTH(\"2009-01-31T10:00:00\",-2)", "\"2008-11-30\""},
      {"=EOMONTH(\"2008-02-01\",0)", "\"2008-02-29\""},
      {"=EOMONTH(\"10:00:00\",1)", "#VALUE!"},
      {"=EOMONTH(A1,A4)", "#VALUE!"},
      {"=EDATE2(\"2009-05-16\",\"P1Y2M\")", "\"2010-07-16\""},
      {"=EDATE2(\"2009-05-16\",\"PT1H\")", "#VALUE!"},
      {"=EDATE2(\"2009-05-16T23:30:00\",\"PT45M\")", "\"2009-05-17T00:15:00\""},
      {"=EDATE2(\"2009-03-01\",\"-P1D\")", "\"2009-02-28\""},
      {"=EDATE2(\"2009-05-16\",\"P1\")", "#VALUE!"},
      {"=EDATE2(\"2009-05-16\",5)", "#VALUE!"},
      {"=EDATE({\"2009-01-31\",\"2009-03-31\"},1)", "{\"2009-02-28\", \"2009-04-30\"}"},
  });
}

TEST_F(DateFunctions, WeekdaysAndWorkingDays) {
  Check({
      {"=WEEKDAY(\"2009-05-17\")", "1"},
      {"=WEEKDAY(\"2009-05-17\",2)", "0"},
      {"=WEEKDAY(\"2009-05-17\",3)", "-1"},
      {"=WEEKDAY(\"2009-05-16\",2)", "6"},
      {"=WEEKDAY(\"2009-05-16\",4)", "#NUM!"},
      {"=WEEKDAY(\"10:00:00\")", "#VALUE!"},
      {"=WEEKDAY()", "#SYNTAX!"},
      {"=WEEKNUM(\"2009-01-01\")", "1"},
      {"=WEEKNUM(\"2009-01-04\")", "2"},
      {"=WEEKNUM(\"2009-01-04\",2)", "1"},
      {"=WEEKNUM(\"2009-01-05\",2)", "2"},
      {"=WEEKNUM(\"2012-01-01\",2)", "0"},
      {"=WEEKNUM(\"2009-12-31\")", "53"},
      {"=WEEKNUM(\"10:00:00\")", "#NUM!"},
      {"=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\",)", "5"},
      {"=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\",A3:A3)", "4"},
      {"=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\",{\"2000-05-12\",\"1999-05-12\",\"2009-05-16\"})", "4"},
      {"=NETWORKDAYS(\"2009-05-17\",\"2009-05-11\",)", "0"},
      {"=NETWORKDAYS(\"2009-05-11\",B1:B2,)", "{1; 5}"},
      {"=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\",A3:A4)", "#DIV/0!"},
      {"=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\",A2:A2)", "#VALUE!"},
      {"=NETWORKDAYS(\"2009-05-11\",\"10:00:00\",)", "#VALUE!"},
      {"=NETWORKDAYS(\"2009-05-11\",\"2009-05-17\")", "#SYNTAX!"},
      {"=WORKDAY(\"2009-05-15\",1,)", "\"2009-05-18\""},
      {"=WORKDAY(\"2009-05-18\",-1,)", "\"2009-05-15\""},
      {"=WORKDAY(\"2009-05-16\",0,)", "\"2009-05-16\""},
      {"=WORKDAY(\"2009-05-15\",,)", "\"2009-05-18\""},
      {"=WORKDAY(\"2009-05-11\",1,A3:A3)", "\"2009-05-13\""},
      {"=WORKDAY(\"2009-05-15T10:00:00\",1,)", "\"2009-05-18\""},
      {"=WORKDAY(\"2009-05-15\",{1,2,3},)", "{\"2009-05-18\", \"2009-05-19\", \"2009-05-20\"}"},
      {"=WORKDAY(\"10:00:00\",1,)", "#NUM!"},
      {"=WORKDAY(\"49999-12-30\",2147483647,)", "#NUM!"},
      {"=WORKDAY(\"0001-01-02\",-5,)", "#NUM!"},
  });
}

}  // namespace
