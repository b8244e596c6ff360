#include "functions/fn_date.h"

#include <cstdlib>
#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/date_input.h"
#include "core/numfmt/date_time.h"
#include "core/numfmt/num_format_params.h"
#include "core/numfmt/regional_settings.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/element_call.h"
#include "platform/os_services.h"

namespace {

constexpr int32_t kLargestInt = 2147483647;

void SetDateTimeResult(EvalState& state, const DateTime& value, uint32_t error) {
  char text[kIsoTextCapacity] = "";
  if (error == kErrorNone && !DateTimeToIsoText(value, text, sizeof text)) error = kErrorValue;
  SetTextOrError(state, text, std::strlen(text), error);
}

Duration Months(int32_t n) {
  Duration months{};
  months.negative = n < 0;
  months.months = n < 0 ? -n : n;
  return months;
}

// DAY, MONTH, YEAR and HOUR, MINUTE, SECOND: one field of a date or a time.
template <class Field>
void TakePart(EvalState& state, bool ofDate, Field field) {
  if (!BeginElementCall(state, 1)) return;
  DateTime value{};
  uint32_t error = GetArgDate(state, FirstArg(state), &value);
  if (error == kErrorNone && !(ofDate ? value.hasDate : value.hasTime)) error = kErrorValue;
  SetNumberResult(state, error == kErrorNone ? field(value) : 0, error);
}

// DATEVALUE and TIMEVALUE: a text as typed input reads it, a number as it
// is written.
void ReadTypedValue(EvalState& state, bool wantDate) {
  if (!BeginElementCall(state, 1)) return;
  char text[kArgTextCapacity] = "";
  uint32_t error = GetArgText(state, FirstArg(state), text);
  DateTime value{};
  if (error == kErrorNone) {
    uint8_t category = 0;
    NumFormatOptions options;
    std::memset(&options, 0, sizeof options);
    bool elapsed = false;
    const bool read =
        ParseValueWithHint(text, &value, &category, &options, CurrentRegionalSettings(), &elapsed) && !elapsed;
    if (!read || !(wantDate ? value.hasDate : value.hasTime)) error = kErrorValue;
    if (wantDate)
      value.hasTime = 0;
    else
      value.hasDate = 0;
  }
  SetDateTimeResult(state, value, error);
}

OsLocalTime Now() {
  OsLocalTime now{};
  OsGetLocalTime(&now);
  return now;
}

}  // namespace

// The time of day alone, "hh:mm:ss".
void FnNow(EvalState& state) {
  const OsLocalTime now = Now();
  DateTime value{};
  value.hasTime = 1;
  value.hour = now.hour;
  value.minute = now.minute;
  value.second = now.second;
  SetDateTimeResult(state, value, kErrorNone);
}

void FnToday(EvalState& state) {
  const OsLocalTime now = Now();
  DateTime value{};
  value.hasDate = 1;
  value.year = now.year;
  value.month = now.month;
  value.day = now.day;
  SetDateTimeResult(state, value, kErrorNone);
}

// The text is checked by the date reader, so 31 April is "#NUM!".
void FnDate(EvalState& state) {
  if (!BeginElementCall(state, 3)) return;
  DateTime value{};
  value.hasDate = 1;
  uint32_t error = GetArgInt(state, ArgSlot(state, 2), &value.day, 1, 31);
  error = LargerErrorOf(error, GetArgInt(state, ArgSlot(state, 1), &value.month, 1, 12));
  error = LargerErrorOf(error, GetArgInt(state, ArgSlot(state, 0), &value.year, 1, 50000));
  char text[kIsoTextCapacity] = "";
  DateTime checked;
  if (error == kErrorNone && (!DateTimeToIsoText(value, text, sizeof text) || !ParseIsoDateTime(&checked, text)))
    error = kErrorNum;
  SetDateTimeResult(state, value, error);
}

void FnTime(EvalState& state) {
  if (!BeginElementCall(state, 3)) return;
  DateTime value{};
  value.hasTime = 1;
  uint32_t error = GetArgInt(state, ArgSlot(state, 2), &value.second, 0, 59);
  error = LargerErrorOf(error, GetArgInt(state, ArgSlot(state, 1), &value.minute, 0, 59));
  error = LargerErrorOf(error, GetArgInt(state, ArgSlot(state, 0), &value.hour, 0, 23));
  SetDateTimeResult(state, value, error);
}

