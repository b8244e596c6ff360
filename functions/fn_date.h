#ifndef TALVERO_FUNCTIONS_FN_DATE_H
#define TALVERO_FUNCTIONS_FN_DATE_H

// The date and time functions. Dates, times and durations are ISO 8601
// texts: a number where a date is expected is "#VALUE!", and dates,
// times and durations come back as texts. Every function but NOW and TODAY
// applies element by element over ranges and arrays.

class EvalState;

// fn_date.cpp: building dates and times, taking them apart, adding months
// and durations.
void FnDate(EvalState& state);
void FnDateDiff(EvalState& state);
void FnDateValue(EvalState& state);
void FnDay(EvalState& state);
void FnEDate(EvalState& state);
void FnEDate2(EvalState& state);
void FnEoMonth(EvalState& state);
void FnHour(EvalState& state);
void FnMinute(EvalState& state);
void FnMonth(EvalState& state);
void FnNow(EvalState& state);
void FnSecond(EvalState& state);
void FnTime(EvalState& state);
void FnTimeValue(EvalState& state);
void FnToday(EvalState& state);
void FnYear(EvalState& state);

// fn_workdays.cpp: weekdays, week numbers and counting working days.
void FnNetWorkDays(EvalState& state);
void FnWeekDay(EvalState& state);
void FnWeekNum(EvalState& state);
void FnWorkDay(EvalState& state);

#endif