// Whole days, hours, minutes and seconds from the first value to the
// second; milliseconds and zones do not count, and there are no months.
void FnDateDiff(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  DateTime to{};
  DateTime from{};
  uint32_t error = GetArgDate(state, ArgSlot(state, 1), &to);
  error = LargerErrorOf(error, GetArgDate(state, ArgSlot(state, 0), &from));
  if (error == kErrorNone && (!(to.hasDate || to.hasTime) || !(from.hasDate || from.hasTime))) error = kErrorValue;
  char text[kDurationTextCapacity] = "";
  if (error == kErrorNone) {
    int64_t seconds = to.ToSeconds() - from.ToSeconds();
    Duration difference{};
    difference.negative = seconds < 0;
    if (seconds < 0) seconds = -seconds;
    difference.days = static_cast<int32_t>(seconds / 86400);
    difference.hours = static_cast<int32_t>(seconds / 3600 % 24);
    difference.minutes = static_cast<int32_t>(seconds / 60 % 60);
    difference.seconds = static_cast<int32_t>(seconds % 60);
    if (!DurationToText(difference, text, sizeof text)) error = kErrorValue;
  }
  SetTextOrError(state, text, std::strlen(text), error);
}

void FnDateValue(EvalState& state) { ReadTypedValue(state, true); }
void FnTimeValue(EvalState& state) { ReadTypedValue(state, false); }

void FnDay(EvalState& state) {
  TakePart(state, true, [](const DateTime& value) { return double(value.day); });
}
void FnMonth(EvalState& state) {
  TakePart(state, true, [](const DateTime& value) { return double(value.month); });
}
void FnYear(EvalState& state) {
  TakePart(state, true, [](const DateTime& value) { return double(value.year); });
}
void FnHour(EvalState& state) {
  TakePart(state, false, [](const DateTime& value) { return double(value.hour); });
}
void FnMinute(EvalState& state) {
  TakePart(state, false, [](const DateTime& value) { return double(value.minute); });
}
void FnSecond(EvalState& state) {
  TakePart(state, false, [](const DateTime& value) { return double(value.second); });
}

// n months on, the day limited to the target month; the time stays.
void FnEDate(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  int32_t n = 0;
  DateTime value{};
  uint32_t error = GetArgInt(state, ArgSlot(state, 1), &n, -kLargestInt, kLargestInt);
  error = LargerErrorOf(error, GetArgDate(state, ArgSlot(state, 0), &value));
  DateTime sum{};
  if (error == kErrorNone && !value.AddDuration(Months(n), &sum)) error = kErrorValue;
  SetDateTimeResult(state, sum, error);
}

// Any ISO duration; time parts need a value with a time.
void FnEDate2(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  char period[kArgTextCapacity] = "";
  DateTime value{};
  uint32_t error = GetArgText(state, ArgSlot(state, 1), period);
  error = LargerErrorOf(error, GetArgDate(state, ArgSlot(state, 0), &value));
  Duration duration{};
  DateTime sum{};
  if (error == kErrorNone && (!ParseSignedDuration(&duration, period) || !value.AddDuration(duration, &sum)))
    error = kErrorValue;
  SetDateTimeResult(state, sum, error);
}

// The last day of the month n months on, as a date alone. Every failure,
// an argument's own error included, is "#VALUE!".
void FnEoMonth(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  int32_t n = 0;
  DateTime value{};
  uint32_t error = GetArgInt(state, ArgSlot(state, 1), &n, -kLargestInt, kLargestInt);
  error = LargerErrorOf(error, GetArgDate(state, ArgSlot(state, 0), &value));
  DateTime end{};
  if (error == kErrorNone && value.hasDate) {
    value.hasTime = 0;
    value.day = 1;
    if (value.AddDuration(Months(n), &end))
      end.day = DaysInMonth(end.year, end.month);
    else
      error = kErrorValue;
  } else {
    error = kErrorValue;
  }
  SetDateTimeResult(state, end, error);
}
